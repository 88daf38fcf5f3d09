#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the full build with
# warnings as errors, then the tests that need no display again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
scripts/build.sh build -DKAV_WERROR=ON
(cd build && ctest --output-on-failure -j "$(nproc)")

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
scripts/build.sh build-asan -DKAV_WERROR=ON -DKAV_SANITIZE=ON -DKAV_HEADLESS_ONLY=ON -DKAV_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j "$(nproc)")

# Fuzzing: every libFuzzer target for a bounded time on its corpus, in a clang
# build of its own; any crash, leak, sanitizer report or timeout fails the run.
tests/fuzz/run_fuzz.sh 11
