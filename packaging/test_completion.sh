#!/usr/bin/env bash
# vfdctl's bash completion as bash runs it on a line typed up to the cursor: each row is the line and the
# candidates it must offer (sorted, as the text that replaces the part after the last "=" or ":").
#   bash packaging/test_completion.sh path/to/vfdctl
set -u
PATH=$(dirname "$1"):$PATH
COMP_WORDBREAKS=$' \t\n"\'><=;|&(:'
source "$(dirname "$0")/vfdctl.bash-completion"

rows=(
    # the value of each global option, the command found after it
    'vfdctl --ports COM3,si|COM3,sim'
    'vfdctl --ports al|all'
    'vfdctl --encoding IBM86|IBM860 IBM863 IBM865 IBM866'
    'vfdctl --encoding Shift|Shift_JIS'
    'vfdctl --sim-fault |sim='
    'vfdctl --port sim:a --sim-fault sim:|a='
    'vfdctl --sim-fault sim=no-|no-ack no-ack-after:'
    'vfdctl --sim-fault sim:a=d|dsr-late'
    'vfdctl --ports sim --encoding IBM866 --sim-fault sim=absent title e|erase'
    'vfdctl -- ti|title'
    'vfdctl --he|--help'
)
failed=0
for row in "${rows[@]}"; do
    COMP_LINE=${row%%|*}
    COMP_POINT=${#COMP_LINE}
    _vfdctl
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ')
    if [[ $got != "${row#*|}" ]]; then
        echo "FAIL: '$COMP_LINE' offers '$got', not '${row#*|}'"
        failed=1
    fi
done
exit $failed
