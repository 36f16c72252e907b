#!/usr/bin/env bash
# Starts the installed program under Xvfb, checks that its main window comes
# up and stays up, then closes it.
set -u
bin="$1"
[ -x "$bin" ] || { echo "not installed: $bin"; exit 1; }
exec xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  "$1" & pid=$!
  found=""
  for _ in $(seq 1 150); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"Vexaline(V0622)\""; then found=1; break; fi
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$found" ] || { echo "the main window did not appear"; kill $pid 2>/dev/null; exit 1; }
  sleep 2
  kill -0 $pid 2>/dev/null || { echo "the program ended by itself"; exit 1; }
  xwininfo -root -tree | grep -q "\"Vexaline(V0622)\"" || { echo "the main window went away"; kill $pid; exit 1; }
  kill $pid; wait $pid 2>/dev/null
  echo "main window Vexaline(V0622) came up and stayed up"
' smoke "$bin"
