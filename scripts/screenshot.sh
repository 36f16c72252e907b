#!/usr/bin/env bash
# Starts the program under Xvfb, waits for its window and saves a picture of
# the screen. Usage: scripts/screenshot.sh program out.png [seconds]
set -euo pipefail
bin="$1"
out="$2"
wait="${3:-3}"
xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  "$1" & pid=$!
  sleep "$3"
  import -window root "$2"
  kill $pid; wait $pid 2>/dev/null || true
' shot "$bin" "$out" "$wait"
