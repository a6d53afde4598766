#!/usr/bin/env bash
# Builds the RTF reader's fuzz target with clang into build-fuzz/ and runs it
# for a bounded time (seconds, 60 unless given), seeded from a copy of the RTF
# test files. Fails on any crash, leak, input slower than 1 s, or memory
# beyond 256 MiB, and says where the input that did it was saved.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/deps.sh

cmake -S . -B build-fuzz -DTAVRIN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target fuzz_rtf

# The corpus grows in build-fuzz/corpus; the seeds are copied afresh each time,
# so the test data is only ever read.
work=build-fuzz/work
rm -rf "$work/seeds" "$work/artifacts"
mkdir -p "$work/corpus" "$work/seeds" "$work/artifacts"
cp tests/data/rtf/*.rtf "$work/seeds/"
if compgen -G 'tests/data/rtf/regressions/*' >/dev/null; then
  cp tests/data/rtf/regressions/* "$work/seeds/"
fi

export QT_QPA_PLATFORM=offscreen
# AddressSanitizer's own memory must stay well inside the limit: a small
# quarantine, and short allocation stacks (each distinct one is kept for good,
# and Qt's deep stacks would otherwise grow the process by about 30 MiB a
# minute). Replaying a saved input without these options gives full stacks.
export ASAN_OPTIONS=quarantine_size_mb=16:malloc_context_size=2:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

limits=(-timeout=1 -rss_limit_mb=256 -malloc_limit_mb=256 -detect_leaks=1
        -artifact_prefix="$work/artifacts/")
status=0
# Every seed whole, once; then the fuzzing proper on inputs of at most 16 KiB,
# which keeps the fuzzer's own in-memory corpus far below the memory limit.
build-fuzz/fuzz/fuzz_rtf "${limits[@]}" "$work"/seeds/* >"$work/log" 2>&1 || status=$?
if [ "$status" -eq 0 ]; then
  build-fuzz/fuzz/fuzz_rtf "$work/corpus" "$work/seeds" "${limits[@]}" \
    -dict=fuzz/rtf.dict -max_len=16384 -max_total_time="$seconds" -print_final_stats=1 \
    >>"$work/log" 2>&1 || status=$?
fi
tail -n 40 "$work/log"

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/artifacts")" ]; then
  echo "fuzz_rtf failed (exit status $status); the input that did it:"
  for f in "$work/artifacts"/*; do
    [ -e "$f" ] && echo "  $PWD/$f"
  done
  grep '^Running: ' "$work/log" | tail -n 1 || true
  echo "Replay it with full stacks: QT_QPA_PLATFORM=offscreen build-fuzz/fuzz/fuzz_rtf <file>"
  echo "The full log is $PWD/$work/log"
  exit 1
fi
echo "fuzz_rtf: no failure in $seconds s"
