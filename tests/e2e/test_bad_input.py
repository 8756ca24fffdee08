"""Bad input from every side, one run each: capture files of random bytes, of 1 MB without a line feed, empty,
with NULs and control bytes; a setup library that writes nothing; VConfig.ini with garbage, binary bytes, sections and keys
of others; win.ini with other sections and ports; printers with odd names and ports.

In every run the user picks a port and presses Change. The program must show the documented boxes and no
others, learn from the capture files what they really say, move exactly the printers on the old port, and
leave every byte it had no business with as it was: the expected files are the fixtures with only the
program's keys changed (harness.profile_with). Wine rewrites a profile file without blank lines and without
spaces around "=", so the fixtures are in that form already.
"""
import random
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import harness  # noqa: E402

CAPTION = "VORTAN Serivo Port Information"
LIST = b"       CNCA0 PortName=COM5\r\n       CNCB0 PortName=-\r\n"
BUSY = b"COM1\r\nCOM3\r\nCOM5\r\n"
PRINTERS = [("Counter", "COM5:"), ("Label", "com5:"), ("Office", "LPT1:"), ("Pair", "COM5:,COM6:")]
WIN_INI = b"[mail]\r\nmapi=1\r\n[ports]\r\nLPT1:=\r\nCOM5:=9600,n,8,1\r\nFILE:=\r\n"
SYSTEM_RUNDLL32 = "C:\\windows\\system32\\rundll32.exe"
PORT_LIST, TYPE_LIST, IDOK = 1001, 1002, 1
READ_FAIL = "'.\\__zur2ure__.txt' read fail or not exist !!!"
DEVICE_CHANGED = "VORTAN Serivo Device is changed.\r\n\r\nPlease reboot now."


def random_bytes(size, number):
    """The same bytes every run, with no "COM" in them (so nothing in them names a port)."""
    data = random.Random(number).randbytes(size)
    if b"COM" in data or b"CNCA0" in data:
        raise AssertionError(f"pick another number than {number}: its bytes name a port")
    return data


def setup_call(command):
    return "--output .\\__zur2ure__.txt " + command


def move(printer):
    return f'rundll32 printui.dll,PrintUIEntry /Xs /n "{printer}" PortName "COM1:"'


def case(name, *, capture=None, fixtures=None, vconfig=None, win_ini=WIN_INI, printers=PRINTERS,
         warnings_at_start=0, learnt=5, in_use=(1, 3), stored_type=0, port=7, type_=3, rename_takes=True,
         moved=None):
    """One row: the machine before, and everything that must come of the user choosing COM<port> and
    printer type position type_ (None: left as it is) and pressing Change.

    capture: (list.txt, busynames.txt) for the setup library, None for the usual ones; learnt, in_use and
    stored_type: what the dialog must show; moved: the printers expected to move (default: those of the
    usual printers on COM<learnt>:)."""
    if capture is None:
        capture = (LIST, BUSY)
    fixtures = {**({"list.txt": capture[0]} if capture[0] is not None else {}),
                **({"busynames.txt": capture[1]} if capture[1] is not None else {}),
                **(fixtures or {})}
    type_changes = type_ is not None and type_ != stored_type
    boxes = [("info", f"Serivo Port is changed from COM{learnt} to COM{port}.")]
    if capture[1] is None:
        boxes.append(("warning", READ_FAIL))  # no answer to busynames after the change either
    if not rename_takes:
        if capture[0] is None:
            boxes.append(("warning", READ_FAIL))
        boxes.append(("warning", f"Serivo Port could not be changed to COM{port} !!!"))
    if type_changes:
        boxes.append(("info", DEVICE_CHANGED))
    vconfig_after = harness.profile_with(vconfig or b"", "Zur2Ure", "ComPortNum", str(port))
    if type_changes:
        vconfig_after = harness.profile_with(vconfig_after, "Zur2Ure", "PrinterType", str(type_))
    win_ini_after = harness.profile_with(win_ini, "ports", f"COM{learnt}:", None)
    win_ini_after = harness.profile_with(win_ini_after, "ports", f"COM{port}:", "9600,n,8,1")
    if moved is None:
        moved = [n for n, p in printers if p.upper() == f"COM{learnt}:"]
    return {
        "name": name, "fixtures": fixtures, "vconfig": vconfig, "win_ini": win_ini, "printers": printers,
        "warnings_at_start": warnings_at_start, "learnt": learnt, "in_use": set(in_use),
        "stored_type": stored_type, "port": port, "type": type_,
        "boxes": boxes, "moved": moved, "vconfig_after": vconfig_after, "win_ini_after": win_ini_after,
        "calls": [setup_call(c) for c in ("busynames COM*", "list", f"change CNCA0 PortName=COM{port}",
                                           "busynames COM*", "list")],
    }


class BadInputTest(unittest.TestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls.session = cls.enterClassContext(harness.Session("bad_input"))
        cls.session.install_rundll_recorder()

    def run_case(self, c):
        s, name = self.session, c["name"]
        s.set_printers(c["printers"])
        s.write_win_ini(c["win_ini"])
        s.clear_rundll_calls()
        app = s.app(name.replace(" ", "-"), harness.ravelix_exe(s.cross_build),
                    harness.setup_double_dll(s.cross_build), c["fixtures"])
        if c["vconfig"] is not None:
            (app / "VConfig.ini").write_bytes(c["vconfig"])
        steps = ["msgbox"] * c["warnings_at_start"] + [f"wait-dialog:{CAPTION}", "dump",
                                                      f"select:{PORT_LIST}:{c['port'] - 1}"]
        if c["type"] is not None:
            steps.append(f"select:{TYPE_LIST}:{c['type']}")
        steps += [f"click:{IDOK}", *["msgbox"] * len(c["boxes"]), "wait-exit"]
        run = s.drive(app / "Ravelix.exe", s.folder(name.replace(" ", "-") + "-cwd"), steps, limit=60)
        self.assertIsNone(run.failure, f"{name}: {run.describe()}")

        boxes = [("info" if b["owner"] == "0x0" and b["caption"] == "Information" else
                  "warning" if b["owner_caption"] == CAPTION and b["caption"] == "Ravelix" else
                  f"{b['caption']!r} owned by {b['owner_caption']!r}", b["text"]) for b in run.of("msgbox")]
        self.assertEqual(boxes, [("warning", READ_FAIL)] * c["warnings_at_start"] + c["boxes"],
                         f"{name}: the message boxes")

        dump = run.one("dump")
        ports = next(x for x in dump["controls"] if x["id"] == PORT_LIST)
        types = next(x for x in dump["controls"] if x["id"] == TYPE_LIST)
        self.assertEqual(ports["items"], [f"COM{n} Already used" if n in c["in_use"] else f"COM{n}"
                                          for n in range(1, 256)], f"{name}: the port list")
        self.assertEqual(ports["sel"], c["learnt"] - 1, f"{name}: the port the dialog shows")
        self.assertEqual(types["sel"], c["stored_type"], f"{name}: the printer type the dialog shows")
        self.assertEqual(run.one("exit")["code"], 0, name)

        app_folder = s.win(app)
        self.assertEqual([call[2:] for call in s.calls(app)], [[x, app_folder] for x in c["calls"]],
                         f"{name}: the setup library's calls")
        self.assertEqual(s.rundll_calls(), [(SYSTEM_RUNDLL32, move(p)) for p in c["moved"]],
                         f"{name}: the rundll32 runs")
        self.assertEqual((app / "VConfig.ini").read_bytes(), c["vconfig_after"], f"{name}: VConfig.ini")
        self.assertEqual(s.read_win_ini(), c["win_ini_after"], f"{name}: win.ini")

    def test_bad_input(self):
        long_name = "Long " + "n" * 295
        odd_printers = [('"Quoted"', "COM5:"), ("Café Kasse", "COM5:"), ("Comma, and spaces", "COM5:"),
                        ("Fifty", "COM50:"), (long_name, "com5:"), ("No colon", "COM5"), ("Pair", "COM5:,COM6:"),
                        ('Quote" inside', "COM5:"), ("Spaced", " COM5:"), ("Trailing", "COM5: ")]
        cases = [
            case("random bytes", capture=(random_bytes(4096, 1), random_bytes(4096, 2)), learnt=0, in_use=()),
            case("1 MB without a line feed",
                 capture=(b"CNCA0 PortName=COM" + b"7" * (1 << 20), b"COM" + b"3" * (1 << 20)),
                 learnt=0, in_use=()),
            case("empty capture files", capture=(b"", b""), learnt=0, in_use=()),
            # A NUL, another control byte or a byte from 0x80 up ends a line's text: COM1, COM9 and COM10
            # are in use, the line that starts with a NUL names nothing, so COM3 is free.
            case("NULs and control bytes in the capture files",
                 capture=(b"\0\0\0\r\n       CNCA0 PortName=COM5\0\x01junk\r\n",
                          b"COM1\0junk\r\n\0COM3\r\nCOM5\r\nCOM9\x01junk\r\nCOM10\xff\r\n"),
                 in_use=(1, 9, 10), port=3),
            case("library writes nothing", capture=(None, None), fixtures={"ignore-change": ""},
                 warnings_at_start=2, learnt=0, in_use=(), rename_takes=False),
            case("VConfig.ini with garbage and others' keys",
                 vconfig=(b"[Zur2Ure]\r\nPrinterType=x!\r\nComPortNum=junk\r\nMode=fast\r\n"
                          b"[Other]\r\nPrinterType=4\r\nComPortNum=9\r\n;comment\r\nno equals sign\r\n")),
            case("VConfig.ini with binary bytes",
                 vconfig=(b"[Zur2Ure]\r\nPrinterType=2\x01\xff\r\n[Bin\x85\xff]\r\n"
                          b"k=\x1b[0m\x80\x81\x8d\x8f\x90\x9d\xa0\xe9\xfe\xff\r\n\x7f\xc3\xa9=\x02x\r\n"),
                 stored_type=2, type_=None),
            case("win.ini with other sections and ports",
                 win_ini=(b"[mail]\r\nmapi=1\r\n[ports]\r\nLPT1:=\r\ncom5:=9600,n,8,1\r\nCOM55:=\r\nCOM5=\r\n"
                          b"COM7:=19200,e,7,2\r\nFILE:=\r\n[PrinterPorts]\r\nCOM5:=winspool,15,45\r\n"
                          b"[devices]\r\nOffice=winspool,LPT1:\r\n;COM5:=comment\r\n")),
            case("win.ini without a ports section", win_ini=b"[mail]\r\nmapi=1\r\n"),
            case("printers with odd names and ports", printers=odd_printers,
                 moved=["Café Kasse", "Comma, and spaces", long_name]),  # Wine lists them sorted by name
        ]
        for c in cases:
            with self.subTest(case=c["name"]):
                self.run_case(c)


if __name__ == "__main__":
    unittest.main(verbosity=2)
