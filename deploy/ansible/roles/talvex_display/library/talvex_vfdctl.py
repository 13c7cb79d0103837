#!/usr/bin/python3
# Runs "vfdctl --json --ports ... apply --changed-only PROFILE" on the terminal (in check mode with
# --check) and reads its JSON lines: changed where a display was written (in check mode, where one
# would be), failed naming each port that failed with its box's title and text.

DOCUMENTATION = r"""
module: talvex_vfdctl
short_description: Applies a profile to a terminal's Talvex displays with vfdctl
options:
  ports: {description: 'A list of ports, or "all".', type: raw, default: all}
  profile: {description: The profile on the terminal., type: path, required: true}
  encoding: {description: The displays' text encoding (empty, vfdctl's default)., type: str, default: ""}
  force: {description: Apply whatever the record of the last apply says., type: bool, default: false}
  options: {description: More global options for vfdctl., type: list, elements: str, default: []}
  state_dir: {description: The folder of vfdctl's records (VFDCTL_STATE_DIR)., type: str, default: ""}
  vfdctl: {description: The program., type: str, default: vfdctl}
"""

import json

from ansible.module_utils.basic import AnsibleModule


def command(module):
    params = module.params
    ports = params["ports"]
    argv = [params["vfdctl"], "--json", "--ports", ports if isinstance(ports, str) else ",".join(ports)]
    if params["encoding"]:
        argv += ["--encoding", params["encoding"]]
    argv += params["options"] + ["apply", "--changed-only"]
    argv += ["--force"] if params["force"] else []
    argv += ["--check"] if module.check_mode else []
    return argv + [params["profile"]]


def failure(line):
    said = ": ".join(part for part in (line.get("title"), line.get("text")) if part) or line["result"]
    if line.get("file"):
        said += " (file: %s)" % line["file"]
    return "%s: %s" % (line["port"], said)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            ports=dict(type="raw", default="all"),
            profile=dict(type="path", required=True),
            encoding=dict(type="str", default=""),
            force=dict(type="bool", default=False),
            options=dict(type="list", elements="str", default=[]),
            state_dir=dict(type="str", default=""),
            vfdctl=dict(type="str", default="vfdctl"),
        ),
        supports_check_mode=True,
    )
    argv = command(module)
    environment = {"VFDCTL_STATE_DIR": module.params["state_dir"]} if module.params["state_dir"] else {}
    status, out, err = module.run_command(argv, environ_update=environment)
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
