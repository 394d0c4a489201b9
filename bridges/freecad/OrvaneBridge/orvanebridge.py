"""Serves the automation protocol on the session bus from inside FreeCAD's
GUI, so that the panel can drive FreeCAD.

The ProgID is ORVANE_FREECAD_PROGID from the environment, else the string
parameter ProgId of "User parameter:BaseApp/Preferences/Mod/OrvaneBridge",
else "FreeCAD.Application". ORVANE_FREECAD_LOG names a file that gets one
line per event (for tests)."""

import functools
import os
import traceback

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib
from PySide2 import QtCore, QtWidgets

import FreeCAD
import FreeCADGui

import orvanebridge_logic as logic

INTERFACE = "org.orvane.Automation"
PARAMETER_GROUP = "User parameter:BaseApp/Preferences/Mod/OrvaneBridge"
PROG_ID_VARIABLE = "ORVANE_FREECAD_PROGID"
LOG_VARIABLE = "ORVANE_FREECAD_LOG"
DOCUMENTS_PATH = "/Documents"
STATE_PATHS = {"GetAcadState": "/AcadState", "GetGcadState": "/GcadState", "GetZcadState": "/ZcadState"}


def _log(line):
    path = os.environ.get(LOG_VARIABLE)
    if path:
        with open(path, "a", encoding="utf-8") as log:
            log.write(line.replace("\n", "\\n").replace("\r", "\\r") + "\n")


def _report(text):
    FreeCAD.Console.PrintWarning("Orvane: %s\n" % text)
    _log("REPORT " + text)


def _guarded(function):
    """Reports an exception in FreeCAD's report view instead of letting it
    reach FreeCAD; a D-Bus error meant for the caller passes."""

    @functools.wraps(function)
    def call(*arguments, **keywords):
        try:
            return function(*arguments, **keywords)
        except dbus.DBusException:
            raise
        except Exception:
            _report(traceback.format_exc())
            return None

    return call


class RetryLater(dbus.DBusException):
    _dbus_error_name = "org.orvane.Automation.Error.RetryLater"


class Rejected(dbus.DBusException):
    _dbus_error_name = "org.orvane.Automation.Error.Rejected"


def _activity(pending):
    gui_document = FreeCADGui.ActiveDocument
    return logic.Activity(
        modal_dialog=QtWidgets.QApplication.activeModalWidget() is not None,
        popup=QtWidgets.QApplication.activePopupWidget() is not None,
        task_dialog=bool(FreeCADGui.Control.activeDialog()),
        edit_mode=gui_document is not None and gui_document.getInEdit() is not None,
        pending_command=pending,
    )


def _run_macro(path):
    if not os.path.isfile(path):
        _report("no such macro: " + path)
        return
    import __main__

    scope = dict(__main__.__dict__, __name__="__main__", __file__=path)
    with open(path, encoding="utf-8") as source:
        code = compile(source.read(), path, "exec")
    _log("MACRO " + path)
    exec(code, scope)


def _run_command(name, workbench):
    if workbench is not None:
        # Loading a workbench's commands means switching to it.
        FreeCADGui.activateWorkbench(workbench)
        if name not in FreeCADGui.listCommands():
            _report("no such FreeCAD command: " + name)
            return
    FreeCADGui.runCommand(name)
    _log("RAN " + name)
    document = FreeCAD.ActiveDocument
    if document is not None:
        _log("OBJECTS %s %s" % (document.Name, " ".join(o.Name for o in document.Objects)))


def _run(document_name, text):
    if FreeCAD.ActiveDocument is None or FreeCAD.ActiveDocument.Name != document_name:
        if document_name not in FreeCAD.listDocuments():
            _report("the document %s is closed; not run: %s" % (document_name, logic.command_line(text)))
            return
        FreeCADGui.setActiveDocument(document_name)
    action = logic.plan_command(text, FreeCADGui.listCommands(), FreeCADGui.listWorkbenches())
    if action.kind == logic.MACRO:
        _run_macro(action.target)
    elif action.kind == logic.COMMAND:
        _run_command(action.target, action.workbench)
    else:
        _report(action.target)


class Commands:
    """At most one command waits for the event loop's next turn."""

    def __init__(self):
        self.pending = None

    def activity(self):
        return _activity(self.pending is not None)

    def queue(self, document_name, text):
        if logic.is_busy(self.activity()):
            raise RetryLater("FreeCAD is busy; try again later")
        self.pending = (document_name, text)
        QtCore.QTimer.singleShot(0, self._run_pending)

    @_guarded
    def _run_pending(self):
        document_name, text = self.pending
        self.pending = None
        _run(document_name, text)


class Application(dbus.service.Object):
    def __init__(self, bus, window):
        super().__init__(bus, "/Application")
        self._window = window

    @dbus.service.method(INTERFACE, out_signature="x")
    def HWND(self):
        return int(self._window.winId())

    @dbus.service.method(INTERFACE, out_signature="s")
    def FullName(self):
        return os.path.realpath("/proc/self/exe")

    @dbus.service.method(INTERFACE, out_signature="s")
    def Path(self):
        return os.path.dirname(os.path.realpath("/proc/self/exe"))

    @dbus.service.method(INTERFACE, out_signature="o")
    def ActiveDocument(self):
        document = FreeCAD.ActiveDocument or FreeCAD.newDocument()
        return dbus.ObjectPath(DOCUMENTS_PATH + "/" + document.Name)

    @dbus.service.method(INTERFACE, out_signature="o")
    def GetAcadState(self):
        return dbus.ObjectPath(STATE_PATHS["GetAcadState"])

    @dbus.service.method(INTERFACE, out_signature="o")
    def GetGcadState(self):
        return dbus.ObjectPath(STATE_PATHS["GetGcadState"])

    @dbus.service.method(INTERFACE, out_signature="o")
    def GetZcadState(self):
        return dbus.ObjectPath(STATE_PATHS["GetZcadState"])


class Documents(dbus.service.FallbackObject):
    """Every document, at DOCUMENTS_PATH/<document name>."""

    def __init__(self, bus, commands):
        super().__init__(bus, DOCUMENTS_PATH)
        self._commands = commands

    @dbus.service.method(INTERFACE, in_signature="s", rel_path_keyword="relative")
    def SendCommand(self, text, relative):
        name = relative.lstrip("/")
        if not name or name not in FreeCAD.listDocuments():
            raise Rejected("no such document")
        _log("COMMAND " + text)
        self._commands.queue(name, str(text))


class State(dbus.service.Object):
    def __init__(self, bus, path, commands):
        super().__init__(bus, path)
        self._commands = commands

    @dbus.service.method(INTERFACE, out_signature="b")
    def IsQuiescent(self):
        return logic.is_quiescent(self._commands.activity())


def _pump_glib():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


class Bridge:
    """Waits for the visible main window, then takes the bus name."""

    def __init__(self):
        self._keep = []
        self._waiting = QtCore.QTimer()
        self._waiting.setInterval(100)
        self._waiting.timeout.connect(self._poll_window)
        self._waiting.start()

    @_guarded
    def _poll_window(self):
        window = FreeCADGui.getMainWindow()
        if window is None or not window.isVisible():
            return
        self._waiting.stop()
        self._serve(window)

    def _serve(self, window):
        parameter = FreeCAD.ParamGet(PARAMETER_GROUP).GetString("ProgId", "")
        prog_id = logic.chosen_prog_id(os.environ.get(PROG_ID_VARIABLE), parameter)
        bus_name = logic.bus_name_for_prog_id(prog_id)
        if bus_name is None:
            _report("no bus name can serve the ProgID " + prog_id)
            return
        DBusGMainLoop(set_as_default=True)
        bus = dbus.SessionBus()
        dispatcher = QtCore.QAbstractEventDispatcher.instance().metaObject().className()
        _log("DISPATCHER " + dispatcher)
        if not logic.dispatcher_runs_glib(dispatcher):
            pump = QtCore.QTimer()
            pump.setInterval(10)
            pump.timeout.connect(_guarded(_pump_glib))
            pump.start()
            self._keep.append(pump)
        commands = Commands()
        # Objects first, then the name: a caller that sees the name finds them.
        self._keep += [Application(bus, window), Documents(bus, commands)]
        self._keep += [State(bus, path, commands) for path in STATE_PATHS.values()]
        try:
            self._keep.append(dbus.service.BusName(bus_name, bus, do_not_queue=True))
        except dbus.exceptions.NameExistsException:
            _report("another program serves %s already" % bus_name)
            return
        _log("READY %s %d" % (bus_name, int(window.winId())))


_bridge = []


def start():
    _bridge.append(Bridge())
