#include "model/PlainText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TDateTime At(int year, int month, int day, double seconds) {
    TDateTime date = 0;
    EXPECT_TRUE(TryEncodeDate(year, month, day, date));
    return date + seconds / SecsPerDay;
}

} // namespace

TEST(PlainTextTest, DateTimesRoundToTheNearestSecondAndTurnTheDateOver) {
    const struct {
        TDateTime value;
        const char* text;
    } cases[] = {
        {At(2024, 3, 11, 9 * 3600 + 29 * 60 + 59.499), "2024-03-11 09:29:59"},
        {At(2024, 3, 11, 9 * 3600 + 29 * 60 + 59.5), "2024-03-11 09:30:00"},
        {At(2024, 12, 31, 86399.6), "2025-01-01 00:00:00"},
        {At(2024, 2, 29, 0), "2024-02-29 00:00:00"},
        {At(1, 1, 1, 0), "0001-01-01 00:00:00"},
        {std::numeric_limits<double>::quiet_NaN(), ""},
        {std::numeric_limits<double>::infinity(), ""},
        {At(9999, 12, 31, 86399.7), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainDateTime(c.value), c.text) << c.text;
}

TEST(PlainTextTest, CsvFieldsAreQuotedOnlyWhenTheyMustBe) {
    const struct {
        const char* field;
        const char* csv;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        AppendCsvField(out, c.field);
        EXPECT_EQ(out, std::string("x") + c.csv) << c.field;
    }
}
