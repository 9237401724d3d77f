#!/usr/bin/env bash
# Installs what is missing, builds, starts the receiver simulator on a pseudo-terminal, links
# COM1 in the program directory to it and opens the tool. Without a display it runs the tool
# under Xvfb, saves a screenshot and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh release
bin=build/release/bin
sim_pid=""
tool_pid=""
cleanup() {
  [ -n "$tool_pid" ] && kill "$tool_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
if [ -e /dev/ttyS0 ] && [ ! -L "$bin/COM1" ] && [ -n "${QX_USE_HARDWARE:-}" ]; then
  echo "Using the receiver on /dev/ttyS0"
else
  "$bin/qx-zenk-sim" --link "$bin/COM1" --quiet > build/sim.out 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do [ -L "$bin/COM1" ] && break; sleep 0.1; done
  echo "Simulator on $(head -n1 build/sim.out), linked as $bin/COM1"
fi
if [ -n "${DISPLAY:-}" ]; then
  "$bin/qx-zenk-rx"
else
  shot=${QX_SHOT:-$PWD/build/screenshot.png}
  xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    "$1" & pid=$!
    sleep 4
    import -window root "$2"
    kill -TERM $pid; wait $pid' _ "$bin/qx-zenk-rx" "$shot"
  echo "No display: ran the tool under Xvfb; screenshot saved to $shot"
fi
