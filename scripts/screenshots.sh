#!/usr/bin/env bash
# Makes the README's pictures of the three pages: the release build in a portable program
# directory of its own, connected to qx-zenk-sim on COM1, headless under Xvfb; each page is
# shown by a click on its title and filled by its Read buttons, as a user would.
#   docs/page-projector.png  docs/page-receiver.png  docs/page-panel.png
# Usage: scripts/screenshots.sh [output directory, default docs]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs}
bash scripts/deps.sh
bash scripts/build.sh release
bin=build/release/bin
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
prog=$work/program
mkdir -p "$prog" "$out"
cp "$bin/qx-zenk-rx" "$bin"/*.txt "$bin"/*.png "$bin"/*.gif "$bin"/*.bmp "$prog/"

"$bin/qx-zenk-sim" --link "$prog/COM1" --quiet > "$work/sim.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -L "$prog/COM1" ] && break; sleep 0.1; done

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

"$prog/qx-zenk-rx" > "$work/tool.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^QX-ZENK-RX v' | head -n1)
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-0.5}"; }
shot() { sleep 0.5; import -window "$window" "$out/$1"; echo "$out/$1"; }

# Positions inside the window, from the layout table (frame origin + control centre).
click 75 78                      # Projector
click 478 126 2                  # its Read (port settings and display commands)
click 478 338 2                  # Projector Controls' Read
shot page-projector.png
click 212 78                     # ZENK Receiver
click 478 132 3                  # its Read
click 478 412 2                  # Picture Adjustments' Read
shot page-receiver.png
click 380 78                     # Control Panel
shot page-panel.png
