#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include "FolderItem.h"

namespace fw {

// One line as read: its text, or, for a line that is no text, what is wrong.
struct TextLine {
  std::string text;     // without its line end; "" for a damaged line
  std::string damage;   // "" for a line of text, else what is wrong with it
  int errorNumber = 0;  // 0, or EILSEQ (no UTF-8 text) or EFBIG (past the limit)
  bool Damaged() const { return errorNumber != 0; }
};

// Reads UTF-8 text line by line; "\n" ends a line and a "\r" before it is
// dropped. Only a regular file is read, and at most maxBytes of it: what
// lies beyond is never touched, so no file, however large, costs more.
class TextInputStream {
 public:
  // Throws IOException (with errno) when the file cannot be opened or read,
  // or is not a regular file (a folder, a FIFO, a device). Never blocks.
  static std::unique_ptr<TextInputStream> Open(const FolderItem& file, size_t maxBytes);
  // The next line; an empty line once the file is exhausted. A line that
  // holds a NUL byte or is not UTF-8 is damaged (EILSEQ); so is one that
  // runs past maxBytes, and every line after it, since what they hold was
  // never read (EFBIG). The lines after a damaged one still read.
  TextLine ReadTextLine();
  // The text of ReadTextLine; throws IOException with its error number for
  // a damaged line.
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
// stays, and the file keeps its permission bits. A target with other hard
// links is overwritten in place instead, from the finished new file, so
// every name keeps the same file.
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
  // Flushes and puts the text in place; throws IOException on failure.
  void Close();

 private:
  TextOutputStream(FILE* f, std::string tempPath, std::string targetPath, std::string shownPath, bool inPlace)
      : file_(f),
        tempPath_(std::move(tempPath)),
        targetPath_(std::move(targetPath)),
        shownPath_(std::move(shownPath)),
        inPlace_(inPlace) {}
  FILE* file_;
  std::string tempPath_, targetPath_;
  std::string shownPath_;  // the path as the caller gave it, for messages
  bool inPlace_;           // the target has other hard links: overwrite it, keep its inode
  bool failed_ = false;
};

}  // namespace fw
