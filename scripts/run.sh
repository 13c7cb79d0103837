#!/usr/bin/env bash
# Installs what is missing, builds, and opens vfdsetup on the simulated display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
exec build/default/setup/vfdsetup --port sim "$@"
