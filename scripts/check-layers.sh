#!/usr/bin/env bash
# Checks the house rules that the compiler alone does not: every project include names its folder from
# the repository root (the tree's one include root), and each folder includes only the folders below it.
# Prints each include that breaks a rule; exits 1 if any.
#
#   core              -> core
#   widgets           -> core, widgets
#   setup/protocol    -> core, setup/protocol
#   setup/operations  -> core, setup/protocol, setup/operations
#   setup/messages    -> ... setup/operations, setup/messages   (the message catalogue)
#   setup/sim         -> core, setup/protocol, setup/operations, setup/sim
#   setup/gui         -> core, widgets, setup/*: protocol, operations, sim, messages, gui
#   setup/cli         -> core, setup/*: protocol, operations, sim, messages, cli
#   demo/model        -> core, demo/model      (port state, the displays' command tables)
#   demo/emulators    -> core, widgets/vfd_frame.h, demo/model, demo/emulators   (the simulated customer
#                        displays as models: they fill in a screen's frame and draw nothing)
#   demo/emulator_views -> core, widgets, demo/model, demo/emulators, demo/emulator_views   (their window)
#   demo/link         -> core, demo/model, demo/link   (the port jobs on the core's device worker)
#   demo/windows      -> core, widgets, demo/model, demo/link, demo/windows
#   emu               -> core, widgets, demo/model, demo/emulators, demo/emulator_views, emu   (vfdemu:
#                        demo's displays on a port)
# A rule may name a single file of a folder it may not include otherwise. Tests, benchmarks and tools of
# a folder may include what it may, itself and their own folder; the fuzz targets reach every layer of
# both programs and vfdsetup's test doubles.
set -uo pipefail
cd "$(dirname "$0")/.."

setup_layers="core setup/protocol setup/operations setup/sim setup/messages"
demo_layers="core widgets demo/model demo/emulators demo/emulator_views demo/link demo/windows"

allowed() {
    case "$1" in
    core) echo "core" ;;
    core/tests) echo "core core/tests" ;;
    widgets) echo "core widgets" ;;
    widgets/tests) echo "core widgets widgets/tests" ;;
    setup/protocol) echo "core setup/protocol" ;;
    setup/operations) echo "core setup/protocol setup/operations" ;;
    setup/messages) echo "core setup/protocol setup/operations setup/messages" ;;
    setup/sim) echo "core setup/protocol setup/operations setup/sim" ;;
    setup/gui) echo "core widgets $setup_layers setup/gui" ;;
    setup/cli) echo "core $setup_layers setup/cli" ;;
    setup/tests | setup/bench | setup/tools)
        echo "core core/tests widgets $setup_layers setup/gui setup/cli setup/tests $1" ;;
    demo/model) echo "core demo/model" ;;
    demo/emulators) echo "core widgets/vfd_frame.h demo/model demo/emulators" ;;
    demo/emulator_views) echo "core widgets demo/model demo/emulators demo/emulator_views" ;;
    demo/link) echo "core demo/model demo/link" ;;
    demo/windows) echo "core widgets demo/model demo/link demo/windows" ;;
    demo | demo/tests | demo/tools) echo "$demo_layers setup/tests demo/tests $1" ;;
    emu) echo "core widgets demo/model demo/emulators demo/emulator_views emu" ;;
    emu/tests) echo "core core/tests widgets demo/model demo/emulators demo/emulator_views emu emu/tests" ;;
    fuzz) echo "core widgets $setup_layers setup/cli setup/tests $demo_layers emu fuzz" ;;
    esac
}

# The folder an include names: two parts for the programs' layers, one for the others.
folderOf() {
    case "$1" in
    setup/* | demo/*) dirname "$1" ;;
    *) echo "${1%%/*}" ;;
    esac
}

status=0
folders=$(git ls-files -- '*.cpp' '*.h' | xargs -n1 dirname | sort -u | grep -v '^packaging$')
for folder in $folders; do
    ok=" $(allowed "$folder") "
    if [ "$ok" = "  " ]; then
        echo "$folder: a folder of sources with no rule in scripts/check-layers.sh"
        status=1
        continue
    fi
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include "([^"]*)".*/\1/' <<<"$line")
        if [ ! -f "$target" ] && [ ! -f "$target.in" ]; then
            echo "$file: include not named from the repository root: \"$target\""
            status=1
            continue
        fi
        if [[ "$ok" != *" $(folderOf "$target") "* && "$ok" != *" $target "* ]]; then
            echo "$file: $folder may not include \"$target\""
            status=1
        fi
    done < <(grep -H '^#include "' "$folder"/*.h "$folder"/*.cpp 2>/dev/null | grep -v '\.moc"\|"version.h"')
done
[ $status -eq 0 ] && echo "layers: every include names its folder from the root and points down"
exit $status
