// libFuzzer target for the preferences reader: any bytes as PrefFile must
// give a good file at the next quit. Built and run by scripts/fuzz.sh, for
// example for ten minutes: bash scripts/fuzz.sh 600
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "../PrefFileHarness.h"

namespace {

void FailOn(const std::string& problem) {
  if (problem.empty()) return;
  std::fprintf(stderr, "PrefFile: %s\n", problem.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static apptest::PrefFileHarness harness;
  // What no byte string can be: files that are not regular or are huge.
  static const bool specialFilesChecked = (FailOn(harness.CheckSpecialFiles()), true);
  (void)specialFilesChecked;
  FailOn(harness.Check(std::string(reinterpret_cast<const char*>(data), size)));
  return 0;
}
