#include "charts/ChartText.h"
#include "model/LParameter.h"
#include "model/LSession.h"
#include "tests/tables/TablesTestSupport.h"
#include "texts/DateTimeText.h"

#include <gtest/gtest.h>

namespace {

TEST(ChartValueTextTest, ValuesAreFixedWithTwoDecimalsOfEightSignificantDigits) {
    const std::pair<double, const char*> cases[] = {{1234.5, "1234.50"},
                                                    {-0.125, "-0.13"},
                                                    {12345678.9, "12345679.00"},
                                                    {1234567.891, "1234567.90"},
                                                    {123456789.0, "1.2345679E+08"},
                                                    {0, "0.00"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatFixed(value, UsLocale()), text) << value;
    EXPECT_EQ(FormatFixed(98765.4, QLocale(QLocale::German, QLocale::Germany)), "98765,40");
}

class ChartTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ParseRecording(db, {HistoricV1, EventVoltageMaxV1}, 3, 1, [](GeneratedRecording& r) {
            r.blocks[0].values = {118.204f, 126.4f, 120};
            r.blocks[1].values = {127.25f};
        });
    }
    LDatabase db;
};

TEST_F(ChartTextTest, SeriesTitlesCarryTheUnitOrForHistoricParametersTheirExtremes) {
    const LParameterSource historic(db.Parameters().Items(0));
    const LParameterSource event(db.Parameters().Items(1));
    EXPECT_EQ(SeriesTitle(historic, false, UsLocale()), "RMS Voltage - V1 (V)");
    EXPECT_EQ(SeriesTitle(historic, true, UsLocale()), "RMS Voltage - V1 [ 118.20V .. 126.40V ] ");
    EXPECT_EQ(SeriesTitle(event, true, UsLocale()), "RMS Voltage Max - V1 (V)");
    LDatabase intervals;
    ParseRecording(intervals, {IntervalVoltageMaxV1}, 3, 1);
    EXPECT_EQ(SeriesTitle(LParameterSource(intervals.Parameters().Items(0)), true, UsLocale()),
              "RMS Voltage Max - V1 (V) (intervals)");
}

TEST_F(ChartTextTest, ExamineNamesTheRecordedValueAndItsTime) {
    const DateTimeFormatter format(UsLocale());
    const LParameterSource historic(db.Parameters().Items(0));
    EXPECT_EQ(ExamineText(historic, 1, format).toStdString(),
              "RMS Voltage - V1 = 126.40V  11/30/2026 5:43:01 PM");
    EXPECT_EQ(ExamineText(historic, 3, format), "No value");
}

TEST_F(ChartTextTest, TheFooterTellsTheSpanAndTheLocation) {
    const DateTimeFormatter format(UsLocale());
    const TDateTime start = db.Header().StartTime;
    const QString span = "Start: 11/30/2026 5:42:01 PM End: 11/30/2026 5:44:01 PM";
    EXPECT_EQ(FooterLines(true, true, true, start, start + 2 / 1440.0, "Plant 2", format)
                  .join('|')
                  .toStdString(),
              (span + "|Plant 2").toStdString());
    EXPECT_EQ(FooterLines(true, true, true, start, start + 2 / 1440.0, "", format).join('|'), span);
    EXPECT_EQ(FooterLines(false, true, true, start, start, "Plant 2", format),
              QStringList({"Plant 2"}));
    EXPECT_TRUE(FooterLines(true, false, false, start, start, "Plant 2", format).isEmpty());
}

} // namespace
