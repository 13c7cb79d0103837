#!/usr/bin/env bash
# Builds the Debian package of the three programs: installs what is missing, builds the default
# preset, and makes build/default/package/talvex-display-tools_<version>_<architecture>.deb with
# CPack. Then checks it with lintian (warnings are printed, errors fail) and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
rm -rf build/default/package
(cd build/default && cpack -G DEB -B package)
deb=$(ls build/default/package/talvex-display-tools_*.deb)
lintian --fail-on error "$deb"
echo "$deb"
