#include "model/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(NumberFormatTest, RoundsGroupsAndSigns) {
    NumberFormat indian;
    indian.HigherGroups = 2;
    NumberFormat spaced;
    spaced.GroupSeparator = "\u202f";
    spaced.DecimalPoint = ",";
    const NumberFormat plain = NumberFormat::Plain();
    const NumberFormat standard;
    const struct {
        const NumberFormat& format;
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {standard, 0.125, 2, "0.13"}, // a tie, away from zero
        {standard, -0.125, 2, "-0.13"},
        {standard, 2.5, 0, "3"},
        {standard, -9.5, 0, "-10"},
        {standard, 2.675, 2, "2.67"},  // 2.67499999...
        {standard, 0.1251, 2, "0.13"}, // near a tie, but not one
        {standard, 0.12549, 3, "0.125"},
        {standard, 999.995, 2, "1,000.00"}, // 999.99500000000000455
        {standard, 999.994, 2, "999.99"},
        {standard, -0.001, 2, "0.00"},
        {standard, -0.0, 0, "0"},
        {standard, -999999.5, 0, "-1,000,000"},
        {standard, 123, 0, "123"},
        {standard, 1234, 0, "1,234"},
        {standard, 1e15, 1, "1,000,000,000,000,000.0"},
        {indian, 1234567.25, 2, "12,34,567.25"},
        {indian, 123456, 0, "1,23,456"},
        {spaced, -12345.678, 1, "-12\u202f345,7"},
        {plain, -1234567.891, 3, "-1234567.891"},
        {plain, 5039, 0, "5039"},
        {standard, std::numeric_limits<double>::quiet_NaN(), 2, "???"},
        {standard, -std::numeric_limits<double>::infinity(), 2, "???"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.format.Fixed(c.value, c.decimals), c.text) << c.value;
}

TEST(NumberFormatTest, LongestNumberFitsItsBuffer) {
    NumberFormat wide;
    wide.GroupSeparator = "12345678";
    wide.Group = 1;
    wide.HigherGroups = 1;
    wide.GroupFrom = 2;
    std::string text = wide.Fixed(-std::numeric_limits<double>::max(), NumberFormat::MaxDecimals);
    EXPECT_LE(text.size(), NumberFormat::MaxLength);
    EXPECT_EQ(text.substr(0, 10), "-112345678");
}

} // namespace

TEST(NumberFormatTest, ScaledUnitsForPeople) {
    NumberFormat comma;
    comma.DecimalPoint = ",";
    comma.GroupSeparator = ".";
    const struct {
        double value;
        const char* unit;
        int decimals;
        const char* text;
    } cases[] = {
        {800, "W", 2, "0.80 kW"},
        {0, "var", 0, "0 kvar"},
        {999.996, "W", 2, "1.00 kW"},
        {25126.6, "W", 2, "25.13 kW"},
        {-1500, "W", 1, "-1.5 kW"},
        {9999.99e3, "WH", 2, "9,999.99 kWh"},
        {18551825.69, "WH", 2, "18.55 MWh"},
        {18551825.69, "Wh", 0, "19 MWh"},
        {4200, "VAR", 2, "4.20 kvar"},
        {950, "var", 0, "1 kvar"},
        {9999.996e3, "VARH", 2, "10.00 Mvarh"}, // rounds into the next unit
        {12.5e3, "VAH", 1, "12.5 kVAh"},
        {2.5e7, "VA", 2, "25.00 MVA"},
        {230, "V", 1, "230.0 V"}, // not a power: as given
        {std::numeric_limits<double>::quiet_NaN(), "W", 2, "??? kW"},
    };
    const NumberFormat standard;
    for (const auto& c : cases)
        EXPECT_EQ(standard.Scaled(c.value, c.unit, c.decimals), c.text) << c.value;
    EXPECT_EQ(comma.Scaled(12345678, "WH"), "12,35 MWh");
}
