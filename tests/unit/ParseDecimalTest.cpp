#include <gtest/gtest.h>

#include "portsetup/ParseDecimal.h"

namespace {

struct Case {
    const char* text;
    int ok;
    int value;
};

TEST(ParseDecimal, AcceptsSignedDigitStringsThatFitAndNothingElse) {
    const Case cases[] = {
        {"12", 1, 12},
        {"-7", 1, -7},
        {"+5", 1, 5},
        {"007", 1, 7},
        {"0", 1, 0},
        {"", 0, 0},
        {"+", 0, 0},
        {"-", 0, 0},
        {"5 ", 0, 5},
        {"12a", 0, 12},
        {" 5", 0, 0},
        {"3 COM4", 0, 3},
        {"5,baud", 0, 5},
        {"2147483647", 1, 2147483647},
        {"-2147483648", 1, -2147483647 - 1},
        // Values beyond 32 bits are not numbers the program can use: they must never wrap to a small one.
        {"2147483648", 0, 214748364},
        {"4294967301", 0, 429496730},
        {"4294967296", 0, 429496729},
        {"99999999999999999999", 0, 999999999},
        {"-2147483649", 0, -214748364},
    };
    for (const Case& c : cases) {
        int value = 12345;
        EXPECT_EQ(ParseDecimal(c.text, &value), c.ok) << "text \"" << c.text << "\"";
        EXPECT_EQ(value, c.value) << "text \"" << c.text << "\"";
        EXPECT_EQ(ParseDecimal(c.text, nullptr), c.ok) << "text \"" << c.text << "\" without out";
    }
}

}  // namespace
