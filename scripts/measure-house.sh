#!/usr/bin/env bash
# The shape of the house, measured: lines of code per folder (non-blank, non-comment lines of .cpp and
# .h), product files that include <QSerialPort>, whether vfdctl links Qt Widgets, and nested event loops in
# product code. With a git revision as argument it measures that revision's tree instead (the built
# vfdctl is then not measured).
#   bash scripts/measure-house.sh            # the working tree (build/default must be built for ldd)
#   bash scripts/measure-house.sh 288ff97    # an older revision
set -euo pipefail
cd "$(dirname "$0")/.."
root=.
if [ $# -ge 1 ]; then
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    git archive "$1" | tar -x -C "$root"
fi
cd "$root"

code_lines() { # non-blank lines that are not only a // comment, in the .cpp and .h files directly in $1
    find "$1" -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null |
        xargs -0 -r cat | { grep -v -E '^\s*(//.*)?$' || true; } | wc -l
}

echo "lines of code per folder"
{ find core widgets setup demo emu fuzz -type d -not -path '*/corpus*' 2>/dev/null || true; } | sort |
    while read -r d; do
        n=$(code_lines "$d")
        if [ "$n" -gt 0 ]; then printf "  %-22s %6d\n" "$d" "$n"; fi
    done

product() { # product source files: everything but tests, tools and benchmarks
    { find core widgets setup demo emu -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null || true; } |
        grep -v -E '/(tests|tools|bench)/'
}
echo "product files that include <QSerialPort>: $(product | xargs grep -l '#include <QSerialPort>' | wc -l || true)"
echo "nested event loops in product code (QEventLoop, processEvents): $(product | xargs grep -n 'QEventLoop\|processEvents' | wc -l || true)"
if [ $# -eq 0 ] && [ -x build/default/setup/vfdctl ]; then
    echo "Qt Widgets libraries linked by vfdctl: $(ldd build/default/setup/vfdctl | grep -c libQt6Widgets || true)"
fi
