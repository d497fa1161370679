#pragma once
#include <string>

namespace fw {

// The program's short name, as the program hands it over first thing at
// start: the prefix of its diagnostics, the name of its private folders, its
// installed resources folder (share/NAME/resources) and the name the desktop
// knows it by. Until it is handed over, the executable's file name.
const std::string& ProgramName();
void SetProgramName(const std::string& name);

}  // namespace fw
