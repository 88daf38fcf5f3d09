#!/usr/bin/env bash
# The Windows stage: cross-builds the display-free core (ini, platform,
# flatfile, pictures, catalog) and its tests with MinGW-w64, GoogleTest
# compiled from Debian's sources, and runs every test program under Wine.
# Ends with "N passed, M failed"; fails when a test fails or a program dies.
#
#   scripts/test-windows.sh [build folder, default build-windows]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build="${1:-build-windows}"

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DKAV_CORE_ONLY=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAV_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

# A Wine prefix of the build's own, quiet. Wine names files on disk in the
# locale's character set, so a UTF-8 one, whatever the user's (a fresh
# system has none): a Windows name such as "caf\u00e9 \u20ac.dat" keeps its letters.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot --init >/dev/null 2>&1 || true
fi

passed=0
failed=0
status=0
while read -r program; do
  log="$build/$(basename "$program" .exe).log"
  if wine "$program" --gtest_brief=1 >"$log" 2>&1; then code=0; else code=$?; fi
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

echo "windows: $passed passed, $failed failed"
exit "$status"
