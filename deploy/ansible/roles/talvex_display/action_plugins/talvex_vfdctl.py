# The controller's side of the module talvex_vfdctl: reads the profile and the files it names where
# the playbook keeps them and hands their bytes to the module on the terminal in the same call, so that
# a run that changes nothing costs one module call per terminal.
import base64
import os

from ansible.plugins.action import ActionBase


class ActionModule(ActionBase):
    def run(self, tmp=None, task_vars=None):
        result = super().run(tmp, task_vars)
        args = dict(self._task.args)
        profile = args.pop("profile")
        names = [os.path.basename(profile)] + list(args.pop("files", None) or [])
        contents = {}
        for name in names:
            path = self._find_needle("files", os.path.join(os.path.dirname(profile), name))
            with open(path, "rb") as file:
                contents[name] = base64.b64encode(file.read()).decode("ascii")
        args.update(files=contents, profile=names[0])
        result.update(self._execute_module(module_name="talvex_vfdctl", module_args=args, task_vars=task_vars))
        return result
