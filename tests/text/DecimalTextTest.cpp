#include "text/DecimalText.h"

#include <gtest/gtest.h>

namespace visemer {
namespace {

TEST(DecimalText, ReadsLikeTheProgramAlwaysHas) {
    struct Case {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"7", 7},
        {"  42", 42},
        {"\t-3", -3},
        {"+5", 5},
        {"12abc", 12},
        {"1 2", 1},
        {"--1", 0},
        {"+-1", 0},
        {"- 1", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483647},
        {"-2147483649", -2147483647 - 1},
        {"999999999999999999999999999999", 2147483647},
        {"-999999999999999999999999999999", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readDecimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(DecimalText, WritesPlainSignedDecimal) {
    EXPECT_EQ(writeDecimal(0), "0");
    EXPECT_EQ(writeDecimal(26), "26");
    EXPECT_EQ(writeDecimal(-1), "-1");
    EXPECT_EQ(writeDecimal(-2147483647 - 1), "-2147483648");
}

TEST(DecimalText, AddingStopsAtTheLimits) {
    EXPECT_EQ(addSaturated(2147483647, 1), 2147483647);
    EXPECT_EQ(addSaturated(-2147483647 - 1, -1), -2147483647 - 1);
    EXPECT_EQ(addSaturated(-1, 2), 1);
}

} // namespace
} // namespace visemer
