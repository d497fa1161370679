// The 29 localised text constants of App: each asks the localised-string
// service afresh under "App." + its name, with the English default the
// program carries.
#include "App.h"
#include "framework/System.h"

#define TB_LOCALISED_CONSTANT(name, english)                               \
  std::string App::name(const std::string& language) {                     \
    return fw::System::GetLocalizedString("App." #name, english, language); \
  }

TB_LOCALISED_CONSTANT(kFileQuit, "Quit")
TB_LOCALISED_CONSTANT(Language, "en")
TB_LOCALISED_CONSTANT(kEditUndo, "Undo")
TB_LOCALISED_CONSTANT(kEditCopy, "Copy")
TB_LOCALISED_CONSTANT(kEditCut, "Cut")
TB_LOCALISED_CONSTANT(kEditSelectAll, "Select All")
TB_LOCALISED_CONSTANT(kEditPaste, "Paste")
TB_LOCALISED_CONSTANT(kEditClear, "Clear")
TB_LOCALISED_CONSTANT(kEditMenu, "Edit")
TB_LOCALISED_CONSTANT(kViewMenu, "View")
TB_LOCALISED_CONSTANT(kViewLanguage, "Language")
TB_LOCALISED_CONSTANT(kViewLanguageEn, "English")
TB_LOCALISED_CONSTANT(kViewLanguageJa, "Japanese")
TB_LOCALISED_CONSTANT(kViewLineColor, "Grid Color")
TB_LOCALISED_CONSTANT(kViewLineColorBlack, "Black")
TB_LOCALISED_CONSTANT(kViewLineColorWhite, "White")
TB_LOCALISED_CONSTANT(kViewLineColorRed, "Red")
TB_LOCALISED_CONSTANT(kViewLineColorGreen, "Green")
TB_LOCALISED_CONSTANT(kViewLineColorBlue, "Blue")
TB_LOCALISED_CONSTANT(kViewMouseLocation, "View Mouse Location")
TB_LOCALISED_CONSTANT(kViewWindowMinimize, "Minimize Window")
TB_LOCALISED_CONSTANT(kAppVersion, "0.3.0")
TB_LOCALISED_CONSTANT(kVersion, "version")
TB_LOCALISED_CONSTANT(kAboutTintbeacon, "About Tintbeacon")
TB_LOCALISED_CONSTANT(kViewLineColorNone, "None")
TB_LOCALISED_CONSTANT(kViewMode, "Mode")
TB_LOCALISED_CONSTANT(kEditSpeech, "Speech")
TB_LOCALISED_CONSTANT(kEditStartSpeaking, "Start Speaking")
TB_LOCALISED_CONSTANT(kEditStopSpeaking, "Stop Speaking")
