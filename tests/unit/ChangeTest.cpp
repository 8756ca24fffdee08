// Pressing "Change the port": every outcome, with its effects in order.
#include "tests/unit/Program.h"

namespace {

const std::string kList = "setup: setupc.exe --output .\\__zur2ure__.txt list";
const std::string kBusy = "setup: setupc.exe --output .\\__zur2ure__.txt busynames COM*";
std::string Rename(int n) { return "setup: setupc.exe --output .\\__zur2ure__.txt change CNCA0 PortName=COM" + std::to_string(n); }
std::string Info(const std::string& text) { return "info: Information: " + text; }
std::string Moved(const std::string& printer) {
    return "run: rundll32 printui.dll,PrintUIEntry /Xs /n \"" + printer + "\" PortName \"COM1:\"";
}
const std::string kRestart = Info("VORTAN Serivo Device is changed.\r\n\r\nPlease reboot now.");
const std::string kClose = "end dialog: 1";

struct ChangeCase {
    const char* name;
    std::string list;               // the current port as the library reports it at start
    const char* storedType;         // "PrinterType" in the settings file, null for none
    int port, type;                 // the user's selections (positions; -1 for none)
    std::vector<std::string> effects;  // after the two start-up queries
};

TEST(Change, EveryOutcomeHasItsEffectsInOrder) {
    const std::vector<FakePlatform::Printer> printers = {
        {"Counter", "COM5:"}, {"Label", "com5:"}, {"Office", "LPT1:"}, {"Pair", "COM5:,COM6:"}, {"Old", "COM1:"}};
    const ChangeCase cases[] = {
        {"nothing changed", kTypicalList, "2", 4, 2, {kClose}},
        {"port changed",
         kTypicalList, "2", 6, 2,
         {Info("Serivo Port is changed from COM5 to COM7."), "ini: .\\VConfig.ini [Zur2Ure] ComPortNum=7", Rename(7),
          Moved("Counter"), Moved("Label"), "profile: [ports] remove COM5:", "broadcast: ports",
          "profile: [ports] add COM7:=9600,n,8,1", "broadcast: ports", kBusy, kList, kClose}},
        {"port and type changed",
         kTypicalList, "2", 6, 4,
         {Info("Serivo Port is changed from COM5 to COM7."), "ini: .\\VConfig.ini [Zur2Ure] ComPortNum=7", Rename(7),
          "ini: .\\VConfig.ini [Zur2Ure] PrinterType=4", Moved("Counter"), Moved("Label"),
          "profile: [ports] remove COM5:", "broadcast: ports", "profile: [ports] add COM7:=9600,n,8,1",
          "broadcast: ports", kBusy, kList, kRestart, kClose}},
        {"type only", kTypicalList, "2", 4, 0, {"ini: .\\VConfig.ini [Zur2Ure] PrinterType=0", kBusy, kList, kRestart, kClose}},
        {"stored -1, nothing selected", kTypicalList, "-1", 4, -1, {kClose}},
        {"stored 7, nothing selected", kTypicalList, "7", 4, -1,
         {"ini: .\\VConfig.ini [Zur2Ure] PrinterType=-1", kBusy, kList, kRestart, kClose}},
        {"stored -1, another port",
         kTypicalList, "-1", 7, -1,
         {Info("Serivo Port is changed from COM5 to COM8."), "ini: .\\VConfig.ini [Zur2Ure] ComPortNum=8", Rename(8),
          Moved("Counter"), Moved("Label"), "profile: [ports] remove COM5:", "broadcast: ports",
          "profile: [ports] add COM8:=9600,n,8,1", "broadcast: ports", kBusy, kList, kClose}},
        {"current port not learnt",
         "CNCA0 PortName=-\r\n", nullptr, 5, 0,
         {Info("Serivo Port is changed from COM0 to COM6."), "ini: .\\VConfig.ini [Zur2Ure] ComPortNum=6", Rename(6),
          "profile: [ports] remove COM0:", "broadcast: ports", "profile: [ports] add COM6:=9600,n,8,1",
          "broadcast: ports", kBusy, kList, kClose}},
        {"old port COM1",
         "CNCA0 PortName=COM1\r\n", "0", 6, 0,
         {Info("Serivo Port is changed from COM1 to COM7."), "ini: .\\VConfig.ini [Zur2Ure] ComPortNum=7", Rename(7),
          Moved("Old"), "profile: [ports] remove COM1:", "broadcast: ports", "profile: [ports] add COM7:=9600,n,8,1",
          "broadcast: ports", kBusy, kList, kClose}},
        {"port in use", kTypicalList, "0", 2, 0, {"warning: Ravelix: COM3 is already used, Please select another port."}},
        {"no port chosen", "", "0", -1, 0, {"warning: Ravelix: Invalid COM Port !!!"}},
    };
    for (const ChangeCase& c : cases) {
        Machine m;
        m.setupAnswers["list"] = c.list;
        m.printers = printers;
        if (c.storedType) m.privateProfiles[kSettings]["Zur2Ure"]["PrinterType"] = c.storedType;
        m.userInDialog[kMainDialog] = [&](seam::Handle d) {
            m.Item(d, kPortList).selection = c.port;
            m.Item(d, kTypeList).selection = c.type;
            m.Press(d, IDOK);
        };
        m.RunProgram();
        std::vector<std::string> effects = m.Effects();
        ASSERT_GE(effects.size(), 2u) << c.name;
        EXPECT_EQ(effects[0], kBusy) << c.name;
        EXPECT_EQ(effects[1], kList) << c.name;
        effects.erase(effects.begin(), effects.begin() + 2);
        EXPECT_EQ(effects, c.effects) << c.name;
        // A refused change leaves the dialog open with the same selection.
        if (c.effects.back() != kClose) {
            EXPECT_EQ(m.Entries("dialog: 102 closed with").back(), "dialog: 102 closed with -1") << c.name;
        }
    }
}

TEST(Change, ASecondPressWhileTheFirstRunsIsIgnored) {
    Machine m;
    seam::Handle dialog = 0;
    int pressesDuringBoxes = 0;
    m.userInMessageBox = [&](const std::string&) {
        // The information box has no owner: the dialog is enabled, and the user presses Change or Enter again.
        ++pressesDuringBoxes;
        m.Press(dialog, IDOK);
        m.SendCommand(dialog, IDCANCEL, 0);
    };
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        dialog = d;
        m.Item(d, kPortList).selection = 6;
        m.Item(d, kTypeList).selection = 3;
        m.Press(d, IDOK);
    };
    m.RunProgram();
    EXPECT_EQ(pressesDuringBoxes, 2);
    EXPECT_EQ(m.Entries("info:").size(), 2u);
    EXPECT_EQ(m.Entries("setup: setupc.exe --output .\\__zur2ure__.txt change").size(), 1u);
    EXPECT_EQ(m.Entries("end dialog:"), (std::vector<std::string>{kClose}));
}

TEST(Change, ARenameThatDidNotTakeIsReported) {
    Machine m;
    m.renameTakes = false;
    m.privateProfiles[kSettings]["Zur2Ure"]["PrinterType"] = "1";
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        m.Item(d, kPortList).selection = 6;
        m.Item(d, kTypeList).selection = 2;
        m.Press(d, IDOK);
    };
    m.RunProgram();
    const auto effects = m.Effects();
    ASSERT_GE(effects.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(effects.end() - 4, effects.end()),
              (std::vector<std::string>{kList, "warning: Ravelix: Serivo Port could not be changed to COM7 !!!", kRestart,
                                        kClose}));
}

TEST(Change, InformationBoxesAreOwnerlessTopMostAndFollowTheLanguage) {
    Machine m;
    m.langId = 0x0412;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        m.Item(d, kPortList).selection = 6;
        m.Item(d, kTypeList).selection = 1;
        m.Press(d, IDOK);
    };
    m.RunProgram();
    ASSERT_EQ(m.boxes.size(), 2u);
    EXPECT_EQ(m.boxes[0].text, "Serivo Port가 COM5에서 COM7로 변경되었습니다.");
    EXPECT_EQ(m.boxes[1].text, "VORTAN Serivo Device가 변경되었습니다.\r\n\r\n컴퓨터를 재시작 하십시오.");
    for (const auto& box : m.boxes) {
        EXPECT_EQ(box.caption, "알림");
        EXPECT_EQ(box.owner, 0u);
        EXPECT_EQ(box.flags, seam::mb::TopMost | seam::mb::IconInformation);
    }
}

TEST(Change, TheWaitCursorCoversTheWorkButNotTheBoxes) {
    Machine m;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        m.Item(d, kPortList).selection = 6;
        m.Item(d, kTypeList).selection = 1;
        m.Press(d, IDOK);
    };
    m.RunProgram();
    bool waiting = false;
    for (const auto& e : m.journal) {
        if (e == "cursor: wait") waiting = true;
        if (e == "cursor: normal") waiting = false;
        const bool box = e.rfind("info:", 0) == 0 || e.rfind("warning:", 0) == 0;
        const bool work = e.rfind("run:", 0) == 0 || e.rfind("broadcast:", 0) == 0 ||
                          (e.rfind("setup:", 0) == 0 && e.find("change") != std::string::npos);
        if (box) {
            EXPECT_FALSE(waiting) << e;
        }
        if (work) {
            EXPECT_TRUE(waiting) << e;
        }
    }
    EXPECT_FALSE(waiting);
}

}  // namespace
