#!/usr/bin/env bash
# Takes the README's pictures of vfddemo: each demonstration beside its simulated display, drawn by real
# windows under Xvfb. Usage: demo/tools/screenshots.sh [build dir] [output dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/default}"
out="${2:-$root/docs/screenshots}"
cmake --build "$build" -j2 --target vfddemo_screenshots
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1600x1000x24" "$build/demo/tools/vfddemo_screenshots" "$out"
# Fewer colours keep the pictures small; the glow survives 64 of them well.
if command -v /usr/bin/convert >/dev/null; then
    for picture in "$out"/*.png; do
        /usr/bin/convert "$picture" -colors 64 -strip "PNG8:$picture"
    done
fi
du -ch "$out"/*.png | tail -1
