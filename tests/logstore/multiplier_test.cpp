#include "logstore/core/multiplier.h"

#include <cmath>
#include <gtest/gtest.h>

namespace pln {
namespace {

TEST(Multiplier, EvaluatesProductsAndQuotientsLeftToRight) {
    EXPECT_EQ(getMultiplier("1/1"), 1.0);
    EXPECT_EQ(getMultiplier("24 * 3600 / 1024 / 1024"), 0.0823974609375);
    EXPECT_EQ(getMultiplier("  1 / 2  "), 0.5);
    EXPECT_EQ(getMultiplier("8/4*2"), 4.0);
    EXPECT_EQ(getMultiplier("-2.5e1"), -25.0);
    EXPECT_EQ(getMultiplier("+.5"), 0.5);
    EXPECT_EQ(getMultiplier("1,5", ','), 1.5);
    // The locale's separator and the dot alike.
    EXPECT_EQ(getMultiplier("2.5", ','), 2.5);
    EXPECT_EQ(getMultiplier("2,5 * 1.5", ','), 3.75);
    EXPECT_TRUE(std::isnan(getMultiplier("1,5.5", ',')));
}

TEST(Multiplier, InvalidTextsGiveTheMissingValue) {
    for (const char* text : {"", "   ", "2*", "/2", "3/0", "0", "0*5", "2**3", "abc", "1.5.2",
                             "inf", "nan", "1e", "12abc", "1e999", "1e200*1e200", "1,5"})
        EXPECT_TRUE(std::isnan(getMultiplier(text))) << text;
}

TEST(Multiplier, AnEditedLogKeepsItsValueWhileTheTextIsAsShownIfItIsUsable) {
    EXPECT_EQ(editedMultiplier("1.23457e+06", "1.23457e+06", 1234567), 1234567);
    EXPECT_EQ(editedMultiplier("2", "1.23457e+06", 1234567), 2);
    for (double stored : {0.0, HUGE_VAL, -HUGE_VAL, std::nan("")})
        EXPECT_TRUE(std::isnan(editedMultiplier("x", "x", stored))) << stored;
}

TEST(Multiplier, NumbersAreFormattedAndParsedWhole) {
    EXPECT_EQ(formatNumber(2.5, ','), "2,5");
    EXPECT_EQ(formatNumber(0.0823974609375), "0.0823975");
    EXPECT_EQ(formatNumber(1e20), "1e+20");
    EXPECT_EQ(parseDecimal("-3.5"), -3.5);
    EXPECT_EQ(parseDecimal("0"), 0.0);
    EXPECT_EQ(parseDecimal("7."), 7.0);
    EXPECT_FALSE(parseDecimal("."));
    EXPECT_FALSE(parseDecimal("1 "));
    EXPECT_FALSE(parseDecimal("0x10"));
}

} // namespace
} // namespace pln
