"""The Windows binaries as shipped: 32-bit GUI program, static runtime, MainA bound from SETUP.dll, and the
resources (dialog templates, icon, menu text, manifest, version block) as the program's users get them."""
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from pe_resources import PeFile, parse_dialog_ex, parse_version_strings  # noqa: E402

BUILD = os.environ.get("RAVELIX_WIN32_DIR", "build/win32")
EXE = os.path.join(BUILD, "win32", "Ravelix.exe")
DLL = os.path.join(BUILD, "setupdll", "SETUP.dll")

RT_ICON, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_DIALOG, RT_MANIFEST = 3, 6, 14, 16, 5, 24
WS_POPUP, WS_VISIBLE, WS_CAPTION, WS_SYSMENU = 0x80000000, 0x10000000, 0x00C00000, 0x00080000
WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00040000, 0x00020000, 0x00010000
WS_GROUP, WS_TABSTOP, WS_VSCROLL = 0x00020000, 0x00010000, 0x00200000
DS_MODALFRAME, DS_SETFONT, DS_CENTER = 0x80, 0x40, 0x800
BS_DEFPUSHBUTTON, SS_RIGHT, SS_ICON, SS_NOPREFIX = 0x1, 0x2, 0x3, 0x80
CBS_DROPDOWNLIST, CBS_SORT = 0x3, 0x100
BUTTON, STATIC, COMBOBOX = 0x80, 0x82, 0x85


class Binaries(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.exe = PeFile(EXE)
        cls.dll = PeFile(DLL)
        cls.res = cls.exe.resources()

    def resource(self, rtype, name):
        found = {lang: data for (t, n, lang), data in self.res.items() if t == rtype and n == name}
        self.assertEqual(len(found), 1, f"resource {rtype}/{name}")
        return found.popitem()

    def test_a_32_bit_gui_program_with_the_runtime_linked_in(self):
        self.assertEqual(self.exe.machine, 0x14C)
        self.assertEqual(self.exe.magic, 0x10B)
        self.assertEqual(self.exe.subsystem, 2)
        dlls = {name.lower() for name in self.exe.imports()}
        for dll in dlls:
            self.assertNotRegex(dll, r"libgcc|libstdc|libwinpthread|mingw", "needs a MinGW runtime DLL")
        self.assertEqual(dlls - {"kernel32.dll", "user32.dll", "msvcrt.dll", "winspool.drv", "comctl32.dll",
                                 "gdi32.dll", "advapi32.dll", "setup.dll"}, set())

    def test_main_a_is_bound_by_its_plain_name(self):
        self.assertEqual(self.exe.imports()["SETUP.dll"], ["MainA"])
        self.assertIn("MainA", self.dll.exports())
        self.assertEqual(self.dll.machine, 0x14C)

    def check_template(self, dialog, expected):
        for key in ("x", "y", "cx", "cy", "caption"):
            self.assertEqual(dialog[key], expected[key], key)
        self.assertEqual(dialog["font"], (8, "MS Sans Serif", 1))
        self.assertEqual(len(dialog["controls"]), len(expected["controls"]))
        for got, (cid, cls, text, x, y, cx, cy, must, must_not) in zip(dialog["controls"], expected["controls"]):
            where = f"control {cid} {text!r}"
            self.assertEqual((got["id"], got["cls"], got["text"]), (cid, cls, text), where)
            self.assertEqual((got["x"], got["y"], got["cx"], got["cy"]), (x, y, cx, cy), where)
            self.assertEqual(got["style"] & must, must, where)
            self.assertEqual(got["style"] & must_not, 0, where)

    def test_main_dialog_template(self):
        lang, data = self.resource(RT_DIALOG, 102)
        dialog = parse_dialog_ex(data)
        style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
        self.assertEqual(dialog["style"] & style, style)
        self.assertEqual(dialog["style"] & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_CENTER), 0)
        self.assertEqual(dialog["exstyle"] & 0x40000, 0x40000)  # own taskbar button
        combo = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
        self.check_template(dialog, dict(x=0, y=0, cx=219, cy=118, caption="VORTAN Serivo Port Information", controls=[
            (1, BUTTON, "Change the port", 18, 76, 83, 23, BS_DEFPUSHBUTTON | WS_TABSTOP, 0),
            (1000, STATIC, "Serivo Port : ", 16, 23, 79, 8, SS_RIGHT | WS_GROUP, 0),
            (1001, COMBOBOX, "", 97, 20, 103, 61, combo, CBS_SORT),
            (1002, COMBOBOX, "", 97, 46, 103, 61, combo, CBS_SORT),
            (1003, STATIC, "Printer Type : ", 16, 48, 79, 8, SS_RIGHT | WS_GROUP, 0),
            (2, BUTTON, "E&xit", 116, 76, 83, 23, BS_DEFPUSHBUTTON | WS_TABSTOP, 0),
        ]))

    def test_about_box_template(self):
        lang, data = self.resource(RT_DIALOG, 100)
        dialog = parse_dialog_ex(data)
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
        self.assertEqual(dialog["style"] & style, style)
        self.assertEqual(dialog["style"] & (WS_VISIBLE | DS_CENTER), 0)
        legal = dialog["controls"][2]["text"]
        self.assertTrue(legal.strip(), "a legal notice")
        self.check_template(dialog, dict(x=0, y=0, cx=235, cy=55, caption="About Ravelix", controls=[
            (-1, STATIC, 128, 11, 17, 20, 20, SS_ICON, 0),
            (-1, STATIC, "VORTAN Ravelix Version 1.1", 40, 10, 119, 8, SS_NOPREFIX | WS_GROUP, 0),
            (-1, STATIC, legal, 40, 25, 119, 8, WS_GROUP, 0),
            (1, BUTTON, "OK", 178, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0),
        ]))

    def test_icon_is_one_32_by_32_image_in_256_colours_tagged_korean(self):
        lang, group = self.resource(RT_GROUP_ICON, 128)
        self.assertEqual(lang, 0x0412)
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((kind, count), (1, 1))
        width, height, colours, _, planes, bits, size, image_id = struct.unpack_from("<BBBBHHIH", group, 6)
        self.assertEqual((width, height, bits), (32, 32, 8))
        _, image = self.resource(RT_ICON, image_id)
        header = struct.unpack_from("<IiiHH", image, 0)
        self.assertEqual(header, (40, 32, 64, 1, 8))

    def test_system_menu_text(self):
        _, block = self.resource(RT_STRING, 101 // 16 + 1)
        o = 0
        for _ in range(101 % 16):
            o += 2 + 2 * struct.unpack_from("<H", block, o)[0]
        n = struct.unpack_from("<H", block, o)[0]
        self.assertEqual(block[o + 2:o + 2 + 2 * n].decode("utf-16-le"), "&About Ravelix...")

    def test_manifest_asks_for_elevation_and_common_controls_6(self):
        _, manifest = self.resource(RT_MANIFEST, 1)
        text = manifest.decode("utf-8")
        self.assertRegex(text, r'<assemblyIdentity version="1.0.0.0" processorArchitecture="X86" name="Ravelix" type="win32"/>')
        self.assertIn("<description>Ravelix</description>", text)
        self.assertRegex(text, r'<requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>')
        self.assertRegex(text, r'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"\s+processorArchitecture="X86" '
                               r'publicKeyToken="6595b64144ccf1df" language="\*"')

    def test_version_block(self):
        _, version = self.resource(RT_VERSION, 1)
        fixed = version.index(struct.pack("<I", 0xFEEF04BD))
        sig, _, fv_ms, fv_ls, pv_ms, pv_ls, mask, flags, os_, ftype = struct.unpack_from("<10I", version, fixed)
        self.assertEqual((fv_ms, fv_ls, pv_ms, pv_ls), (0x10000, 0x1, 0x10000, 0x1))
        self.assertEqual((os_, ftype), (0x4, 0x1))
        self.assertIn("040904b0".encode("utf-16-le"), version)
        strings = parse_version_strings(version)
        expected = {"FileDescription": "Ravelix MFC Application", "InternalName": "Ravelix",
                    "OriginalFilename": "Ravelix.EXE", "ProductName": "Ravelix Application",
                    "FileVersion": "1, 0, 0, 1", "ProductVersion": "1, 0, 0, 1"}
        for key, value in expected.items():
            self.assertEqual(strings.get(key), value, key)
        for empty in ("Comments", "CompanyName", "LegalTrademarks", "PrivateBuild", "SpecialBuild"):
            self.assertEqual(strings.get(empty), "", empty)


if __name__ == "__main__":
    unittest.main(verbosity=2)
