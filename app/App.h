#pragma once
#include <cstdint>
#include <string>

#include "framework/Application.h"
#include "framework/FolderItem.h"
#include "framework/MenuItem.h"

// The application object: the user's settings and the application-level
// menu commands.
class App : public fw::Application {
 public:
  App();  // does nothing
  // The registered application object (the global accessor App).
  static App* Instance();

  // Settings.
  std::string SelectedLang;             // "en", "ja"; "" until the first capture tick
  std::string SelectedColor = "Black";  // crosshair: "None", "Black", "White", "Red", "Green", "Blue"
  bool SelectedMouseLoc = false;        // show the pointer-position caption
  int32_t MainTop = 0;                  // picker window position, global points
  int32_t MainLeft = 0;
  std::string ColorMode = "RGB";  // "RGB", "CMYK", "HLS"
  bool PlaySound = false;         // True exactly while the speech timer runs
  bool IsMarverics = false;       // the version probe chose the rectangle capture

  void Event_EnableMenuItems() override;
  void Event_Close() override;
  void Event_Open() override;
  bool ViewTintbeacon_Action();
  bool AboutTintbeacon_Action();
  // Empties folder (sub-folders first), never following a link; lets no
  // exception out.
  void DeleteTmp(const fw::FolderItemPtr& folder);

  // The three steps of Open and Close, each usable on its own.
  // Sets IsMarverics from "sw_vers -productVersion".
  void ProbeVersion();
  // Reads PrefFile into the settings, the speech timer and the picker
  // window's position; a missing file leaves everything as it is. A damaged
  // line (not UTF-8 text, or past PrefFileMaxBytes) is reported on stderr
  // and changes nothing; the others are read. A file that cannot be opened
  // (unreadable, not a regular file) throws IOException and is then never
  // written by WritePrefFile.
  void ReadPrefFile();
  // Writes PrefFile: a new file renamed over the old one (in place when it
  // has other hard links), so a failure (IOException) leaves the previous
  // file whole.
  void WritePrefFile();

  // Localised text constants: the text of key "App." + name in language
  // ("" asks for the user's language).
  static std::string kFileQuit(const std::string& language);
  static std::string Language(const std::string& language);
  static std::string kEditUndo(const std::string& language);
  static std::string kEditCopy(const std::string& language);
  static std::string kEditCut(const std::string& language);
  static std::string kEditSelectAll(const std::string& language);
  static std::string kEditPaste(const std::string& language);
  static std::string kEditClear(const std::string& language);
  static std::string kEditMenu(const std::string& language);
  static std::string kViewMenu(const std::string& language);
  static std::string kViewLanguage(const std::string& language);
  static std::string kViewLanguageEn(const std::string& language);
  static std::string kViewLanguageJa(const std::string& language);
  static std::string kViewLineColor(const std::string& language);
  static std::string kViewLineColorBlack(const std::string& language);
  static std::string kViewLineColorWhite(const std::string& language);
  static std::string kViewLineColorRed(const std::string& language);
  static std::string kViewLineColorGreen(const std::string& language);
  static std::string kViewLineColorBlue(const std::string& language);
  static std::string kViewMouseLocation(const std::string& language);
  static std::string kViewWindowMinimize(const std::string& language);
  static std::string kAppVersion(const std::string& language);
  static std::string kVersion(const std::string& language);
  static std::string kAboutTintbeacon(const std::string& language);
  static std::string kViewLineColorNone(const std::string& language);
  static std::string kViewMode(const std::string& language);
  static std::string kEditSpeech(const std::string& language);
  static std::string kEditStartSpeaking(const std::string& language);
  static std::string kEditStopSpeaking(const std::string& language);

 private:
  bool prefFileUnread_ = false;  // PrefFile was there but could not be read: leave it as it is
};

// The menu items the application serves, found by name in its menu bar.
fw::MenuItem* ViewTintbeacon();
fw::ApplicationMenuItem* AboutTintbeacon();
