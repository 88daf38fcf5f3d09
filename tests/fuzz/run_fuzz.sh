#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in their own build folder and runs
# each for a bounded time on a copy of its checked-in corpus. Fails on the
# first crash, leak, sanitizer report, timeout or out-of-memory; the input
# that caused it is kept under <build>/fuzz-findings/.
#
#   tests/fuzz/run_fuzz.sh [seconds per target, default 11] [build folder, default build-fuzz]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-11}"
build="${2:-build-fuzz}"
targets=(fuzz_flatfile fuzz_splittext fuzz_wildcard fuzz_ini fuzz_picture_index fuzz_emf fuzz_wmf)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DKAV_HEADLESS_ONLY=ON -DKAV_BENCH=OFF -DKAV_FUZZ=ON >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
work="$build/fuzz-work"
findings="$build/fuzz-findings"
rm -rf "$work"
mkdir -p "$findings"
# Scratch files go to memory when it can: the targets write and rename a file
# on every run, which a disk file system may flush each time.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR="$(mktemp -d /dev/shm/kav_fuzz.XXXXXX)"
else
  TMPDIR="$PWD/$work/tmp"
  mkdir -p "$TMPDIR"
fi
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT

# Longest input per target: the wildcard check is exponential in the stars
# of the pattern, the others read files of a few kilobytes (a WMF seed of
# 15 KB among them, which must not be cut short).
declare -A max_len=([fuzz_flatfile]=4096 [fuzz_splittext]=1024 [fuzz_wildcard]=512
                    [fuzz_ini]=4096 [fuzz_picture_index]=2048 [fuzz_emf]=8192
                    [fuzz_wmf]=16384)
# Longest run of one input, in seconds. The metafile players stop at their
# budget of work; the slowest inputs it lets through take about 1.5 s here
# under the sanitizers (0.4 s in a release build), so an input that runs
# past the timeout has escaped the budget.
timeout=5
status=0
for target in "${targets[@]}"; do
  corpus="$work/$target"
  mkdir -p "$corpus"
  cp tests/fuzz/corpus/"$target"/* "$corpus"/
  log="$work/$target.log"
  if "$build/fuzz/$target" "$corpus" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
      -timeout="$timeout" -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    echo "$target: $runs runs in ${seconds}s, no findings"
  else
    echo "$target: FAILED, last lines of $log:" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit "$status"
