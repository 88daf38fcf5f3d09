#!/usr/bin/env bash
# Mutation testing of the display-free core, run by hand (not part of test.sh):
#
#   scripts/mutate.sh [--qt] [--seed S] [--count N] [--only FILE:LINE:COL]... [--list] [--timeout SECONDS]
#
# Copies the tracked files into a scratch folder (build-mutate/, or
# $KAV_MUTATE_DIR), builds the display-free libraries and tests there once at
# -O1 and checks the tests pass. scripts/mutate.py then changes one token at a
# time in ini/, platform/, flatfile/, pictures/ and catalog/, rebuilds, runs
# ctest and tells which changes the tests catch. Needs ninja (ninja-build).
# --qt builds the whole program instead (build-qt/) and runs the tests that
# need Qt too, offscreen: the drawing of metafiles is checked only there.
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
headless=ON
if [[ "${1:-}" == "--qt" ]]; then
  shift
  build="$work/build-qt"
  headless=OFF
  export QT_QPA_PLATFORM=offscreen
fi
mkdir -p "$src"

# Copies only the files that differ, so an unchanged file keeps its time and
# the build stays incremental; this also undoes a run that was interrupted.
git ls-files -z | while IFS= read -r -d '' file; do
  [[ -f "$file" ]] || continue
  cmp -s "$file" "$src/$file" || install -D -m "$(stat -c %a "$file")" "$file" "$src/$file"
done

if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O1 \
    -DKAV_HEADLESS_ONLY=$headless -DKAV_BENCH=OFF >/dev/null
fi
echo "mutate: building the unmutated copy in $build"
ninja -C "$build" -j 2 >/dev/null || { echo "mutate.sh: the unmutated copy does not build" >&2; exit 1; }
if ! (cd "$build" && ctest -j 2 --timeout 60 -Q); then
  echo "mutate.sh: the tests fail without any mutation" >&2
  exit 1
fi

exec python3 scripts/mutate.py --src "$src" --build "$build" "$@"
