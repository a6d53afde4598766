#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in release mode and runs them
# on a virtual X display, printing each measure and its ratio to its baseline.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCHMARKS=ON >/dev/null
cmake --build build-bench --parallel "$(nproc)"
export XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
run() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; fi; }
run python3 bench/startup.py build-bench "${TAVRIN_BENCH_RUNS:-20}"
build-bench/bench/bench_rtf "${TAVRIN_BENCH_RTF_RUNS:-5}"
run build-bench/bench/bench_open "${TAVRIN_BENCH_OPEN_RUNS:-5}"
