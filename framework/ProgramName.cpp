#include "ProgramName.h"

#include <cerrno>

namespace fw {

namespace {

std::string& Name() {
  static std::string name = program_invocation_short_name;
  return name;
}

}  // namespace

const std::string& ProgramName() { return Name(); }

void SetProgramName(const std::string& name) { Name() = name; }

}  // namespace fw
