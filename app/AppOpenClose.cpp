// App's work at the two ends of a run: the version probe and PrefFile at
// Open; the work-folder cleanup and PrefFile at Close.
#include <array>
#include <cstdio>
#include <exception>
#include <vector>

#include "App.h"
#include "AppIdentifier.h"
#include "VersionProbe.h"
#include "framework/Exceptions.h"
#include "framework/Shell.h"
#include "framework/System.h"
#include "framework/Text.h"
#include "framework/TextStreams.h"
#include "picker/Main.h"

namespace {

constexpr size_t kPrefLines = 9;

Main::Main& PickerWindow() {
  Main::Main* window = Main::Main::Instance();
  if (!window) throw fw::NilObjectException("no picker window");
  return *window;
}

const char* BoolText(bool value) { return value ? "1" : "0"; }

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
  ReadPrefFile();
}

void App::ProbeVersion() {
  fw::Shell shell;
  shell.Execute("sw_vers -productVersion");
  if (VersionAtLeast(shell.ReadAll(), {10, 9})) IsMarverics = true;
}

void App::ReadPrefFile() {
  fw::FolderItemPtr folder = PrefFolder();
  if (!folder) return;
  fw::FolderItemPtr file = folder->Child(PrefFileName);
  if (!file || !file->Exists()) return;

  // All nine lines are read before any setting changes, so a failing read
  // (not a regular file, a line past the size limit, a NUL byte) leaves
  // every setting as it was.
  auto stream = fw::TextInputStream::Open(*file, PrefFileMaxBytes);
  std::array<std::string, kPrefLines> line;
  for (std::string& text : line) text = stream->ReadLine();
  stream->Close();
  const std::string& lang = line[0];
  const std::string& gridColor = line[1];
  const std::string& mouseLoc = line[2];
  const std::string& screenHeight = line[3];
  const std::string& screenWidth = line[4];
  const std::string& top = line[5];
  const std::string& left = line[6];
  const std::string& speech = line[8];

  ColorMode = line[7];
  if (fw::StrEq(speech, "1")) {
    PlaySound = true;
    fw::Timer* timer = PickerWindow().SayColor();
    if (!timer) throw fw::NilObjectException("the picker window has no SayColor timer");
    timer->SetMode(fw::Timer::ModeMultiple);
  } else {
    PlaySound = false;
  }
  if (fw::StrEq(ColorMode, "")) ColorMode = "RGB";
  SelectedLang = lang;
  SelectedColor = gridColor;
  if (fw::StrEq(mouseLoc, "0"))
    SelectedMouseLoc = false;
  else if (fw::StrEq(mouseLoc, "1"))
    SelectedMouseLoc = true;

  // The saved position is only meaningful on a main screen of the same size.
  fw::ScreenInfo screen = fw::Screen(0);
  if (!fw::StrEq(screenWidth, "") && fw::Val(screenWidth) == double(screen.Width) && !fw::StrEq(screenHeight, "") &&
      fw::Val(screenHeight) == double(screen.Height) && !fw::StrEq(top, "") && !fw::StrEq(left, "")) {
    PickerWindow().SetTop(fw::ToInt32(fw::Val(top)));
    PickerWindow().SetLeft(fw::ToInt32(fw::Val(left)));
  }
}

void App::Event_Close() {
  fw::FolderItemPtr work = WorkFolder();
  if (work && work->Alias()) {
    std::fprintf(stderr, "tintbeacon: work folder %s is a link; left as it is\n", work->NativePath().c_str());
  } else if (work) {
    fw::FolderItemPtr capture = work->Child(CaptureFileName);
    try {
      if (capture && capture->Exists()) capture->Delete();
    } catch (const fw::IOException& e) {
      std::fprintf(stderr, "tintbeacon: %s\n", e.what());
    }
    DeleteTmp(work);
  }
  // Quitting goes on when the settings cannot be saved; the previous file
  // stays whole.
  try {
    WritePrefFile();
  } catch (const fw::IOException& e) {
    std::fprintf(stderr, "tintbeacon: settings not saved: %s\n", e.what());
  }
}

void App::WritePrefFile() {
  fw::FolderItemPtr folder = PrefFolder();
  if (!folder) {
    std::fprintf(stderr, "tintbeacon: no preferences folder; settings not saved\n");
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
    std::fprintf(stderr, "tintbeacon: work folder %s not fully cleared: %s\n", folder->NativePath().c_str(),
                 e.what());
  }
}
