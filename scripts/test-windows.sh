#!/usr/bin/env bash
# The Windows stage: cross-builds the window, the core, the viewer launcher,
# the headless tool and their tests with MinGW-w64, Qt for Windows built from
# Debian's source and GoogleTest compiled from Debian's sources, and under
# Wine runs every test program (the window's on Qt's offscreen platform),
# compares the tool's output with the Linux tool's
# (scripts/compare-windows-cli.sh; the Linux tool from build/, or
# $KAV_LINUX_CLI), runs the Windows download unpacked into a fresh prefix,
# and installs, uses and uninstalls the MSI in another
# (scripts/check-windows-msi.sh). Ends with "N passed, M failed" (a test, a
# compared output, the download, a check of the MSI); fails when any fails
# or a program dies.
#
#   scripts/test-windows.sh [build folder, default build-windows]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build="${1:-build-windows}"

scripts/configure-windows.sh "$build"
cmake --build "$build" -j "$(nproc)"

# A Wine prefix of the build's own, quiet. Wine names files on disk in the
# locale's character set, so a UTF-8 one, whatever the user's (a fresh
# system has none): a Windows name such as "caf\u00e9 \u20ac.dat" keeps its letters.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot --init >/dev/null 2>&1 || true
fi
# One server for the whole stage. Left to itself, Wine's server quits a few
# seconds after its last program; a program that starts just then finds it
# going ("wine client error: ... Connection reset by peer") and dies unrun.
wineserver -w # a server left from the set-up quits first
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT

# The window's tests draw text offscreen, with the fonts the Linux build
# uses, from a folder of their own.
mkdir -p "$build/fonts"
ln -sf /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf "$build/fonts/"
export QT_QPA_FONTDIR="$PWD/$build/fonts"
# What cannot run under Wine, and why: tests/windows-skip.txt.
skip=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' tests/windows-skip.txt | paste -sd:)

passed=0
failed=0
status=0
while read -r program; do
  log="$build/$(basename "$program" .exe).log"
  if wine "$program" --gtest_brief=1 "--gtest_filter=-$skip" >"$log" 2>&1; then code=0; else code=$?; fi
  grep -E '^\[  (FAILED|SKIPPED) ' "$log" || true
  grep -A 8 -E 'Failure$|: error: ' "$log" || true  # what failed, for a run whose folder is gone
  ok=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$log")
  bad=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' "$log")
  passed=$((passed + ${ok:-0}))
  failed=$((failed + ${bad:-0}))
  if [ "$code" -ne 0 ] || [ -z "$ok" ]; then
    echo "$(basename "$program"): exit status $code (see $log)"
    status=1
    [ -n "$bad" ] || failed=$((failed + 1))  # a program that died counts once
  fi
done < <(find "$build/tests" -name 'kav_*_tests.exe' | sort)

# The headless tool, byte for byte beside the Linux one.
linux_cli="${KAV_LINUX_CLI:-build/bin/kav_pnb_cli}"
if [ -x "$linux_cli" ]; then
  scripts/compare-windows-cli.sh "$build" "$linux_cli" | tee "$build/compare.log" || status=1
  counts=$(sed -nE 's/^cli: ([0-9]+) identical, ([0-9]+) different$/\1 \2/p' "$build/compare.log")
  [ -n "$counts" ] || counts="0 1" # it stopped before counting
  passed=$((passed + ${counts% *}))
  failed=$((failed + ${counts#* }))
  # The window in a real display, handing back its job file.
  if scripts/check-windows-window.sh "$build" "$linux_cli"; then
    passed=$((passed + 1))
  else
    status=1
    failed=$((failed + 1))
  fi
else
  echo "no Linux tool at $linux_cli to compare with (scripts/build.sh build)"
  status=1
  failed=$((failed + 1))
fi

# The download as a user meets it: unpacked into a fresh prefix, which has
# neither MinGW's DLLs nor the stage's settings, and set up as its README says.
scripts/package-windows.sh "$build" >/dev/null
fresh="$PWD/$build/wineprefix-fresh"
rm -rf "$fresh"
mkdir -p "$fresh"
# Its own server for the whole check, as the stage has: one left to quit on
# its own after the set-up can take the tool down as it starts.
WINEPREFIX="$fresh" wineserver -p
WINEPREFIX="$fresh" wineboot --init >/dev/null 2>&1 || true
cmake -E chdir "$fresh/drive_c" cmake -E tar xf "$PWD/$build/kav-pnb-cli-windows.zip"
WINEPREFIX="$fresh" wine reg add 'HKCU\Software\Ostrel\Common Files' /v Path \
  /d 'C:\kav-pnb-cli\common' /f >/dev/null
expected=$(XDG_CONFIG_HOME="$build/compare/config" "$linux_cli" query --part OUR4 \
  --catalog demo/common --program-folder "$build/bin" 2>&1; echo "status $?")
query_unpacked() {
  (cd "$fresh/drive_c/kav-pnb-cli" &&
    WINEPREFIX="$fresh" wine 'C:\kav-pnb-cli\kav_pnb_cli.exe' query --part OUR4 2>&1; echo "status $?")
}
got=$(query_unpacked)
if [[ "$got" == "status "* ]]; then
  # Not a word from the tool, not even an error: Wine did not start it. Say
  # so, and try once more; a tool that fails fails again.
  echo "the unpacked download's tool printed nothing ($got); once more"
  got=$(query_unpacked)
fi
WINEPREFIX="$fresh" wineserver -k || true # its own server: ended now, not seconds later
WINEPREFIX="$fresh" wineserver -w || true # and gone before another prefix takes the folder's inode
rm -rf "$fresh"
if [ "$got" = "$expected" ] && [[ "$expected" == *OUR4-*$'\n'"status 0" ]]; then
  passed=$((passed + 1))
else
  echo "the unpacked download's query --part OUR4 gave:"
  echo "$got"
  echo "where the Linux tool gave:"
  echo "$expected" | tail -3
  status=1
  failed=$((failed + 1))
fi

# The installer as a company deploys it: installed, used and uninstalled in
# a prefix of its own.
scripts/check-windows-msi.sh "$build" "$linux_cli" | tee "$build/msi.log" || status=1
counts=$(sed -nE 's/^msi: ([0-9]+) passed, ([0-9]+) failed$/\1 \2/p' "$build/msi.log")
[ -n "$counts" ] || counts="0 1" # it stopped before counting
passed=$((passed + ${counts% *}))
failed=$((failed + ${counts#* }))

echo "windows: the stage took $SECONDS s"
echo "windows: $passed passed, $failed failed"
exit "$status"
