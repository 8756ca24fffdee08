// The scripted SETUP.dll's reading of each command line, one table row per case.
#include "tests/setup_double/DoublePlan.h"

#include <gtest/gtest.h>

#include <vector>

namespace setup_double {
namespace {

TEST(SetupDoublePlan, EachCommandLine) {
    struct Row {
        const char* commandLine;
        Action action;
        const char* output;
        const char* fixture;
        const char* newList;
    };
    const std::vector<Row> rows = {
        {"--output out\\l.txt list", Action::CopyFixture, "out\\l.txt", "list.txt", ""},
        {"--output b.txt busynames COM*", Action::CopyFixture, "b.txt", "busynames.txt", ""},
        {"--output c.txt change CNCA0 PortName=COM12", Action::Change, "c.txt", "", "CNCA0 PortName=COM12\r\n"},
        {"--output c.txt change CNCA0 PortName=COM256", Action::None, "", "", ""},
        {"--output c.txt change CNCB0 PortName=COM12", Action::None, "", "", ""},
        {"--output c.txt change CNCA0", Action::None, "", "", ""},
        {"--output x.txt install", Action::None, "", "", ""},
        {"list", Action::None, "", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.commandLine);
        const Plan plan = PlanCall(row.commandLine);
        EXPECT_EQ(plan.action, row.action);
        EXPECT_EQ(plan.output, row.output);
        EXPECT_EQ(plan.fixture, row.fixture);
        EXPECT_EQ(plan.newList, row.newList);
    }
}

TEST(SetupDoublePlan, LogLine) {
    EXPECT_EQ(LogLine("setupc.exe", "--output o.txt list", "C:\\work dir"),
              "MainA|setupc.exe|--output o.txt list|C:\\work dir\r\n");
    EXPECT_EQ(LogLine(nullptr, nullptr, ""), "MainA|||\r\n");
}

}  // namespace
}  // namespace setup_double
