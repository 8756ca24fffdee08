// Starting the program: the dialog's preparation, in its order, and leaving it by Exit.
#include "app/ComPortDlg.h"
#include "tests/unit/Program.h"

namespace {

std::size_t IndexOf(const std::vector<std::string>& journal, const std::string& entry) {
    for (std::size_t i = 0; i < journal.size(); ++i)
        if (journal[i] == entry) return i;
    ADD_FAILURE() << "not in the journal: " << entry << "\n" << Joined(journal);
    return journal.size();
}

TEST(Startup, PreparesTheDialogInOrderThenShowsIt) {
    Machine m;
    seam::Handle dialog = 0;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) { dialog = d; m.Press(d, IDCANCEL); };
    m.RunProgram();
    ASSERT_NE(dialog, 0u);

    const auto& j = m.journal;
    const std::size_t cd = IndexOf(j, "cd: C:\\Program Files\\Ravelix");
    const std::size_t top = IndexOf(j, "topmost");
    const std::size_t busy = IndexOf(j, "setup: setupc.exe --output .\\__zur2ure__.txt busynames COM*");
    const std::size_t list = IndexOf(j, "setup: setupc.exe --output .\\__zur2ure__.txt list");
    const std::size_t shown = IndexOf(j, "dialog: 102 shown");
    EXPECT_LT(cd, top);
    EXPECT_LT(top, busy);
    EXPECT_LT(busy, list);
    EXPECT_LT(list, shown);
    EXPECT_LT(list, IndexOf(j, "send: 1025"));  // Change is the default button, where the focus starts

    // Preparation learnt the inventory and set up the window.
    EXPECT_EQ(g_wLangID, 0x0409);
    EXPECT_STREQ(g_szOutputFile, ".\\__zur2ure__.txt");
    const auto& w = m.Win(dialog);
    EXPECT_TRUE(w.topMost);
    EXPECT_EQ(w.bigIcon, m.LoadAppIcon(128));
    EXPECT_EQ(w.smallIcon, m.LoadAppIcon(128));
    EXPECT_EQ(w.menu, (std::vector<std::string>{"-", "16:&About Ravelix..."}));
    EXPECT_TRUE(m.Traced("CComPortDlg::OnInitDialog()"));
    // Neither moved nor shown by its preparation: centred in the work area.
    EXPECT_EQ(w.rect, (seam::Rect{347, 284, 677, 484}));
}

TEST(Startup, ExitEndsTheProgramWithNothingWritten) {
    // The Exit button, Esc and the close box all reach the dialog as IDCANCEL.
    Machine m;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) { m.SendCommand(d, IDCANCEL, 0); };
    m.RunProgram();
    EXPECT_EQ(m.Entries("dialog: 102 closed with"), (std::vector<std::string>{"dialog: 102 closed with 2"}));
    EXPECT_TRUE(m.Entries("ini:").empty());
    EXPECT_TRUE(m.Entries("profile:").empty());
    EXPECT_TRUE(m.Entries("run:").empty());
    EXPECT_EQ(m.setupCalls.size(), 2u);  // the two queries of the start, no rename
    EXPECT_TRUE(m.boxes.empty());
}

TEST(Startup, MissingCaptureFileWarnsTwiceBeforeTheDialogShowsAndItStillOpens) {
    Machine m;
    m.setupAnswers.clear();  // the library writes nothing
    seam::Handle dialog = 0;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) { dialog = d; m.Press(d, IDCANCEL); };
    m.RunProgram();
    ASSERT_NE(dialog, 0u);
    const auto warnings = m.Entries("warning:");
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "warning: Ravelix: '.\\__zur2ure__.txt' read fail or not exist !!!");
    EXPECT_LT(IndexOf(m.journal, warnings[1]), IndexOf(m.journal, "dialog: 102 shown"));
    for (const auto& box : m.boxes) {
        EXPECT_EQ(box.owner, dialog);  // owned by the dialog, still hidden
        EXPECT_EQ(box.flags, seam::mb::Ok | seam::mb::IconExclamation);
    }
    // The port list is still filled, with nothing selected and nothing marked.
    EXPECT_EQ(m.Item(dialog, kPortList).items.size(), 255u);
    EXPECT_EQ(m.Item(dialog, kPortList).selection, -1);
    EXPECT_EQ(m.Item(dialog, kPortList).items[2], "COM3");
}

struct FolderCase {
    const char* name;
    std::string path;
    bool dbcs;
    std::string folder;
};

TEST(Startup, ExecutableFolderSkipsTrailBytesOfDoubleByteCharacters) {
    const FolderCase cases[] = {
        {"ordinary", "C:\\Program Files\\Ravelix\\Ravelix.exe", false, "C:\\Program Files\\Ravelix"},
        {"root of a drive", "C:\\Ravelix.exe", false, "C:"},
        {"no backslash", "Ravelix.exe", false, ""},
        {"lookup failed", "", false, ""},
        {"trail byte 0x5C in a folder name", "C:\\\x95\x5C\\Ravelix.exe", true, "C:\\\x95\x5C"},
        {"trail byte 0x5C right before the file name", "C:\\\x95\x5CRavelix.exe", true, "C:"},
        {"same bytes on a single-byte code page", "C:\\\x95\x5CRavelix.exe", false, "C:\\\x95"},
    };
    for (const FolderCase& c : cases) {
        Machine m;
        if (c.dbcs)
            for (int b = 0x81; b <= 0xFE; ++b) m.leadBytes.push_back(static_cast<unsigned char>(b));
        EXPECT_EQ(ExecutableFolder(c.path), c.folder) << c.name;
    }
}

TEST(Startup, StartedFromElsewhereTheFilesAreTheProgramFolders) {
    Machine m;
    m.currentFolder = "C:\\Users\\shop\\Desktop";
    m.modulePath = "D:\\Ravelix.exe";
    m.userInDialog[kMainDialog] = [&](seam::Handle d) { m.Press(d, IDCANCEL); };
    m.RunProgram();
    EXPECT_EQ(m.currentFolder, "D:");  // the bare drive name: the system takes it as that drive's folder
}

TEST(Startup, F1AsksForTheDialogsHelpTopic) {
    Machine m;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        m.PressF1(d);
        m.Press(d, IDCANCEL);
    };
    m.RunProgram();
    EXPECT_EQ(m.Entries("help:"), (std::vector<std::string>{"help: C:\\Program Files\\Ravelix\\Ravelix.HLP 0x20066"}));
}

TEST(Startup, InUseTableStartsEmpty) {
    Machine m;
    CComPortDlg dlg;
    for (int n = 0; n < 256; ++n) ASSERT_EQ(dlg.m_UsedCOM[n], 0) << n;
    EXPECT_EQ(dlg.nNowCOM, 0);
}

}  // namespace
