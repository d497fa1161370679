#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include "FolderItem.h"

namespace fw {

// Reads UTF-8 text line by line; "\n" ends a line and a "\r" before it is
// dropped. Only a regular file is read, and at most maxBytes of it: what
// lies beyond is never touched, so no file, however large, costs more.
class TextInputStream {
 public:
  // Throws IOException (with errno) when the file cannot be opened or read,
  // or is not a regular file (a folder, a FIFO, a device). Never blocks.
  static std::unique_ptr<TextInputStream> Open(const FolderItem& file, size_t maxBytes);
  // The next line without its line end; "" once the file is exhausted.
  // Throws IOException for a line that runs past maxBytes (EFBIG) or holds
  // a NUL byte (EILSEQ): such a file is damaged, not text.
  std::string ReadLine();
  bool EndOfFile() const;
  void Close();

 private:
  TextInputStream(std::string path, std::string content, bool cut)
      : path_(std::move(path)), content_(std::move(content)), cut_(cut) {}
  std::string path_;
  std::string content_;  // the first maxBytes bytes of the file
  bool cut_;             // the file goes on past content_
  size_t at_ = 0;
  int lineNumber_ = 0;
};

// Writes UTF-8 text with "\n" line ends into a new file beside the target,
// and only Close puts it in the target's place (flushed, then renamed over
// it): a failed write leaves the previous file whole. A symbolic link in the
// target's place is followed: the file it leads to is replaced, the link
// stays, and the file keeps its permission bits.
class TextOutputStream {
 public:
  // Throws IOException (with errno) when the file cannot be created, and
  // when an existing file could not be written in place: not a regular
  // file, or not writable by this process (read-only, another owner's).
  static std::unique_ptr<TextOutputStream> Create(const FolderItem& file);
  // Without Close, the new file is dropped and the target left as it was.
  ~TextOutputStream();
  // Throws IOException on a failed write.
  void WriteLine(const std::string& text);
  // Flushes and renames into place; throws IOException on failure.
  void Close();

 private:
  TextOutputStream(FILE* f, std::string tempPath, std::string targetPath, std::string shownPath)
      : file_(f), tempPath_(std::move(tempPath)), targetPath_(std::move(targetPath)), shownPath_(std::move(shownPath)) {}
  FILE* file_;
  std::string tempPath_, targetPath_;
  std::string shownPath_;  // the path as the caller gave it, for messages
  bool failed_ = false;
};

}  // namespace fw
