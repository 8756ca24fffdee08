"""The about box, opened through the main dialog's system command (its menu entry's id, 0x0010, and the same
id with the low four bits the system keeps for itself set, 0x0013): owned by the main dialog, which is
disabled while it is open, centred over it inside the work area; OK closes it and the lists are as the user
left them.

The main dialog starts centred in the work area, where "centred over it" and "centred in the work area"
look alike: the user also drags it elsewhere first, and to the left edge, where the box centred over it
would stick out of the work area.
"""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import harness  # noqa: E402

LIST = "       CNCA0 PortName=COM5\r\n       CNCB0 PortName=-\r\n"
BUSY = "COM1\r\nCOM3\r\nCOM5\r\n"
PORT_LIST, TYPE_LIST, IDOK, IDCANCEL = 1001, 1002, 1, 2
SS_ICON = 0x3


def lists(dump):
    """(items, selection) of both combo boxes in a dump."""
    return {c["id"]: (c["items"], c["sel"]) for c in dump["controls"] if c["id"] in (PORT_LIST, TYPE_LIST)}


class AboutTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.main = harness.dialog_template("IDD_COMPORT_DIALOG")
        cls.about = harness.dialog_template("IDD_ABOUTBOX")
        cls.session = cls.enterClassContext(harness.Session("about"))

    def test_system_command_opens_the_about_box_over_the_disabled_dialog(self):
        s = self.session
        # (case, system command, where the user drags the main dialog first: None for nowhere).
        cases = [("0x0010", 0x0010, None), ("0x0013", 0x0013, (80, 60)), ("left-edge", 0x0010, (0, 300))]
        for case, command, drag in cases:
            with self.subTest(case=case):
                app = s.app(f"app-{case}", harness.ravelix_exe(s.cross_build), harness.setup_double_dll(s.cross_build),
                            {"list.txt": LIST, "busynames.txt": BUSY})
                main, about = self.main["caption"], self.about["caption"]
                run = s.drive(app / "Ravelix.exe", s.folder(f"cwd-{case}"), [
                    f"wait-dialog:{main}", *([f"move:{drag[0]}:{drag[1]}"] if drag else []),
                    f"select:{PORT_LIST}:7", f"select:{TYPE_LIST}:2", "dump",
                    f"syscommand:{command}",
                    "wait-msgbox",  # the about box: the new dialog of the process
                    f"screenshot:@about-{case}",
                    f"wait-dialog:{main}", "dump",  # the main dialog while the about box is open
                    f"wait-dialog:{about}", f"press:{IDOK}",
                    f"wait-dialog:{main}", "dump",
                    f"click:{IDCANCEL}", "wait-exit",
                ]).check()

                self.assertEqual(run.one("syscommand")["outcome"], "dialog", "no dialog opened")
                box = run.one("msgbox")
                before, during, after = run.of("dump")
                self.assertEqual(box["caption"], about)
                self.assertTrue(box["owner_is_main"], f"owned by {box['owner_caption']!r}")
                # Its texts and button as the template has them (the icon, a static of style SS_ICON, aside).
                self.assertEqual(
                    [(c["id"], c["class"], c["text"]) for c in box["controls"]
                     if not (c["class"] == "Static" and int(c["style"], 16) & 0x1F == SS_ICON)],
                    [(c["id"], c["class"], c["text"]) for c in self.about["controls"]])
                self.assertTrue(before["enabled"], "the main dialog before the about box")
                self.assertFalse(during["enabled"], "the main dialog stays enabled under the about box")
                self.assertTrue(after["enabled"], "the main dialog after the about box")

                # Centred over the main dialog (to within a pixel of rounding), moved no more than it takes
                # to keep it inside the work area.
                left, top, right, bottom = box["rect"]
                width, height = right - left, bottom - top
                mleft, mtop, mright, mbottom = during["rect"]
                if drag:
                    self.assertEqual((mleft, mtop), drag, "the main dialog did not go where it was dragged")
                wl, wt, wr, wb = box["workarea"]
                self.assertTrue(wl <= left < right <= wr and wt <= top < bottom <= wb, (box["rect"], box["workarea"]))
                centred = ((mleft + mright - width) // 2, (mtop + mbottom - height) // 2)
                inside = (min(max(centred[0], wl), wr - width), min(max(centred[1], wt), wb - height))
                self.assertLessEqual(abs(left - inside[0]), 1, (box["rect"], during["rect"], box["workarea"]))
                self.assertLessEqual(abs(top - inside[1]), 1, (box["rect"], during["rect"], box["workarea"]))

                self.assertEqual(lists(before)[PORT_LIST][1], 7)
                self.assertEqual(lists(before)[TYPE_LIST][1], 2)
                self.assertEqual(lists(after), lists(before), "the lists changed under the about box")
                self.assertEqual(during["rect"], after["rect"], "the main dialog moved")

                self.assertEqual(run.one("exit")["code"], 0)
                self.assertEqual(len(s.calls(app)), 2, "the about box called the setup library")
                self.assertFalse((app / "VConfig.ini").exists(), "the about box wrote the settings file")
                shot = run.screenshots[f"about-{case}"]
                shot_width, shot_height, colours = harness.bmp_pixels(shot.bmp)
                self.assertEqual((shot_width, shot_height), (width, height))
                self.assertGreater(len(colours), 8, "the screenshot looks blank")


if __name__ == "__main__":
    unittest.main(verbosity=2)
