#!/usr/bin/env bash
# Builds the Debian package of the three programs: installs what is missing, builds the default
# preset, and makes build/default/package/talvex-display-tools_<version>_<architecture>.deb with
# CPack. Then checks it with lintian (warnings are printed, errors fail) and its purge, and prints its
# path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
rm -rf build/default/package
(cd build/default && cpack -G DEB -B package)
deb=$(ls build/default/package/talvex-display-tools_*.deb)
lintian --fail-on error "$deb"
# Purging the package clears /var/lib/talvex-display-tools; removing it keeps it. The package's own
# postrm is run on a scratch root, as dpkg runs it with DPKG_ROOT.
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
dpkg-deb -e "$deb" "$check/control"
mkdir -p "$check/root/var/lib/talvex-display-tools/applied"
DPKG_ROOT=$check/root "$check/control/postrm" remove
test -d "$check/root/var/lib/talvex-display-tools/applied"
DPKG_ROOT=$check/root "$check/control/postrm" purge
test ! -e "$check/root/var/lib/talvex-display-tools"
test -d "$check/root/var/lib"
echo "$deb"
