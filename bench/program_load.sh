#!/bin/sh
# CPU and memory of the running program: 20 s with the pointer moved every
# 100 ms, then 20 s with it still. CPU counts the program and the capture
# commands it ran. Run inside a display, e.g.
#   bench/with_xvfb.sh bench/program_load.sh build/bin/tintbeacon [seconds]
set -eu
exe=$1
secs=${2:-20}
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run "$exe" 2>"$home/stderr" &
pid=$!
sleep 2
hz=$(getconf CLK_TCK)
# Nanoseconds of CPU: the program's threads to the nanosecond (clock ticks
# of 10 ms are too coarse for a still pointer), plus the capture commands
# it has reaped (cutime + cstime, in clock ticks).
ticks() {
  threads=$(cat /proc/"$pid"/task/*/schedstat | awk '{ s += $1 } END { printf "%.0f", s }')
  awk -v t="$threads" -v hz="$hz" '{ printf "%.0f", t + ($16 + $17) * 1e9 / hz }' "/proc/$pid/stat"
}
rss() { awk '/^VmRSS/ { print $2 }' "/proc/$pid/status"; }
measure() {
  start=$(ticks); t0=$(date +%s.%N)
  "$@"
  end=$(ticks); t1=$(date +%s.%N)
  echo "$start $end $t0 $t1" | awk '{ printf "%.3f", 100 * ($2 - $1) / 1e9 / ($4 - $3) }'
}
move() {
  i=0
  while [ $i -lt $((secs * 10)) ]; do
    xdotool mousemove $((400 + i % 200)) $((300 + (i * 7) % 200))
    sleep 0.1
    i=$((i + 1))
  done
}
still() { sleep "$secs"; }
moving=$(measure move)
rss_moving=$(rss)
resting=$(measure still)
# CPU against the floor, which holds on any machine: bench/own_cpu.sh.
echo "moving pointer: CPU ${moving} % of one core over ${secs} s"
echo "still pointer:  CPU ${resting} % of one core over ${secs} s"
echo "resident memory: $(rss) kB after, ${rss_moving} kB while moving (target <= 61440 kB)"
