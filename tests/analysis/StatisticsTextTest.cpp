#include "analysis/StatisticsText.h"
#include "analysis/SourceStatistics.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace code;

TextStyle German() {
    TextStyle style;
    style.DecimalPoint = ",";
    style.GroupSeparator = ".";
    style.DateTime = [](TDateTime t) { return "T" + std::to_string(WholeSeconds(t) % 86400); };
    return style;
}

TEST(StatisticsTextTest, NumbersAsTheTablesWriteThem) {
    const TextStyle plain;
    struct Case {
        double value;
        int decimals;
        const char* plain;
        const char* german;
    } cases[] = {
        {1234567.891, 2, "1,234,567.89", "1.234.567,89"},
        {-1234.5, 1, "-1,234.5", "-1.234,5"},
        {-0.001, 2, "0.00", "0,00"},
        {999.999, 2, "1,000.00", "1.000,00"},
        {50000, 0, "50,000", "50.000"},
        {NAN, 2, "???", "???"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plain.Number(c.value, c.decimals), c.plain);
        EXPECT_EQ(German().Number(c.value, c.decimals), c.german);
    }
    EXPECT_EQ(plain.Time(At(2024, 3, 11, 9, 30, 0.6)), "2024-03-11 09:30:01");
}

TEST(StatisticsTextTest, RowsAsTheWindowCopiesThem) {
    LParameterCollection recording;
    const TDateTime start = At(2024, 3, 11, 9);
    std::vector<SourceStatistics> rows = {
        ComputeStatistics(*AddHistoric(recording, RealPower, Watts, ThreePhase,
                                       {1000, NAN, 3000, 2000}, start, 900)),
        ComputeStatistics(*AddHistoric(recording, Rms, Volts, VAN, {}, start, 900)),
    };
    EXPECT_EQ(StatisticsText(rows, TextStyle()),
              "Parameter\tChannel\tUnit\tCount\tCoverage\tMinimum\tTime of minimum\tMaximum\t"
              "Time of maximum\tMean\tStd dev\tIntegral\tLoad factor\r\n"
              "Real Power\t3Ø\tW\t3\t75.00 %\t1,000.00\t2024-03-11 09:00:00\t3,000.00\t"
              "2024-03-11 09:30:00\t2,000.00\t816.50\t1,500.00 WH\t0.667\r\n"
              "RMS Voltage\tVAN\tV\t0\t\t\t\t\t\t\t\t\t\r\n");
    const std::string csv = StatisticsText(rows, German(), CellFormat::Csv);
    EXPECT_NE(csv.find("Real Power,3Ø,W,3,\"75,00 %\",\"1.000,00\",T32400,\"3.000,00\",T34200,"
                       "\"2.000,00\",\"816,50\",\"1.500,00 WH\",\"0,667\"\r\n"),
              std::string::npos)
        << csv;
}

} // namespace
