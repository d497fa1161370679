#!/bin/bash
# The program's own CPU per capture and per still tick, against floors
# measured in the same run, so that the ratios hold on any machine:
#   per capture: the capture command itself (its CPU per run);
#   per still tick: a bare /bin/sh -c true, the cheapest thing a tick could
#   start (a still tick starts nothing, so its ratio shows the loop's cost).
# Several executables are measured back to back, each from a copy of its bin
# folder whose screencapture counts its runs. Run inside a display:
#   bench/with_xvfb.sh bench/own_cpu.sh build/bin/tintbeacon [other builds...]
# SECONDS_EACH (default 15) sets the length of each phase.
set -eu
secs=${SECONDS_EACH:-15}
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
hz=$(getconf CLK_TCK)

# Nanoseconds of CPU of the program's own threads, commands excluded.
own() { cat /proc/"$pid"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }'; }
# Nanoseconds of CPU of the commands it has reaped.
children() { awk -v hz="$hz" '{ printf "%.0f", ($16 + $17) * 1e9 / hz }' "/proc/$pid/stat"; }
runs() { [ -f "$1/captures" ] && wc -l <"$1/captures" || echo 0; }

move() {
  local i=0
  while [ $i -lt $((secs * 10)) ]; do
    xdotool mousemove $((400 + i % 200)) $((300 + (i * 7) % 200))
    sleep 0.1
    i=$((i + 1))
  done
}

# The floor of a still tick: CPU per run of /bin/sh -c true.
floor_sh() {
  local n=300 me=$BASHPID t0 t1
  t0=$(awk -v hz="$hz" '{ print ($16 + $17) * 1e9 / hz }' /proc/$me/stat)
  for _ in $(seq $n); do /bin/sh -c true; done
  t1=$(awk -v hz="$hz" '{ print ($16 + $17) * 1e9 / hz }' /proc/$me/stat)
  awk -v a="$t0" -v b="$t1" -v n="$n" 'BEGIN { printf "%.0f", (b - a) / n }'
}

printf '%-28s %10s %10s %8s %12s %10s %8s\n' build "own/capt" "cmd/capt" ratio "own/still s" "ticks/s" ratio
for exe in "$@"; do
  dir=$work/$(basename "$exe")-$RANDOM
  mkdir -p "$dir/bin/tools" "$dir/home/run"
  chmod 700 "$dir/home/run"
  cp "$exe" "$dir/bin/tintbeacon"
  cp -r "$(dirname "$exe")/resources" "$dir/bin/"
  cp "$(dirname "$exe")"/tools/* "$dir/bin/tools/"
  mv "$dir/bin/tools/screencapture" "$dir/bin/tools/screencapture.real"
  printf '#!/bin/sh\necho >> %s/captures\nexec %s/bin/tools/screencapture.real "$@"\n' "$dir" "$dir" \
    >"$dir/bin/tools/screencapture"
  chmod 755 "$dir/bin/tools/screencapture"
  HOME=$dir/home XDG_CONFIG_HOME=$dir/home/config XDG_RUNTIME_DIR=$dir/home/run "$dir/bin/tintbeacon" 2>/dev/null &
  pid=$!
  sleep 2
  o0=$(own); c0=$(children); n0=$(runs "$dir")
  move
  o1=$(own); c1=$(children); n1=$(runs "$dir")
  sleep 1
  o2=$(own); t0=$(date +%s.%N)
  sleep "$secs"
  o3=$(own); t1=$(date +%s.%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  floor=$(floor_sh)
  awk -v name="$exe" -v o="$((o1 - o0))" -v c="$((c1 - c0))" -v n="$((n1 - n0))" \
      -v s="$((o3 - o2))" -v t0="$t0" -v t1="$t1" -v floor="$floor" 'BEGIN {
    ticks = (t1 - t0) * 1000 / 128
    perStill = s / ticks
    printf "%-28s %8.3fms %8.3fms %8.2fx %10.1fus %10.1f %7.3fx\n", name, o / n / 1e6, c / n / 1e6, o / c,
      perStill / 1e3, ticks / (t1 - t0), perStill / floor
  }'
done
echo "own/capt: the program's own CPU per capture; cmd/capt: the capture command's; ratio: own / command."
echo "own/still: the program's CPU per tick with the pointer still; ratio: against one /bin/sh -c true."
