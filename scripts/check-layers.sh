#!/usr/bin/env bash
# Checks the house rules that the compiler alone does not: every project include names its folder, and
# each folder includes only the folders below it. Prints each include that breaks a rule; exits 1 if any.
#
#   core        -> core
#   widgets     -> core, widgets
#   protocol    -> core, protocol                      (setup/)
#   operations  -> core, protocol, operations
#   messages    -> core, protocol, operations, messages   (the message catalogue)
#   sim         -> core, protocol, operations, sim
#   gui         -> core, widgets, protocol, operations, sim, messages, gui
#   cli         -> core, protocol, operations, sim, messages, cli
#   model       -> core, model                         (demo/: port state, the displays' command tables)
#   sim         -> core, widgets, model, sim           (the simulated customer displays)
#   link        -> core, model, link                   (the port jobs on the core's device worker)
#   windows     -> core, widgets, model, link, windows
#   emu         -> core, widgets, model, sim, emu      (vfdemu: demo's simulated displays on a port)
set -uo pipefail
cd "$(dirname "$0")/.."

allowed() {
    case "$1" in
    core) echo "core" ;;
    widgets) echo "core widgets" ;;
    setup/protocol) echo "core protocol" ;;
    setup/operations) echo "core protocol operations" ;;
    setup/messages) echo "core protocol operations messages" ;;
    setup/sim) echo "core protocol operations sim" ;;
    setup/gui) echo "core widgets protocol operations sim messages gui" ;;
    setup/cli) echo "core protocol operations sim messages cli" ;;
    demo/model) echo "core model" ;;
    demo/sim) echo "core widgets model sim" ;;
    demo/link) echo "core model link" ;;
    demo/windows) echo "core widgets model link windows" ;;
    emu) echo "core widgets model sim emu" ;;
    esac
}

status=0
for folder in core widgets setup/protocol setup/operations setup/messages setup/sim setup/gui setup/cli \
    demo/model demo/sim demo/link demo/windows emu; do
    ok=" $(allowed "$folder") "
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include "([^"]*)".*/\1/' <<<"$line")
        if [[ "$target" != */* ]]; then
            echo "$file: include without its folder: \"$target\""
            status=1
            continue
        fi
        top=${target%%/*}
        if [[ "$ok" != *" $top "* ]]; then
            echo "$file: $folder may not include \"$target\""
            status=1
        fi
    done < <(grep -H '^#include "' "$folder"/*.h "$folder"/*.cpp 2>/dev/null | grep -v '\.moc"')
done
# Nothing of one program reaches into the other.
if grep -rln --include='*.h' --include='*.cpp' -E '#include "(\.\./)*(demo|setup)/' core widgets setup demo 2>/dev/null; then
    echo "an include reaches into another program's folder"
    status=1
fi
# vfdemu sits on top: nothing includes it.
if grep -rln --include='*.h' --include='*.cpp' -E '#include "(\.\./)*emu/' core widgets setup demo 2>/dev/null; then
    echo "an include reaches into vfdemu's folder"
    status=1
fi
[ $status -eq 0 ] && echo "layers: every include names its folder and points down"
exit $status
