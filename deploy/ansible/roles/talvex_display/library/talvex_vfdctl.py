#!/usr/bin/python3
# Puts the profile and the files it names (their bytes come from the controller, see
# ../action_plugins/talvex_vfdctl.py) into a folder on the terminal, runs
# "vfdctl --json --ports ... apply --changed-only PROFILE" there (in check mode on a scratch copy, with
# --check) and reads its JSON lines: changed where a display was written (in check mode, where one
# would be), failed naming each port that failed with its box's title and text.

DOCUMENTATION = r"""
module: talvex_vfdctl
short_description: Applies a profile to a terminal's Talvex displays with vfdctl
options:
  ports: {description: 'A list of ports, or "all".', type: raw, default: all}
  profile: {description: The profile on the controller; on the terminal it goes into dir., type: str, required: true}
  files: {description: The files it names, relative to its folder (the action gives their bytes)., type: raw}
  dir: {description: The folder on the terminal for the profile and its files., type: path, required: true}
  encoding: {description: The displays' text encoding (empty, vfdctl's default)., type: str, default: ""}
  force: {description: Apply whatever the record of the last apply says., type: bool, default: false}
  options: {description: More global options for vfdctl., type: list, elements: str, default: []}
  state_dir: {description: The folder of vfdctl's records (VFDCTL_STATE_DIR)., type: str, default: ""}
  vfdctl: {description: The program., type: str, default: vfdctl}
"""

import base64
import json
import os
import shutil
import tempfile

from ansible.module_utils.basic import AnsibleModule


def place(folder, files):
    """Writes each file that differs from what `folder` holds, through a new file and a rename."""
    for name, encoded in files.items():
        path = os.path.join(folder, name)
        content = base64.b64decode(encoded)
        try:
            with open(path, "rb") as file:
                if file.read() == content:
                    continue
        except OSError:
            pass
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path + ".new", "wb") as file:
            file.write(content)
        os.replace(path + ".new", path)


def command(module, folder):
    params = module.params
    ports = params["ports"]
    argv = [params["vfdctl"], "--json", "--ports", ports if isinstance(ports, str) else ",".join(ports)]
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


def main():
    module = AnsibleModule(
        argument_spec=dict(
            ports=dict(type="raw", default="all"),
            profile=dict(type="str", required=True),
            files=dict(type="dict", required=True),
            dir=dict(type="path", required=True),
            encoding=dict(type="str", default=""),
            force=dict(type="bool", default=False),
            options=dict(type="list", elements="str", default=[]),
            state_dir=dict(type="str", default=""),
            vfdctl=dict(type="str", default="vfdctl"),
        ),
        supports_check_mode=True,
    )
    # Check mode leaves the terminal's folder alone: the check reads a scratch copy.
    folder = tempfile.mkdtemp() if module.check_mode else module.params["dir"]
    try:
        place(folder, module.params["files"])
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
    written = [line["port"] for line in ports if line["result"] == "ok"]
    result = dict(changed=bool(written), ports=ports, summary=summary, rc=status, cmd=argv, stderr=err)
    failed = [failure(line) for line in ports if line["result"] in ("failed", "interrupted")]
    if status != 0 or summary is None:
        module.fail_json(msg="; ".join(failed) or err.strip() or "vfdctl ended with %d" % status, **result)
    verb = "would apply to" if module.check_mode else "applied to"
    module.exit_json(msg="%s %s" % (verb, ", ".join(written)) if written else "unchanged", **result)


if __name__ == "__main__":
    main()
