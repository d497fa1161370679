#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test. Tests that need a
# display start their own Xvfb.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
cd "$top/build"
ctest --output-on-failure -j "$(nproc)" "$@"
# The fuzz target needs clang with libFuzzer; where they are installed, it
# is built and run briefly.
fuzzer_probe='extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }'
if command -v clang++ >/dev/null &&
  echo "$fuzzer_probe" | clang++ -x c++ -fsanitize=fuzzer,address -o /dev/null - 2>/dev/null; then
  "$top/scripts/fuzz.sh" 10
fi
