// The stand-in setup library's decisions, one table row per case.
#include "setupdll/SetupCore.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace setup {
namespace {

const char* const kNone = nullptr;  // "no such value expected" in the tables below

std::string ListOf(const char* port) {
    return std::string("       CNCA0 PortName=") + port + "\r\n       CNCB0 PortName=-\r\n";
}

struct RunRow {
    const char* name;
    const char* commandLine;
    std::vector<std::string> deviceMap;
    const char* stateFile;
    int status;
    const char* output;       // where the capture file goes; kNone: no capture file
    std::string capture;      // the capture file exactly (status 0), or a text the error message holds
    const char* newState;     // kNone: the state file stays as it is
};

TEST(SetupRun, EachCommandLine) {
    const std::vector<RunRow> rows = {
        {"list, no state yet: lowest free from COM3, recorded", "--output out\\list.txt list",
         {"COM1", "COM2"}, "", 0, "out\\list.txt", ListOf("COM3"), "COM3"},
        {"list, default skips names the device map holds", "--output l.txt list",
         {"COM3", "com4", "COM6"}, "", 0, "l.txt", ListOf("COM5"), "COM5"},
        {"list, recorded name kept, not rewritten", "--output l.txt list",
         {"COM1"}, "COM7\r\n", 0, "l.txt", ListOf("COM7"), kNone},
        {"list, unreadable state replaced by the default", "--output l.txt list",
         {"COM3"}, "COM0", 0, "l.txt", ListOf("COM4"), "COM4"},
        {"list, runs of spaces and a quoted path", "--output  \"my dir\\l.txt\"  list",
         {}, "COM9", 0, "my dir\\l.txt", ListOf("COM9"), kNone},
        {"busynames: device map then the virtual port", "--output b.txt busynames COM*",
         {"COM1", "COM2"}, "COM7", 0, "b.txt", "COM1\r\nCOM2\r\nCOM7\r\n", kNone},
        {"busynames: a name in both listed once", "--output b.txt busynames COM*",
         {"COM7", "COM1", "com7", "COM1"}, "COM7", 0, "b.txt", "COM7\r\nCOM1\r\n", kNone},
        {"busynames: the pattern filters both sources", "--output b.txt busynames COM1?",
         {"COM1", "COM10", "XCOM12", "COM12"}, "COM15", 0, "b.txt", "COM10\r\nCOM12\r\nCOM15\r\n", kNone},
        {"busynames: default port counted as busy", "--output b.txt busynames COM*",
         {"COM1"}, "", 0, "b.txt", "COM1\r\nCOM3\r\n", "COM3"},
        {"change records the new name, empty capture", "--output c.txt change CNCA0 PortName=COM12",
         {"COM1"}, "COM3", 0, "c.txt", "", "COM12"},
        {"change to COM255, the highest", "--output c.txt change CNCA0 PortName=COM255",
         {}, "", 0, "c.txt", "", "COM255"},
        {"change to COM0 refused", "--output c.txt change CNCA0 PortName=COM0",
         {}, "COM3", 1, "c.txt", "PortName=COM0", kNone},
        {"change to COM256 refused", "--output c.txt change CNCA0 PortName=COM256",
         {}, "COM3", 1, "c.txt", "PortName=COM256", kNone},
        {"change with a leading zero refused", "--output c.txt change CNCA0 PortName=COM07",
         {}, "COM3", 1, "c.txt", "PortName=COM07", kNone},
        {"change without COM refused", "--output c.txt change CNCA0 PortName=7",
         {}, "COM3", 1, "c.txt", "PortName=7", kNone},
        {"change with a trailing letter refused", "--output c.txt change CNCA0 PortName=COM7x",
         {}, "COM3", 1, "c.txt", "PortName=COM7x", kNone},
        {"change without PortName= refused", "--output c.txt change CNCA0 COM7",
         {}, "COM3", 1, "c.txt", "COM7", kNone},
        {"change of another port refused", "--output c.txt change CNCB0 PortName=COM7",
         {}, "COM3", 1, "c.txt", "CNCB0", kNone},
        {"change missing its name refused", "--output c.txt change CNCA0",
         {}, "COM3", 1, "c.txt", "usage: change", kNone},
        {"list with an argument refused", "--output l.txt list extra",
         {}, "COM3", 1, "l.txt", "list takes no arguments", kNone},
        {"busynames without a pattern refused", "--output b.txt busynames",
         {}, "COM3", 1, "b.txt", "usage: busynames", kNone},
        {"unknown command", "--output u.txt frobnicate now",
         {}, "COM3", 1, "u.txt", "unknown command frobnicate", kNone},
        {"no command", "--output u.txt",
         {}, "COM3", 1, "u.txt", "missing command", kNone},
        {"missing --output: nothing written", "list",
         {}, "COM3", 1, kNone, "", kNone},
        {"--output without a path: nothing written", "--output",
         {}, "COM3", 1, kNone, "", kNone},
        {"unknown option: nothing written", "--verbose --output l.txt list",
         {}, "COM3", 1, kNone, "", kNone},
        {"empty command line: nothing written", "",
         {}, "", 1, kNone, "", kNone},
    };
    for (const RunRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = setup::Run(row.commandLine, row.deviceMap, row.stateFile);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.output, row.output ? std::optional<std::string>(row.output) : std::nullopt);
        if (row.status == 0) {
            EXPECT_EQ(outcome.capture, row.capture);
        } else if (row.output) {
            EXPECT_EQ(outcome.capture.rfind("error: ", 0), 0u) << outcome.capture;
            EXPECT_NE(outcome.capture.find(row.capture), std::string::npos) << outcome.capture;
        }
        EXPECT_EQ(outcome.newState, row.newState ? std::optional<std::string>(row.newState) : std::nullopt);
    }
}

TEST(SetupRun, ChangeThenListShowsTheNewName) {
    const std::vector<std::string> deviceMap = {"COM1"};
    const Outcome change = setup::Run("--output c.txt change CNCA0 PortName=COM42", deviceMap, "COM3");
    ASSERT_TRUE(change.newState.has_value());
    const Outcome list = setup::Run("--output l.txt list", deviceMap, *change.newState);
    EXPECT_EQ(list.capture, ListOf("COM42"));
    const Outcome busy = setup::Run("--output b.txt busynames COM*", deviceMap, *change.newState);
    EXPECT_EQ(busy.capture, "COM1\r\nCOM42\r\n");
}

struct MatchRow {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(SetupWildcard, EachPatternAndName) {
    const std::vector<MatchRow> rows = {
        {"COM*", "COM1", true},   {"COM*", "com12", true},   {"COM*", "COM", true},
        {"COM*", "CO", false},    {"COM*", "XCOM1", false},  {"COM?", "COM1", true},
        {"COM?", "COM12", false}, {"COM?", "COM", false},    {"*1", "COM11", true},
        {"*1*2", "C1X1Y2", true}, {"*1*2", "C1X2Y", false},  {"C*M*3", "COMCOM3", true},
        {"*", "", true},          {"", "", true},            {"", "COM1", false},
        {"COM1", "COM1", true},   {"COM1", "COM10", false},  {"**?", "A", true},
    };
    for (const MatchRow& row : rows) {
        SCOPED_TRACE(std::string(row.pattern) + " vs " + row.name);
        EXPECT_EQ(WildcardMatch(row.pattern, row.name), row.matches);
    }
}

TEST(SetupDefaultName, EachDeviceMap) {
    std::vector<std::string> everyName;
    for (int n = 1; n <= kMaxComNumber; ++n) everyName.push_back("COM" + std::to_string(n));
    std::vector<std::string> allButLast(everyName.begin(), everyName.end() - 1);
    struct Row {
        const char* name;
        std::vector<std::string> deviceMap;
        const char* expected;
    } const rows[] = {
        {"empty map", {}, "COM3"},
        {"COM1 and COM2 do not matter", {"COM1", "COM2"}, "COM3"},
        {"gap after a run", {"COM3", "COM4", "COM5", "COM7"}, "COM6"},
        {"padded and lower-case names count", {" com3 ", "COM4\r\n"}, "COM5"},
        {"only COM255 free", allButLast, "COM255"},
        {"all taken: COM3 anyway", everyName, "COM3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DefaultPortName(row.deviceMap), row.expected);
    }
}

TEST(SetupSiblingPath, EachModulePath) {
    struct Row {
        const char* modulePath;
        const char* expected;
    } const rows[] = {
        {"C:\\Program Files\\Ravelix\\SETUP.dll", "C:\\Program Files\\Ravelix\\SETUP.port"},
        {"Z:/tmp/x/SETUP.dll", "Z:/tmp/x/SETUP.port"},
        {"\\\\server\\share\\SETUP.dll", "\\\\server\\share\\SETUP.port"},
        {"SETUP.dll", "SETUP.port"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.modulePath);
        EXPECT_EQ(SiblingPath(row.modulePath, kStateFileName), row.expected);
    }
}

}  // namespace
}  // namespace setup
