#include "tables/TableExport.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tables/TablesTestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class TableExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ParseRecording(db, {HistoricV1, HistoricI1}, 1000, 1,
                       [](GeneratedRecording& r) { r.blocks[0].values[0] = 1234.5f; });
        text.SetGroup(&AddTable(db, {0, 1}).Sources);
        text.SetType(ttHistoric);
    }
    QString File(const char* name) const { return QString::fromStdString(scratch / name); }

    LDatabase db;
    TableText text{QLocale(QLocale::German, QLocale::Germany)};
    ScratchFolder scratch;
};

TEST_F(TableExportTest, CsvQuotesWhatHoldsACommaOrAQuote) {
    EXPECT_EQ(FormatForFileName(QStringLiteral("a.CSV")), RowFormat::Csv);
    EXPECT_EQ(FormatForFileName(QStringLiteral("a.csv.txt")), RowFormat::Tab);
    EXPECT_EQ(text.RowText(0, RowFormat::Csv), "Time,RMS VoltageV1 (V),RMS CurrentI1 (A)\r\n");
    EXPECT_EQ(text.RowText(1, RowFormat::Csv).substr(0, 30), "30.11.26 01:05:01,\"1.234,50\",\"");
    EXPECT_EQ(text.RowText(1, RowFormat::Tab).substr(0, 27), "30.11.26 01:05:01\t1.234,50\t");
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
