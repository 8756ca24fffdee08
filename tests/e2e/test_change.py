"""Pressing "Change the port" under Wine, with the real program, the scripted setup library, printers in
the prefix's registry, the prefix's win.ini and a recording rundll32.exe in the place of the system's.

The walk-through: the virtual port is COM5 (COM1 and COM3 in use), the printers are "Counter" on "COM5:",
"Label" on "com5:", "Office" on "LPT1:" and "Pair" on "COM5:,COM6:"; the user picks COM7 and another printer
type and presses Change. Then a table of the other outcomes, one run each, and the Korean boxes in a
session of their own.

Wine rewrites a profile file without blank lines and without spaces around "=": the win.ini and
VConfig.ini fixtures are in that form already, so that any other difference is the program's doing.
"""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import harness  # noqa: E402

CAPTION = "VORTAN Serivo Port Information"
LIST = "       CNCA0 PortName=COM5\r\n       CNCB0 PortName=-\r\n"
BUSY = "COM1\r\nCOM3\r\nCOM5\r\n"
PRINTERS = [("Counter", "COM5:"), ("Label", "com5:"), ("Office", "LPT1:"), ("Pair", "COM5:,COM6:")]
WIN_INI = (b"[mail]\r\nmapi=1\r\n[ports]\r\nLPT1:=\r\nCOM5:=9600,n,8,1\r\nFILE:=\r\n"
           b"[devices]\r\nOffice=winspool,LPT1:\r\n[PrinterPorts]\r\nCOM5:=winspool,15,45\r\n")
SYSTEM_RUNDLL32 = "C:\\windows\\system32\\rundll32.exe"
PORT_LIST, TYPE_LIST, IDOK, IDCANCEL = 1001, 1002, 1, 2

ENGLISH_TEXTS = {"title": "Information", "port": "Serivo Port is changed from COM{} to COM{}.",
                 "device": "VORTAN Serivo Device is changed.\r\n\r\nPlease reboot now."}
KOREAN_TEXTS = {"title": "알림", "port": "Serivo Port가 COM{}에서 COM{}로 변경되었습니다.",
                "device": "VORTAN Serivo Device가 변경되었습니다.\r\n\r\n컴퓨터를 재시작 하십시오."}


def setup_call(command):
    return "--output .\\__zur2ure__.txt " + command


BUSYNAMES, LIST_CALL = setup_call("busynames COM*"), setup_call("list")


def rename(n):
    return setup_call(f"change CNCA0 PortName=COM{n}")


def move(printer):
    return f'rundll32 printui.dll,PrintUIEntry /Xs /n "{printer}" PortName "COM1:"'


def ports_swapped(win_ini, old, new):
    """win.ini after the change: the old port's key gone from [ports], the new one there with 9600,n,8,1."""
    without = harness.profile_with(win_ini, "ports", f"COM{old}:", None)
    return harness.profile_with(without, "ports", f"COM{new}:", "9600,n,8,1")


def info(text):
    return ("info", text)


def warning(text):
    return ("warning", text)


class ChangeRuns:
    """Lays out one run's machine and program, drives it, and checks what a row expects."""

    session: harness.Session

    def prepare(self, name, *, printers=PRINTERS, win_ini=WIN_INI, vconfig=None, fixtures=None,
                plant=False):
        s = self.session
        s.set_printers(printers)
        s.write_win_ini(win_ini)
        s.clear_rundll_calls()
        app = s.app(name, harness.ravelix_exe(s.cross_build), harness.setup_double_dll(s.cross_build),
                    {"list.txt": LIST, "busynames.txt": BUSY, **(fixtures or {})})
        if vconfig is not None:
            (app / "VConfig.ini").write_bytes(vconfig)
        cwd = s.folder(name + "-cwd")
        if plant:
            # Copies that must never run: in the program's folder and in the folder it is started from.
            for folder in (app, cwd):
                (folder / "rundll32.exe").write_bytes(harness.rundll_recorder_exe(s.cross_build).read_bytes())
        return app, cwd

    def check_boxes(self, run, expected, texts, row):
        """The message boxes the run saw, in order, against (kind, text): information boxes without an
        owner and with the information title; warnings owned by the main dialog, captioned "Ravelix"."""
        seen = []
        for box in run.of("msgbox"):
            if box["owner"] == "0x0" and box["caption"] == texts["title"]:
                seen.append(("info", box["text"]))
            elif box["owner_is_main"] and box["caption"] == "Ravelix":
                seen.append(("warning", box["text"]))
            else:
                seen.append(("other", f"{box['caption']!r} owned by {box['owner_caption']!r}: {box['text']}"))
        self.assertEqual(seen, expected, f"{row}: the message boxes")

    def run_row(self, row, texts=ENGLISH_TEXTS):
        """row: name, port/type (list positions to select, or absent to leave as is), the machine before
        (printers, win_ini, vconfig, fixtures, plant: as prepare takes them), and what must come of it:
        boxes, stays (the dialog stays open, with the same selection, and Exit ends it), calls (the setup
        library's command lines after the two at start), moved (printers, in order), vconfig_after (the
        file's bytes, None: no file), win_ini_after (bytes). screenshots: a name for pictures of the boxes."""
        name = row["name"]
        app, cwd = self.prepare(name.replace(" ", "-"), **{k: row[k] for k in
                                                           ("printers", "win_ini", "vconfig", "fixtures", "plant")
                                                           if k in row})
        steps = ["wait-dialog"]
        if row.get("port") is not None:
            steps.append(f"select:{PORT_LIST}:{row['port']}")
        if row.get("type") is not None:
            steps.append(f"select:{TYPE_LIST}:{row['type']}")
        steps.append(f"click:{IDOK}")
        for i in range(len(row["boxes"])):
            shot = [f"screenshot:@{row['screenshots']}-{i + 1}"] if row.get("screenshots") else []
            steps += ["wait-msgbox", *shot, "press"]
        if row.get("stays"):
            steps += ["wait-dialog", "dump", f"click:{IDCANCEL}"]
        steps.append("wait-exit")
        run = self.session.drive(app / "Ravelix.exe", cwd, steps)
        self.assertIsNone(run.failure, f"{name}: {run.describe()}")

        self.check_boxes(run, row["boxes"], texts, name)
        if row.get("stays"):
            dump = run.one("dump")
            self.assertTrue(dump["visible"] and dump["enabled"], f"{name}: the dialog after the warning")
            ports = next(c for c in dump["controls"] if c["id"] == PORT_LIST)
            self.assertEqual(ports["sel"], row["port"], f"{name}: the port selection after the warning")
        self.assertEqual(run.one("exit")["code"], 0, name)
        self.assertFalse(run.one("end")["killed"], name)

        app_folder = self.session.win(app)
        self.assertEqual(self.session.calls(app),
                         [["MainA", "setupc.exe", c, app_folder] for c in [BUSYNAMES, LIST_CALL, *row["calls"]]],
                         f"{name}: the setup library's calls")
        self.assertEqual(self.session.rundll_calls(), [(SYSTEM_RUNDLL32, move(p)) for p in row["moved"]],
                         f"{name}: the rundll32 runs")
        settings = app / "VConfig.ini"
        self.assertEqual(settings.read_bytes() if settings.exists() else None, row["vconfig_after"],
                         f"{name}: VConfig.ini")
        self.assertEqual(self.session.read_win_ini(), row["win_ini_after"], f"{name}: win.ini")
        return run


class ChangeTest(ChangeRuns, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = cls.enterClassContext(harness.Session("change"))
        cls.session.install_rundll_recorder()

    def test_walk_through_port_and_type(self):
        s = self.session
        app, cwd = self.prepare("walk")
        files = {"calls.log": app / "setup-double" / "calls.log", "VConfig.ini": app / "VConfig.ini",
                 "win.ini": s.win_ini, "rundll32.log": s.prefix / "drive_c" / s.RUNDLL_LOG}

        def snapshot(label):
            folder = s.folder(f"walk-{label}")
            return [f"copy:{s.win(path)}|{s.win(folder / name)}" for name, path in files.items()], folder

        at_first_box, first = snapshot("first-box")
        at_second_box, second = snapshot("second-box")
        run = s.drive(app / "Ravelix.exe", cwd, [
            f"wait-dialog:{CAPTION}", f"select:{PORT_LIST}:6", f"select:{TYPE_LIST}:3", f"click:{IDOK}",
            "wait-msgbox", *at_first_box, "screenshot:@change-port-info", "press",
            "wait-msgbox", *at_second_box, "screenshot:@change-device-info", "press",
            "wait-exit",
        ]).check()

        boxes = run.of("msgbox")
        self.assertEqual([(b["caption"], b["text"], b["owner"]) for b in boxes], [
            ("Information", "Serivo Port is changed from COM5 to COM7.", "0x0"),
            ("Information", "VORTAN Serivo Device is changed.\r\n\r\nPlease reboot now.", "0x0"),
        ])
        self.assertEqual(run.one("exit")["code"], 0)
        self.assertFalse(run.one("end")["killed"], "the program did not end by itself")

        app_folder = s.win(app)
        self.assertEqual(s.calls(app), [
            ["MainA", "setupc.exe", "--output .\\__zur2ure__.txt busynames COM*", app_folder],
            ["MainA", "setupc.exe", "--output .\\__zur2ure__.txt list", app_folder],
            ["MainA", "setupc.exe", "--output .\\__zur2ure__.txt change CNCA0 PortName=COM7", app_folder],
            ["MainA", "setupc.exe", "--output .\\__zur2ure__.txt busynames COM*", app_folder],
            ["MainA", "setupc.exe", "--output .\\__zur2ure__.txt list", app_folder],
        ])
        settings = b"[Zur2Ure]\r\nComPortNum=7\r\nPrinterType=3\r\n"
        self.assertEqual((app / "VConfig.ini").read_bytes(), settings)
        self.assertEqual(s.rundll_calls(), [
            (SYSTEM_RUNDLL32, 'rundll32 printui.dll,PrintUIEntry /Xs /n "Counter" PortName "COM1:"'),
            (SYSTEM_RUNDLL32, 'rundll32 printui.dll,PrintUIEntry /Xs /n "Label" PortName "COM1:"'),
        ])
        win_ini = (b"[mail]\r\nmapi=1\r\n[ports]\r\nLPT1:=\r\nFILE:=\r\nCOM7:=9600,n,8,1\r\n"
                   b"[devices]\r\nOffice=winspool,LPT1:\r\n[PrinterPorts]\r\nCOM5:=winspool,15,45\r\n")
        self.assertEqual(s.read_win_ini(), win_ini)

        # The first box came before anything was changed; the second after all of it.
        self.assertEqual([r["exists"] for r in run.of("copied")], [True, False, True, False] + [True] * 4)
        first_calls = (first / "calls.log").read_bytes().decode(s.ansi).splitlines()
        self.assertEqual([c.split("|")[2] for c in first_calls], [BUSYNAMES, LIST_CALL])
        self.assertEqual((first / "win.ini").read_bytes(), WIN_INI)
        self.assertEqual((second / "calls.log").read_bytes(), files["calls.log"].read_bytes())
        self.assertEqual((second / "VConfig.ini").read_bytes(), settings)
        self.assertEqual((second / "win.ini").read_bytes(), win_ini)
        self.assertEqual((second / "rundll32.log").read_bytes(), files["rundll32.log"].read_bytes())
        # And the effects in between came in their order: settings, printers, win.ini, then the refresh.
        times = [files[n].stat().st_mtime_ns for n in ("VConfig.ini", "rundll32.log", "win.ini", "calls.log")]
        self.assertEqual(times, sorted(times), "settings, printers, win.ini and the refresh out of order")

        for name in ("change-port-info", "change-device-info"):
            self.assertGreater(len(harness.bmp_pixels(run.screenshots[name].bmp)[2]), 8, f"{name} looks blank")

    def test_other_outcomes(self):
        long_name = "Long " + "n" * 295
        stored_2 = b"[Zur2Ure]\r\nPrinterType=2\r\n"
        swapped = ports_swapped(WIN_INI, 5, 7)
        rows = [
            {"name": "type only", "vconfig": stored_2, "type": 0,
             "boxes": [info(ENGLISH_TEXTS["device"])], "calls": [BUSYNAMES, LIST_CALL], "moved": [],
             "vconfig_after": b"[Zur2Ure]\r\nPrinterType=0\r\n", "win_ini_after": WIN_INI},
            {"name": "nothing changed", "vconfig": stored_2,
             "boxes": [], "calls": [], "moved": [], "vconfig_after": stored_2, "win_ini_after": WIN_INI},
            {"name": "port in use", "vconfig": stored_2, "port": 2, "type": 4, "stays": True,
             "boxes": [warning("COM3 is already used, Please select another port.")], "calls": [], "moved": [],
             "vconfig_after": stored_2, "win_ini_after": WIN_INI},
            {"name": "rename does not take", "vconfig": stored_2, "port": 6, "fixtures": {"ignore-change": ""},
             "boxes": [info("Serivo Port is changed from COM5 to COM7."),
                       warning("Serivo Port could not be changed to COM7 !!!")],
             "calls": [rename(7), BUSYNAMES, LIST_CALL], "moved": ["Counter", "Label"],
             "vconfig_after": stored_2 + b"ComPortNum=7\r\n", "win_ini_after": swapped},
            {"name": "planted rundll32", "port": 6, "plant": True,
             "boxes": [info("Serivo Port is changed from COM5 to COM7.")],
             "calls": [rename(7), BUSYNAMES, LIST_CALL], "moved": ["Counter", "Label"],
             "vconfig_after": b"[Zur2Ure]\r\nComPortNum=7\r\n", "win_ini_after": swapped},
            {"name": "printer names", "port": 6,
             "printers": [('Quote"d', "COM5:"), (long_name, "COM5:"), ("Café", "com5:"), ("Counter", "COM5:")],
             "boxes": [info("Serivo Port is changed from COM5 to COM7.")],
             "calls": [rename(7), BUSYNAMES, LIST_CALL],
             "moved": ["Café", "Counter", long_name],  # Wine lists printers sorted by name
             "vconfig_after": b"[Zur2Ure]\r\nComPortNum=7\r\n", "win_ini_after": swapped},
        ]
        for row in rows:
            with self.subTest(row=row["name"]):
                self.run_row(row)


class KoreanChangeTest(ChangeRuns, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = cls.enterClassContext(harness.Session("change-ko", locale=harness.KOREAN))
        cls.session.install_rundll_recorder()

    def test_information_boxes_are_korean_and_warnings_english(self):
        run = self.run_row({
            "name": "korean", "port": 6, "type": 3, "fixtures": {"ignore-change": ""},
            "printers": [("영수증 프린터", "COM5:"), ("Label", "com5:"), ("Office", "LPT1:")],
            "boxes": [info("Serivo Port가 COM5에서 COM7로 변경되었습니다."),
                      warning("Serivo Port could not be changed to COM7 !!!"),
                      info("VORTAN Serivo Device가 변경되었습니다.\r\n\r\n컴퓨터를 재시작 하십시오.")],
            "calls": [rename(7), BUSYNAMES, LIST_CALL], "moved": ["Label", "영수증 프린터"],
            "vconfig_after": b"[Zur2Ure]\r\nComPortNum=7\r\nPrinterType=3\r\n",
            "win_ini_after": ports_swapped(WIN_INI, 5, 7), "screenshots": "change-korean",
        }, texts=KOREAN_TEXTS)
        for i in (1, 2, 3):
            shot = run.screenshots[f"change-korean-{i}"]
            self.assertGreater(len(harness.bmp_pixels(shot.bmp)[2]), 8, f"box {i}'s picture looks blank")


if __name__ == "__main__":
    unittest.main(verbosity=2)
