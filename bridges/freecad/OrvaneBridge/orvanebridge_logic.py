"""What the FreeCAD bridge decides without FreeCAD: the bus name of its
ProgID, what a command text asks for, and when the CAD counts as busy."""

import collections
import re

BUS_NAME_PREFIX = "org.orvane.ProgId."
MAX_BUS_NAME_LENGTH = 255
DEFAULT_PROG_ID = "FreeCAD.Application"

# A FreeCAD command name such as "Std_ViewFitAll" or "Part_Box".
_COMMAND_NAME = re.compile(r"[A-Za-z][A-Za-z0-9_]*\Z")
# The panel's load expression; the path has backslash and quote escaped.
_LOAD_EXPRESSION = re.compile(r'\(load "((?:[^"\\]|\\.)*)"\)\(princ\)\Z', re.DOTALL)
_MACRO_SUFFIXES = (".fcmacro", ".py")


def _is_ascii_alnum(ch):
    return ch.isascii() and ch.isalnum()


def _escaped(ch):
    return "".join("_%02X" % byte for byte in ch.encode("utf-8"))


def bus_name_for_prog_id(prog_id):
    """The well-known bus name serving prog_id, or None when none can: an
    empty element, a lone surrogate or a name longer than the bus allows."""
    elements = prog_id.split(".")
    encoded = []
    for element in elements:
        if not element:
            return None
        parts = []
        for index, ch in enumerate(element):
            if 0xD800 <= ord(ch) <= 0xDFFF:
                return None
            keep = _is_ascii_alnum(ch) and not (index == 0 and ch.isdigit())
            parts.append(ch if keep else _escaped(ch))
        encoded.append("".join(parts))
    name = BUS_NAME_PREFIX + ".".join(encoded)
    return name if len(name) <= MAX_BUS_NAME_LENGTH else None


def chosen_prog_id(environment_value, parameter_value):
    """The environment wins over FreeCAD's parameter; neither gives the default."""
    for value in (environment_value, parameter_value):
        if value:
            return value
    return DEFAULT_PROG_ID


def command_line(text):
    """The command text without the line ending the panel appends."""
    return text.rstrip("\r\n")


def load_expression_path(line):
    """The file a load expression names, or None when line is not one."""
    match = _LOAD_EXPRESSION.match(line.strip())
    if match is None:
        return None
    return re.sub(r"\\(.)", r"\1", match.group(1), flags=re.DOTALL)


def workbench_of_command(name, workbenches):
    """The workbench whose name the command's prefix gives ("Part_Box" is
    PartWorkbench's), or None when no such workbench is installed."""
    candidate = name.split("_", 1)[0] + "Workbench"
    return candidate if candidate in workbenches else None


Action = collections.namedtuple("Action", "kind target workbench")
MACRO = "macro"
COMMAND = "command"
UNKNOWN = "unknown"


def plan_command(text, known_commands, workbenches):
    """What a SendCommand text asks for: a macro to run, a command to run
    (loading its workbench first when it is not loaded yet), or nothing,
    with the reason in target."""
    line = command_line(text)
    path = load_expression_path(line)
    if path is not None:
        if path.lower().endswith(_MACRO_SUFFIXES):
            return Action(MACRO, path, None)
        return Action(UNKNOWN, "not a FreeCAD macro: " + path, None)
    if not _COMMAND_NAME.match(line):
        return Action(UNKNOWN, "not a FreeCAD command: " + line, None)
    if line in known_commands:
        return Action(COMMAND, line, None)
    workbench = workbench_of_command(line, workbenches)
    if workbench is None:
        return Action(UNKNOWN, "no such FreeCAD command: " + line, None)
    return Action(COMMAND, line, workbench)


Activity = collections.namedtuple("Activity", "modal_dialog popup task_dialog edit_mode pending_command")


def is_busy(activity):
    """SendCommand is answered RetryLater: the user is in a dialog or menu,
    or the last command has not run yet."""
    return activity.modal_dialog or activity.popup or activity.pending_command


def is_quiescent(activity):
    return not (activity.modal_dialog or activity.task_dialog or activity.edit_mode or activity.pending_command)


def dispatcher_runs_glib(class_name):
    """Whether Qt's event dispatcher of this class also dispatches GLib's
    default main context."""
    return "Glib" in class_name
