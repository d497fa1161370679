#!/bin/sh
# Runs a command with DISPLAY set to a private Xvfb (1280x800, -noreset),
# started on a free display and stopped afterwards.
#   bench/with_xvfb.sh build/bin/capture_tick_bench
set -eu
tmp=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$tmp"' EXIT
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x800x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
server=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  sleep 0.1
done
[ -s "$tmp/display" ] || { echo "Xvfb did not start" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$tmp/display")" "$@"
