// libFuzzer target for the preferences reader: any bytes as PrefFile must
// give a good file at the next quit. Build with clang and -DTB_FUZZ=ON, then
// run, for example: bin/pref_file_fuzz -max_total_time=600
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "../PrefFileHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static apptest::PrefFileHarness harness;
  std::string problem = harness.Check(std::string(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "PrefFile: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
