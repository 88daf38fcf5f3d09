#!/usr/bin/env bash
# The window under Wine as a calling program meets it, in a virtual display
# with a window manager: "kav_pnb.exe OUR4-23" opens on the option page, the
# keys choose the second flange, radome and packing option, Enter finishes,
# and the job file it leaves is read through GetPrivateProfileStringA and
# compared with the Linux tool's job file for the same choices. Run by
# scripts/test-windows.sh, inside its Wine prefix and server.
#
#   scripts/check-windows-window.sh <Windows build folder> <Linux tool>
#
# With KAV_SCREENSHOTS=<folder> (and ImageMagick's import) it also keeps
# pictures of both pages.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$1"
linux_cli="$2"
bin="$build/bin"
work="$build/window-check"
rm -rf "$work"
mkdir -p "$work"

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY="$display"
window=""
stop() {
  [ -z "$window" ] || kill "$window" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap stop EXIT
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.2; done
openbox >"$work/openbox.log" 2>&1 &
sleep 1

# The window of a started copy, by its caption; empty when none shows in time.
find_window() {
  for _ in $(seq 60); do
    id=$(xdotool search --onlyvisible --name '^KAV Part Number Builder$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.5
  done
}
shot() {
  if [ -n "${KAV_SCREENSHOTS:-}" ] && command -v import >/dev/null; then
    mkdir -p "$KAV_SCREENSHOTS"
    import -window root "$KAV_SCREENSHOTS/$1.png"
  fi
}

# Page one, for the pictures only: the window as a user starts it.
if [ -n "${KAV_SCREENSHOTS:-}" ]; then
  (cd "$bin" && QT_QPA_PLATFORM=windows exec wine kav_pnb.exe) >"$work/page1.log" 2>&1 &
  window=$!
  id=$(find_window)
  sleep 2
  shot windows-page1
  [ -z "$id" ] || xdotool windowclose "$id" 2>/dev/null || true
  kill "$window" 2>/dev/null || true
  wait "$window" 2>/dev/null || true
  window=""
fi

# Command mode, driven by keys.
rm -f "$bin/kav_pnb.lom"
(cd "$bin" && QT_QPA_PLATFORM=windows exec wine kav_pnb.exe OUR4-23) >"$work/window.log" 2>&1 &
window=$!
id=$(find_window)
if [ -z "$id" ]; then
  echo "window: kav_pnb.exe OUR4-23 showed no window"
  cat "$work/window.log"
  exit 1
fi
xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowfocus --sync "$id"
sleep 2
shot windows-page2
for key in Down Tab Down Tab Down; do
  xdotool key --delay 200 "$key"
  sleep 0.5
done
shot windows-page2-chosen
xdotool key Return
for _ in $(seq 40); do kill -0 "$window" 2>/dev/null || break; sleep 0.5; done
if kill -0 "$window" 2>/dev/null; then
  echo "window: Enter did not finish"
  exit 1
fi
window=""
if [ ! -f "$bin/kav_pnb.lom" ]; then
  echo "window: Finish left no job file"
  cat "$work/window.log"
  exit 1
fi
wine "$bin/kav_job_file_reader.exe" "$bin/kav_pnb.lom" >"$work/windows.txt"

# The same choices through the Linux tool, in a program folder of its own.
mkdir -p "$work/linux"
cp -r demo/data demo/Images "$work/linux/"
XDG_CONFIG_HOME="$build/compare/config" "$linux_cli" build OUR4-23 --flange UBR220 \
  --radome PG --pack 2 --lom --catalog demo/common --program-folder "$work/linux" >/dev/null
wine "$bin/kav_job_file_reader.exe" "$work/linux/kav_pnb.lom" >"$work/linux.txt"
if ! diff "$work/linux.txt" "$work/windows.txt"; then
  echo "window: the job file differs from the Linux tool's for the same choices"
  exit 1
fi
keys=$(grep -c = "$work/windows.txt")
echo "window: the job file's $keys keys equal the Linux tool's"
