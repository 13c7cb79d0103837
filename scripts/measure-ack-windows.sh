#!/usr/bin/env bash
# Measures the acknowledgement wait of the Windows build under Wine beside the Linux build, on the same
# machine, by hand (not a test): its processor time while it waits and the longest gap between two looks
# at DSR (bench_wait_cpu), and its verdicts when the host is away right after DSR dropped
# (bench_busy_ack: a 20 ms glitch must never pass for an acknowledgement; a 200 ms pulse must).
# Both run on the simulated display with the real clock: under Wine the COM port cannot be driven (see
# packaging/windows/test-com-port.sh), so the driver's own DSR wait is not measured here.
# Usage: scripts/measure-ack-windows.sh [LINUX_BUILD] [WINDOWS_BUILD]   (after scripts/test-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build/default}
windows=${2:-build/windows}
export WINEPREFIX=$PWD/$windows/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="Z:${TALVEX_QT_WINDOWS:-/var/cache/talvex-qt-mingw/qt6.4.2-mingw-w64}\\bin"
run() { # run NAME ARGS...: the Linux bench, then the same bench under Wine
    local name=$1
    shift
    echo "== $name $* (Linux)"
    "$linux/setup/bench/$name" "$@"
    echo "== $name $* (Windows build under Wine)"
    wine "$windows/setup/bench/$name.exe" "$@" 2>&1 | tr -d '\r'
}
run bench_wait_cpu
run bench_busy_ack --trials 20 --pulse-ms 20 --away-ms 150
run bench_busy_ack --trials 20 --pulse-ms 200 --away-ms 150
