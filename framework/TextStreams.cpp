#include "TextStreams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "Exceptions.h"

namespace fw {

std::unique_ptr<TextInputStream> TextInputStream::Open(const FolderItem& file) {
  FILE* f = std::fopen(file.NativePath().c_str(), "rbe");
  if (!f) throw IOException("cannot open " + file.NativePath(), errno);
  // A folder opens fine but fails at the first read; say so here instead.
  struct stat st {};
  if (::fstat(::fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(f);
    throw IOException("cannot open " + file.NativePath(), EISDIR);
  }
  return std::unique_ptr<TextInputStream>(new TextInputStream(f));
}

TextInputStream::~TextInputStream() { Close(); }

std::string TextInputStream::ReadLine() {
  std::string line;
  if (!file_) return line;
  int c;
  while ((c = getc_unlocked(file_)) != EOF && c != '\n') {
    if (line.size() < MaxLineBytes) line.push_back(static_cast<char>(c));
  }
  if (std::ferror(file_)) throw IOException("cannot read a line", errno ? errno : EIO);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool TextInputStream::EndOfFile() const {
  if (!file_) return true;
  int c = getc_unlocked(file_);
  if (c == EOF) return true;
  ungetc(c, file_);
  return false;
}

void TextInputStream::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

std::unique_ptr<TextOutputStream> TextOutputStream::Create(const FolderItem& file) {
  const std::string& target = file.NativePath();
  auto slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.empty()) throw IOException("cannot create " + target, EISDIR);
  std::string tempPath = (slash == std::string::npos ? "" : folder) + "." + name + ".XXXXXX";
  int fd = ::mkostemp(tempPath.data(), O_CLOEXEC);
  if (fd < 0) throw IOException("cannot create " + target, errno);
  FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    int err = errno;
    ::close(fd);
    ::unlink(tempPath.c_str());
    throw IOException("cannot create " + target, err);
  }
  return std::unique_ptr<TextOutputStream>(new TextOutputStream(f, tempPath, target));
}

TextOutputStream::~TextOutputStream() {
  if (!file_) return;
  std::fclose(file_);
  ::unlink(tempPath_.c_str());
}

void TextOutputStream::WriteLine(const std::string& text) {
  if (!file_) throw IOException("write to a closed stream " + targetPath_, EBADF);
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fputc('\n', file_) == EOF) {
    failed_ = true;
    throw IOException("cannot write " + targetPath_, errno ? errno : EIO);
  }
}

void TextOutputStream::Close() {
  if (!file_) return;
  FILE* f = file_;
  file_ = nullptr;
  int err = 0;
  if (failed_) err = EIO;
  if (!err && std::fflush(f) != 0) err = errno;
  if (!err && ::fsync(::fileno(f)) != 0) err = errno;
  if (std::fclose(f) != 0 && !err) err = errno;
  if (!err && ::rename(tempPath_.c_str(), targetPath_.c_str()) != 0) err = errno;
  if (err) {
    ::unlink(tempPath_.c_str());
    throw IOException("cannot write " + targetPath_, err);
  }
  // The rename itself lasts only once the folder is on disk too.
  auto slash = targetPath_.rfind('/');
  std::string folder = slash == std::string::npos ? "." : targetPath_.substr(0, slash + 1);
  int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

}  // namespace fw
