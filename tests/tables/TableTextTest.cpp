#include "tables/TableText.h"
#include "tests/support/JoinedSeries.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tables/TablesTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The rows a copy of the whole table gives.
std::string AllRows(const TableText& text) {
    std::string all;
    for (int32_t row = 0; row < text.RowCount(); ++row)
        all += text.RowText(row);
    return all;
}

TableText Showing(const LParameterSourceGroup& group, LTableType type) {
    TableText text(UsLocale());
    text.SetGroup(&group);
    text.SetType(type);
    return text;
}

TimeStamp Stamp(int hour, int minute) {
    return EncodeTimeStamp({2026, 11, 30, hour, minute, 0});
}

class TableTextTest : public ::testing::Test {
protected:
    LDatabase db;
};

TEST_F(TableTextTest, HistoricLayout) {
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower}, 2, 1,
                   [](GeneratedRecording& r) {
                       r.blocks[0].values = {229.85f, 1234.5f};
                       r.blocks[2].values = {-15000.0f, std::nanf("")};
                   });
    const TableText text = Showing(AddTable(db, {0, 1, 2}).Sources, ttHistoric);
    EXPECT_EQ(text.RowCount(), 3);
    EXPECT_EQ(text.ColCount(), 4);
    QString main, second;
    text.GetCellText(1, 0, main, second);
    EXPECT_EQ(main, QStringLiteral("RMS Voltage"));
    EXPECT_EQ(second, QStringLiteral("V1 (V)"));
    text.GetCellText(1, 1, main, second);
    EXPECT_TRUE(second.isEmpty());
    EXPECT_EQ(AllRows(text), "Time\tRMS Voltage V1 (V)\tRMS Current I1 (A)\tReal Power V1I1 (W)\r\n"
                             "11/30/2026 5:43:01 PM\t229.85\t" +
                                 text.FormatValue(db.Parameters().Items(1)->Values()[0]) +
                                 "\t-15,000.00\r\n"
                                 "11/30/2026 5:44:01 PM\t1,234.50\t" +
                                 text.FormatValue(db.Parameters().Items(1)->Values()[1]) +
                                 "\t\r\n");
}

// Joined recordings: the gap's rows have their times and no values, in the window's text and
// in CSV; a year's last row is there.
TEST_F(TableTextTest, AGapsRowsHaveTheirTimesAndNoValues) {
    GeneratorOptions o;
    o.phaseConfig = 0;
    o.entries = {HistoricV1, HistoricI1};
    o.historicPoints = 2;
    o.start = CalendarTime{2026, 11, 30, 17, 0, 0};
    JoinSeries(db, GenerateSeries(o, 2, 1));
    const TableText text = Showing(AddTable(db, {0, 1}).Sources, ttHistoric);
    ASSERT_EQ(text.RowCount(), 6);
    EXPECT_EQ(text.RowText(3), "11/30/2026 5:02:00 PM\t\t\r\n");
    EXPECT_EQ(text.RowText(3, RowFormat::Csv), "2026-11-30 17:02:00,,\r\n");
    EXPECT_EQ(text.RowText(4).substr(0, 23), "11/30/2026 5:03:00 PM\t2");

    JoinedYear(db);
    LTableRecord& year = *db.AddTable();
    for (const auto& s : db.AllSources())
        year.Sources.Add(std::make_unique<LParameterSource>(*s));
    const TableText all = Showing(year.Sources, ttHistoric);
    ASSERT_EQ(all.RowCount(), 525601);
    const std::string last = all.RowText(525600);
    EXPECT_EQ(last.substr(0, 24), "12/31/2025 11:59:00 PM\t2");
    EXPECT_EQ(std::count(last.begin(), last.end(), '\t'), all.ColCount() - 1);
}

TEST_F(TableTextTest, EventLayoutGivesTheTimeOfEventParametersOnly) {
    ParseRecording(db, {EventVoltageMaxV1, CumulativeEnergy, EventVoltageMaxV1}, 2, 1,
                   [](GeneratedRecording& r) {
                       r.blocks[0].values = {229.85f};
                       r.blocks[0].stamps = {Stamp(12, 0)};
                       r.blocks[1].values = {1234.5f};
                       r.blocks[2].values = {INFINITY};
                   });
    const LParameterSourceGroup& group = AddTable(db, {0, 1, 2}).Sources;
    ASSERT_EQ(ChooseLayout(group).Type, ttEvent);
    const TableText text = Showing(group, ttEvent);
    EXPECT_EQ(text.FixedCols(), 0);
    EXPECT_EQ(AllRows(text),
              "Parameter\tValue\r\n"
              "RMS Voltage Max - V1\t229.85 V (11/30/2026 12:00:00 PM)\r\n"
              "Energy - V1I1\t1,234.50 WH\r\n"
              "RMS Voltage Max - V1\t??? V (" +
                  DateTimeToStr(db.Parameters().Items(2)->Times()[0], UsLocale()).toStdString() +
                  ")\r\n");
}

TEST_F(TableTextTest, CumulativeLayoutCountsIntervalsFromTheStart) {
    // 45 minutes: three intervals of 15.
    ParseRecording(db, {HistoricV1, CumulativeEnergy, IntervalEnergy}, 45, 0,
                   [](GeneratedRecording& r) {
                       r.blocks[1].values = {1234.5f};
                       r.blocks[2].values = {10.0f, 20.0f, 30.0f};
                   });
    LTableRecord& table = AddTable(db, {1});
    table.Sources.Items(0)->Next = std::make_unique<LParameterSource>(db.Parameters().Items(2));
    ASSERT_EQ(ChooseLayout(table.Sources).Type, ttCumulative);
    const TableText text = Showing(table.Sources, ttCumulative);
    // The header, Total, and one row per value of the next source; the recording starts 45
    // samples and a second before its end, at 17:00:01.
    EXPECT_EQ(text.RowCount(), 5);
    EXPECT_EQ(AllRows(text), "Interval start\tEnergy V1I1 (WH)\r\n"
                             "Total\t1,234.50\r\n"
                             "11/30/2026 5:00:01 PM\t10.00\r\n"
                             "11/30/2026 5:15:01 PM\t20.00\r\n"
                             "11/30/2026 5:30:01 PM\t30.00\r\n");
}

// A table as New Table makes it of a maximum and an energy: the totals, then the intervals
// from the parameters' twins; saved and loaded, it shows the same.
TEST_F(TableTextTest, IntervalTwinsShowAsRowsAndComeBackFromTheFile) {
    ParseRecording(
        db, {HistoricV1, EventVoltageMaxV1, CumulativeEnergy, IntervalEnergy, IntervalVoltageMaxV1},
        45);
    LTableRecord& table = AddTable(db, {1, 2});
    table.Sources.ChainIntervalTwins(db.AllSources());
    ASSERT_EQ(ChooseLayout(table.Sources).Type, ttCumulative);
    const TableText text = Showing(table.Sources, ttCumulative);
    ASSERT_EQ(text.RowCount(), 5);
    QString label, unused;
    text.GetCellText(0, 1, label, unused);
    EXPECT_EQ(label, QStringLiteral("Recording")); // totals and an extreme: not "Total"
    for (int32_t col = 1; col <= 2; ++col) {
        const LParameter& total = *db.Parameters().Items(col);
        const LParameter& intervals = *db.Parameters().Items(col == 1 ? 4 : 3);
        QString main, second;
        text.GetCellText(col, 1, main, second);
        // The maximum's one value is the recording's extreme, named with its time.
        EXPECT_EQ(main.toStdString(),
                  text.FormatValue(total.Values()[0]) +
                      (col == 1
                           ? " (Maximum, " +
                                 DateTimeToStr(total.Times()[0], UsLocale()).toStdString() + ")"
                           : ""));
        for (int32_t k = 0; k < 3; ++k) {
            text.GetCellText(col, k + 2, main, second);
            EXPECT_EQ(main.toStdString(), text.FormatValue(intervals.Values()[k]));
        }
    }

    ScratchFolder dir;
    db.SetFileName(dir / "intervals");
    db.Save(false);
    LDatabase loaded;
    loaded.New();
    loaded.Load(db.FileName());
    const LParameterSourceGroup& reloaded = loaded.Tables()[0]->Sources;
    EXPECT_EQ(AllRows(Showing(reloaded, ChooseLayout(reloaded).Type)), AllRows(text));
}

TEST_F(TableTextTest, AllHiddenKeepsOneEmptyColumnOrRow) {
    ParseRecording(db, {HistoricV1, HistoricI1, EventVoltageMaxV1});
    LParameterSourceGroup& historic = AddTable(db, {0, 1}).Sources;
    for (const auto& s : historic)
        s->Selected = false;
    const TableText text = Showing(historic, ttHistoric);
    EXPECT_EQ(AllRows(text), "Time\t\r\n11/30/2026 5:43:01 PM\t\r\n");

    LParameterSourceGroup& events = AddTable(db, {2}).Sources;
    events.Items(0)->Selected = false;
    EXPECT_EQ(AllRows(Showing(events, ttEvent)), "Parameter\tValue\r\n\t\r\n");
}

TEST_F(TableTextTest, LayoutFromTheKindsOfTheParameters) {
    ParseRecording(db, {HistoricV1, EventVoltageMaxV1, CumulativeEnergy, IntervalEnergy});
    const struct {
        std::initializer_list<int> parameters;
        bool chained;
        LTableType type;
        bool leavesOut;
    } cases[] = {
        {{0}, false, ttHistoric, false},
        {{1, 2}, false, ttEvent, false},
        {{1, 2}, true, ttCumulative, false},
        // Historic with Event: the Historic sources alone, and the window says so.
        {{1, 0}, false, ttHistoric, true},
        {{3}, false, TableText::NoLayout, false},
        {{}, false, TableText::NoLayout, false},
    };
    for (const auto& c : cases) {
        LParameterSourceGroup& group = AddTable(db, c.parameters).Sources;
        if (c.chained)
            group.Items(0)->Next = std::make_unique<LParameterSource>(db.Parameters().Items(3));
        const TableLayout layout = ChooseLayout(group);
        EXPECT_EQ(layout.Type, c.type) << group.Count();
        EXPECT_EQ(layout.LeavesOut, c.leavesOut) << group.Count();
    }
    const TableText mixed = Showing(db.Tables()[3]->Sources, ttHistoric);
    EXPECT_EQ(mixed.ColCount(), 2);
    EXPECT_EQ(mixed.RowText(0), "Time\tRMS Voltage V1 (V)\r\n");
}

// The clipboard copy once cut a row at 1023 characters.
TEST_F(TableTextTest, LongRowsAreWhole) {
    std::vector<int> entries(127, HistoricV1);
    ParseRecording(db, entries);
    LTableRecord& table = *db.AddTable();
    for (const auto& p : db.Parameters())
        table.Sources.Add(std::make_unique<LParameterSource>(p.get()));
    const TableText text = Showing(table.Sources, ttHistoric);
    const std::string header = text.RowText(0);
    EXPECT_GT(header.size(), 2000u);
    EXPECT_EQ(std::count(header.begin(), header.end(), '\t'), 127);
    EXPECT_EQ(header.substr(header.size() - 20), "RMS Voltage V1 (V)\r\n");
    EXPECT_EQ(text.GetRowText(1, nullptr), text.RowText(1).size());
}

TEST(TableTextFormatTest, ValuesWithTheLocalesSeparators) {
    const TableText us(UsLocale());
    const TableText german(QLocale(QLocale::German, QLocale::Germany));
    const struct {
        const TableText& text;
        float value;
        const char* expected;
    } cases[] = {
        {us, 1234.5f, "1,234.50"},
        {us, 0.0f, "0.00"},
        {us, 123.0f, "123.00"},
        {us, -1234567.0f, "-1,234,567.00"},
        {us, 999.999f, "1,000.00"},
        {us, -0.004f, "0.00"},
        {us, 3.4e38f, "339,999,995,214,436,424,907,732,413,799,364,296,704.00"},
        {german, 1234.5f, "1.234,50"},
        {us, std::nanf(""), "???"},
        {us, -INFINITY, "???"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text.FormatValue(c.value), c.expected) << c.value;
}

} // namespace
