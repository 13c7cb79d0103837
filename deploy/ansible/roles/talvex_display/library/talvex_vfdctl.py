#!/usr/bin/python3
# Puts the profile and the files it names (their bytes come from the controller, see
# ../action_plugins/talvex_vfdctl.py) into a folder on the terminal, runs
# "vfdctl --json --ports ... apply --changed-only PROFILE" there (in check mode on a scratch copy, with
# --check) and reads its JSON lines: changed where a display was written (in check mode, where one
# would be), failed naming each port that failed with its box's title and text.

DOCUMENTATION = r"""
module: talvex_vfdctl
short_description: Applies a profile to a terminal's Talvex customer displays with vfdctl
description:
  - Copies a vfdctl profile and the files it names (title file, DEMO file, firmware image) from the
    controller into a folder on the terminal, then runs
    C(vfdctl --json --ports PORTS apply --changed-only PROFILE) there.
  - A file is rewritten only when its bytes differ, through a new temporary file of its own that is
    synced and then renamed over the old one; a name that would leave the folder, and anything there
    that is not a regular file, are refused.
  - The task is changed only where a display was written, and fails naming each port that failed with
    the title and text of the display's box. vfdctl keeps a record of what it applied to each port, so
    a display that already holds the profile is left alone.
  - In check mode the terminal's folder is left alone (the check reads a scratch copy), and vfdctl runs
    with C(--check), which checks the profile and reaches each display and sends nothing. With C(--diff)
    the task shows how each file in the folder would change.
options:
  profile:
    description: The profile (an INI file, see C(vfdctl apply --help)) on the controller, found as the
      C(copy) module finds its C(src); on the terminal it goes into I(dir) under its own name.
    type: str
    required: true
  files:
    description: The files the profile names, relative to the profile's folder; they go to the same
      place relative to I(dir). Absolute names and names with C(..) are refused.
    type: list
    elements: str
    default: []
  dir:
    description: The folder on the terminal for the profile and its files.
    type: path
    required: true
  ports:
    description: The displays' ports (C(/dev/ttyUSB0), C(COM3), C(sim:a)), or C(all) for every port the
      terminal reports.
    type: list
    elements: str
    default: [all]
  encoding:
    description: The displays' text encoding (vfdctl's C(--encoding)); empty, vfdctl's own choice.
    type: str
    default: ""
  force:
    description: Apply whatever the record of the last apply says.
    type: bool
    default: false
  options:
    description: More global options for vfdctl, such as C([--baud, "19200"]).
    type: list
    elements: str
    default: []
  state_dir:
    description: The folder of vfdctl's records (C(VFDCTL_STATE_DIR)); empty, vfdctl's own.
    type: path
    default: ""
  vfdctl:
    description: The program.
    type: str
    default: vfdctl
  contents:
    description: Filled in by the module's action on the controller (the files' bytes in base64, by
      name); a task does not give it.
    type: dict
notes:
  - The module's action reads the files on the controller, so the profile and its files reach the
    terminal within the same call as the apply.
author: Talvex display tools team
"""

EXAMPLES = r"""
- name: Apply the shop's profile to the terminal's two displays
  talvex_vfdctl:
    profile: shop.ini
    files: [title.txt, VQ7146_V12.wfu]
    dir: /var/lib/talvex-display-tools/profile
    ports: [/dev/ttyUSB0, /dev/ttyUSB1]
    encoding: IBM850

- name: Apply to every port the terminal reports, whatever the records say
  talvex_vfdctl:
    profile: shop.ini
    files: [title.txt]
    dir: /var/lib/talvex-display-tools/profile
    force: true
"""

RETURN = r"""
msg:
  description: C(applied to) (C(would apply to) in check mode) and the ports written, or C(unchanged);
    on failure each failed port with the title and text of its box.
  returned: always
  type: str
  sample: applied to /dev/ttyUSB0
ports:
  description: vfdctl's JSON line for each port (port, result, the steps, the box's title and text).
  returned: always
  type: list
  elements: dict
summary:
  description: vfdctl's summary line (how many ports were written, unchanged, failed).
  returned: when vfdctl got as far as a summary
  type: dict
files:
  description: The files of the folder that were (in check mode, would be) rewritten.
  returned: always
  type: list
  elements: str
  sample: [title.txt]
rc:
  description: vfdctl's exit status.
  returned: always
  type: int
cmd:
  description: vfdctl's command line.
  returned: always
  type: list
  elements: str
stderr:
  description: What vfdctl wrote on its standard error.
  returned: always
  type: str
"""

import base64
import json
import os
import shutil
import stat
import tempfile

from ansible.module_utils.basic import AnsibleModule

# The options above as Ansible checks them; the action on the controller checks a task's arguments
# with the same table (without "contents", which it fills in).
ARGUMENT_SPEC = dict(
    profile=dict(type="str", required=True),
    files=dict(type="list", elements="str", default=[]),
    dir=dict(type="path", required=True),
    ports=dict(type="list", elements="str", default=["all"]),
    encoding=dict(type="str", default=""),
    force=dict(type="bool", default=False),
    options=dict(type="list", elements="str", default=[]),
    state_dir=dict(type="path", default=""),
    vfdctl=dict(type="str", default="vfdctl"),
    contents=dict(type="dict"),
)


def name_inside(name):
    """`name` as a path below its folder, or None when it is absolute or climbs out with ".."."""
    parts = name.replace("\\", "/").split("/")
    if not name or os.path.isabs(name) or parts[0].endswith(":") or ".." in parts:
        return None
    return os.path.normpath(name)


def read_existing(path):
    """The bytes of the regular file at `path`, None when there is none; ValueError for anything else
    (a link, a folder, a FIFO that would block the read)."""
    try:
        info = os.lstat(path)
    except FileNotFoundError:
        return None
    if not stat.S_ISREG(info.st_mode):
        raise ValueError("%s is not a regular file; refused" % path)
    with open(path, "rb") as file:
        return file.read()


def write_file(path, content):
    """Writes through a new file of its own, opened exclusively so that nothing already there (a link
    left by someone else) is followed, with the file's mode, synced, then renamed over the old one."""
    folder = os.path.dirname(path)
    try:
        mode = stat.S_IMODE(os.lstat(path).st_mode)
    except FileNotFoundError:
        mode = 0o644
    handle, temporary = tempfile.mkstemp(prefix=".%s." % os.path.basename(path), suffix=".new", dir=folder)
    try:
        with os.fdopen(handle, "wb") as file:
            os.fchmod(file.fileno(), mode)
            file.write(content)
            file.flush()
            os.fsync(file.fileno())
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise
    folder_handle = os.open(folder, os.O_RDONLY)
    try:
        os.fsync(folder_handle)
    finally:
        os.close(folder_handle)


def shown(content):
    """A file's bytes as the diff shows them."""
    if content is None:
        return ""
    try:
        text = content.decode("utf-8")
    except UnicodeDecodeError:
        text = "\0"
    return "(%d bytes, not text)\n" % len(content) if "\0" in text else text


def changes(folder, contents):
    """(name, path, old bytes or None, new bytes) of each file that differs from what `folder` holds."""
    found = []
    real_folder = os.path.realpath(folder)
    for name, encoded in sorted(contents.items()):
        relative = name_inside(name)
        if relative is None:
            raise ValueError("%s leaves the folder %s; refused" % (name, folder))
        path = os.path.join(folder, relative)
        # A linked folder on the way out of the target is as bad as "..".
        if os.path.commonpath([real_folder, os.path.realpath(os.path.dirname(path))]) != real_folder:
            raise ValueError("%s leaves the folder %s; refused" % (name, folder))
        content = base64.b64decode(encoded)
        old = read_existing(path)
        if old != content:
            found.append((relative, path, old, content))
    return found


def place(folder, contents):
    """Writes every file of `contents` below `folder` that differs from what it holds."""
    for relative, path, old, content in changes(folder, contents):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_file(path, content)


def command(module, folder):
    params = module.params
    argv = [params["vfdctl"], "--json", "--ports", ",".join(params["ports"])]
    if params["encoding"]:
        argv += ["--encoding", params["encoding"]]
    argv += params["options"] + ["apply", "--changed-only"]
    argv += ["--force"] if params["force"] else []
    argv += ["--check"] if module.check_mode else []
    return argv + [os.path.join(folder, params["profile"])]


def failure(line):
    said = ": ".join(part for part in (line.get("title"), line.get("text")) if part) or line["result"]
    if line.get("file"):
        said += " (file: %s)" % line["file"]
    return "%s: %s" % (line["port"], said)


def prepare(module):
    """Puts the files where vfdctl reads them: the terminal's folder, or in check mode a scratch copy.
    Returns that folder, the names that change and the diff."""
    params = module.params
    contents = params["contents"] or {}
    missing = [name for name in [params["profile"]] + params["files"] if name not in contents]
    if missing:
        module.fail_json(msg="no bytes for %s: run the module through its action" % ", ".join(missing))
    try:
        found = changes(params["dir"], contents)
        folder = tempfile.mkdtemp() if module.check_mode else params["dir"]
        place(folder, contents)
    except (OSError, ValueError) as error:
        module.fail_json(msg=str(error))
    diff = [
        dict(before_header=path, after_header=path, before=shown(old), after=shown(new))
        for relative, path, old, new in found
    ]
    return folder, [relative for relative, path, old, new in found], diff


def main():
    module = AnsibleModule(argument_spec=ARGUMENT_SPEC, supports_check_mode=True)
    folder, changed_files, diff = prepare(module)
    try:
        argv = command(module, folder)
        environment = {"VFDCTL_STATE_DIR": module.params["state_dir"]} if module.params["state_dir"] else {}
        status, out, err = module.run_command(argv, environ_update=environment)
    finally:
        if module.check_mode:
            shutil.rmtree(folder, ignore_errors=True)
    lines = []
    for text in out.splitlines():
        try:
            lines.append(json.loads(text))
        except ValueError:
            pass
    ports = [line for line in lines if "port" in line]
    summary = next((line for line in lines if line.get("summary")), None)
    written = [line["port"] for line in ports if line["result"] in ("ok", "would apply")]
    result = dict(changed=bool(written), ports=ports, summary=summary, files=changed_files, rc=status, cmd=argv,
                  stderr=err)
    if module._diff:
        result["diff"] = diff
    failed = [failure(line) for line in ports if line["result"] in ("failed", "interrupted")]
    if status != 0 or summary is None:
        module.fail_json(msg="; ".join(failed) or err.strip() or "vfdctl ended with %d" % status, **result)
    verb = "would apply to" if module.check_mode else "applied to"
    module.exit_json(msg="%s %s" % (verb, ", ".join(written)) if written else "unchanged", **result)


if __name__ == "__main__":
    main()
