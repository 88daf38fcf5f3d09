#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the full build with
# warnings as errors, what a screen reader hears, the tests that need no
# display again under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows stage, the Debian package, then a bounded fuzz run. Every stage
# runs; the closing line counts them all, and the script fails after it when
# any stage failed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# The code follows the project's .clang-format (checked in a git checkout).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
fi

summary="$(mktemp)"
trap 'rm -f "$summary"' EXIT
# Every stage runs, whatever an earlier one found: a stage that fails is
# named and counted, and the script fails at the end, after the count. A
# build that fails stops the run, since nothing after it could be tested.
failed_stages=()
stage() { # stage NAME COMMAND...: runs it, its output kept for the count
  if ! "${@:2}" 2>&1 | tee -a "$summary"; then
    failed_stages+=("$1")
    echo "test: the $1 stage failed" | tee -a "$summary"
  fi
}
run_ctest() {
  (cd "$1" && ctest --output-on-failure -j "$(nproc)")
}

export QT_QPA_PLATFORM=offscreen
scripts/build.sh build -DKAV_WERROR=ON
stage tests run_ctest build
# What a screen reader hears, through AT-SPI in a display of its own.
stage screen-reader scripts/check-screen-reader.sh build

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
scripts/build.sh build-asan -DKAV_WERROR=ON -DKAV_SANITIZE=ON -DKAV_HEADLESS_ONLY=ON -DKAV_BENCH=OFF
stage sanitizer run_ctest build-asan

# The display-free core and the headless tool cross-built for Windows and
# run under Wine, the tool compared with the Linux one built above.
stage windows scripts/test-windows.sh

# The Debian package, installed into a staging root and used by an
# unprivileged user.
stage install scripts/test-install.sh

# Fuzzing: every libFuzzer target for a bounded time on its corpus, in a clang
# build of its own; any crash, leak, sanitizer report or timeout fails it.
stage fuzz tests/fuzz/run_fuzz.sh 11

# One closing count over every stage.
total=0
failed=0
while read -r bad all; do
  total=$((total + all))
  failed=$((failed + bad))
done < <(sed -nE 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/p' "$summary")
# The Windows, install and screen-reader stages count their own.
while read -r good bad; do
  total=$((total + good + bad))
  failed=$((failed + bad))
done < <(sed -nE 's/^(windows|install|screen-reader): ([0-9]+) passed, ([0-9]+) failed$/\2 \3/p' "$summary")
echo "tests: $((total - failed)) passed, $failed failed"
if ((${#failed_stages[@]})); then
  echo "test: failed stages: ${failed_stages[*]}"
  exit 1
fi
