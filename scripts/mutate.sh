#!/usr/bin/env bash
# Mutation testing of the display-free core, run by hand (not part of test.sh):
#
#   scripts/mutate.sh [--qt | --windows] [--seed S] [--count N] [--only FILE:LINE:COL]...
#                     [--list] [--timeout SECONDS]
#
# Copies the tracked files into a scratch folder (build-mutate/, or
# $KAV_MUTATE_DIR) and builds the display-free libraries and tests there once
# at -O1. scripts/mutate.py then checks the tests pass, changes one token at a
# time in ini/, platform/, settings/, flatfile/, pictures/ and catalog/, rebuilds, runs
# the tests and tells which changes they catch, folder by folder. Each run
# draws a fresh sample unless --seed repeats one; the seed is printed first.
# Needs ninja (ninja-build).
# --qt builds the whole program instead (build-qt/) and runs the tests that
# need Qt too, offscreen: the drawing of metafiles is checked only there.
# --windows mutates only the code the Windows build alone compiles, in a
# MinGW-w64 build of the core (build-windows/) whose tests run under Wine.
set -euo pipefail

# Stays out of the way of other work on the machine.
if (($(nice) < 10)); then
  exec nice -n $((10 - $(nice))) "$0" "$@"
fi
cd "$(dirname "$0")/.."
command -v ninja >/dev/null || { echo "mutate.sh: needs ninja (apt-get install ninja-build)" >&2; exit 1; }

work="${KAV_MUTATE_DIR:-build-mutate}"
src="$work/src"
build="$work/build"
config=(-DKAV_HEADLESS_ONLY=ON)
args=()
sample=yes
while (($#)); do
  case "$1" in
    --qt)
      build="$work/build-qt"
      config=(-DKAV_HEADLESS_ONLY=OFF)
      export QT_QPA_PLATFORM=offscreen ;;
    --windows)
      build="$work/build-windows"
      config=(-DCMAKE_TOOLCHAIN_FILE="$PWD/$src/cmake/mingw-w64.cmake" -DKAV_CORE_ONLY=ON)
      args+=(--windows) ;;
    --seed | --only | --list)
      sample=no
      args+=("$1") ;;
    *) args+=("$1") ;;
  esac
  shift
done
if [[ "$sample" == yes ]]; then
  seed=$(shuf -i 1-999999 -n 1)
  echo "mutate: seed $seed (--seed $seed runs the same mutants again)"
  args+=(--seed "$seed")
fi
mkdir -p "$src" "$work/home"

# Copies only the files that differ, so an unchanged file keeps its time and
# the build stays incremental; this also undoes a run that was interrupted.
git ls-files -z | while IFS= read -r -d '' file; do
  [[ -f "$file" ]] || continue
  cmp -s "$file" "$src/$file" || install -D -m "$(stat -c %a "$file")" "$file" "$src/$file"
done

if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O1 \
    -DKAV_BENCH=OFF "${config[@]}" >/dev/null
fi
echo "mutate: building the unmutated copy in $build"
ninja -C "$build" -j 2 >/dev/null || { echo "mutate.sh: the unmutated copy does not build" >&2; exit 1; }

# A mutant may write where the code should not: never into the user's own
# files. Wine gets a quiet prefix of the build's own, in a UTF-8 locale as in
# scripts/test-windows.sh.
export HOME="$PWD/$work/home"
unset XDG_CONFIG_HOME XDG_STATE_HOME XDG_CONFIG_DIRS
if [[ " ${args[*]} " == *" --windows "* ]]; then
  export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all LC_ALL=C.UTF-8
  [[ -f "$WINEPREFIX/system.reg" ]] || wine wineboot --init >/dev/null 2>&1 || true
fi

exec python3 scripts/mutate.py --src "$src" --build "$build" "${args[@]}"
