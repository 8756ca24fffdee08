"""The harness and the driver, proved on the bare dialog (the main dialog template and nothing else).

The expected caption and controls are read from resources/dialogs.rc; the bare dialog ends with the id of
the button that closed it and writes that id to bare_dialog.out in its current directory.
"""
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import harness  # noqa: E402

MAIN_DIALOG = "IDD_COMPORT_DIALOG"
OUT_FILE = "bare_dialog.out"


class BareDialogTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.template = harness.dialog_template(MAIN_DIALOG)
        cls.ids = harness.resource_ids()
        cls.session = cls.enterClassContext(harness.Session("bare_dialog"))
        cls.exe = harness.bare_dialog_exe(cls.session.cross_build)
        cls.app = cls.session.app("app", cls.exe)

    def test_buttons_end_the_program_with_their_id(self):
        # (case, button the user clicks): each run is started from a folder other than the app folder.
        cases = [("exit", self.ids["IDCANCEL"]), ("ok", self.ids["IDOK"])]
        expected_controls = [(c["id"], c["class"], c["text"]) for c in self.template["controls"]]
        for case, button in cases:
            with self.subTest(case=case):
                cwd = self.session.folder(f"cwd-{case}")
                run = self.session.drive(self.app / self.exe.name, cwd, [
                    f"wait-dialog:{self.template['caption']}",
                    "dump",
                    f"screenshot:@bare_dialog-{case}",
                    f"click:{button}",
                    "wait-exit",
                ]).check()

                dump = run.one("dump")
                self.assertEqual(dump["caption"], self.template["caption"])
                self.assertTrue(dump["toplevel"])
                self.assertEqual(dump["owner"], "0x0")
                self.assertEqual(dump["appwindow"], "WS_EX_APPWINDOW" in self.template["exstyle"])
                self.assertEqual([(c["id"], c["class"], c["text"]) for c in dump["controls"]], expected_controls)
                self.assertTrue(all(c["visible"] and c["enabled"] for c in dump["controls"]), dump["controls"])
                left, top, right, bottom = dump["rect"]
                work = dump["workarea"]
                self.assertTrue(work[0] <= left < right <= work[2] and work[1] <= top < bottom <= work[3],
                                (dump["rect"], work))

                shot = run.screenshots[f"bare_dialog-{case}"]
                width, height, colours = harness.bmp_pixels(shot.bmp)
                self.assertEqual((width, height), (right - left, bottom - top))
                self.assertEqual(harness.png_size(shot.png), (width, height))
                self.assertGreater(len(colours), 8, "the screenshot looks blank")

                self.assertEqual(run.one("clicked")["outcome"], "returned")
                self.assertEqual(run.one("exit")["code"], button)
                self.assertFalse(run.one("end")["killed"])
                self.assertEqual((cwd / OUT_FILE).read_text().strip(), str(button))
                self.assertFalse((self.app / OUT_FILE).exists(), "the program ran in its own folder")

    def test_a_wait_that_runs_out_fails_and_ends_the_program(self):
        cwd = self.session.folder("cwd-timeout")
        missing = self.template["caption"] + " (another)"
        started = time.monotonic()
        run = self.session.drive(self.app / self.exe.name, cwd, [f"wait-dialog:{missing}", "dump"],
                                 timeout_ms=1500)
        elapsed = time.monotonic() - started

        self.assertEqual(run.returncode, 1, run.describe())
        failure = run.failure
        self.assertIsNotNone(failure, run.describe())
        self.assertEqual(failure["step"], f"wait-dialog:{missing}")
        self.assertIn("within 1500 ms", failure["reason"])
        self.assertIn(self.template["caption"], [w["caption"] for w in failure["windows"]])
        self.assertEqual(run.of("dump"), [], "a step after the failed one was carried out")
        self.assertTrue(run.one("end")["killed"])
        self.assertFalse((cwd / OUT_FILE).exists(), "the program was closed, not ended")
        self.assertLess(elapsed, 15)


if __name__ == "__main__":
    unittest.main(verbosity=2)
