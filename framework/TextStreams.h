#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include "FolderItem.h"

namespace fw {

// Reads UTF-8 text line by line; "\n" ends a line and a "\r" before it is
// dropped. Lines are capped at MaxLineBytes: a longer line is cut there and
// the rest of it skipped.
class TextInputStream {
 public:
  static constexpr size_t MaxLineBytes = 1 << 16;
  // Throws IOException (with errno) when the file cannot be opened.
  static std::unique_ptr<TextInputStream> Open(const FolderItem& file);
  ~TextInputStream();
  // The next line without its line end; "" once the file is exhausted.
  std::string ReadLine();
  bool EndOfFile() const;
  void Close();

 private:
  explicit TextInputStream(FILE* f) : file_(f) {}
  FILE* file_;
};

// Writes UTF-8 text with "\n" line ends into a new file beside the target,
// and only Close puts it in the target's place (flushed, then renamed over
// it): a failed write leaves the previous file whole.
class TextOutputStream {
 public:
  // Throws IOException (with errno) when the file cannot be created.
  static std::unique_ptr<TextOutputStream> Create(const FolderItem& file);
  // Without Close, the new file is dropped and the target left as it was.
  ~TextOutputStream();
  // Throws IOException on a failed write.
  void WriteLine(const std::string& text);
  // Flushes and renames into place; throws IOException on failure.
  void Close();

 private:
  TextOutputStream(FILE* f, std::string tempPath, std::string targetPath)
      : file_(f), tempPath_(std::move(tempPath)), targetPath_(std::move(targetPath)) {}
  FILE* file_;
  std::string tempPath_, targetPath_;
  bool failed_ = false;
};

}  // namespace fw
