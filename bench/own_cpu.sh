#!/bin/bash
# The running program's own CPU against its floor, a bare Qt program doing
# the same work (bench/floor_qt.cpp). The floor and every build given run
# side by side, through the same pointer moves and the same rest, so that
# whatever else loads the machine loads them alike and the ratios hold on
# any machine:
#   per capture: own CPU while the pointer moves, per capture taken;
#   still: own CPU while the pointer rests (for the floor, a 128 ms timer
#   and one pointer query per tick).
# The capture commands' CPU is not the program's own and is left out. Each
# runs from a copy of its bin folder whose screencapture counts its runs.
# ROUNDS rounds (default 3) start them afresh; the ratios are each round's,
# then their median. Run inside a display:
#   bench/with_xvfb.sh bench/own_cpu.sh build/bin/tintbeacon [other builds...]
# SECONDS_EACH (default 15) sets the length of each phase; the floor is
# bin/floor_qt beside the first build.
set -eu
secs=${SECONDS_EACH:-15}
rounds=${ROUNDS:-3}
floor=$(dirname "$1")/floor_qt
[ -x "$floor" ] || { echo "no $floor: build the floor_qt target" >&2; exit 2; }
work=$(mktemp -d)
# The work folders lie on a memory file system, as in a user's
# XDG_RUNTIME_DIR.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then runtime=$(mktemp -d -p /dev/shm); else runtime=$work/runtime; fi
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work" "$runtime"' EXIT

# Nanoseconds of CPU of a program's own threads, commands excluded.
own() { cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }'; }
runs() { [ -f "$1/captures" ] && wc -l <"$1/captures" || echo 0; }

move() {
  local i=0
  while [ $i -lt $((secs * 10)) ]; do
    xdotool mousemove $((400 + i % 200)) $((300 + (i * 7) % 200))
    sleep 0.1
    i=$((i + 1))
  done
}

# A copy of exe's bin folder in dir, its screencapture counting its runs.
copy_bin() {
  local exe=$1 dir=$2
  mkdir -p "$dir/bin/tools" "$dir/home"
  mkdir -m 700 -p "$runtime/$(basename "$dir")"
  cp "$exe" "$dir/bin/"
  if [ -d "$(dirname "$exe")/resources" ]; then cp -r "$(dirname "$exe")/resources" "$dir/bin/"; fi
  cp "$(dirname "$exe")"/tools/* "$dir/bin/tools/"
  mv "$dir/bin/tools/screencapture" "$dir/bin/tools/screencapture.real"
  printf '#!/bin/sh\necho >> %s/captures\nexec %s/bin/tools/screencapture.real "$@"\n' "$dir" "$dir" \
    >"$dir/bin/tools/screencapture"
  chmod 755 "$dir/bin/tools/screencapture"
}

names=("floor (bare Qt)" "$@")
exes=("$floor" "$@")
printf '%-5s %-34s %12s %8s %14s %8s\n' round build "own/capture" ratio "still, % core" ratio
for round in $(seq "$rounds"); do
  pids=()
  dirs=()
  for i in "${!exes[@]}"; do
    dir=$work/$round-$i
    copy_bin "${exes[$i]}" "$dir"
    HOME=$dir/home XDG_CONFIG_HOME=$dir/home/config XDG_RUNTIME_DIR=$runtime/$(basename "$dir") \
      "$dir/bin/$(basename "${exes[$i]}")" 2>/dev/null &
    pids+=($!)
    dirs+=("$dir")
  done
  sleep 3
  declare -a o0 o1 o2 o3 n0 n1
  for i in "${!pids[@]}"; do o0[$i]=$(own "${pids[$i]}"); n0[$i]=$(runs "${dirs[$i]}"); done
  move
  for i in "${!pids[@]}"; do o1[$i]=$(own "${pids[$i]}"); n1[$i]=$(runs "${dirs[$i]}"); done
  sleep 1
  for i in "${!pids[@]}"; do o2[$i]=$(own "${pids[$i]}"); done
  t0=$(date +%s.%N)
  sleep "$secs"
  for i in "${!pids[@]}"; do o3[$i]=$(own "${pids[$i]}"); done
  t1=$(date +%s.%N)
  for p in "${pids[@]}"; do kill "$p"; wait "$p" 2>/dev/null || true; done
  pids=()
  for i in "${!exes[@]}"; do
    awk -v name="${names[$i]}" -v r="$round" -v o="$((o1[$i] - o0[$i]))" -v n="$((n1[$i] - n0[$i]))" \
        -v s="$((o3[$i] - o2[$i]))" -v fo="$((o1[0] - o0[0]))" -v fn="$((n1[0] - n0[0]))" \
        -v fs="$((o3[0] - o2[0]))" -v t0="$t0" -v t1="$t1" -v floor="$((i == 0))" 'BEGIN {
      capture = n ? o / n : 0; fcapture = fn ? fo / fn : 0
      if (floor) printf "%-5s %-34s %10.3fms %8s %13.3f%% %8s\n", r, name, capture / 1e6, "", s / (t1 - t0) / 1e7, ""
      else printf "%-5s %-34s %10.3fms %7.2fx %13.3f%% %7.2fx\n", r, name, capture / 1e6, capture / fcapture,
        s / (t1 - t0) / 1e7, s / fs
    }' | tee -a "$work/results"
  done
  for dir in "${dirs[@]}"; do rm -rf "$dir" "$runtime/$(basename "$dir")"; done
done
echo
echo "median of the rounds (target: per capture <= 1.5x, still <= 1.2x the floor):"
for exe in "$@"; do
  median() { awk -v e="$exe" -v col="$1" '$2 == e { print $col }' "$work/results" | tr -d x | sort -g |
    awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
  printf '  %-34s per capture %.2fx the floor, still %.2fx the floor\n' "$exe" "$(median 4)" "$(median 6)"
done
