#include "TextStreams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "Exceptions.h"

namespace fw {

namespace {

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// What a stream refuses to read or replace: anything but a regular file.
IOException NotARegularFile(const std::string& action, mode_t mode) {
  return IOException(action + " (" + KindOf(mode) + ", not a regular file)", S_ISDIR(mode) ? EISDIR : EINVAL);
}

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

// The file that path names: symbolic links in its last part followed, as
// far as they lead, even to a file that does not exist yet.
std::string ResolveLinks(const std::string& path, const std::string& action) {
  std::string resolved = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(resolved.c_str(), &st) != 0) {
      if (errno == ENOENT) return resolved;
      throw IOException(action, errno);
    }
    if (!S_ISLNK(st.st_mode)) return resolved;
    std::string target(size_t(st.st_size > 0 ? st.st_size : 4096), '\0');
    ssize_t n = ::readlink(resolved.c_str(), target.data(), target.size());
    if (n < 0) throw IOException(action, errno);
    target.resize(size_t(n));
    resolved = !target.empty() && target.front() == '/' ? target : FolderOf(resolved) + target;
  }
  throw IOException(action, ELOOP);
}

// Whether text is well-formed UTF-8: no stray continuation byte, no
// truncated or overlong sequence, no surrogate, nothing past U+10FFFF.
bool IsUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char c = static_cast<unsigned char>(text[i + k]);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// Copies the whole of the file open at from over the regular file at
// target, in place, and cuts it to that length: the target keeps its inode,
// so its other hard links see the new text. Returns 0 or an error number.
int OverwriteInPlace(int from, const std::string& target) {
  int to = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (to < 0) return errno;
  int err = 0;
  struct stat st {};
  if (::fstat(to, &st) != 0) err = errno;
  if (!err && !S_ISREG(st.st_mode)) err = EINVAL;
  char buffer[8192];
  off_t at = 0;
  while (!err) {
    ssize_t n = ::pread(from, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) err = errno;
    if (n <= 0) break;
    for (ssize_t done = 0; !err && done < n;) {
      ssize_t w = ::pwrite(to, buffer + done, size_t(n - done), at + done);
      if (w < 0 && errno != EINTR) err = errno;
      if (w == 0) err = EIO;
      if (w > 0) done += w;
    }
    at += n;
  }
  if (!err && ::ftruncate(to, at) != 0) err = errno;
  if (!err && ::fsync(to) != 0) err = errno;
  if (::close(to) != 0 && !err) err = errno;
  return err;
}

}  // namespace

std::unique_ptr<TextInputStream> TextInputStream::Open(const FolderItem& file, size_t maxBytes) {
  const std::string& path = file.NativePath();
  const std::string action = "cannot open " + path;
  // O_NONBLOCK: a FIFO with no writer must not hold the caller up.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw IOException(action, errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int err = errno;
    ::close(fd);
    throw IOException(action, err);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    throw NotARegularFile(action, st.st_mode);
  }
  // One byte past the limit tells whether the file goes on.
  std::string content(maxBytes + 1, '\0');
  size_t got = 0;
  while (got < content.size()) {
    ssize_t n = ::read(fd, content.data() + got, content.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int err = errno;
      ::close(fd);
      throw IOException("cannot read " + path, err);
    }
    if (n == 0) break;
    got += size_t(n);
  }
  ::close(fd);
  bool cut = got > maxBytes;
  content.resize(cut ? maxBytes : got);
  return std::unique_ptr<TextInputStream>(new TextInputStream(path, std::move(content), cut));
}

TextLine TextInputStream::ReadTextLine() {
  if (EndOfFile()) return {};
  ++lineNumber_;
  const std::string limit = std::to_string(content_.size()) + " bytes";
  if (at_ >= content_.size()) return {"", "lies past the first " + limit, EFBIG};
  size_t end = content_.find('\n', at_);
  if (end == std::string::npos && cut_) {
    at_ = content_.size();
    return {"", "runs past the first " + limit, EFBIG};
  }
  if (end == std::string::npos) end = content_.size();
  std::string line = content_.substr(at_, end - at_);
  at_ = end < content_.size() ? end + 1 : end;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.find('\0') != std::string::npos) return {"", "holds a NUL byte", EILSEQ};
  if (!IsUtf8(line)) return {"", "is not UTF-8", EILSEQ};
  return {std::move(line), "", 0};
}

std::string TextInputStream::ReadLine() {
  TextLine line = ReadTextLine();
  if (line.Damaged())
    throw IOException("cannot read " + path_ + " (line " + std::to_string(lineNumber_) + " " + line.damage + ")",
                      line.errorNumber);
  return std::move(line.text);
}

bool TextInputStream::EndOfFile() const { return at_ >= content_.size() && !cut_; }

void TextInputStream::Close() {
  content_.clear();
  at_ = 0;
  cut_ = false;
}

std::unique_ptr<TextOutputStream> TextOutputStream::Create(const FolderItem& file) {
  const std::string& given = file.NativePath();
  const std::string target = ResolveLinks(given, "cannot create " + given);
  const std::string action = "cannot create " + given + (target == given ? "" : " (a link to " + target + ")");
  auto slash = target.rfind('/');
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.empty()) throw IOException(action, EISDIR);

  // Replacing an existing file must not do what writing it in place could
  // not: a file this process may not write stays as it is.
  struct stat st {};
  bool exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) throw IOException(action, errno);
  if (exists && !S_ISREG(st.st_mode)) throw NotARegularFile(action, st.st_mode);
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) throw IOException(action, errno);

  std::string tempPath = FolderOf(target) + "." + name + ".XXXXXX";
  int fd = ::mkostemp(tempPath.data(), O_CLOEXEC);
  if (fd < 0) throw IOException(action, errno);
  FILE* f = nullptr;
  int err = 0;
  if (exists && ::fchmod(fd, st.st_mode & 0777) != 0) err = errno;
  if (!err && !(f = ::fdopen(fd, "wb"))) err = errno;
  if (err) {
    ::close(fd);
    ::unlink(tempPath.c_str());
    throw IOException(action, err);
  }
  const bool inPlace = exists && st.st_nlink > 1;
  return std::unique_ptr<TextOutputStream>(new TextOutputStream(f, tempPath, target, given, inPlace));
}

TextOutputStream::~TextOutputStream() {
  if (!file_) return;
  std::fclose(file_);
  ::unlink(tempPath_.c_str());
}

void TextOutputStream::WriteLine(const std::string& text) {
  if (!file_) throw IOException("write to a closed stream " + shownPath_, EBADF);
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fputc('\n', file_) == EOF) {
    failed_ = true;
    throw IOException("cannot write " + shownPath_, errno ? errno : EIO);
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
  // The new text is whole on disk before the target is touched, so a full
  // disk or a size limit leaves even a file written in place as it was.
  if (!err && inPlace_) err = OverwriteInPlace(::fileno(f), targetPath_);
  if (std::fclose(f) != 0 && !err) err = errno;
  if (!err && !inPlace_ && ::rename(tempPath_.c_str(), targetPath_.c_str()) != 0) err = errno;
  if (err || inPlace_) ::unlink(tempPath_.c_str());
  if (err) throw IOException("cannot write " + shownPath_, err);
  // The rename itself lasts only once the folder is on disk too.
  int dirFd = ::open(FolderOf(targetPath_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

}  // namespace fw
