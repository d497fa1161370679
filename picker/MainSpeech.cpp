// The speech tick: speaks the shown colour name whenever it has changed.
#include <string>

#include "framework/Shell.h"
#include "framework/Text.h"
#include "picker/Main.h"

namespace Main {

namespace {

// text as one /bin/sh word: between single quotes, each ' written as '\''
// (close the quotes, an escaped quote, open them again). Nothing else is
// special inside single quotes, so no text can run a command.
std::string ShellWord(const std::string& text) {
  std::string word = "'";
  for (char c : text) {
    if (c == '\'') {
      word += "'\\''";
    } else {
      word += c;
    }
  }
  word += "'";
  return word;
}

// Clears the flag however the command ends, so that a failing Shell cannot
// silence speech for the rest of the run.
class PlayingGuard {
 public:
  explicit PlayingGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~PlayingGuard() { flag_ = false; }
  PlayingGuard(const PlayingGuard&) = delete;
  PlayingGuard& operator=(const PlayingGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void Main::SayColor_Action(fw::Timer& /*timer*/) {
  // The desktop backend serves events while say runs; a tick arriving then
  // must not start a second one.
  if (NowPlaying) return;
  if (fw::StrEq(LastName, NameLabel()->Text)) return;
  LastName = NameLabel()->Text;
  fw::Shell shell;
  const std::string command = "say " + ShellWord(LastName);
  PlayingGuard playing(NowPlaying);
  shell.Execute(command);
}

}  // namespace Main
