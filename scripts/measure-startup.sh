#!/usr/bin/env bash
# Start-up of vfdsetup on the simulated display, offscreen: ten runs, each timed inside (main() to
# shown) and as a whole process (loading of the libraries included), and the resident memory.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build/default/setup/bench/bench_startup
[ -x "$bench" ] || cmake --build --preset default --target bench_startup
for i in $(seq 10); do
    start=$(date +%s%N)
    line=$(QT_QPA_PLATFORM=offscreen "$bench" 2>/dev/null)
    end=$(date +%s%N)
    echo "$line; whole process $(( (end - start) / 1000000 )) ms"
done
