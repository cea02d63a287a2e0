#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time, starting from
# its seed corpus in fuzz/corpus/<target>/. The seed corpus is only read; new
# inputs go to a scratch corpus in build/fuzz/. A crash, a broken invariant
# or a sanitizer finding fails the script and leaves the input in
# build/fuzz/artifacts/.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 20)
# Needs clang and libclang-rt-14-dev (TEST_PACKAGES in scripts/packages.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
targets=(chart_request command_line condition_text csv_reader query)

# The build directory of the fuzz preset, unless ZIWEI_FUZZ_BUILD names another.
build="${ZIWEI_FUZZ_BUILD:-build/fuzz}"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build"
mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  scratch="$build/corpus/$target"
  rm -rf "$scratch"
  mkdir -p "$scratch"
  log="$build/$target.log"
  echo "fuzzing $target for ${seconds}s"
  if ! "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
      "$scratch" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $target failed; input kept in $build/artifacts/" >&2
    exit 1
  fi
  # The last status line (executions, coverage, features) and the run count.
  grep -E '^#[0-9]+' "$log" | tail -n 1
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log"
done
