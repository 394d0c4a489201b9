"""The FreeCAD bridge's decisions, without FreeCAD."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "OrvaneBridge"))

import orvanebridge_logic as logic  # noqa: E402

PREFIX = "org.orvane.ProgId."


class BusNameTest(unittest.TestCase):
    def test_encodes_the_protocol_documents_table(self):
        table = {
            "BricscadApp.AcadApplication": "BricscadApp.AcadApplication",
            "GCAD.Application.23": "GCAD.Application._323",
            "My_App.x-y": "My_5FApp.x_2Dy",
        }
        for prog_id, name in table.items():
            self.assertEqual(logic.bus_name_for_prog_id(prog_id), PREFIX + name, prog_id)

    def test_encodes_digits_blanks_and_non_ascii_as_the_panel_does(self):
        cases = {
            "ZWCAD.Application.2024": "ZWCAD.Application._32024",
            "A1.b2": "A1.b2",
            "A B": "A_20B",
            "\u00c9cad": "_C3_89cad",
            "\u56f3\u9762.App": "_E5_9B_B3_E9_9D_A2.App",
            "\U0001f600": "_F0_9F_98_80",
            "9": "_39",
            "_": "_5F",
        }
        for prog_id, name in cases.items():
            self.assertEqual(logic.bus_name_for_prog_id(prog_id), PREFIX + name, prog_id)

    def test_empty_elements_have_no_bus_name(self):
        for prog_id in ("", ".", "A..B", ".A", "A."):
            self.assertIsNone(logic.bus_name_for_prog_id(prog_id), prog_id)

    def test_lone_surrogates_have_no_bus_name(self):
        for prog_id in ("A\ud800", "\udc00A"):
            self.assertIsNone(logic.bus_name_for_prog_id(prog_id), ascii(prog_id))

    def test_length_limit_is_the_bus_names(self):
        room = 255 - len(PREFIX)
        self.assertEqual(len(logic.bus_name_for_prog_id("a" * room)), 255)
        self.assertIsNone(logic.bus_name_for_prog_id("a" * (room + 1)))
        self.assertIsNotNone(logic.bus_name_for_prog_id("a" * (room - 3) + "-"))
        self.assertIsNone(logic.bus_name_for_prog_id("a" * (room - 2) + "-"))


class ProgIdChoiceTest(unittest.TestCase):
    def test_default_without_environment_or_parameter(self):
        self.assertEqual(logic.chosen_prog_id(None, ""), "FreeCAD.Application")

    def test_environment_wins_over_parameter(self):
        self.assertEqual(logic.chosen_prog_id("Env.App", "Param.App"), "Env.App")

    def test_parameter_without_environment(self):
        self.assertEqual(logic.chosen_prog_id("", "Param.App"), "Param.App")


class LoadExpressionTest(unittest.TestCase):
    def test_panels_expression_gives_its_path(self):
        self.assertEqual(logic.load_expression_path('(load "/home/u/box.FCMacro")(princ)'), "/home/u/box.FCMacro")

    def test_escaped_backslash_and_quote_are_taken_back(self):
        self.assertEqual(logic.load_expression_path(r'(load "/a\\b\"c.py")(princ)'), '/a\\b"c.py')

    def test_other_texts_are_no_load_expression(self):
        for text in ('(load "/a.py")', 'load "/a.py"', "Part_Box", '(load "/a.py")(princ) x', '(load "/a"b.py")(princ)'):
            self.assertIsNone(logic.load_expression_path(text), text)


class CommandPlanTest(unittest.TestCase):
    commands = ["Std_ViewFitAll", "Std_New"]
    workbenches = {"PartWorkbench": object(), "SketcherWorkbench": object()}

    def plan(self, text):
        return logic.plan_command(text, self.commands, self.workbenches)

    def test_trailing_line_ending_is_removed(self):
        self.assertEqual(logic.command_line(" Std_New\r\n\r"), " Std_New")

    def test_loaded_command_runs_as_it_is(self):
        self.assertEqual(self.plan("Std_ViewFitAll\r"), logic.Action(logic.COMMAND, "Std_ViewFitAll", None))

    def test_command_of_an_unloaded_workbench_loads_it_first(self):
        self.assertEqual(self.plan("Part_Box\r"), logic.Action(logic.COMMAND, "Part_Box", "PartWorkbench"))

    def test_command_of_no_installed_workbench_runs_nothing(self):
        self.assertEqual(self.plan("Draft_Line\r").kind, logic.UNKNOWN)

    def test_text_that_is_no_command_name_runs_nothing(self):
        for text in ("_LINE\r", "Std_New x\r", "", "Part_Box;Std_New\r"):
            self.assertEqual(self.plan(text).kind, logic.UNKNOWN, text)

    def test_load_of_a_macro_runs_it(self):
        for path in ("/m/a.FCMacro", "/m/b.fcmacro", "/m/c.py"):
            self.assertEqual(self.plan('(load "%s")(princ)\r' % path), logic.Action(logic.MACRO, path, None))

    def test_load_of_another_file_runs_nothing(self):
        self.assertEqual(self.plan('(load "/m/hello.lsp")(princ)\r').kind, logic.UNKNOWN)


def activity(**changes):
    idle = dict(modal_dialog=False, popup=False, task_dialog=False, edit_mode=False, pending_command=False)
    idle.update(changes)
    return logic.Activity(**idle)


class BusyTest(unittest.TestCase):
    def test_idle_is_not_busy(self):
        self.assertFalse(logic.is_busy(activity()))

    def test_modal_dialog_popup_or_pending_command_is_busy(self):
        for field in ("modal_dialog", "popup", "pending_command"):
            self.assertTrue(logic.is_busy(activity(**{field: True})), field)

    def test_task_dialog_or_edit_mode_takes_commands(self):
        for field in ("task_dialog", "edit_mode"):
            self.assertFalse(logic.is_busy(activity(**{field: True})), field)


class QuiescenceTest(unittest.TestCase):
    def test_idle_is_quiescent(self):
        self.assertTrue(logic.is_quiescent(activity()))

    def test_dialogs_edit_mode_or_pending_command_are_not_quiescent(self):
        for field in ("modal_dialog", "task_dialog", "edit_mode", "pending_command"):
            self.assertFalse(logic.is_quiescent(activity(**{field: True})), field)


class DispatcherTest(unittest.TestCase):
    def test_glib_dispatchers_dispatch_glib(self):
        for name in ("QXcbGlibEventDispatcher", "QEventDispatcherGlib"):
            self.assertTrue(logic.dispatcher_runs_glib(name), name)

    def test_unix_dispatchers_do_not_dispatch_glib(self):
        for name in ("QXcbUnixEventDispatcher", "QEventDispatcherUNIX"):
            self.assertFalse(logic.dispatcher_runs_glib(name), name)


if __name__ == "__main__":
    unittest.main()
