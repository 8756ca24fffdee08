// Moving printers off a port, one hidden printer-settings command each, and the spooler's port list.
#include "printing/Printers.h"
#include "printing/Spooler.h"
#include "tests/unit/Program.h"

namespace {

const std::string kRundll = "C:\\windows\\system32\\rundll32.exe";

std::string Command(const std::string& printer, const std::string& port) {
    return "rundll32 printui.dll,PrintUIEntry /Xs /n \"" + printer + "\" PortName \"" + port + "\"";
}

TEST(Printers, MovesEveryPrinterOnTheOldPortAndNoOther) {
    const std::string longName(300, 'L');
    const struct {
        const char* name;
        std::vector<FakePlatform::Printer> printers;
        const char* oldPort;
        std::vector<std::string> moved;  // printer names, in order
        int count;
    } cases[] = {
        {"exact case and lower case",
         {{"Counter", "COM5:"}, {"Label", "com5:"}, {"Other", "COM6:"}, {"Both", "COM5:,COM6:"}, {"Spaced", "COM5: "}},
         "COM5:", {"Counter", "Label"}, 2},
        {"no port name or no printer name", {{"NoPort", std::nullopt}, {std::nullopt, "COM5:"}}, "COM5:", {}, 0},
        {"a double quote never reaches the command",
         {{"Evil\" /q /c \"x", "COM5:"}, {"After", "COM5:"}}, "COM5:", {"After"}, 1},
        {"a very long name is moved whole", {{longName, "COM5:"}}, "COM5:", {longName}, 1},
        {"old port COM1: stays on COM1:", {{"A", "COM1:"}, {"B", "COM1:"}}, "COM1:", {"A", "B"}, 2},
        {"non-ASCII letters are not folded", {{"\xC9tiquette", "COM5:"}, {"X", "CO\xCD" "5:"}}, "COM5:", {"\xC9tiquette"}, 1},
        {"none at all", {}, "COM5:", {}, 0},
        {"old port not learnt", {{"A", "COM5:"}}, "COM0:", {}, 0},
    };
    for (const auto& c : cases) {
        Machine m;
        m.printers = c.printers;
        EXPECT_EQ(MovePrintersOnPort(c.oldPort, "COM1:"), c.count) << c.name;
        std::vector<std::string> expected;
        for (const auto& p : c.moved) expected.push_back(kRundll + "|" + Command(p, "COM1:"));
        EXPECT_EQ(m.processes, expected) << c.name;
        // Asked once for the size, then for the records (no second call when there is nothing to read).
        EXPECT_EQ(m.Entries("enumerate printers: flags 6").size(), c.printers.empty() ? 1u : 2u) << c.name;
        EXPECT_EQ(m.traces.back(), "NumPrinters = " + std::to_string(c.printers.size()) +
                                       ",count=" + std::to_string(c.count))
            << c.name;
    }
}

TEST(Printers, TracesEachMoveAndCarriesOnWhenAProcessCannotStart) {
    Machine m;
    m.printers = {{"A", "COM5:"}, {"B", "COM5:"}};
    m.processesFail = true;
    EXPECT_EQ(MovePrintersOnPort("COM5:", "COM1:"), 2);
    EXPECT_EQ(m.processes.size(), 2u);
    EXPECT_EQ(m.traces, (std::vector<std::string>{
                            "A on COM5:", "DOS_Command=" + Command("A", "COM1:") + "\n",
                            "ERROR: Cannot launch child process\n", "--> A on COM1:", "B on COM5:",
                            "DOS_Command=" + Command("B", "COM1:") + "\n", "ERROR: Cannot launch child process\n",
                            "--> B on COM1:", "NumPrinters = 2,count=2"}));
}

TEST(Printers, FailedEnumerationCountsAsNoPrinters) {
    Machine m;
    m.printers = {{"A", "COM5:"}};
    m.enumerationFails = true;
    EXPECT_EQ(MovePrintersOnPort("COM5:", "COM1:"), 0);
    EXPECT_TRUE(m.processes.empty());
    EXPECT_EQ(m.traces, (std::vector<std::string>{"NumPrinters = 0,count=0"}));
}

TEST(Printers, OnlyTheSystemsOwnRundllIsRun) {
    Machine m;
    EXPECT_EQ(SetPrinterPort("P", "COM1:"), 1);
    m.systemFolder = "";  // unknown system folder: nothing is run rather than a rundll32 found elsewhere
    EXPECT_EQ(SetPrinterPort("P", "COM1:"), 0);
    EXPECT_EQ(m.processes, (std::vector<std::string>{kRundll + "|" + Command("P", "COM1:")}));
}

TEST(Spooler, EachSuccessfulEditIsBroadcastAndEachFailureTraced) {
    Machine m;
    m.systemProfile["ports"]["COM5:"] = "9600,n,8,1";
    m.systemProfile["ports"]["LPT1:"] = "";
    EXPECT_EQ(RemoveSpoolerPort("COM5:"), 1);
    EXPECT_EQ(AddSpoolerPort("COM7:"), 1);
    EXPECT_EQ(AddSpoolerPort("COM7:"), 1);  // present already: written again
    EXPECT_EQ(m.journal, (std::vector<std::string>{"profile: [ports] remove COM5:", "broadcast: ports",
                                                   "profile: [ports] add COM7:=9600,n,8,1", "broadcast: ports",
                                                   "profile: [ports] add COM7:=9600,n,8,1", "broadcast: ports"}));
    EXPECT_EQ(m.systemProfile["ports"], (std::map<std::string, std::string>{{"COM7:", "9600,n,8,1"}, {"LPT1:", ""}}));

    Machine failing;
    failing.systemProfileWritesFail = true;
    EXPECT_EQ(RemoveSpoolerPort("COM0:"), 0);
    EXPECT_EQ(AddSpoolerPort("COM7:"), 0);
    EXPECT_TRUE(failing.Entries("broadcast:").empty());
    EXPECT_EQ(failing.traces, (std::vector<std::string>{"Delete : WriteProfileString() Fail !!!, GetLastError()=5",
                                                        "PortA=COM0:",
                                                        "Add : WriteProfileString() Fail !!!, GetLastError()=5",
                                                        "PortB=COM7:"}));
}

}  // namespace
