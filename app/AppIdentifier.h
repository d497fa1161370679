#pragma once
#include <cstddef>
#include <string>

#include "framework/FolderItem.h"

// The program's short name: its executable's, the prefix of its reports and
// the folder of its installed resources (share/tintbeacon/resources).
inline constexpr const char* AppName = "tintbeacon";
// The application's reverse-domain identifier; it names the preferences and
// work folders.
inline constexpr const char* AppIdentifier = "org.tintbeacon.Tintbeacon";
// The file in the work folder that holds the latest capture.
inline constexpr const char* CaptureFileName = "capture-square";
// The preferences file inside PrefFolder().
inline constexpr const char* PrefFileName = "Tintbeacon.pref";
// The most of PrefFile that is read: its nine lines are far shorter, and a
// file whose lines run past this is damaged, whatever its size.
inline constexpr size_t PrefFileMaxBytes = 4096;

// The private work folder: AppIdentifier + ".work" in the user's temporary
// folder, whether or not it exists; nullptr when there is no temporary folder.
fw::FolderItemPtr WorkFolder();
// The preferences folder: AppIdentifier + ".prefs" in the user's preferences
// folder, whether or not it exists; nullptr when there is no such folder.
fw::FolderItemPtr PrefFolder();
