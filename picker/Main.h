#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/PickerWindow.h"
#include "framework/Canvas.h"
#include "framework/FolderItem.h"
#include "framework/Label.h"
#include "framework/MenuItem.h"
#include "framework/Picture.h"
#include "framework/Rectangle.h"
#include "framework/System.h"
#include "framework/Timer.h"
#include "framework/Window.h"

namespace Main {

// The picker window: the magnified view, the swatch, the value and name
// labels, and the capture and speech timers.
class Main : public PickerWindow {
 public:
  // The one picker window, made on first call.
  static Main* Instance();
  // Makes Instance the picker window the application object reaches
  // (PickerWindow::Instance); the program calls it before start-up.
  static void ServeApp();

  // Pointer position (global points) at the last capture; -999 before the
  // first, -1 after a command asked for a redraw.
  int32_t MouseX = -999;
  int32_t MouseY = -999;
  // The device pixel under the pointer at the last capture, where the
  // desktop tells it: a move within one point is a move too.
  std::optional<fw::DevicePixel> MouseDevice;
  std::string LastName;     // the name spoken last
  bool NowPlaying = false;  // a speech command is running

  void Event_Layout() override;
  void Event_CreateControls() override;
  void CreateControls0();

  // Controls, looked up by name at every call.
  fw::Canvas* Viewer();
  fw::Rectangle* LocationBG();
  fw::Label* LocLabel();
  fw::Timer* GetPicture();
  fw::Rectangle* CurrentColorRect();
  fw::Label* ColorLabel();
  fw::Label* NameLabel();
  fw::Timer* SayColor() override;

  void GetPicture_Action(fw::Timer& timer);
  void SayColor_Action(fw::Timer& timer);

  // Menu items, looked up by name in the window's menu bar at every call.
  fw::MenuItem* View();
  fw::MenuItem* ViewTintbeacon();
  fw::MenuItem* UntitledSeparator0();
  fw::MenuItem* ViewWindowMinimize();
  fw::MenuItem* UntitledSeparator();
  fw::MenuItem* ViewShowMouseLocation();
  fw::MenuItem* ViewMode();
  fw::MenuItem* ViewModeHLS();
  fw::MenuItem* ViewModeCMYK();
  fw::MenuItem* ViewModeRGB();
  fw::MenuItem* ViewLineColor();
  fw::MenuItem* ViewLineColorBlue();
  fw::MenuItem* ViewLineColorGreen();
  fw::MenuItem* ViewLineColorRed();
  fw::MenuItem* ViewLineColorWhite();
  fw::MenuItem* ViewLineColorBlack();
  fw::MenuItem* ViewLineColorNone();
  fw::MenuItem* ViewLanguage();
  fw::MenuItem* ViewLanguageJa();
  fw::MenuItem* ViewLanguageEn();
  fw::MenuItem* EditMenu();
  fw::ApplicationMenuItem* AboutTintbeacon();
  fw::QuitMenuItem* FileQuit();
  fw::MenuItem* EditSpeech();
  fw::MenuItem* EditStopSpeaking();
  fw::MenuItem* EditStartSpeaking();
  fw::MenuItem* UntitledSeparator1();
  fw::MenuItem* EditSelectAll();
  fw::MenuItem* EditSeparator2();
  fw::MenuItem* EditClear();
  fw::MenuItem* EditPaste();
  fw::MenuItem* EditCopy();
  fw::MenuItem* EditCut();
  fw::MenuItem* EditSeparator1();
  fw::MenuItem* EditUndo();

  void Event_AddMenuHandlers() override;
  void Event_Close() override;
  void Event_EnableMenuItems() override;
  void Event_Moved() override;
  void Event_Activate() override;
  bool Event_KeyDown(const std::string& key) override;

  bool ViewLanguageJa_Action();
  bool ViewLanguageEn_Action();
  bool ViewLineColorBlack_Action();
  bool ViewLineColorWhite_Action();
  bool ViewLineColorRed_Action();
  bool ViewLineColorGreen_Action();
  bool ViewLineColorBlue_Action();
  bool ViewShowMouseLocation_Action();
  bool ViewWindowMinimize_Action();
  bool ViewLineColorNone_Action();
  bool ViewModeRGB_Action();
  bool ViewModeCMYK_Action();
  bool ViewModeHLS_Action();
  bool EditStartSpeaking_Action();
  bool EditStopSpeaking_Action();

 private:
  // What the position caption shows: the setting and the stored position.
  struct Caption {
    bool shown = false;
    int32_t x = 0, y = 0;
    bool operator==(const Caption&) const = default;
  };
  // The caption as the tick last set it; none before the first tick.
  std::optional<Caption> shownCaption_;

  // Device pixels per point of the window's display; 1.0 when the query
  // fails. Kept as a double: scales such as 1.1458333 (Xft.dpi 110) are not
  // a float, and the tool must count points as the desktop does.
  double ScalingFactor();

  // The shell command that captures the rectangle ("left,top,101,101") into
  // a file of that name in workFolder, or the whole screen when marverics
  // is false.
  static std::string CaptureCommand(const fw::FolderItem& workFolder, const std::string& rectangle, bool marverics);
  // Runs the capture and keeps it as the work folder's capture-square;
  // returns it read back, with the size of the capture as written in w and
  // h. Throws, leaving the previous capture-square and no other file, when
  // the capture cannot be had (none written, unreadable, or larger than the
  // rectangle or the screen at the display's scale).
  std::shared_ptr<fw::Picture> CaptureIntoWorkFolder(const fw::FolderItem& workFolder, const std::string& rectangle,
                                                     bool marverics, double scale,
                                                     std::optional<fw::DevicePixel> pointer, int32_t& w, int32_t& h);
};

}  // namespace Main
