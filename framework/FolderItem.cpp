#include "FolderItem.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "Diagnostics.h"
#include "Exceptions.h"
#include "Picture.h"
#include "ProgramName.h"

namespace fw {

namespace {

bool LinkStatus(const std::string& path, struct stat& st) { return ::lstat(path.c_str(), &st) == 0; }

// The entries of a real folder, without "." and "..", in byte order of
// their names; empty when the path is not a folder we can read (a link to
// a folder is not followed).
std::vector<std::string> SortedEntries(const std::string& path) {
  std::vector<std::string> names;
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return names;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return names;
  }
  while (struct dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ExecutableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path().string();
}

const char* NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

// Opens path as a real folder (never through a link) owned by the user;
// returns the descriptor or -1 with reason set.
int OpenOwnFolder(const std::string& path, std::string& reason) {
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    reason = path + (err == ELOOP || err == ENOTDIR ? " is not a folder (or is a link)"
                                                    : ": cannot open: " + ErrorText(err));
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid()) {
    reason = path + " is not owned by the user";
    ::close(fd);
    return -1;
  }
  return fd;
}

FolderItemPtr RuntimeFolder(std::string& reason) {
  const char* runtime = NonEmptyEnv("XDG_RUNTIME_DIR");
  if (!runtime) return nullptr;
  std::string path = runtime;
  if (path.front() != '/') {
    reason = "XDG_RUNTIME_DIR " + path + " is not an absolute path";
    return nullptr;
  }
  int fd = OpenOwnFolder(path, reason);
  if (fd < 0) return nullptr;
  struct stat st {};
  bool privateMode = ::fstat(fd, &st) == 0 && (st.st_mode & 07777) == 0700;
  ::close(fd);
  if (!privateMode) {
    reason = "XDG_RUNTIME_DIR " + path + " is not mode 0700";
    return nullptr;
  }
  return std::make_shared<FolderItem>(path);
}

// The folders made by OwnTempFolder, removed with everything in them when
// the program ends: their names are never used again.
std::vector<std::string>& MadeFolders() {
  static std::vector<std::string>* folders = [] {
    std::atexit(SpecialFolder::RemoveOwnFolders);
    return new std::vector<std::string>;
  }();
  return *folders;
}

std::string MakeOwnFolder(std::string base, std::string& reason) {
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  std::string path = (base == "/" ? "" : base) + "/" + ProgramName() + "-XXXXXX";
  if (::mkdtemp(path.data())) return path;
  reason = "cannot make a private folder in " + base + ": " + ErrorText(errno);
  return {};
}

// A fresh folder of the user's own under $TMPDIR, else /tmp (a TMPDIR that
// is missing or not ours to write in must not leave the program without
// one): mkdtemp makes it 0700 under a name nobody can guess or take first.
FolderItemPtr OwnTempFolder(std::string& reason) {
  const char* tmpdir = NonEmptyEnv("TMPDIR");
  std::string path;
  if (tmpdir && tmpdir[0] == '/') {
    path = MakeOwnFolder(tmpdir, reason);
    if (path.empty()) Diagnose(reason + "; trying /tmp");
  }
  if (path.empty()) path = MakeOwnFolder("/tmp", reason);
  if (path.empty()) return nullptr;
  MadeFolders().push_back(path);
  return std::make_shared<FolderItem>(path);
}

// Still the folder mkdtemp made: a real folder of the user's, 0700.
bool StillOwnFolder(const std::string& path) {
  struct stat st {};
  return LinkStatus(path, st) && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 07777) == 0700;
}

std::string EnvText(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The temporary folder found last and the environment it was found in; the
// capture tick asks for it many times a second.
struct TemporaryChoice {
  std::string runtimeDir, tmpDir;
  FolderItemPtr folder;
  bool own = false;
};

TemporaryChoice& LastTemporary() {
  static TemporaryChoice choice;
  return choice;
}

}  // namespace

std::string FolderItem::Name() const {
  std::filesystem::path p(path_);
  if (!p.has_filename()) p = p.parent_path();
  return p.filename().string();
}

FolderItemPtr FolderItem::Child(const std::string& name) const {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos)
    return nullptr;
  if (!path_.empty() && path_.back() == '/') return std::make_shared<FolderItem>(path_ + name);
  return std::make_shared<FolderItem>(path_ + "/" + name);
}

bool FolderItem::Exists() const {
  struct stat st {};
  return LinkStatus(path_, st);
}

bool FolderItem::Directory() const {
  struct stat st {};
  return LinkStatus(path_, st) && S_ISDIR(st.st_mode);
}

bool FolderItem::Alias() const {
  struct stat st {};
  return LinkStatus(path_, st) && S_ISLNK(st.st_mode);
}

int32_t FolderItem::Count() const { return static_cast<int32_t>(SortedEntries(path_).size()); }

FolderItemPtr FolderItem::TrueItem(int32_t i) const {
  if (i < 1) return nullptr;
  auto names = SortedEntries(path_);
  if (static_cast<size_t>(i) > names.size()) return nullptr;
  return Child(names[static_cast<size_t>(i) - 1]);
}

void FolderItem::Delete() const {
  int result = Directory() ? ::rmdir(path_.c_str()) : ::unlink(path_.c_str());
  if (result != 0) throw IOException("cannot delete " + path_, errno);
}

void FolderItem::CreateAsFolder() const {
  if (::mkdir(path_.c_str(), 0700) != 0) throw IOException("cannot create folder " + path_, errno);
}

void FolderItem::MoveFileTo(const FolderItem& destination) const {
  if (::rename(path_.c_str(), destination.path_.c_str()) != 0)
    throw IOException("cannot move " + path_ + " to " + destination.path_, errno);
}

std::string FolderItem::ShellPath() const {
  // Inside single quotes /bin/sh expands nothing; a quote itself is closed,
  // escaped and reopened.
  std::string quoted = "'";
  for (char c : path_) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  quoted += "'";
  return quoted;
}

std::shared_ptr<Picture> FolderItem::OpenAsPicture() const { return Picture::Open(*this); }

namespace SpecialFolder {

FolderItemPtr Preferences() {
  const char* config = NonEmptyEnv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::make_shared<FolderItem>(config);
  std::string home;
  if (const char* h = NonEmptyEnv("HOME")) {
    home = h;
  } else if (const struct passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && *pw->pw_dir) {
    home = pw->pw_dir;
  } else {
    Diagnose("no home folder, so no preferences folder");
    return nullptr;
  }
  return std::make_shared<FolderItem>(home + "/.config");
}

FolderItemPtr Temporary() {
  TemporaryChoice& last = LastTemporary();
  const std::string runtimeDir = EnvText("XDG_RUNTIME_DIR"), tmpDir = EnvText("TMPDIR");
  if (last.folder && last.runtimeDir == runtimeDir && last.tmpDir == tmpDir &&
      (!last.own || StillOwnFolder(last.folder->NativePath())))
    return last.folder;
  last = {runtimeDir, tmpDir, nullptr, false};
  std::string reason;
  if ((last.folder = RuntimeFolder(reason))) return last.folder;
  if (!reason.empty()) Diagnose(reason + "; using a folder of our own instead");
  reason.clear();
  if ((last.folder = OwnTempFolder(reason))) {
    last.own = true;
    return last.folder;
  }
  Diagnose(reason + "; no private temporary folder");
  return nullptr;
}

void RemoveOwnFolders() {
  for (const std::string& path : MadeFolders()) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  MadeFolders().clear();
}

void ProvideRuntimeFolder() {
  std::string reason;
  if (RuntimeFolder(reason)) return;
  if (FolderItemPtr own = Temporary()) setenv("XDG_RUNTIME_DIR", own->NativePath().c_str(), 1);
}

}  // namespace SpecialFolder

FolderItemPtr GetApplicationBundleResources() {
  std::string exeFolder = ExecutableFolder();
  if (exeFolder.empty()) return nullptr;
  for (const std::string& relative : {std::string("/resources"), "/../share/" + ProgramName() + "/resources"}) {
    std::string path = exeFolder + relative;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return std::make_shared<FolderItem>(path);
  }
  return nullptr;
}

}  // namespace fw
