#!/usr/bin/env bash
# Builds the preferences fuzz target with clang (libFuzzer, AddressSanitizer)
# into build-fuzz/ and runs it briefly: "bash scripts/fuzz.sh [seconds]"
# (10 by default). Needs clang++.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-10}"
CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTB_FUZZ=ON \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address >/dev/null
cmake --build "$top/build-fuzz" -j "$(nproc)" --target pref_file_fuzz
# Every input is written and synced; a folder in memory keeps that quick.
scratch="$(mktemp -d "$([ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/tb-fuzz-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/corpus"
# Only the summary, unless it finds something.
if ! TMPDIR="$scratch" "$top/build-fuzz/bin/pref_file_fuzz" -max_total_time="$seconds" "$scratch/corpus" \
  2>"$scratch/log"; then
  cat "$scratch/log" >&2
  exit 1
fi
tail -n 1 "$scratch/log"
