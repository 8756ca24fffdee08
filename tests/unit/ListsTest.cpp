// The port list and the printer-type list as the dialog opens, and the Change button following the port
// selection.
#include "tests/unit/Program.h"

namespace {

struct ListCase {
    const char* name;
    std::string list;        // the setup library's "list" answer
    std::string busy;        // its "busynames" answer
    const char* storedType;  // "PrinterType" in the settings file; null: no settings file
    int portSelection;
    int typeSelection;
    std::vector<int> marked;  // COM numbers shown with the in-use marker
};

TEST(Lists, FilledAndSelectedFromInventoryAndSettings) {
    const ListCase cases[] = {
        {"current COM5, in use 1 3 5, no settings file", kTypicalList, kTypicalBusy, nullptr, 4, 0, {1, 3}},
        {"current port not learnt", "CNCA0 PortName=-\n", "COM2\n", "4", -1, 4, {2}},
        {"stored type 7 selects nothing", kTypicalList, "", "7", 4, -1, {}},
        {"stored type -1 selects nothing", kTypicalList, "", "-1", 4, -1, {}},
        {"stored 1234 reads as 123", kTypicalList, "", "1234", 4, -1, {}},
        {"stored 0", kTypicalList, "COM255\n", "0", 4, 0, {255}},
        {"current COM255 in use", "CNCA0 PortName=COM255\n", "COM255\nCOM254\n", "2", 254, 2, {254}},
    };
    for (const ListCase& c : cases) {
        Machine m;
        m.setupAnswers["list"] = c.list;
        m.setupAnswers["busynames"] = c.busy;
        if (c.storedType) m.privateProfiles[kSettings]["Zur2Ure"]["PrinterType"] = c.storedType;
        seam::Handle dialog = 0;
        m.userInDialog[kMainDialog] = [&](seam::Handle d) { dialog = d; m.Press(d, IDCANCEL); };
        m.RunProgram();
        ASSERT_NE(dialog, 0u) << c.name;

        const auto& ports = m.Item(dialog, kPortList);
        ASSERT_EQ(ports.items.size(), 255u) << c.name;
        for (int n = 1; n <= 255; ++n) {
            const bool marked = std::find(c.marked.begin(), c.marked.end(), n) != c.marked.end();
            const std::string expected = "COM" + std::to_string(n) + (marked ? " Already used" : "");
            EXPECT_EQ(ports.items[n - 1], expected) << c.name;
        }
        EXPECT_EQ(ports.selection, c.portSelection) << c.name;
        EXPECT_TRUE(ports.redraw) << c.name << ": the port list is drawn again once filled";

        const auto& types = m.Item(dialog, kTypeList);
        EXPECT_EQ(types.items, (std::vector<std::string>{"USB / POS Printer [QD-Rxx]", "USB / Label Printer [QD-M1x]",
                                                         "USB / Label Printer [QD-M2x]", "USB / Label Printer [QD-M3x]",
                                                         "USB / Portable Printer [QD-Wxx]"}))
            << c.name;
        EXPECT_EQ(types.selection, c.typeSelection) << c.name;
    }
}

TEST(Lists, ChangeButtonFollowsThePortSelectionOnly) {
    struct Step {
        int combo;
        int position;
        bool enabled;
    };
    const struct {
        const char* name;
        std::string list;
        std::vector<Step> steps;
    } cases[] = {
        {"current COM5",
         kTypicalList,
         {{kPortList, 6, true}, {kPortList, 4, false}, {kTypeList, 3, false}, {kPortList, 2, true}, {kTypeList, 0, true}}},
        {"current port not learnt", "", {{kPortList, 0, true}, {kPortList, 254, true}}},
    };
    for (const auto& c : cases) {
        Machine m;
        m.setupAnswers["list"] = c.list;
        m.userInDialog[kMainDialog] = [&](seam::Handle d) {
            EXPECT_TRUE(m.Item(d, IDOK).enabled) << c.name << ": enabled as the dialog opens";
            for (const Step& s : c.steps) {
                m.SelectInCombo(d, s.combo, s.position);
                EXPECT_EQ(m.Item(d, IDOK).enabled, s.enabled) << c.name << ": after selecting " << s.position;
            }
            m.Press(d, IDCANCEL);
        };
        m.RunProgram();
        EXPECT_TRUE(m.boxes.empty()) << c.name;
    }
}

TEST(Lists, ImpossibleSelectionWarnsAndChangesNothing) {
    Machine m;
    m.userInDialog[kMainDialog] = [&](seam::Handle d) {
        m.SelectInCombo(d, kPortList, 3);  // COM4: enables Change
        m.Item(d, kPortList).selection = -1;
        m.SendCommand(d, kPortList, 1);
        EXPECT_TRUE(m.Item(d, IDOK).enabled);
        m.Press(d, IDCANCEL);
    };
    m.RunProgram();
    EXPECT_EQ(m.Entries("warning:"), (std::vector<std::string>{"warning: Ravelix: Invalid COM Port !!!"}));
}

}  // namespace
