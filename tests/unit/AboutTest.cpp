// The about box from the system menu, and the icon of the minimised dialog.
#include "tests/unit/Program.h"

namespace {

TEST(About, SystemMenuCommandOpensTheAboutBoxOverTheDialog) {
    for (unsigned command : {0x0010u, 0x0013u, 0x001Fu}) {
        Machine m;
        seam::Handle main = 0;
        bool mainDisabled = false;
        seam::Rect aboutRect;
        m.userInDialog[100] = [&](seam::Handle about) {
            mainDisabled = !m.Win(main).enabled;
            aboutRect = m.Win(about).rect;
            m.Press(about, IDOK);
        };
        m.userInDialog[kMainDialog] = [&](seam::Handle d) {
            main = d;
            m.SelectInCombo(d, kPortList, 9);
            m.SendTo(d, 0x0112, command, 0);
            EXPECT_EQ(m.Item(d, kPortList).selection, 9) << command;
            m.Press(d, IDCANCEL);
        };
        m.RunProgram();
        EXPECT_EQ(m.Entries("dialog: 100"), (std::vector<std::string>{"dialog: 100 opens", "dialog: 100 shown",
                                                                      "dialog: 100 closed with 1"}))
            << command;
        EXPECT_TRUE(mainDisabled) << command;
        // Centred over the main dialog (330 x 200 at 347,284).
        EXPECT_EQ(aboutRect, (seam::Rect{337, 339, 687, 429})) << command;
    }
}

TEST(About, OtherSystemCommandsGoToTheSystem) {
    Machine m;
    bool handled = true;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        handled = m.SendTo(d, 0x0112, 0xF020 /* minimise */, 0);
        m.Press(d, IDCANCEL);
    };
    m.RunProgram();
    EXPECT_FALSE(handled);
    EXPECT_TRUE(m.Entries("dialog: 100").empty());
}

TEST(About, MinimisedDialogPaintsItsIconCentred) {
    Machine m;
    bool paintedNormally = true, dragIcon = false;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        paintedNormally = m.SendTo(d, 0x000F, 0, 0);  // not minimised: the system paints
        m.Win(d).iconic = true;
        m.Win(d).rect = {0, 0, 37, 39};
        m.SendTo(d, 0x000F, 0, 0);
        dragIcon = m.SendTo(d, 0x0037, 0, 0);
        m.Press(d, IDCANCEL);
    };
    m.RunProgram();
    EXPECT_FALSE(paintedNormally);
    EXPECT_TRUE(dragIcon);
    // (37 - 32 + 1) / 2 = 3, (39 - 32 + 1) / 2 = 4
    EXPECT_EQ(m.Entries("paint:"), (std::vector<std::string>{"paint: begin", "paint: icon at 3,4", "paint: end"}));
    EXPECT_EQ(m.Entries("send: 39").size(), 1u);
}

}  // namespace
