"""The two lists and the captions through the real combo boxes, in English and in Korean, and the Change
button following the port selection."""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import harness  # noqa: E402

LIST = "       CNCA0 PortName=COM5\r\n       CNCB0 PortName=-\r\n"
BUSY = "COM1\r\nCOM3\r\nCOM5\r\n"
TYPES = ["USB / POS Printer [QD-Rxx]", "USB / Label Printer [QD-M1x]", "USB / Label Printer [QD-M2x]",
         "USB / Label Printer [QD-M3x]", "USB / Portable Printer [QD-Wxx]"]

LANGUAGES = {
    harness.ENGLISH: dict(caption="VORTAN Serivo Port Information", marker="Already used",
                          texts={1: "Change the port", 2: "E&xit", 1000: "Serivo Port : ", 1003: "Printer Type : "}),
    harness.KOREAN: dict(caption="VORTAN 가상 COM 포트 정보", marker="사용 중",
                         texts={1: "포트 변경", 2: "종료", 1000: "설정된 가상 COM 포트 : ",
                                1003: "연결된 프린터 종류 : "}),
}


def control(dump, cid):
    return next(c for c in dump["controls"] if c["id"] == cid)


class ListsTest(unittest.TestCase):
    def run_in(self, locale, shot):
        with harness.Session("lists-" + locale.split("_")[0], locale=locale) as s:
            app = s.app("app", harness.ravelix_exe(s.cross_build), harness.setup_double_dll(s.cross_build),
                        {"list.txt": LIST, "busynames.txt": BUSY})
            (app / "VConfig.ini").write_bytes(b"[Zur2Ure]\r\nComPortNum=5\r\nPrinterType=4\r\n")
            return s.drive(app / "Ravelix.exe", s.folder("cwd"), [
                "wait-dialog", "wait-idle", "dump", f"screenshot:@{shot}",
                "select:1001:6", "dump",   # another port
                "select:1001:4", "dump",   # the current port again
                "select:1002:1", "dump",   # a printer type: the button stays as it is
                "select:1001:2", "dump",   # a port in use: allowed here, refused when applied
                "click:2", "wait-exit",
            ]).check()

    def test_lists_captions_and_the_change_button_in_each_language(self):
        for locale, language in LANGUAGES.items():
            with self.subTest(locale=locale):
                run = self.run_in(locale, "lists-" + locale.split("_")[0])
                first, other, current, typed, in_use = run.of("dump")

                self.assertEqual(first["caption"], language["caption"])
                for cid, text in language["texts"].items():
                    self.assertEqual(control(first, cid)["text"], text, f"control {cid}")
                ports = control(first, 1001)
                expected = [f"COM{n} {language['marker']}" if n in (1, 3) else f"COM{n}" for n in range(1, 256)]
                self.assertEqual(ports["items"], expected)
                self.assertEqual(ports["sel"], 4)
                types = control(first, 1002)
                self.assertEqual(types["items"], TYPES)
                self.assertEqual(types["sel"], 4)

                self.assertTrue(control(first, 1)["enabled"])
                self.assertTrue(control(other, 1)["enabled"])
                self.assertFalse(control(current, 1)["enabled"])
                self.assertFalse(control(typed, 1)["enabled"])
                self.assertTrue(control(in_use, 1)["enabled"])
                self.assertEqual(control(in_use, 1001)["sel"], 2)
                self.assertEqual(run.one("exit")["code"], 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
