#!/bin/sh
# Soak of the capture tick: 10,000 ticks (or $1) with a moving pointer, the
# real shell and screencapture under a private Xvfb; prints descriptors,
# child processes, work-folder files and resident memory before and after.
#   bench/soak_capture.sh [ticks] [build folder]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build}
exec sh "$here/with_xvfb.sh" "$build/bin/capture_soak_bench" "${1:-10000}"
