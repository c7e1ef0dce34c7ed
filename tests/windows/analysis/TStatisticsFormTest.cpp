#include "windows/analysis/TStatisticsForm.h"

#include "analysis/StatisticsText.h"
#include "database/LChartRecord.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTexts.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/PdfPages.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tables/TablesTestSupport.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartForm.h"
#include "windows/tables/TTableForm.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPrinter>
#include <QTableView>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TStatisticsFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(UsLocale());
        // 120 one-minute samples of a voltage, a current and the real power.
        ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower}, 120);
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::system());
        // The program must not keep printing from this test's database.
        SetProgramDatabase(nullptr);
    }

    static std::vector<std::string> Names(const TStatisticsForm& form) {
        std::vector<std::string> names;
        for (const SourceStatistics& row : form.Statistics().Rows)
            names.push_back(row.Parameter->Name() + " " + row.Parameter->ChannelLabel());
        return names;
    }

    LDatabase db;
};

// The figures in the locale's numbers and in kW, the CSV the same in every locale and in W.
TEST_F(TStatisticsFormTest, NumbersInTheUsersLocale) {
    LDatabase recording;
    ParseRecording(recording, {HistoricRealPower}, 2, 0, [](GeneratedRecording& r) {
        r.blocks[0].values = {-1234500.f, 3100250.f};
    });
    LTableRecord& table = AddTable(recording, {0});
    TTableForm tableForm(table);
    const struct {
        const char *locale, *minimum, *maximum;
    } cases[] = {{"en_US", "-1,234.50", "3,100.25"},
                 {"de_DE", "-1.234,50", "3.100,25"},
                 {"fr_FR", "-1\u202f234,50", "3\u202f100,25"},
                 {"es_ES", "-1234,50", "3100,25"},
                 {"C", "-1234.50", "3100.25"}};
    std::string csv;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        const LocaleGuard locale(c.locale);
        TStatisticsForm form(tableForm);
        const QAbstractItemModel& model = *form.Grid()->model();
        EXPECT_EQ(model.index(0, 5).data().toString().toStdString(), c.minimum);
        EXPECT_EQ(model.index(0, 7).data().toString().toStdString(), c.maximum);
        EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("kW"));
        EXPECT_TRUE(csv.empty() || form.Text(CellFormat::Csv) == csv);
        csv = form.Text(CellFormat::Csv);
    }
    EXPECT_NE(csv.find(",W,2,100.00,-1234500.00,"), std::string::npos) << csv;
}

// The rows are the visible sources in their order, over the table's range; hiding one and
// telling the window drops its row after the refresh delay, and the copy is the rows' text.
TEST_F(TStatisticsFormTest, ATablesRowsFollowItsVisibleParameters) {
    LTableRecord& table = AddTable(db, {0, 1, 2});
    TTableForm tableForm(table);
    TStatisticsForm form(tableForm);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Statistics of Table #1"));
    ASSERT_EQ(form.Statistics().Rows.size(), 3u);
    for (const SourceStatistics& row : form.Statistics().Rows)
        EXPECT_EQ(row.Count, 120);
    EXPECT_TRUE(form.RangeLabel()->text().startsWith(QStringLiteral("From ")));

    table.Sources.Items(1)->Selected = false;
    emit tableForm.VisibleParametersChanged();
    EXPECT_TRUE(form.RefreshPending());
    EXPECT_EQ(form.Statistics().Rows.size(), 3u);
    form.Refresh();
    const std::vector<std::string> after = Names(form);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(form.Statistics().Rows[1].Parameter, table.Sources.Items(2)->Parameter);

    form.CopyToClipboard();
    const std::string copied = QApplication::clipboard()->text().toStdString();
    EXPECT_EQ(copied, StatisticsTable(form.Statistics().Rows).Text(form.Style(), CellFormat::Tab));
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 3); // header and two rows

    for (int32_t i = 0; i < table.Sources.Count(); ++i)
        table.Sources.Items(i)->Selected = false;
    form.Refresh();
    EXPECT_EQ(form.RangeLabel()->text(), QStringLiteral("No parameters are visible."));
}

// From a chart, the rows cover the time range on screen and follow its zoom.
TEST_F(TStatisticsFormTest, AChartsRowsCoverTheTimesOnScreen) {
    LChartRecord& record = *db.AddChart();
    LParameterSourceGroup group(&db.Header());
    group.Add(std::make_unique<LParameterSource>(db.Parameters().Items(0)));
    TChartForm chartForm(record);
    chartForm.SetGroup(group);
    TStatisticsForm form(chartForm);
    ASSERT_EQ(form.Statistics().Rows.size(), 1u);
    EXPECT_EQ(form.Statistics().Rows[0].Count, 120);
    EXPECT_TRUE(form.RangeLabel()->text().startsWith(QStringLiteral("On screen from ")));

    // Ten minutes on screen, both ends on a sample: eleven samples.
    const double first = chartForm.Start();
    const double minute = 1.0 / 1440;
    chartForm.Chart()->ZoomTo(QCPRange(first + 20 * minute, first + 30 * minute), QCPRange(0, 1),
                              false);
    EXPECT_TRUE(form.RefreshPending());
    form.Refresh();
    EXPECT_EQ(form.Statistics().Rows[0].Count, 11);

    // Both cursors set: the span between them, whichever comes first, wherever the view is.
    chartForm.SetCursors(first + 50 * minute, first + 45 * minute);
    EXPECT_TRUE(form.RefreshPending());
    form.Refresh();
    EXPECT_EQ(form.Statistics().Rows[0].Count, 6);
    EXPECT_TRUE(form.RangeLabel()->text().startsWith(QStringLiteral("Between the cursors ")));
    chartForm.ClearCursors();
    form.Refresh();
    EXPECT_EQ(form.Statistics().Rows[0].Count, 11);
}

// Export writes CSV or tab-separated text by the name; print puts the header and every row on
// the page under the range.
TEST_F(TStatisticsFormTest, ExportsAndPrintsItsRows) {
    TTableForm tableForm(AddTable(db, {0, 2}));
    TStatisticsForm form(tableForm);
    ScratchFolder scratch;
    ASSERT_TRUE(form.ExportTo(QString::fromStdString(scratch / "s.csv")));
    EXPECT_EQ(ReadBytes(scratch / "s.csv"), form.Text(CellFormat::Csv));
    ASSERT_TRUE(form.ExportTo(QString::fromStdString(scratch / "s.txt")));
    EXPECT_EQ(ReadBytes(scratch / "s.txt"), form.Text(CellFormat::Tab));

    PlainPrintInteraction interaction(QString::fromStdString(scratch / "s.pdf"));
    ProgramPrintSetup().Printer().setOutputFormat(QPrinter::PdfFormat);
    SetProgramInteraction(&interaction);
    SetProgramDatabase(&db);
    ASSERT_TRUE(form.Print());
    SetProgramInteraction(nullptr);
    const std::vector<std::string> pages = PdfPageTexts(scratch / "s.pdf");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Occurrences(pages[0], "Load factor"), 1);
    EXPECT_EQ(Occurrences(pages[0], "RMS Voltage"), 1);
    EXPECT_EQ(Occurrences(pages[0], "Real Power"), 1);
    EXPECT_EQ(Occurrences(pages[0], form.RangeLabel()->text().toStdString()), 1);
}

} // namespace
