// Reading the capture file: which COM numbers are in use and which one the virtual port carries.
#include <set>

#include "app/ComPortDlg.h"
#include "portsetup/CaptureFile.h"
#include "tests/unit/Program.h"

namespace {

std::set<int> UsedPorts(const CComPortDlg& dlg) {
    std::set<int> used;
    for (int n = 0; n < 256; ++n)
        if (dlg.m_UsedCOM[n]) used.insert(n);
    return used;
}

struct BusyCase {
    const char* name;
    std::string capture;
    std::set<int> used;
};

TEST(CaptureFile, UsedPortsFromBusyNames) {
    const std::string longLine = std::string(252, 'x') + "COM9" + std::string(44, 'y') + "\n";  // 300 + LF
    const std::string partTwo = std::string(255, 'x') + "COM12\n";  // the second part of the line starts with COM12
    const BusyCase cases[] = {
        {"one name a line, CR LF", "COM1\r\nCOM3\r\nCOM4\r\n", {1, 3, 4}},
        {"no final line feed", "COM2\nCOM8", {2, 8}},
        {"COM0 and COM256 are not ports", "COM0\nCOM256\nCOM255\n", {255}},
        {"two names on a line mark neither", "COM3 COM4\n", {}},
        {"leading zeros and a plus sign", "COM007\nCOM+5\nCOM-5\n", {5, 7}},
        {"only the first COM of a line counts", "COMx COM1\nxCOM2\n", {2}},
        {"lower case is not found", "com6\nCom7\n", {}},
        {"a tab or high byte ends the text", "COM1\tx\nCOM2\xA1\xA2\n", {1, 2}},
        {"a NUL ends the line's text", std::string("COM1\0COM2\n", 10), {1}},
        {"a value beyond 32 bits is not wrapped to COM5", "COM4294967301\n", {}},
        {"a 300-character line arrives in two parts", longLine, {}},
        {"the second part of a long line is a line of its own", partTwo, {12}},
        {"empty file", "", {}},
    };
    for (const BusyCase& c : cases) {
        Machine m;
        m.setupAnswers["busynames"] = c.capture;
        CComPortDlg dlg;
        ResetOutputFile();
        dlg.m_UsedCOM[200] = 1;  // whatever it held before is cleared once the file opens
        EXPECT_EQ(dlg.QueryUsedPorts(), 1) << c.name;
        EXPECT_EQ(UsedPorts(dlg), c.used) << c.name;
        EXPECT_TRUE(m.boxes.empty()) << c.name;
    }
}

struct ListCase {
    const char* name;
    std::string capture;
    int now;
};

TEST(CaptureFile, CurrentPortFromList) {
    const ListCase cases[] = {
        {"typical", kTypicalList, 5},
        {"a dash instead of a port", "CNCA0 PortName=-\nCNCB0 PortName=COM9\n", 0},
        {"COM in a later parameter", "CNCA0 EmuBR=yes,PortName=COM7\n", 7},
        {"a further parameter after the number", "CNCA0 PortName=COM7,EmuBR=yes\n", 0},
        {"the first usable line wins", "CNCA0 PortName=COM3\nCNCA0 PortName=COM4\n", 3},
        {"an invalid number is skipped", "CNCA0 PortName=COM0\nCNCA0 PortName=COM300\nCNCA0 PortName=COM8\n", 8},
        {"CNCA0 inside a longer word", "xCNCA0y PortName=COM6\n", 6},
        {"lower case is not found", "cnca0 PortName=COM6\n", 0},
        {"no = after CNCA0", "CNCA0 PortName COM6\n", 0},
        {"CR LF", "CNCA0 PortName=COM12\r\n", 12},
        {"no final line feed", "CNCA0 PortName=COM11", 11},
        {"a value beyond 32 bits is not COM5", "CNCA0 PortName=COM4294967301\n", 0},
        {"two to the 32 plus 5 then a real line", "CNCA0 PortName=COM4294967301\nCNCA0 PortName=COM9\n", 9},
        {"empty", "", 0},
    };
    for (const ListCase& c : cases) {
        Machine m;
        m.setupAnswers["list"] = c.capture;
        CComPortDlg dlg;
        ResetOutputFile();
        dlg.nNowCOM = 77;
        EXPECT_EQ(dlg.QueryCurrentPort(), c.now > 0 ? 1 : 0) << c.name;
        EXPECT_EQ(dlg.nNowCOM, c.now) << c.name;
    }
}

TEST(CaptureFile, EachCommandDeletesTheOldCaptureFileFirstAndPassesItsExactCommandLine) {
    Machine m;
    m.files[kCapture] = "CNCA0 PortName=COM9\n";  // stale: must not be read as the answer
    m.setupAnswers.erase("list");
    CComPortDlg dlg;
    ResetOutputFile();
    dlg.QueryCurrentPort();
    EXPECT_EQ(dlg.nNowCOM, 0);
    ASSERT_GE(m.journal.size(), 2u);
    EXPECT_EQ(m.journal[0], "delete: .\\__zur2ure__.txt");
    EXPECT_EQ(m.journal[1], "setup: setupc.exe --output .\\__zur2ure__.txt list");

    dlg.QueryUsedPorts();
    RenameVirtualPort(42);
    const std::vector<std::string> expected = {
        "--output .\\__zur2ure__.txt list",
        "--output .\\__zur2ure__.txt busynames COM*",
        "--output .\\__zur2ure__.txt change CNCA0 PortName=COM42",
    };
    EXPECT_EQ(m.setupCalls, expected);
    EXPECT_STREQ(g_szCommand, "--output .\\__zur2ure__.txt change CNCA0 PortName=COM42");
    EXPECT_EQ(m.Entries("delete:").size(), 3u);
    EXPECT_TRUE(m.Traced("Enter MainA"));
    EXPECT_TRUE(m.Traced("Leave MainA"));
}

TEST(CaptureFile, MissingFileWarnsAndKeepsTheInUseTable) {
    Machine m;
    m.setupAnswers.clear();
    CComPortDlg dlg;
    ResetOutputFile();
    dlg.m_UsedCOM[3] = 1;
    dlg.nNowCOM = 4;
    EXPECT_EQ(dlg.QueryUsedPorts(), 0);
    EXPECT_EQ(UsedPorts(dlg), std::set<int>{3});
    EXPECT_EQ(dlg.QueryCurrentPort(), 0);
    EXPECT_EQ(dlg.nNowCOM, 0);
    ASSERT_EQ(m.boxes.size(), 2u);
    for (const auto& box : m.boxes) {
        EXPECT_EQ(box.text, "'.\\__zur2ure__.txt' read fail or not exist !!!");
        EXPECT_EQ(box.flags, seam::mb::IconExclamation);
    }
}

TEST(CaptureFile, LineReaderSplitsLongLinesLikeTheLibraryLineRead) {
    Machine m;
    m.files["f"] = std::string(300, 'a') + "\nb";
    LineReader reader(m.OpenForReading("f"));
    char line[kCaptureLineBuffer];
    ASSERT_TRUE(reader.ReadLine(line, sizeof line));
    EXPECT_EQ(std::string(line).size(), 255u);
    ASSERT_TRUE(reader.ReadLine(line, sizeof line));
    EXPECT_EQ(std::string(line), std::string(45, 'a') + "\n");
    ASSERT_TRUE(reader.ReadLine(line, sizeof line));
    EXPECT_EQ(std::string(line), "b");
    EXPECT_FALSE(reader.ReadLine(line, sizeof line));
}

}  // namespace
