#!/usr/bin/env bash
# What a screen reader hears from the window (scripts/check-screen-reader.py)
# in a D-Bus session of its own, with the AT-SPI bus, a virtual display and
# a window manager, on the demo catalogue. Needs at-spi2-core and
# python3-pyatspi.
#
#   scripts/check-screen-reader.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
export XDG_CONFIG_HOME="$PWD/$build/config" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
exec dbus-run-session -- bash -c '
  display=":$((70 + RANDOM % 9))"
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap "kill $xvfb 2>/dev/null" EXIT
  export DISPLAY="$display"
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done
  openbox >/dev/null 2>&1 &
  sleep 1
  /usr/bin/python3 scripts/check-screen-reader.py "$0/bin/kav_pnb"' "$build"
