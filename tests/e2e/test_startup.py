"""The real program starts under Wine: it asks the setup library which ports are in use and which one the
virtual port carries, from its own folder, and shows its dialog top-most; Exit ends it with nothing written.
"""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import harness  # noqa: E402

CAPTION = "VORTAN Serivo Port Information"
LIST = "       CNCA0 PortName=COM5\r\n       CNCB0 PortName=-\r\n"
BUSY = "COM1\r\nCOM3\r\nCOM5\r\n"
WARNING = "'.\\__zur2ure__.txt' read fail or not exist !!!"


class StartupTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = cls.enterClassContext(harness.Session("startup"))

    def app(self, name, fixtures):
        return self.session.app(name, harness.ravelix_exe(self.session.cross_build),
                                harness.setup_double_dll(self.session.cross_build), fixtures)

    def test_asks_the_library_from_its_own_folder_and_exits_with_nothing_written(self):
        app = self.app("app", {"list.txt": LIST, "busynames.txt": BUSY})
        cwd = self.session.folder("elsewhere")
        run = self.session.drive(app / "Ravelix.exe", cwd, [
            f"wait-dialog:{CAPTION}", "wait-idle", "dump", "screenshot:@startup-en", "click:2", "wait-exit",
        ]).check()

        calls = self.session.calls(app)
        app_folder = self.session.win(app)
        self.assertEqual(calls, [
            ["MainA", "setupc.exe", "--output .\\__zur2ure__.txt busynames COM*", app_folder],
            ["MainA", "setupc.exe", "--output .\\__zur2ure__.txt list", app_folder],
        ])
        # The capture file is left in the program's folder, holding the answer to "list".
        self.assertEqual((app / "__zur2ure__.txt").read_bytes(), LIST.encode())
        self.assertEqual(sorted(p.name for p in cwd.iterdir()), [], "something was written where it was started")

        dump = run.one("dump")
        self.assertEqual(dump["caption"], CAPTION)
        self.assertTrue(dump["topmost"], "the dialog stays above other programs' windows")
        self.assertTrue(dump["appwindow"])
        self.assertEqual(dump["owner"], "0x0")
        self.assertEqual(dump["focus"], 1, "the focus starts on the Change button")
        left, top, right, bottom = dump["rect"]
        wl, wt, wr, wb = dump["workarea"]
        # Centred in the work area (to within a pixel of rounding).
        self.assertLessEqual(abs((left - wl) - (wr - right)), 1, dump["rect"])
        self.assertLessEqual(abs((top - wt) - (wb - bottom)), 1, dump["rect"])
        ports = next(c for c in dump["controls"] if c["id"] == 1001)
        self.assertEqual(ports["sel"], 4)

        self.assertEqual(run.one("exit")["code"], 0)
        self.assertFalse(run.one("end")["killed"])
        self.assertFalse((app / "VConfig.ini").exists(), "Exit wrote the settings file")
        self.assertEqual(len(self.session.calls(app)), 2, "Exit called the setup library")
        shot = run.screenshots["startup-en"]
        self.assertGreater(len(harness.bmp_pixels(shot.bmp)[2]), 8, "the screenshot looks blank")

    def test_missing_capture_file_warns_twice_before_the_dialog_which_still_opens(self):
        app = self.app("no-answer", {})  # the library writes no capture file
        run = self.session.drive(app / "Ravelix.exe", self.session.folder("elsewhere-2"), [
            "msgbox", "msgbox", f"wait-dialog:{CAPTION}", "dump", "click:2", "wait-exit",
        ]).check()
        boxes = run.of("msgbox")
        self.assertEqual([(b["caption"], b["text"]) for b in boxes], [("Ravelix", WARNING)] * 2)
        for box in boxes:
            # Owned by the dialog, which is not on screen yet.
            self.assertEqual(box["owner_caption"], CAPTION)
            self.assertNotEqual(box["owner"], "0x0")
        dump = run.one("dump")
        ports = next(c for c in dump["controls"] if c["id"] == 1001)
        self.assertEqual(len(ports["items"]), 255)
        self.assertEqual(ports["sel"], -1)
        self.assertEqual(run.one("exit")["code"], 0)

    def test_the_settings_file_is_made_in_the_programs_folder(self):
        # A change of the printer type alone writes it, through the system's own profile functions.
        app = self.app("settings", {"list.txt": LIST, "busynames.txt": BUSY})
        cwd = self.session.folder("elsewhere-3")
        run = self.session.drive(app / "Ravelix.exe", cwd, [
            f"wait-dialog:{CAPTION}", "select:1002:3", "click:1", "msgbox", "wait-exit",
        ]).check()
        self.assertEqual(run.one("msgbox")["text"], "VORTAN Serivo Device is changed.\r\n\r\nPlease reboot now.")
        self.assertEqual((app / "VConfig.ini").read_bytes().replace(b"\r\n", b"\n"), b"[Zur2Ure]\nPrinterType=3\n")
        self.assertFalse((cwd / "VConfig.ini").exists())

    def test_enter_right_after_the_start_applies_the_selections_as_filled(self):
        # The focus starts on Change: Enter presses it. A stored type outside the list selects nothing,
        # which counts as a change of the type: -1 is stored and the restart is asked for.
        app = self.app("enter", {"list.txt": LIST, "busynames.txt": BUSY})
        (app / "VConfig.ini").write_bytes(b"[Zur2Ure]\r\nPrinterType=9\r\n")
        run = self.session.drive(app / "Ravelix.exe", self.session.folder("elsewhere-4"), [
            f"wait-dialog:{CAPTION}", "wait-idle", "key:RETURN", "msgbox", "wait-exit",
        ]).check()
        self.assertEqual(run.one("msgbox")["text"], "VORTAN Serivo Device is changed.\r\n\r\nPlease reboot now.")
        self.assertEqual((app / "VConfig.ini").read_bytes().replace(b"\r\n", b"\n"), b"[Zur2Ure]\nPrinterType=-1\n")


if __name__ == "__main__":
    unittest.main(verbosity=2)
