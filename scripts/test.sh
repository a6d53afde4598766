#!/usr/bin/env bash
# Installs what is missing, checks the code's format, builds Tavrin with
# warnings as errors and runs the whole test suite: once as built for use,
# then a minute's fuzzing of the rich text reader, then the suite again built
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
TAVRIN_DEPS=tests bash scripts/deps.sh
jobs=$(nproc)

echo "== Format"
# The code keeps the style of .clang-format (checked in a git checkout).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
fi

echo "== Tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRIN_WERROR=ON >/dev/null
cmake --build build --parallel "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 "$@")

echo "== Fuzzing the rich text reader for a minute"
bash scripts/fuzz.sh 60

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# The updates page's Qt WebEngine is not built for the sanitizers, and the
# install test starts the installed program, which the run above covers.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_SANITIZE=ON -DTAVRIN_WERROR=ON >/dev/null
cmake --build build-asan --parallel "$jobs"
# Leaks inside system libraries are not ours to fix (the file says which).
suppressions="$(pwd)/tests/lsan.supp"
(cd build-asan && QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0 \
  LSAN_OPTIONS=suppressions="$suppressions" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure --timeout 300 -E '^(install|webbrowser_window)$' "$@")
