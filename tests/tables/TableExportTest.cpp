#include "tables/TableExport.h"
#include "model/DateTime.h"
#include "tests/support/CsvReader.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tables/TablesTestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A spreadsheet's number: the whole field, exactly the stored float.
float Number(const std::string& field) {
    float value = std::nanf("");
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    EXPECT_TRUE(error == std::errc() && end == field.data() + field.size()) << field;
    return value;
}

std::string Csv(const TableText& text) {
    std::string all;
    for (int32_t row = 0; row < text.RowCount(); ++row)
        all += text.RowText(row, RowFormat::Csv);
    return all;
}

class TableExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ParseRecording(db, {HistoricV1, HistoricI1}, 1000, 0, [](GeneratedRecording& r) {
            r.blocks[0].values[0] = 1234.5f;
            r.blocks[1].values[1] = std::nanf("");
        });
        text.SetGroup(&AddTable(db, {0, 1}).Sources);
        text.SetType(ttHistoric);
    }
    QString File(const char* name) const { return QString::fromStdString(scratch / name); }

    LDatabase db;
    TableText text{QLocale(QLocale::German, QLocale::Germany)};
    ScratchFolder scratch;
};

// Whatever the locale, a spreadsheet reads the numbers and date-times of a Historic table.
TEST_F(TableExportTest, CsvHoldsPlainNumbersAndDateTimes) {
    EXPECT_EQ(FormatForFileName(QStringLiteral("a.CSV")), RowFormat::Csv);
    EXPECT_EQ(FormatForFileName(QStringLiteral("a.csv.txt")), RowFormat::Tab);
    QString error;
    ASSERT_EQ(ExportTable(text, 0, 999, File("t.csv"), RowFormat::Csv, error),
              ExportResult::Written);
    const CsvRows rows = ReadCsv(ReadBytes(scratch / "t.csv"));
    ASSERT_EQ(rows.size(), 1001u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"Time", "RMS Voltage V1 (V)", "RMS Current I1 (A)"}));
    EXPECT_EQ(rows[1][0], "2026-11-30 01:05:01");
    EXPECT_EQ(rows[1][1], "1234.5");
    EXPECT_EQ(rows[2][2], ""); // not a number
    EXPECT_EQ(rows[1000][0], "2026-11-30 17:44:01");
    for (size_t k = 0; k < 1000; ++k) {
        ASSERT_EQ(rows[k + 1].size(), 3u);
        for (int32_t p = 0; p < 2; ++p) {
            const float stored = db.Parameters().Items(p)->Values()[k];
            if (!std::isnan(stored)) {
                ASSERT_EQ(Number(rows[k + 1][static_cast<size_t>(p) + 1]), stored) << k;
            }
        }
    }
    // The TAB-separated text is the window's.
    EXPECT_EQ(text.RowText(1).substr(0, 29), "30.11.2026 01:05:01\t1.234,50\t");
}

TEST_F(TableExportTest, CsvOfEventAndIntervalTables) {
    LDatabase events;
    ParseRecording(events, {HistoricV1, EventVoltageMaxV1, CumulativeEnergy, IntervalEnergy}, 45);
    const LParameter& max = *events.Parameters().Items(1);
    const LParameter& energy = *events.Parameters().Items(2);
    const LParameter& intervals = *events.Parameters().Items(3);
    LParameterSourceGroup& group = AddTable(events, {1, 2}).Sources;
    TableText table(UsLocale());
    table.SetGroup(&group);
    table.SetType(ttEvent);
    CsvRows rows = ReadCsv(Csv(table));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Parameter", "Value", "Unit", "Time"}));
    EXPECT_EQ(rows[1][0], "RMS Voltage Max - V1");
    EXPECT_EQ(Number(rows[1][1]), max.Values()[0]);
    EXPECT_EQ(rows[1][2], "V");
    EXPECT_EQ(rows[1][3].size(), 19u);
    EXPECT_EQ(rows[1][3], FormatIso8601(max.Times()[0]).replace(10, 1, " "));
    EXPECT_EQ(Number(rows[2][1]), energy.Values()[0]);
    EXPECT_EQ(rows[2][2], "WH");
    EXPECT_EQ(rows[2][3], ""); // a total has no time of its own

    group.ChainIntervalTwins(events.AllSources());
    table.SetType(ttCumulative);
    rows = ReadCsv(Csv(table));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Interval start", "RMS Voltage Max V1 (V)",
                                                 "Energy V1I1 (WH)"}));
    EXPECT_EQ(rows[1][0], "Recording"); // a maximum among the totals
    EXPECT_EQ(Number(rows[1][2]), energy.Values()[0]);
    for (int32_t k = 0; k < 3; ++k) {
        EXPECT_EQ(rows[static_cast<size_t>(k) + 2][0],
                  "2026-11-30 17:" + std::to_string(15 * k).insert(0, k ? "" : "0") + ":01");
        EXPECT_EQ(Number(rows[static_cast<size_t>(k) + 2][2]), intervals.Values()[k]);
        EXPECT_EQ(rows[static_cast<size_t>(k) + 2][1], ""); // no interval maxima recorded
    }
}

TEST_F(TableExportTest, WritesTheCopysTextOrNothing) {
    QString error;
    const QString file = File("table.txt");
    ASSERT_EQ(ExportTable(text, 0, 999, file, RowFormat::Tab, error), ExportResult::Written);
    std::string expected = text.RowText(0);
    for (int32_t row = 1; row <= 1000; ++row)
        expected += text.RowText(row);
    EXPECT_EQ(ReadBytes(file.toStdString()), expected);

    // Cancelled halfway, the former file stays as it was and nothing else is left.
    int calls = 0;
    EXPECT_EQ(ExportTable(text, 0, 999, file, RowFormat::Csv, error,
                          [&](int32_t done) {
                              EXPECT_EQ(done, 400 * ++calls);
                              return false;
                          }),
              ExportResult::Cancelled);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(ReadBytes(file.toStdString()), expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path), {}), 1);

    EXPECT_EQ(ExportTable(text, 0, 0, File("missing/t.csv"), RowFormat::Csv, error),
              ExportResult::Failed);
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
