# The controller's side of the module talvex_vfdctl: checks the task's arguments with the module's own
# table (Ansible's messages for a missing or mistyped one), reads the profile and the files it names
# where the playbook keeps them and hands their bytes to the module on the terminal in the same call,
# so that a run that changes nothing costs one module call per terminal.
import base64
import importlib.util
import os
import stat

from ansible.errors import AnsibleAction, AnsibleActionFail
from ansible.plugins.action import ActionBase


def load_module_file(path):
    """The module's own source, for its argument table and its rule for names."""
    located = importlib.util.spec_from_file_location("talvex_vfdctl_module", path)
    module = importlib.util.module_from_spec(located)
    located.loader.exec_module(module)
    return module


class ActionModule(ActionBase):
    def run(self, tmp=None, task_vars=None):
        result = super().run(tmp, task_vars)
        try:
            result.update(self._apply(task_vars))
        except AnsibleAction as failure:
            # A refusal is the task's result, not an exception of the controller.
            result.update(failure.result)
        return result

    def _apply(self, task_vars):
        path = self._shared_loader_obj.module_loader.find_plugin("talvex_vfdctl")
        if not path:
            raise AnsibleActionFail("the module talvex_vfdctl is not on the library path")
        module = load_module_file(path)
        # The task's own arguments: "contents" is what this plugin adds for the terminal.
        options = {name: option for name, option in module.ARGUMENT_SPEC.items() if name != "contents"}
        validation, _ = self.validate_argument_spec(argument_spec=options)
        checked = validation.validated_parameters
        profile = checked["profile"]
        names = [os.path.basename(profile)] + checked["files"]
        contents = {}
        for name in names:
            if module.name_inside(name) is None:
                raise AnsibleActionFail("files: %s leaves the profile's folder; refused" % name)
            source = self._find_needle("files", os.path.join(os.path.dirname(profile), name))
            # A FIFO or a device would block the read or never end it.
            if not stat.S_ISREG(os.stat(source).st_mode):
                raise AnsibleActionFail("%s is not a regular file; refused" % source)
            with open(source, "rb") as file:
                contents[name] = base64.b64encode(file.read()).decode("ascii")
        # The terminal checks the task's own arguments again: paths are its own, not the controller's.
        args = dict(self._task.args, files=checked["files"], contents=contents, profile=names[0])
        return self._execute_module(module_name="talvex_vfdctl", module_args=args, task_vars=task_vars)
