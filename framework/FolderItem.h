#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace fw {

class Picture;
class FolderItem;
using FolderItemPtr = std::shared_ptr<FolderItem>;

// A path in the file system, which may or may not exist. An alias is a
// symbolic link: it is taken as itself and never followed.
class FolderItem {
 public:
  explicit FolderItem(std::string path) : path_(std::move(path)) {}

  const std::string& NativePath() const { return path_; }
  std::string Name() const;

  // The entry of that name inside this folder, whether or not it exists;
  // nullptr for a name that is empty, ".", ".." or holds a "/".
  FolderItemPtr Child(const std::string& name) const;
  // True when the entry exists (a dangling link exists as a link).
  bool Exists() const;
  // True for a real folder, never for a link to one.
  bool Directory() const;
  bool Alias() const;
  // Number of entries in the folder; 0 when it is not a readable folder.
  int32_t Count() const;
  // The entry at position i (from 1) in name order, not followed; nullptr
  // past the last entry.
  FolderItemPtr TrueItem(int32_t i) const;
  // Removes a file, a link or an empty folder; throws IOException on failure.
  void Delete() const;
  // Creates the folder (mode 0700); throws IOException on failure.
  void CreateAsFolder() const;
  // Moves this file to destination (which does not exist); throws IOException.
  void MoveFileTo(const FolderItem& destination) const;
  // The path quoted for /bin/sh: one word whatever it holds.
  std::string ShellPath() const;
  // Reads the file as a picture; nullptr when it cannot be read.
  std::shared_ptr<Picture> OpenAsPicture() const;

 private:
  std::string path_;
};

namespace SpecialFolder {
// $XDG_CONFIG_HOME, else ~/.config.
FolderItemPtr Preferences();
// A folder private to the user: $XDG_RUNTIME_DIR when set, owned by the user
// and mode 0700; else a fresh folder of the user's own under $TMPDIR or /tmp
// with an unguessable name, made 0700 once per run (again only when it has
// gone) and removed when the program ends. nullptr when no such folder can
// be had. The answer is kept while the two variables stay the same.
FolderItemPtr Temporary();
// Removes the folders Temporary made, now; the program's end does it too,
// unless it ends at once (_exit).
void RemoveOwnFolders();
// When XDG_RUNTIME_DIR is unusable, points it at the folder Temporary
// gives, for libraries that would otherwise make a runtime folder of their
// own in a shared place and leave it there.
void ProvideRuntimeFolder();
}  // namespace SpecialFolder

// The bundle's resources folder: resources/ beside the executable, else
// ../share/NAME/resources (NAME the ProgramName); nullptr when neither exists.
FolderItemPtr GetApplicationBundleResources();

}  // namespace fw
