#!/bin/bash
# The running program's own CPU against its floor, a bare Qt program doing
# the same work (bench/floor_qt.cpp), measured back to back in one run so
# that the ratios hold on any machine:
#   per capture: own CPU while the pointer moves, per capture taken;
#   still: own CPU per second while the pointer rests (a 128 ms timer and
#   one pointer query per tick for the floor).
# The capture commands' CPU is not the program's own and is left out. Each
# build and the floor run from a copy of their bin folder whose
# screencapture counts its runs; ROUNDS rounds (default 3) alternate them,
# and each round's ratios are taken within the round. Run inside a display:
#   bench/with_xvfb.sh bench/own_cpu.sh build/bin/tintbeacon [other builds...]
# SECONDS_EACH (default 15) sets the length of each phase; the floor is
# bin/floor_qt beside the first build.
set -eu
secs=${SECONDS_EACH:-15}
rounds=${ROUNDS:-3}
floor=$(dirname "$1")/floor_qt
[ -x "$floor" ] || { echo "no $floor: build the floor_qt target" >&2; exit 2; }
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

# Nanoseconds of CPU of the program's own threads, commands excluded.
own() { cat /proc/"$pid"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }'; }
runs() { [ -f "$1/captures" ] && wc -l <"$1/captures" || echo 0; }

move() {
  local i=0
  while [ $i -lt $((secs * 10)) ]; do
    xdotool mousemove $((400 + i % 200)) $((300 + (i * 7) % 200))
    sleep 0.1
    i=$((i + 1))
  done
}

# A copy of exe's bin folder, its screencapture counting its runs.
copy_bin() {
  local exe=$1 dir=$2
  mkdir -p "$dir/bin/tools" "$dir/home/run"
  chmod 700 "$dir/home/run"
  cp "$exe" "$dir/bin/"
  [ -d "$(dirname "$exe")/resources" ] && cp -r "$(dirname "$exe")/resources" "$dir/bin/"
  cp "$(dirname "$exe")"/tools/* "$dir/bin/tools/"
  mv "$dir/bin/tools/screencapture" "$dir/bin/tools/screencapture.real"
  printf '#!/bin/sh\necho >> %s/captures\nexec %s/bin/tools/screencapture.real "$@"\n' "$dir" "$dir" \
    >"$dir/bin/tools/screencapture"
  chmod 755 "$dir/bin/tools/screencapture"
}

# Writes "own ns per capture" and "own ns per second still" of one run
# into $work/run.
measure() {
  local exe=$1 dir o0 o1 o2 o3 n0 n1 t0 t1
  dir=$work/$(basename "$exe")-$RANDOM
  copy_bin "$exe" "$dir"
  HOME=$dir/home XDG_CONFIG_HOME=$dir/home/config XDG_RUNTIME_DIR=$dir/home/run \
    "$dir/bin/$(basename "$exe")" 2>/dev/null &
  pid=$!
  sleep 2
  o0=$(own); n0=$(runs "$dir")
  move
  o1=$(own); n1=$(runs "$dir")
  sleep 1
  o2=$(own); t0=$(date +%s.%N)
  sleep "$secs"
  o3=$(own); t1=$(date +%s.%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  rm -rf "$dir"
  awk -v o="$((o1 - o0))" -v n="$((n1 - n0))" -v s="$((o3 - o2))" -v t0="$t0" -v t1="$t1" \
    'BEGIN { printf "%.0f %.0f\n", n ? o / n : 0, s / (t1 - t0) }' >"$work/run"
}

printf '%-5s %-34s %12s %8s %14s %8s\n' round build "own/capture" ratio "still, % core" ratio
results=$work/results
for round in $(seq "$rounds"); do
  measure "$floor"
  read -r fc fs <"$work/run"
  printf '%-5s %-34s %10.3fms %8s %13.3f%% %8s\n' "$round" "floor (bare Qt)" "$(echo "$fc" | awk '{ print $1 / 1e6 }')" \
    "" "$(echo "$fs" | awk '{ print $1 / 1e7 }')" ""
  for exe in "$@"; do
    measure "$exe"
    read -r pc ps <"$work/run"
    awk -v name="$exe" -v r="$round" -v pc="$pc" -v ps="$ps" -v fc="$fc" -v fs="$fs" 'BEGIN {
      printf "%-5s %-34s %10.3fms %7.2fx %13.3f%% %7.2fx\n", r, name, pc / 1e6, pc / fc, ps / 1e7, ps / fs
    }'
    echo "$exe $(awk -v a="$pc" -v b="$fc" 'BEGIN { print a / b }') $(awk -v a="$ps" -v b="$fs" 'BEGIN { print a / b }')" \
      >>"$results"
  done
done
echo
echo "median of the rounds (target: per capture <= 1.5x, still <= 1.2x the floor):"
for exe in "$@"; do
  capture=$(awk -v e="$exe" '$1 == e { print $2 }' "$results" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  still=$(awk -v e="$exe" '$1 == e { print $3 }' "$results" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  printf '  %-34s per capture %.2fx the floor, still %.2fx the floor\n' "$exe" "$capture" "$still"
done
