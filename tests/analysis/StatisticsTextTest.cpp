#include "analysis/StatisticsText.h"
#include "analysis/SourceStatistics.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace code;

TextStyle German() {
    TextStyle style;
    style.Numbers.DecimalPoint = ",";
    style.Numbers.GroupSeparator = ".";
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

// A person reads powers and energies in kW and kWh (MWh from 10 000 kWh), each row in the
// unit its largest figure takes; the file keeps W and WH.
TEST(StatisticsTextTest, RowsAsTheWindowCopiesThem) {
    LParameterCollection recording;
    const TDateTime start = At(2024, 3, 11, 9);
    std::vector<SourceStatistics> rows = {
        ComputeStatistics(*AddHistoric(recording, RealPower, Watts, ThreePhase,
                                       {1000, NAN, 3000, 2000}, start, 900)),
        ComputeStatistics(*AddHistoric(recording, Rms, Volts, VAN, {}, start, 900)),
    };
    const TextTable table = StatisticsTable(rows);
    EXPECT_EQ(table.Text(TextStyle(), CellFormat::Tab),
              "Parameter\tChannel\tUnit\tCount\tCoverage\tMinimum\tTime of minimum\tMaximum\t"
              "Time of maximum\tMean\tStd dev\tIntegral\tLoad factor\r\n"
              "Real Power\t3Ø\tkW\t3\t75.00 %\t1.00\t2024-03-11 09:00:00\t3.00\t"
              "2024-03-11 09:30:00\t2.00\t0.82\t1.50 kWh\t0.667\r\n"
              "RMS Voltage\tVAN\tV\t0\t\t\t\t\t\t\t\t\t\r\n");
    // The locale never reaches a spreadsheet's file.
    EXPECT_EQ(table.Text(German(), CellFormat::Csv),
              "Parameter,Channel,Unit,Count,Coverage (%),Minimum,Time of minimum,Maximum,"
              "Time of maximum,Mean,Std dev,Integral,Integral unit,Load factor\r\n"
              "Real Power,3Ø,W,3,75.00,1000.00,2024-03-11 09:00:00,3000.00,2024-03-11 09:30:00,"
              "2000.00,816.50,1500.00,WH,0.667\r\n"
              "RMS Voltage,VAN,V,0,,,,,,,,,,\r\n");
}

} // namespace
