#!/usr/bin/env bash
# Takes the README's screenshots of vfdsetup and its simulated display under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vfdsetup_screenshots
xvfb-run -a -s '-screen 0 1600x1000x24' build/default/setup/tools/vfdsetup_screenshots docs/screenshots
