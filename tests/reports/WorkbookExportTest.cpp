#include "reports/WorkbookExport.h"
#include "analysis/SurveyTables.h"

#include "analysis/RangeStatistics.h"
#include "analysis/Survey.h"
#include "analysis/SurveyFindingsText.h"
#include "reports/SheetNames.h"
#include "tests/reports/XlsxReader.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tables/TablesTestSupport.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr const char* DateTimeFormat = "yyyy-mm-dd hh:mm:ss";
constexpr const char* NumberFormat = "#,##0.00";

// A day count as the spreadsheet shows it, read by Qt's calendar rather than ours.
std::string DateText(const XlsxCell& cell) {
    const auto seconds = static_cast<qint64>(std::llround(std::stod(cell.value) * 86400));
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)
        .addSecs(seconds)
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
        .toStdString();
}

std::vector<std::string> CsvFields(const TableText& text, int32_t row) {
    std::vector<std::string> fields(1);
    for (char c : text.RowText(row, RowFormat::Csv))
        if (c == ',')
            fields.emplace_back();
        else if (c != '\r' && c != '\n')
            fields.back() += c;
    return fields;
}

std::string Ref(int col, int row) {
    return std::string(1, static_cast<char>('A' + col)) + std::to_string(row);
}

// Every cell of the sheet as the table's CSV export has it: texts equal, numbers the same
// floats, date-times the same second, an absent cell for an empty field.
void ExpectSheetIsTable(const XlsxSheet& sheet, const TableText& text) {
    for (int32_t row = 0; row < text.RowCount(); ++row) {
        const std::vector<std::string> fields = CsvFields(text, row);
        for (int col = 0; col < static_cast<int>(fields.size()); ++col) {
            const std::string ref = Ref(col, row + 1);
            const auto found = sheet.cells.find(ref);
            const TableCell expected = text.Cell(col, row);
            if (fields[static_cast<size_t>(col)].empty()) {
                ASSERT_TRUE(found == sheet.cells.end()) << ref;
                continue;
            }
            ASSERT_TRUE(found != sheet.cells.end()) << ref;
            const XlsxCell& cell = found->second;
            switch (expected.kind) {
            case TableCell::Text:
                ASSERT_EQ(cell.type, "inlineStr") << ref;
                ASSERT_EQ(cell.value, fields[static_cast<size_t>(col)]) << ref;
                ASSERT_EQ(cell.bold, row == 0 || (col == 0 && text.FixedCols() > 0)) << ref;
                break;
            case TableCell::Number:
                ASSERT_EQ(cell.type, "") << ref;
                ASSERT_EQ(cell.format, NumberFormat) << ref;
                ASSERT_EQ(static_cast<float>(std::stod(cell.value)),
                          static_cast<float>(expected.value))
                    << ref;
                break;
            case TableCell::DateTime:
                ASSERT_EQ(cell.type, "") << ref;
                ASSERT_EQ(cell.format, DateTimeFormat) << ref;
                ASSERT_EQ(DateText(cell), fields[static_cast<size_t>(col)]) << ref;
                break;
            case TableCell::Empty:
                FAIL() << ref;
            }
        }
    }
}

class WorkbookExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ParseRecording(
            db, {HistoricV1, HistoricI1, EventVoltageMaxV1, CumulativeEnergy, IntervalEnergy}, 1000,
            0, [](GeneratedRecording& r) {
                r.blocks[0].values[0] = 1234.5f;
                r.blocks[1].values[1] = std::nanf("");
            });
        historic.SetGroup(&AddTable(db, {0, 1}).Sources);
        historic.SetType(ttHistoric);
    }
    QString File(const char* name) const { return QString::fromStdString(scratch / name); }

    LDatabase db;
    TableText historic;
    ScratchFolder scratch;
};

TEST(SheetNamesTest, MakesValidUniqueNames) {
    const std::string x40(40, 'x'), o40 = [] {
        std::string o;
        for (int i = 0; i < 40; ++i)
            o += "Ø";
        return o;
    }();
    struct Case {
        std::string wanted, suffix, name;
    };
    const Case cases[] = {
        {"Table #1", "", "Table #1"},
        {"TABLE #1", "", "TABLE #1 (2)"}, // names differ in more than case
        {"Table #1", "", "Table #1 (3)"},
        {"a[b]c:d*e?f/g\\h", "", "a_b_c_d_e_f_g_h"},
        {"'quoted'", "", "_quoted_"},
        {x40, "", x40.substr(0, 31)},
        {x40, "", x40.substr(0, 27) + " (2)"},
        {o40, "", o40.substr(0, 62)}, // characters, not bytes
        {"", "", "Sheet"},
        {"History", "", "History (2)"},
        {"Chart #1", " chart", "Chart #1 chart"},
        {x40, " chart", x40.substr(0, 25) + " chart"},
    };
    SheetNames names;
    for (const Case& c : cases)
        EXPECT_EQ(names.Take(c.wanted, c.suffix), c.name) << c.wanted;
}

TEST_F(WorkbookExportTest, TableSheetHoldsTheTablesCellsTyped) {
    QString error;
    ASSERT_EQ(ExportTableWorkbook(historic, 0, 999, "Table: #1", File("t.xlsx"), error),
              ExportResult::Written)
        << error.toStdString();
    XlsxReader book(scratch / "t.xlsx");
    ASSERT_EQ(book.SheetNames(), std::vector<std::string>{"Table_ #1"});
    const XlsxSheet& sheet = book.Sheet("Table_ #1");
    ExpectSheetIsTable(sheet, historic);
    EXPECT_EQ(sheet.cells.at("B2").value, "1234.5");
    EXPECT_EQ(sheet.cells.count("C3"), 0u); // not a number
    EXPECT_EQ(sheet.paneTopLeft, "B2");
    EXPECT_EQ(sheet.filter, "A1:C1001");
    EXPECT_GE(sheet.widths.at(1), 19); // a date-time
    EXPECT_GE(sheet.widths.at(2), std::string("RMS Voltage V1 (V)").size());
}

TEST_F(WorkbookExportTest, DatabaseWorkbookHasEverySheet) {
    LTableRecord& events = AddTable(db, {2, 3});
    events.Caption = "Statistics";
    LTableRecord& cumulative = AddTable(db, {3});
    cumulative.Sources.ChainIntervalTwins(db.AllSources());
    cumulative.Caption = "Energy: per interval [kWh] of the whole recording";
    LChartRecord& chart = *db.AddChart();
    for (int i : {0, 1, 2})
        chart.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(i)));
    chart.Sources.Items(1)->Selected = false;
    QString error;
    ASSERT_EQ(ExportDatabaseWorkbook(db, File("db.xlsx"), error), ExportResult::Written)
        << error.toStdString();

    XlsxReader book(scratch / "db.xlsx");
    const std::string energy = "Energy_ per interval _kWh_ of t";
    ASSERT_EQ(book.SheetNames(),
              (std::vector<std::string>{"Recording", "Table #1", "Statistics (2)", energy,
                                        "Statistics", "Survey", "Chart #1", "Chart #1 chart"}));
    const auto layouts = {std::pair{&events, "Statistics (2)"}, {&cumulative, energy.c_str()}};
    for (const auto& [table, name] : layouts) {
        TableText text;
        text.SetGroup(&table->Sources);
        text.SetType(ChooseLayout(table->Sources).Type);
        ExpectSheetIsTable(book.Sheet(name), text);
        EXPECT_EQ(book.Sheet(name).paneTopLeft, text.FixedCols() ? "B2" : "A2") << name;
    }

    const XlsxSheet& recording = book.Sheet("Recording");
    EXPECT_EQ(recording.cells.at("A2").value, "Location");
    EXPECT_TRUE(recording.cells.at("A2").bold);
    EXPECT_EQ(recording.cells.at("B4").format, DateTimeFormat);

    const XlsxSheet& statistics = book.Sheet("Statistics");
    const RangeStatistics stats = StatisticsOfRecording(db.Parameters());
    EXPECT_EQ(statistics.cells.at("M1").value, "Integral unit");
    EXPECT_EQ(statistics.cells.at("D2").value, std::to_string(stats.Rows[0].Count));
    EXPECT_EQ(statistics.cells.at("G2").format, DateTimeFormat);
    EXPECT_EQ(static_cast<float>(std::stod(statistics.cells.at("F2").value)),
              static_cast<float>(*stats.Rows[0].Minimum));
    EXPECT_EQ(statistics.paneTopLeft, "B2");

    ASSERT_FALSE(RunSurvey(db.Parameters(), {}).Power);
    EXPECT_EQ(book.Sheet("Survey").cells.at("A1").value, NoPowerText);

    // The chart: its visible Historic parameter over the time column of its data sheet.
    const XlsxSheet& data = book.Sheet("Chart #1");
    EXPECT_EQ(data.cells.at("B1").value, "RMS Voltage V1 (V)");
    EXPECT_EQ(data.cells.count("C1"), 0u);
    EXPECT_EQ(data.cells.count("A1001"), 1u);
    EXPECT_TRUE(book.Sheet("Chart #1 chart").chartsheet);
    const std::string xml = book.Entry("xl/charts/chart1.xml");
    EXPECT_NE(xml.find("<c:scatterChart>"), std::string::npos);
    EXPECT_NE(xml.find("'Chart #1'!$A$2:$A$1001"), std::string::npos);
    EXPECT_NE(xml.find("'Chart #1'!$B$2:$B$1001"), std::string::npos);
    EXPECT_EQ(xml.find("$C$2"), std::string::npos);
}

TEST(WorkbookSurveyTest, SurveySheetHasTheLoadStudyAndEnergyPerDay) {
    GeneratorOptions o;
    o.historicPoints = 3 * 1440;
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    const SurveyResult survey = RunSurvey(db.Parameters(), {});
    ASSERT_TRUE(survey.Power);
    ScratchFolder scratch;
    QString error;
    ASSERT_EQ(ExportDatabaseWorkbook(db, QString::fromStdString(scratch / "s.xlsx"), error),
              ExportResult::Written);
    XlsxReader book(scratch / "s.xlsx");
    const XlsxSheet& sheet = book.Sheet("Survey");
    EXPECT_EQ(sheet.cells.at("A1").value, "Load study");
    EXPECT_TRUE(sheet.cells.at("A1").bold);
    int dates = 0;
    for (const auto& [ref, cell] : sheet.cells)
        if (cell.format == "yyyy-mm-dd") {
            ++dates;
            const double energy = std::stod(sheet.cells.at("C" + ref.substr(1)).value);
            EXPECT_NEAR(energy, survey.Power->Days[static_cast<size_t>(dates - 1)].EnergyWh,
                        1e-6 * std::fabs(energy));
        }
    EXPECT_EQ(dates, static_cast<int>(survey.Power->Days.size()));

    // The Survey window's tables, each a workbook of its own, typed.
    ASSERT_EQ(ExportTextTableWorkbook(EnergyDayTable(survey.Power->Days), "Energy per day",
                                      QString::fromStdString(scratch / "e.xlsx"), error),
              ExportResult::Written);
    XlsxReader energy(scratch / "e.xlsx");
    EXPECT_EQ(energy.SheetNames(), std::vector<std::string>{"Energy per day"});
    const XlsxSheet& days = energy.Sheet("Energy per day");
    EXPECT_EQ(days.paneTopLeft, "B2");
    EXPECT_EQ(days.cells.at("A2").format, "yyyy-mm-dd");
    EXPECT_EQ(days.cells.at("B2").value, survey.Power->Days[0].Full() ? "full" : "partial");
    EXPECT_EQ(days.cells.at("E2").format, "yyyy-mm-dd hh:mm:ss");
    EXPECT_EQ(days.cells.at("G2").format, "0.00%");
    ASSERT_TRUE(survey.Voltage);
    ASSERT_EQ(ExportTextTableWorkbook(VoltageTable(*survey.Voltage), "Voltage",
                                      QString::fromStdString(scratch / "v.xlsx"), error),
              ExportResult::Written);
    XlsxReader voltage(scratch / "v.xlsx");
    const XlsxSheet& channels = voltage.Sheet("Voltage");
    const VoltageChannel& first = survey.Voltage->Channels.at(0);
    EXPECT_EQ(channels.cells.at("A2").value, first.ChannelLabel);
    // The nominal's note stands in a column of its own after it.
    EXPECT_EQ(channels.cells.at("C1").value, "Nominal source");
    EXPECT_EQ(channels.cells.at("D2").value, std::to_string(first.Blocks.Complete));
    EXPECT_EQ(channels.cells.at("E2").format, "0.00%");
    EXPECT_NEAR(std::stod(channels.cells.at("G2").value), first.Maximum->Value, 1e-9);
    EXPECT_EQ(channels.cells.at("H2").format, "yyyy-mm-dd hh:mm:ss");
    EXPECT_NEAR(std::stod(channels.cells.at("I2").value), first.Minimum->Value, 1e-9);
    EXPECT_EQ(channels.cells.count("A" + std::to_string(survey.Voltage->Channels.size() + 2)), 0u);
}

// With the survey's options the sheet gets the cost by month and charge, the power factor's
// figures and the unbalance, each under its bold heading; without a tariff, the line why.
TEST(WorkbookSurveyTest, SurveySheetHasTheCostPowerFactorAndUnbalance) {
    GeneratorOptions o;
    o.historicPoints = 3 * 1440;
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    SurveyOptions options;
    options.CostTariff = SimpleTariff(0.2, 10, 30);
    const SurveyResult survey = RunSurvey(db.Parameters(), options);
    ASSERT_TRUE(survey.Power && survey.Power->Cost && survey.Power->PowerFactor.BankVar &&
                survey.Unbalance.Voltage);
    ScratchFolder scratch;
    QString error;
    for (const bool tariff : {true, false}) {
        SCOPED_TRACE(tariff);
        SurveyOptions asked = options;
        if (!tariff)
            asked.CostTariff.reset();
        ASSERT_EQ(ExportDatabaseWorkbook(db, QString::fromStdString(scratch / "s.xlsx"), error, {},
                                         asked),
                  ExportResult::Written);
        XlsxReader book(scratch / "s.xlsx");
        const XlsxSheet& sheet = book.Sheet("Survey");
        // The row whose first cells are these, and the value of its cell in column.
        const auto at = [&](const std::string& a, const std::string& b,
                            const std::string& column) -> std::string {
            for (const auto& [ref, cell] : sheet.cells) {
                const std::string row = ref.substr(1);
                if (ref[0] == 'A' && cell.value == a &&
                    (b.empty() ||
                     (sheet.cells.count("B" + row) && sheet.cells.at("B" + row).value == b)))
                    return sheet.cells.count(column + row) ? sheet.cells.at(column + row).value
                                                           : std::string("(empty)");
            }
            return "(none)";
        };
        for (const char* heading : {"Cost", "Power factor", "Unbalance"})
            EXPECT_EQ(at(heading, "", "A"), heading);
        EXPECT_NEAR(std::stod(at("Bank", "", "B")), *survey.Power->PowerFactor.BankVar, 1e-6);
        // A percentage cell: the spreadsheet shows it in %.
        EXPECT_NEAR(100 * std::stod(at("Voltage", "VAN, VBN, VCN", "F")),
                    survey.Unbalance.Voltage->Max->Value, 1e-9);
        if (tariff)
            EXPECT_NEAR(std::stod(at("all", "total", "I")), survey.Power->Cost->Total, 1e-9);
        else
            EXPECT_EQ(at("Cost: no tariff given.", "", "A"), "Cost: no tariff given.");
    }
}

// With the battery study asked for, a "Battery" sheet follows the survey's: the table of every
// cap as numbers under a bold frozen header, then its notes with the caveat; not asked, none.
TEST(WorkbookSurveyTest, BatterySheetOnlyWhenAsked) {
    GeneratorOptions o;
    o.historicPoints = 3 * 1440;
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    SurveyOptions options;
    options.CostTariff = SimpleTariff(0.2, 10, 30);
    ScratchFolder scratch;
    QString error;
    for (const bool asked : {false, true}) {
        SCOPED_TRACE(asked);
        if (asked) {
            options.Battery.emplace();
            options.Battery->PricePerKwh = 400;
        }
        ASSERT_EQ(ExportDatabaseWorkbook(db, QString::fromStdString(scratch / "b.xlsx"), error, {},
                                         options),
                  ExportResult::Written);
        XlsxReader book(scratch / "b.xlsx");
        const std::vector<std::string> names = book.SheetNames();
        const auto survey = std::find(names.begin(), names.end(), "Survey");
        ASSERT_NE(survey, names.end());
        EXPECT_EQ(survey + 1 != names.end() && survey[1] == "Battery", asked);
        if (!asked)
            continue;
        const SurveyResult result = RunSurvey(db.Parameters(), options);
        ASSERT_TRUE(result.Power && result.Power->Battery);
        const BatteryStudy& b = *result.Power->Battery;
        const XlsxSheet& sheet = book.Sheet("Battery");
        EXPECT_EQ(sheet.paneTopLeft, "B2");
        const XlsxCell& header = sheet.cells.at("A1");
        EXPECT_EQ(header.value, BatteryTable(b).HeaderText(0));
        EXPECT_TRUE(header.bold);
        ASSERT_EQ(b.Rows.size(), static_cast<size_t>(DefaultBatteryCaps));
        for (size_t i = 0; i < b.Rows.size(); ++i) {
            const std::string row = std::to_string(i + 2);
            EXPECT_NEAR(std::stod(sheet.cells.at("A" + row).value), b.Rows[i].CapWatts, 1e-6);
            EXPECT_NEAR(std::stod(sheet.cells.at("C" + row).value), b.Rows[i].EnergyWh, 1e-6);
            EXPECT_NEAR(std::stod(sheet.cells.at("G" + row).value), *b.Rows[i].Price, 1e-6);
        }
        bool caveat = false;
        for (const auto& [ref, cell] : sheet.cells)
            caveat = caveat || cell.value == PeakShavingCaveat;
        EXPECT_TRUE(caveat);
    }
}

TEST_F(WorkbookExportTest, CancelOrFailureLeavesNoFile) {
    const QString file = File("t.xlsx");
    WriteBytes(file.toStdString(), "former");
    QString error;
    int calls = 0;
    EXPECT_EQ(ExportTableWorkbook(historic, 0, 999, "T", file, error,
                                  [&](int32_t done) {
                                      EXPECT_EQ(done, 400 * ++calls);
                                      return calls < 2;
                                  }),
              ExportResult::Cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(ReadBytes(file.toStdString()), "former");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path), {}), 1);

    EXPECT_EQ(ExportDatabaseWorkbook(db, File("missing/t.xlsx"), error), ExportResult::Failed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(IsWorkbookFileName(QStringLiteral("a.XLSX")));
    EXPECT_FALSE(IsWorkbookFileName(QStringLiteral("a.xlsx.csv")));
}

} // namespace
