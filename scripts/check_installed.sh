#!/usr/bin/env bash
# Installs the package that scripts/package.sh built into this machine and tries the installed
# tool the way a normal user meets it: as the user nobody, whose program directory
# (/usr/lib/qx-zenk-rx) is read-only, with a home of its own, headless under Xvfb.
#   1. First start: no state of the user's own, so the administrator's default in the program
#      directory (COM2, receiver page) applies; COM2 is the user's own link to qx-zenk-sim.
#      A click on "Control Panel" switches page; the window's close request (what a window
#      manager's close box sends) brings up the exit prompt, answered No.
#      The state (COM2, panel page) must then be in ~/.local/state/qx-zenk-rx.
#   2. Second start at a scale factor of 2: it must come back on the panel page and COM2 and
#      write the same state again at exit.
# Screenshots: build/installed-1.png, build/installed-2x.png. The package is removed again at
# the end unless it was installed before. Needs root (apt-get, runuser).
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/release/qx-zenk-rx_*.deb | head -n1)
[ "$(id -u)" -eq 0 ] || { echo "check_installed.sh: run as root" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive

was_installed=$(dpkg-query -W -f='${Status}' qx-zenk-rx 2>/dev/null | grep -c "install ok installed" || true)
work=$(mktemp -d)
chmod 755 "$work"
pids=()
admin_default=/usr/lib/qx-zenk-rx/QX_ZENK_RX_AP.ini
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -f "$admin_default"
  [ "$was_installed" != 0 ] || apt-get remove -y -qq -o DPkg::Lock::Timeout=300 qx-zenk-rx > /dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check_installed.sh: $*" >&2; [ -f "$work/tool.log" ] && cat "$work/tool.log" >&2; exit 1; }

apt-get install -y -qq -o DPkg::Lock::Timeout=300 "./$deb" > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "install failed"; }
[ "$(readlink -f /usr/bin/qx-zenk-rx)" = /usr/lib/qx-zenk-rx/qx-zenk-rx ] || fail "launcher link"
[ -x /usr/bin/qx-zenk-sim ] || fail "simulator link"
desktop-file-validate /usr/share/applications/io.github.qxtools.QxZenkRx.desktop
appstreamcli validate --no-net /usr/share/metainfo/io.github.qxtools.QxZenkRx.metainfo.xml
for icon in scalable/apps/io.github.qxtools.QxZenkRx.svg 256x256/apps/io.github.qxtools.QxZenkRx.png; do
  [ -f "/usr/share/icons/hicolor/$icon" ] || fail "missing icon $icon"
done

home=$work/home
state=$home/.local/state/qx-zenk-rx
mkdir -p "$home" "$work/run"
chown nobody "$home" "$work/run"
chmod 700 "$work/run"
printf '2\r\n0\r\n0\r\n""\r\n1\r\n' > "$admin_default"

Xvfb -displayfd 3 -screen 0 1400x1100x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
# The user's commands; runuser itself is what runs in the background, so that a kill of its pid
# (it passes the signal on) reaches the command.
as_user=(runuser -u nobody -- env HOME="$home" XDG_RUNTIME_DIR="$work/run" DISPLAY="$DISPLAY")

# The user's own COM2 link to a simulated receiver (the simulator makes the link, not its
# folder).
"${as_user[@]}" mkdir -p "$state"
"${as_user[@]}" qx-zenk-sim --link "$state/COM2" --quiet > "$work/sim.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -L "$state/COM2" ] && break; sleep 0.1; done
[ -L "$state/COM2" ] || fail "simulator did not start"

# Starts the tool; sets $tool and $window.
start_tool() {
  "${as_user[@]}" "$@" qx-zenk-rx > "$work/tool.log" 2>&1 &
  tool=$!
  pids+=("$tool")
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^QX-ZENK-RX v' | head -n1) ||
    fail "no window"
  sleep 1  # let the first paint finish before the screenshot
}
# Closes the window as a close box does and answers the exit prompt with No (Escape).
close_tool() {
  python3 scripts/x11_close.py "$window"
  box=$(timeout 20 xdotool search --sync --onlyvisible --name '^QX-ZENK-RX$' | head -n1) ||
    fail "no exit prompt"
  xdotool windowfocus --sync "$box" key Escape
  timeout 20 tail --pid="$tool" -f /dev/null || fail "the tool did not end"
  wait "$tool" || fail "exit status $?"
}
expect_state() {
  [ "$(cat -v "$state/QX_ZENK_RX_AP.ini" 2>/dev/null)" = "$(printf "$1" | cat -v)" ] ||
    fail "$2: state file is '$(cat -v "$state/QX_ZENK_RX_AP.ini" 2>/dev/null)'"
}

start_tool env
import -window root build/installed-1.png
xdotool mousemove --window "$window" 360 78 click 1  # the "Control Panel" title
close_tool
expect_state '2\r\n0\r\n0\r\n""\r\n2\r\n' "first run"

start_tool env QT_SCALE_FACTOR=2
import -window root build/installed-2x.png
close_tool
expect_state '2\r\n0\r\n0\r\n""\r\n2\r\n' "second run"
[ ! -e /usr/lib/qx-zenk-rx/COM2 ] && [ "$(ls /usr/lib/qx-zenk-rx | grep -c QX_ZENK)" = 1 ] ||
  fail "the program directory was written"
echo "Installed package OK: per-user state in ~/.local/state/qx-zenk-rx remembered page and COM" \
  "port; screenshots build/installed-1.png, build/installed-2x.png"
