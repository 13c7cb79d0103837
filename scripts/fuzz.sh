#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each for SECONDS (default 600) from
# its seed corpus in fuzz/corpus/<target>. New inputs go to build/fuzz/corpus/<target>, never into
# the seeds; a crashing input is kept in build/fuzz/crashes/<target>/. Prints per target the
# executions, executions per second, seconds run and crashes found; exits non-zero when any target
# crashed or could not run.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_firmware_file fuzz_demo_file fuzz_title_file fuzz_reply_number
                                     fuzz_display_parser fuzz_kd317_display fuzz_kd426_display
                                     fuzz_kd138_display fuzz_receipt_strip fuzz_line_resampler
                                     fuzz_emu_options fuzz_profile fuzz_wire_text)

bash scripts/install-deps.sh
missing=()
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Qt needs no display for these, and leaks of Qt's own caches at exit are not ours to judge.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
summary=()
for target in "${targets[@]}"; do
    binary=build/fuzz/fuzz/$target
    seeds=fuzz/corpus/$target
    work=build/fuzz/corpus/$target
    crashes=build/fuzz/crashes/$target
    log=build/fuzz/logs/$target.log
    mkdir -p "$work" "$crashes" "$(dirname "$log")"
    rm -f "$crashes"/*
    echo "== $target: $seconds s"
    start=$(date +%s)
    status=0
    "$binary" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$work" "$seeds" >"$log" 2>&1 || status=$?
    elapsed=$(( $(date +%s) - start ))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    found=$(find "$crashes" -type f | wc -l)
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=1
        [ "$found" -eq 0 ] && found="? (exit $status)"
        tail -n 40 "$log"
        echo "   inputs kept in $crashes/, log in $log"
    fi
    summary+=("$(printf '%-22s %12s %8s %8s %s' "$target" "${runs:-?}" "${rate:-?}" "$elapsed" "$found")")
done

printf '\n%-22s %12s %8s %8s %s\n' target executions exec/s seconds crashes
printf '%s\n' "${summary[@]}"
exit "$failed"
