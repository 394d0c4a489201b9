# FreeCAD runs this at every start of its GUI. A bridge that cannot start
# (python3-dbus missing, no session bus) says so and leaves FreeCAD alone.
import FreeCAD

try:
    import orvanebridge

    orvanebridge.start()
except Exception as error:
    FreeCAD.Console.PrintWarning("Orvane: the bridge did not start: %s\n" % error)
