#!/usr/bin/env bash
# The window under Wine as calling programs meet it, in a virtual display
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

# Command mode, driven by keys, started as Explorer starts a program: with
# no console to inherit, so a console program would get a console window.
rm -f "$bin/kav_pnb.lom"
(cd "$bin" && QT_QPA_PLATFORM=windows exec wine start /wait kav_pnb.exe OUR4-23) >"$work/window.log" 2>&1 &
window=$!
id=$(find_window)
if [ -z "$id" ]; then
  echo "window: kav_pnb.exe OUR4-23 showed no window"
  cat "$work/window.log"
  exit 1
fi
if xdotool search --onlyvisible --class '^conhost' >/dev/null 2>&1; then
  echo "window: a console window opened beside kav_pnb.exe"
  exit 1
fi
# On a screen that holds it, the window has its designed client area: 655
# wide, 534 high below a menu bar of a line's height (the page area's own
# height, which no scroll bar may take, is the window tests' to prove).
read -r width height < <(xdotool getwindowgeometry --shell "$id" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | paste -sd' ')
if [ "$width" -ne 655 ] || [ "$height" -lt $((534 + 16)) ] || [ "$height" -gt $((534 + 32)) ]; then
  echo "window: its client area is ${width}x$height, not 655 wide and 534 high below its menu bar"
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

# Two calling programs at once, each with a job file of its own: the one
# whose user finishes gets its quote and status 0; the one whose user closes
# the window gets status 1 and no job file, not the other's quote nor the
# stale file a crashed caller left at its path.
call() {  # <model> <job file> <output>
  (cd "$bin" && QT_QPA_PLATFORM=windows exec wine kav_job_file_reader.exe --call kav_pnb.exe \
    "$1" "$2") >"$3" 2>&1 &
}
new_window() {  # a window other than those given
  for _ in $(seq 60); do
    for id in $(xdotool search --onlyvisible --name '^KAV Part Number Builder$' 2>/dev/null); do
      [[ " $* " == *" $id "* ]] || { echo "$id"; return; }
    done
    sleep 0.5
  done
}
printf '[LOM]\r\nstale=1\r\n' >"$work/closed.lom"
call OUR4-23 "$PWD/$work/finished.lom" "$work/finished.txt"
finisher=$!
finished_id=$(new_window)
call OSD6-6 "$PWD/$work/closed.lom" "$work/closed.txt"
closer=$!
closed_id=$(new_window "$finished_id")
if [ -z "$finished_id" ] || [ -z "$closed_id" ]; then
  echo "window: two callers did not get two windows"
  exit 1
fi
sleep 2
xdotool windowactivate --sync "$finished_id" >/dev/null 2>&1 || xdotool windowfocus --sync "$finished_id"
xdotool key Return
wait "$finisher" || true
xdotool windowactivate --sync "$closed_id" >/dev/null 2>&1 || xdotool windowfocus --sync "$closed_id"
xdotool key alt+F4
wait "$closer" || true
XDG_CONFIG_HOME="$build/compare/config" "$linux_cli" build OUR4-23 --lom --job-file "$work/linux-default.lom" \
  --catalog demo/common --program-folder "$work/linux" >/dev/null
{ echo "exit status 0"; wine "$bin/kav_job_file_reader.exe" "$work/linux-default.lom"; } >"$work/finished-expected.txt"
if ! diff <(tr -d '\r' <"$work/finished-expected.txt") <(tr -d '\r' <"$work/finished.txt"); then
  echo "window: the caller whose user finished did not get its own quote and status 0"
  exit 1
fi
if [ "$(tr -d '\r' <"$work/closed.txt")" != $'exit status 1\nno job file' ]; then
  echo "window: the caller whose user closed the window got:"
  cat "$work/closed.txt"
  exit 1
fi
echo "window: two callers at once each got their own result (Finish: status 0 and its quote; close: status 1, no job file)"
