#pragma once
#include "support/TestFiles.h"

namespace fwtest {

using testfiles::EnvOverride;
using testfiles::ReadFile;
using testfiles::ScratchFolder;
using testfiles::WriteFile;

}  // namespace fwtest
