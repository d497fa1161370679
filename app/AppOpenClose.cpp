// App's work at the two ends of a run: the version probe and PrefFile at
// Open; the work-folder cleanup and PrefFile at Close.
#include <array>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "App.h"
#include "AppIdentifier.h"
#include "PickerWindow.h"
#include "VersionProbe.h"
#include "framework/Diagnostics.h"
#include "framework/Exceptions.h"
#include "framework/Shell.h"
#include "framework/System.h"
#include "framework/Text.h"
#include "framework/TextStreams.h"

namespace {

constexpr size_t kPrefLines = 9;

PickerWindow& ThePickerWindow() {
  PickerWindow* window = PickerWindow::Instance();
  if (!window) throw fw::NilObjectException("no picker window");
  return *window;
}

const char* BoolText(bool value) { return value ? "1" : "0"; }

// A line of PrefFile as read: its text, or nullopt for a damaged line.
using PrefLine = std::optional<std::string>;

bool Is(const PrefLine& line, const char* text) { return line && fw::StrEq(*line, text); }
bool Given(const PrefLine& line) { return line && !fw::StrEq(*line, ""); }

}  // namespace

fw::FolderItemPtr WorkFolder() {
  fw::FolderItemPtr temporary = fw::SpecialFolder::Temporary();
  if (!temporary) return nullptr;
  return temporary->Child(std::string(AppIdentifier) + ".work");
}

fw::FolderItemPtr PrefFolder() {
  fw::FolderItemPtr preferences = fw::SpecialFolder::Preferences();
  if (!preferences) return nullptr;
  return preferences->Child(std::string(AppIdentifier) + ".prefs");
}

void App::Event_Open() {
  ProbeVersion();
  // Start-up goes on without the file; ReadPrefFile has marked it to be
  // left as it is.
  try {
    ReadPrefFile();
  } catch (const fw::IOException& e) {
    fw::Diagnose(std::string("settings not read, and not saved at quit: ") + e.what());
  }
}

void App::ProbeVersion() {
  fw::Shell shell;
  shell.Execute("sw_vers -productVersion");
  if (VersionAtLeast(shell.ReadAll(), {10, 9})) IsMarverics = true;
}

void App::ReadPrefFile() {
  prefFileUnread_ = false;
  fw::FolderItemPtr folder = PrefFolder();
  if (!folder) return;
  fw::FolderItemPtr file = folder->Child(PrefFileName);
  if (!file || !file->Exists()) return;

  std::unique_ptr<fw::TextInputStream> stream;
  try {
    stream = fw::TextInputStream::Open(*file, PrefFileMaxBytes);
  } catch (const fw::IOException&) {
    // Settings written over a file we could not read would lose whatever
    // it holds: it stays as it is.
    prefFileUnread_ = true;
    throw;
  }
  // A damaged line (not text, or past the size limit) selects nothing: its
  // setting keeps the value it has, as for any text outside its set.
  std::array<PrefLine, kPrefLines> line;
  std::string damage;
  for (size_t i = 0; i < kPrefLines; ++i) {
    fw::TextLine read = stream->ReadTextLine();
    if (!read.Damaged())
      line[i] = std::move(read.text);
    else
      damage += (damage.empty() ? "" : ", ") + ("line " + std::to_string(i + 1) + " " + read.damage);
  }
  stream->Close();
  if (!damage.empty())
    fw::Diagnose("damaged lines in " + file->NativePath() + " are not used: " + damage);
  const PrefLine& lang = line[0];
  const PrefLine& gridColor = line[1];
  const PrefLine& mouseLoc = line[2];
  const PrefLine& screenHeight = line[3];
  const PrefLine& screenWidth = line[4];
  const PrefLine& top = line[5];
  const PrefLine& left = line[6];
  const PrefLine& mode = line[7];
  const PrefLine& speech = line[8];

  if (mode) ColorMode = *mode;
  // A damaged line 9 chooses neither speech nor silence.
  if (Is(speech, "1")) {
    PlaySound = true;
    fw::Timer* timer = ThePickerWindow().SayColor();
    if (!timer) throw fw::NilObjectException("the picker window has no SayColor timer");
    timer->SetMode(fw::Timer::ModeMultiple);
  } else if (speech) {
    PlaySound = false;
  }
  if (fw::StrEq(ColorMode, "")) ColorMode = "RGB";
  if (lang) SelectedLang = *lang;
  if (gridColor) SelectedColor = *gridColor;
  if (Is(mouseLoc, "0"))
    SelectedMouseLoc = false;
  else if (Is(mouseLoc, "1"))
    SelectedMouseLoc = true;

  // The saved position is only meaningful on a main screen of the same size.
  fw::ScreenInfo screen = fw::Screen(0);
  if (Given(screenWidth) && fw::Val(*screenWidth) == double(screen.Width) && Given(screenHeight) &&
      fw::Val(*screenHeight) == double(screen.Height) && Given(top) && Given(left)) {
    ThePickerWindow().SetTop(fw::ToInt32(fw::Val(*top)));
    ThePickerWindow().SetLeft(fw::ToInt32(fw::Val(*left)));
    // The same main screen does not mean the same desktop: the place may
    // have been on a monitor that is gone.
    ThePickerWindow().KeepOnScreen();
  }
}

void App::Event_Close() {
  fw::FolderItemPtr work = WorkFolder();
  if (work && work->Alias()) {
    fw::Diagnose("work folder " + work->NativePath() + " is a link; left as it is");
  } else if (work) {
    fw::FolderItemPtr capture = work->Child(CaptureFileName);
    try {
      if (capture && capture->Exists()) capture->Delete();
    } catch (const fw::IOException& e) {
      fw::Diagnose(e.what());
    }
    DeleteTmp(work);
  }
  // Quitting goes on when the settings cannot be saved; the previous file
  // stays whole.
  try {
    WritePrefFile();
  } catch (const fw::IOException& e) {
    fw::Diagnose(std::string("settings not saved: ") + e.what());
  }
}

void App::WritePrefFile() {
  if (prefFileUnread_) return;
  fw::FolderItemPtr folder = PrefFolder();
  if (!folder) {
    fw::Diagnose("no preferences folder; settings not saved");
    return;
  }
  // A fresh home may have no preferences folder at all yet.
  fw::FolderItemPtr preferences = fw::SpecialFolder::Preferences();
  if (preferences && !preferences->Exists()) preferences->CreateAsFolder();
  if (!folder->Exists()) folder->CreateAsFolder();
  fw::FolderItemPtr file = folder->Child(PrefFileName);
  auto stream = fw::TextOutputStream::Create(*file);
  fw::ScreenInfo screen = fw::Screen(0);
  stream->WriteLine(SelectedLang);
  stream->WriteLine(SelectedColor);
  stream->WriteLine(BoolText(SelectedMouseLoc));
  stream->WriteLine(fw::Str(screen.Height));
  stream->WriteLine(fw::Str(screen.Width));
  stream->WriteLine(fw::Str(MainTop));
  stream->WriteLine(fw::Str(MainLeft));
  stream->WriteLine(ColorMode);
  stream->WriteLine(BoolText(PlaySound));
  stream->Close();
}

void App::DeleteTmp(const fw::FolderItemPtr& folder) {
  // Only a real folder is cleared: a link to one is never followed.
  if (!folder || !folder->Exists() || !folder->Directory()) return;
  try {
    for (int pass = 1; pass <= 2; ++pass) {
      // The pass's entries are listed before any is deleted, so a deletion
      // never makes the pass skip another entry.
      std::vector<fw::FolderItemPtr> entries;
      int32_t count = folder->Count();
      for (int32_t i = 1; i <= count; ++i)
        if (fw::FolderItemPtr entry = folder->TrueItem(i)) entries.push_back(std::move(entry));
      for (const fw::FolderItemPtr& entry : entries) {
        if (entry->Directory()) {
          DeleteTmp(entry);
          entry->Delete();
        } else if (pass == 1 ? entry->Alias() : entry->Exists()) {
          entry->Delete();
        }
      }
    }
  } catch (const std::exception& e) {
    // The cleanup never keeps the settings from being saved.
    fw::Diagnose("work folder " + folder->NativePath() + " not fully cleared: " + e.what());
  }
}
