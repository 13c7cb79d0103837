#!/usr/bin/env bash
# Installs the Debian packages that building, testing and looking at the programs need,
# and does nothing when they are all there already. With --windows, also what the Windows stage needs.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-serialport-dev libqt6serialport6 qt6-qpa-plugins
          fonts-liberation fonts-droid-fallback xvfb xauth imagemagick
          # the dialect check (scripts/check-names.py): names, file names, function lengths
          python3 pmccabe
          # the Debian package (scripts/package.sh) and its checks
          dpkg-dev file lintian desktop-file-utils man-db
          # the Ansible role's test (scripts/test-ansible.sh)
          ansible-core)
if [ "${1:-}" = "--windows" ]; then
    # the Windows build, its tests under Wine, its setup program and .zip (scripts/test-windows.sh)
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 nsis zip unzip xz-utils)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
