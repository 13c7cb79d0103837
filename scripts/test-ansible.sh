#!/usr/bin/env bash
# Runs the example playbook (deploy/ansible/playbook.yml) with ansible-playbook against two hosts on this
# machine (local connection), each with its own folders and two simulated displays, with the vfdctl of
# the build (or $VFDCTL) and a profile of the title page alone, and checks what the role's apply task
# reports on each host: first run changed on both, second run changed on none, a changed title line
# changed on both (check mode first, which writes nothing), and with --force and one display of host_b
# absent, host_b failed naming its port while host_a is written. Check mode with --diff shows the
# changed line, leaves the terminal's files alone and copies no package. Then the module alone:
# ansible-doc documents it; Ansible's own messages for a missing or mistyped argument; names that leave
# the folder, and files that are not regular, refused; files written through a fresh temporary file.
# With --measure instead: the wall time of the playbook for 2 hosts with 4 simulated displays each and a
# profile with a 16-page firmware image, first run and second (which must send nothing).
set -euo pipefail
cd "$(dirname "$0")/.."
vfdctl=${VFDCTL:-$PWD/build/default/setup/vfdctl}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Ansible wants a UTF-8 locale; its own files and the simulated displays' state stay in the scratch folder.
export LC_ALL=C.UTF-8 XDG_STATE_HOME=$work/state ANSIBLE_LOCAL_TEMP=$work/tmp ANSIBLE_REMOTE_TEMP=$work/tmp \
    ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_LOCALHOST_WARNING=0 \
    ANSIBLE_INVENTORY_UNPARSED_WARNING=0 ANSIBLE_FORCE_COLOR=0
cp deploy/ansible/files/shop.ini deploy/ansible/files/title.txt "$work/"
# The test's profile is the title page alone: one step a display, no restart between two.
printf '[title]\nfile=title.txt\n' >"$work/title.ini"

# The inventory; $1: more options for host_b's vfdctl (a YAML list).
inventory() {
    cat >"$work/hosts.yml" <<YAML
terminals:
  hosts:
    host_a: {talvex_display_ports: [$ports_a], talvex_display_dir: $work/a/profile,
             talvex_display_state_dir: $work/a/records}
    host_b: {talvex_display_ports: [$ports_b], talvex_display_dir: $work/b/profile,
             talvex_display_state_dir: $work/b/records, talvex_display_options: ${1:-[]}}
  vars:
    ansible_connection: local
    ansible_python_interpreter: $(command -v python3)
    talvex_display_profile: $work/$profile
    talvex_display_files: [$files]
    talvex_display_vfdctl: $vfdctl
YAML
}

# Runs the playbook with the words given and checks the apply task's result on each host
# ("host_a=changed host_b=ok"; a failure with its message).
step() {
    local name=$1 expected=$2 got
    shift 2
    ansible-playbook -i "$work/hosts.yml" deploy/ansible/playbook.yml -e ansible_become=false "$@" \
        >"$work/out" 2>&1 || true
    got=$(sed -n '/^TASK \[talvex_display : Apply/,/^PLAY RECAP/p' "$work/out" |
        sed -n -E 's/^(ok|changed): \[([a-z_]+)\].*/\2=\1/p; s/^fatal: \[([a-z_]+)\].*"msg": "([^"]*)".*/\1=failed: \2/p' |
        sort | paste -sd' ')
    if [ "$got" != "$expected" ]; then
        echo "test-ansible: $name: expected '$expected', got '$got'" >&2
        cat "$work/out" >&2
        exit 1
    fi
    echo "test-ansible: $name: $got"
}

ports_a="sim:a1, sim:a2" ports_b="sim:b1, sim:b2" files=title.txt profile=title.ini
if [ "${1:-}" = --measure ]; then
    # A 16-page image and its check bytes: the CRC-16/MODBUS of the image and a 0x00, high byte first.
    python3 - "$work/VQ7146_measure.wfu" <<'PY'
import sys
image = bytes(i * 7 % 251 for i in range(16 * 512))
crc = 0xFFFF
for byte in image + b"\0":
    crc ^= byte
    for _ in range(8):
        crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
open(sys.argv[1], "wb").write(image + bytes([crc >> 8, crc & 0xFF]))
PY
    printf '[firmware]\nfile=VQ7146_measure.wfu\n' >>"$work/shop.ini"
    ports_a="sim:a1, sim:a2, sim:a3, sim:a4" ports_b="sim:b1, sim:b2, sim:b3, sim:b4"
    files="title.txt, VQ7146_measure.wfu" profile=shop.ini
    inventory
    for run in first second; do
        start=$(date +%s.%N)
        step "$run run" "host_a=$([ $run = first ] && echo changed || echo ok) host_b=$([ $run = first ] && echo changed || echo ok)"
        echo "test-ansible: $run run: $(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"
    done
    exit 0
fi
inventory
step "first run" "host_a=changed host_b=changed"
step "second run" "host_a=ok host_b=ok"
grep -E -q '^host_a .* changed=0 .*' "$work/out" && grep -E -q '^host_b .* changed=0 .*' "$work/out"
sed -i '1s/.*/  Welcome back/' "$work/title.txt"
touch "$work/talvex-test-$$.deb"
step "title line changed, check mode" "host_a=changed host_b=changed" --check --diff \
    -e talvex_display_install=true -e talvex_display_deb="$work/talvex-test-$$.deb"
grep -q -x '+  Welcome back' "$work/out" || { echo "test-ansible: no diff of the title file" >&2; exit 1; }
if grep -q 'Welcome back' "$work/a/profile/title.txt" || [ -e "/tmp/talvex-test-$$.deb" ]; then
    echo "test-ansible: check mode changed the terminal" >&2
    exit 1
fi
step "title line changed" "host_a=changed host_b=changed"
inventory '[--sim-fault, "sim:b1=absent"]'
step "a display absent" "host_a=changed host_b=failed: sim:b1: Port Status: Display DSR not ready yet !!" \
    -e talvex_display_force=true

# The module alone, on this machine: "args (JSON)|what its result says".
export ANSIBLE_LIBRARY=$PWD/deploy/ansible/roles/talvex_display/library \
    ANSIBLE_ACTION_PLUGINS=$PWD/deploy/ansible/roles/talvex_display/action_plugins
ansible-doc talvex_vfdctl >"$work/doc"
for expected in '= profile' '- ports' 'elements: str' 'type: list' 'EXAMPLES:' 'RETURN VALUES:' '- summary'; do
    grep -q -e "$expected" "$work/doc" || { echo "test-ansible: ansible-doc lacks '$expected'" >&2; exit 1; }
done
mkfifo "$work/fifo"
mkdir -p "$work/t" "$work/u"
ln -s "$work/victim" "$work/t/title.txt.new" # where a file was once written first
mkfifo "$work/u/title.txt"
t="\"dir\": \"$work/t\", \"profile\": \"$work/title.ini\""
while IFS='|' read -r args expected; do
    ansible localhost -c local -e ansible_python_interpreter="$(command -v python3)" -m talvex_vfdctl \
        -a "{\"vfdctl\": \"true\", $args}" >"$work/out" 2>&1 || true
    if ! grep -q -F -e "$expected" "$work/out"; then
        echo "test-ansible: module with {$args}: expected '$expected'" >&2
        cat "$work/out" >&2
        exit 1
    fi
done <<CASES
"dir": "$work/t", "files": ["title.txt"]|missing required arguments: profile
$t, "force": "maybe"|unable to convert to bool
$t, "files": "title.txt", "ports": {"a": 1}|'ports' is of type <class 'dict'>
$t, "contents": {}|Unsupported parameters
$t, "files": ["../title.txt"]|files: ../title.txt leaves the profile's folder
$t, "files": ["$work/title.txt"]|files: $work/title.txt leaves the profile's folder
$t, "files": ["fifo"]|$work/fifo is not a regular file
"dir": "$work/t", "profile": "$work/fifo"|$work/fifo is not a regular file
"dir": "$work/u", "profile": "$work/title.ini", "files": ["title.txt"]|$work/u/title.txt is not a regular file
$t, "files": ["title.txt"]|vfdctl ended with 0
CASES
if [ -e "$work/victim" ] || [ "$(stat -c %a "$work/t/title.txt")" != 644 ] ||
    ! cmp -s "$work/t/title.txt" "$work/title.txt" || [ "$(ls -A "$work/t" | wc -l)" != 3 ]; then
    echo "test-ansible: the module's writes: $(ls -lA "$work/t")" >&2
    exit 1
fi
echo "test-ansible: the module alone: documented, arguments checked, names and file types refused"
