// The settings file: reading the printer type, writing both keys.
#include "tests/unit/Program.h"

namespace {

TEST(Settings, PrinterTypeReadsAtMostThreeCharactersLeniently) {
    const struct {
        const char* name;
        const char* section;  // null: no such section
        const char* value;    // null: no such key
        int expected;
    } cases[] = {
        {"no file", nullptr, nullptr, 0},
        {"other section only", "Other", "4", 0},
        {"no key", "Zur2Ure", nullptr, 0},
        {"4", "Zur2Ure", "4", 4},
        {"-1", "Zur2Ure", "-1", -1},
        {"1234 reads as 123", "Zur2Ure", "1234", 123},
        {"leading space and trailing letters", "Zur2Ure", " 7x", 7},
        {"no digits", "Zur2Ure", "abc", 0},
        {"-99999 reads as -99", "Zur2Ure", "-99999", -99},
        {"empty value", "Zur2Ure", "", 0},
    };
    for (const auto& c : cases) {
        Machine m;
        if (c.section) {
            auto& section = m.privateProfiles[kSettings][c.section];
            if (c.value) section["PrinterType"] = c.value;
        }
        g_nPrinterType = 55;
        EXPECT_EQ(LoadPrinterType(), c.expected) << c.name;
        EXPECT_EQ(g_nPrinterType, c.expected) << c.name;
    }
}

TEST(Settings, WritesKeysWithDecimalValues) {
    Machine m;
    m.privateProfiles[kSettings]["Zur2Ure"]["Other"] = "kept";
    SavePrinterType(-1);
    EXPECT_EQ(g_nPrinterType, -1);
    SaveComPortNum(255);
    SavePrinterType(4);
    EXPECT_EQ(m.Entries("ini:"), (std::vector<std::string>{"ini: .\\VConfig.ini [Zur2Ure] PrinterType=-1",
                                                           "ini: .\\VConfig.ini [Zur2Ure] ComPortNum=255",
                                                           "ini: .\\VConfig.ini [Zur2Ure] PrinterType=4"}));
    EXPECT_EQ(g_nPrinterType, 4);
    EXPECT_EQ(m.privateProfiles[kSettings]["Zur2Ure"]["Other"], "kept");
}

TEST(Settings, LenientDecimalNeverOverflows) {
    EXPECT_EQ(LenientDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(LenientDecimal("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(LenientDecimal("\t+12"), 12);
}

}  // namespace
