#include "windows/analysis/TSurveyForm.h"

#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyTables.h"
#include "database/LDatabase.h"
#include "printing/LayoutPrinter.h"
#include "tests/analysis/AnalysisTestSupport.h"
#include "tests/support/CsvReader.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/PdfPages.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestSettings.h"
#include "tests/tables/TablesTestSupport.h"
#include "windows/analysis/SurveySummaryView.h"
#include "windows/analysis/TNewLoadsEditor.h"
#include "windows/shell/Screenshots.h"
#include "windows/shell/TTariffFileBox.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

using namespace code;

const TDateTime Monday = At(2024, 3, 11);

class TSurveyFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        QLocale::setDefault(UsLocale());
        db.New();
        // Three days at 1-minute samples: the power and one voltage.
        std::vector<float> power, volts;
        for (int k = 0; k < 3 * 1440; ++k) {
            power.push_back(k % 1440 >= 600 && k % 1440 < 720 ? 2500.f : 800.f);
            volts.push_back(231.f);
        }
        AddHistoric(db.Parameters(), RealPower, Watts, ThreePhase, power, Monday, 60);
        AddHistoric(db.Parameters(), Rms, Volts, VAN, volts, Monday, 60);
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    LDatabase db;
};

// Every text a person reads in the locale's numbers, whatever the C library's printf would
// write, and the CSV the same in all of them.
TEST_F(TSurveyFormTest, NumbersInTheUsersLocale) {
    const struct {
        const char* locale;
        const char *peak, *energy, *share;
    } cases[] = {
        {"en_US", "2.50 kW", "22.60", "100.00 %"}, {"de_DE", "2,50 kW", "22,60", "100,00 %"},
        {"fr_FR", "2,50 kW", "22,60", "100,00 %"}, {"C", "2.50 kW", "22.60", "100.00 %"},
        {"es_ES", "2,50 kW", "22,60", "100,00 %"},
    };
    std::string csv;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        const LocaleGuard locale(c.locale);
        TSurveyForm form(db);
        const std::string summary = form.Text(TSurveyForm::SummaryPage, CellFormat::Tab);
        EXPECT_NE(summary.find(c.peak), std::string::npos) << summary;
        const QAbstractItemModel& days = *form.EnergyGrid()->model();
        EXPECT_EQ(days.index(1, 2).data().toString().toStdString(), c.energy);
        EXPECT_EQ(form.VoltageGrid()->model()->index(0, 3).data().toString().toStdString(),
                  c.share);
        const std::string text = form.Text(TSurveyForm::VoltagePage, CellFormat::Csv) +
                                 form.Text(TSurveyForm::EnergyPage, CellFormat::Csv);
        EXPECT_TRUE(csv.empty() || text == csv) << text;
        csv = text;
    }
    // A person reads kWh; files keep the base unit.
    EXPECT_NE(csv.find("Energy (WH)"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",22600.00,"), std::string::npos) << csv;
    // Read back as a spreadsheet reads it: every figure a whole plain number, every time plain.
    const CsvRows rows = ReadCsv(csv);
    ASSERT_EQ(rows.size(), 6u); // the voltage's header and row, the days' header and rows
    EXPECT_EQ(rows[0][4], "Within ±10 % (%)");
    EXPECT_EQ(rows[1][4], "100.00");
    EXPECT_EQ(rows[2][2], "Energy (WH)");
    EXPECT_EQ(rows[4][2], "22600.00");
    EXPECT_EQ(rows[4][4], "2024-03-12 10:00:00");
    for (const auto& row : {rows[1], rows[3], rows[4], rows[5]})
        for (const std::string& field : row)
            EXPECT_EQ(field.find_first_of(" ,%"), field.find(' ') == 10 ? 10u : std::string::npos)
                << field;
}

// A new window shows the voltage table's every column without scrolling.
TEST_F(TSurveyFormTest, OpensWideEnoughForTheVoltageTable) {
    TSurveyForm form(db);
    form.show();
    form.Pages()->setCurrentIndex(TSurveyForm::VoltagePage);
    QApplication::processEvents();
    const QTableView* grid = form.VoltageGrid();
    EXPECT_GE(grid->viewport()->width(), grid->horizontalHeader()->length());
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
}

// A right-click anywhere on any page, its grids included, opens the page's menu.
TEST_F(TSurveyFormTest, EveryPageHasItsMenu) {
    TSurveyForm form(db);
    form.resize(900, 600);
    form.show();
    for (int page = 0; page < TSurveyForm::PageCount; ++page) {
        form.Pages()->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget* shown = form.Pages()->currentWidget();
        QPoint at(shown->width() / 2, 12);
        // A field keeps its own menu: below the row of the battery's settings.
        if (auto* field = qobject_cast<QLineEdit*>(shown->childAt(at))) {
            const QWidget* row = field->parentWidget();
            at.setY(row->mapTo(shown, QPoint(0, row->height())).y() + 4);
        }
        QWidget* target = shown->childAt(at) ? shown->childAt(at) : shown;
        QContextMenuEvent click(QContextMenuEvent::Mouse, target->mapFrom(shown, at),
                                target->mapToGlobal(target->mapFrom(shown, at)));
        QApplication::sendEvent(target, &click);
        EXPECT_TRUE(form.Popup()->isVisible()) << page;
        form.Popup()->hide();
    }
}

// A setting changes the survey after the refresh delay and is stored at once; a new window
// starts from what is stored. Text that is no number the setting takes counts as not set.
TEST_F(TSurveyFormTest, SettingsRecomputeAndAreKept) {
    TSurveyForm form(db);
    ASSERT_TRUE(form.Result().Power);
    EXPECT_EQ(form.Result().Power->Profile.Weekday.size(), 96u);
    form.BlockMinutesBox()->setCurrentIndex(form.BlockMinutesBox()->findData(30));
    EXPECT_TRUE(form.RefreshPending());
    form.Refresh();
    EXPECT_EQ(form.Result().Power->Profile.Weekday.size(), 48u);
    EXPECT_EQ(form.Result().Options.BlockMinutes, 30);
    EXPECT_EQ(TSurveyForm::StoredOptions().BlockMinutes, 30);

    const struct {
        QLineEdit* edit;
        const char* text;
        std::optional<double> SurveyOptions::*field;
        std::optional<double> expected;
    } cases[] = {
        {form.RatingEdit(), "40", &SurveyOptions::RatingAmps, 40},
        {form.RatingEdit(), "-5", &SurveyOptions::RatingAmps, std::nullopt},
        {form.RatingEdit(), "1,250.5", &SurveyOptions::RatingAmps, 1250.5},
        {form.NominalEdit(), "0", &SurveyOptions::NominalVolts, std::nullopt},
        {form.NominalEdit(), "120", &SurveyOptions::NominalVolts, 120},
        {form.ThresholdEdit(), "watts", &SurveyOptions::ThresholdWatts, std::nullopt},
        {form.ThresholdEdit(), " 2 ", &SurveyOptions::ThresholdWatts, 2000}, // in kW
        {form.BankPriceEdit(), "-1", &SurveyOptions::BankPricePerKvar, std::nullopt},
        {form.BankPriceEdit(), "36", &SurveyOptions::BankPricePerKvar, 36},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        c.edit->setText(QString::fromLatin1(c.text));
        form.Refresh();
        EXPECT_EQ(form.Result().Options.*c.field, c.expected);
        EXPECT_EQ(TSurveyForm::StoredOptions().*c.field, c.expected);
    }
    EXPECT_EQ(form.Result().Voltage->NominalVolts, 120);
    EXPECT_EQ(form.Result().Power->Duration.ThresholdWatts, 2000);

    TSurveyForm again(db);
    EXPECT_EQ(again.BlockMinutesBox()->currentData().toInt(), 30);
    EXPECT_EQ(again.RatingEdit()->text(), QStringLiteral("1,250.5"));
    EXPECT_EQ(again.Options().ThresholdWatts, 2000);
    EXPECT_EQ(again.Result().Power->Load.RatingAmps, 1250.5);

    // Below the base load the threshold is refused: red, with both figures.
    const double base = *again.Result().Power->Totals.BaseWatts;
    again.ThresholdEdit()->setText(QLocale().toString(base / 2000));
    again.Refresh();
    EXPECT_FALSE(again.Result().Power->Duration.ThresholdWatts);
    EXPECT_TRUE(again.ThresholdEdit()->styleSheet().contains(QStringLiteral("#c02020")));
    EXPECT_TRUE(
        again.ThresholdEdit()->toolTip().contains(QStringLiteral(" is below the base load ")));
}

// The Battery page shows a row per cap of its own settings, kept, with the caveat above; a
// caps field that does not read is red and leaves the default caps.
TEST_F(TSurveyFormTest, TheBatteryPageShowsTheStudysRows) {
    BatteryOptions stored;
    stored.CapsWatts = {2000, 1500};
    StoreBatteryOptions(stored);
    TSurveyForm form(db);
    // Two hours of 2.5 kW a day over 800 W, recharged by the next day's peak.
    const struct {
        const char* caps;
        std::vector<double> watts;
        std::vector<double> energyWh;
    } cases[] = {
        {nullptr, {2000, 1500}, {1000, 2000}},
        {"2; 1.5, 1", {2000, 1500, 1000}, {1000, 2000, 3000}},
        {"2; watts", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caps ? c.caps : "stored");
        if (c.caps) {
            form.BatteryCapsEdit()->setText(QString::fromLatin1(c.caps));
            form.Refresh();
        }
        ASSERT_TRUE(form.Result().Power && form.Result().Power->Battery);
        const BatteryStudy& b = *form.Result().Power->Battery;
        EXPECT_EQ(StoredBatteryOptions().CapsWatts, c.watts);
        EXPECT_EQ(form.BatteryCapsEdit()->styleSheet().contains(QStringLiteral("#c02020")),
                  c.watts.empty());
        const QAbstractItemModel& grid = *form.Grid(TSurveyForm::BatteryPage)->model();
        ASSERT_EQ(static_cast<size_t>(grid.rowCount()), b.Rows.size());
        if (c.watts.empty()) {
            EXPECT_EQ(b.Rows.size(), static_cast<size_t>(DefaultBatteryCaps));
            continue;
        }
        ASSERT_EQ(b.Rows.size(), c.watts.size());
        const TextTable table = BatteryTable(b);
        for (size_t i = 0; i < c.watts.size(); ++i) {
            EXPECT_EQ(b.Rows[i].CapWatts, c.watts[i]);
            EXPECT_NEAR(b.Rows[i].EnergyWh, c.energyWh[i], 1e-6);
            for (int k = 0; k < grid.columnCount(); ++k)
                EXPECT_EQ(grid.index(static_cast<int>(i), k).data().toString().toStdString(),
                          table.CellText(i, static_cast<size_t>(k), form.Style()));
        }
    }
    EXPECT_EQ(form.Notes(TSurveyForm::BatteryPage).last(), QString::fromUtf8(PeakShavingCaveat));
    form.Pages()->setCurrentIndex(TSurveyForm::BatteryPage);
    EXPECT_TRUE(form.Text(TSurveyForm::BatteryPage, CellFormat::Tab).find(PeakShavingCaveat) !=
                std::string::npos);
}

// Samples of 15 minutes make no 10-minute voltage block: the Summary says "no result", as the
// Voltage page does, never "fail".
TEST_F(TSurveyFormTest, NoVoltageBlockIsNoResult) {
    LDatabase quarter;
    quarter.New();
    AddHistoric(quarter.Parameters(), RealPower, Watts, ThreePhase, std::vector<float>(96, 800),
                Monday, 900);
    AddHistoric(quarter.Parameters(), Rms, Volts, VAN, std::vector<float>(96, 231), Monday, 900);
    TSurveyForm form(quarter);
    const std::string summary = form.Text(TSurveyForm::SummaryPage, CellFormat::Tab);
    EXPECT_NE(summary.find("Voltage test: no result, not valid"), std::string::npos) << summary;
    EXPECT_NE(summary.find("  VAN: no result, 0 blocks of 10 min"), std::string::npos) << summary;
    EXPECT_EQ(summary.find("fail"), std::string::npos) << summary;
    EXPECT_NE(form.Text(TSurveyForm::VoltagePage, CellFormat::Tab).find("\tno result"),
              std::string::npos);
}

// The energy page copies its rows as shown; a chart page copies its picture, the Voltage page
// both.
TEST_F(TSurveyFormTest, PagesCopyWhatTheyShow) {
    TSurveyForm form(db);
    form.Pages()->setCurrentIndex(TSurveyForm::EnergyPage);
    form.CopyToClipboard();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied.toStdString(),
              EnergyDayTable(form.Result().Power->Days).Text(form.Style(), CellFormat::Tab));
    const QAbstractItemModel& model = *form.EnergyGrid()->model();
    ASSERT_EQ(model.rowCount(), 3);
    QStringList rows = {form.Text(TSurveyForm::EnergyPage, CellFormat::Tab).c_str()};
    QStringList shown;
    for (int c = 0; c < model.columnCount(); ++c)
        shown << model.headerData(c, Qt::Horizontal).toString();
    QString expected = shown.join('\t') + "\r\n";
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        expected += cells.join('\t') + "\r\n";
    }
    EXPECT_EQ(copied, expected);
    EXPECT_TRUE(copied.contains(QStringLiteral("2024-03-11\t")));

    const struct {
        TSurveyForm::Page page;
        bool text, picture;
    } pages[] = {{TSurveyForm::SummaryPage, true, false},
                 {TSurveyForm::HeatMapPage, false, true},
                 {TSurveyForm::VoltagePage, true, true}};
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        form.Pages()->setCurrentIndex(p.page);
        form.CopyToClipboard();
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        EXPECT_EQ(mime->hasText(), p.text);
        EXPECT_EQ(mime->hasImage(), p.picture);
        EXPECT_EQ(mime->hasFormat(QStringLiteral("image/svg+xml")), p.picture);
    }
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Channel\t")));
}

// Each page exports in the formats it offers, chosen by the file name's ending.
TEST_F(TSurveyFormTest, PagesExportByTheFileNamesEnding) {
    TSurveyForm form(db);
    ScratchFolder scratch;
    const struct {
        TSurveyForm::Page page;
        const char* name;
        std::string start;
    } cases[] = {
        {TSurveyForm::SummaryPage, "s.txt", "Survey of 3/11/2024"},
        {TSurveyForm::EnergyPage, "e.csv", "Date,Day,Energy (WH),Peak (W)"},
        {TSurveyForm::VoltagePage, "v.txt", "Channel\tNominal (V)"},
        {TSurveyForm::EnergyPage, "e.xlsx", "PK\x03\x04"},
        {TSurveyForm::VoltagePage, "v.xlsx", "PK\x03\x04"},
        {TSurveyForm::ProfilePage, "p.png", "\x89PNG"},
        {TSurveyForm::DurationPage, "d.svg", "<?xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.Pages()->setCurrentIndex(c.page);
        const std::string path = scratch / c.name;
        ASSERT_TRUE(form.ExportTo(QString::fromStdString(path)));
        const std::string bytes = ReadBytes(path);
        EXPECT_EQ(bytes.substr(0, c.start.size()), c.start);
    }
    const QImage picture(QString::fromStdString(scratch / "p.png"));
    EXPECT_EQ(picture.size(), QSize(900, 560));
}

// The energy table prints as rows, the voltage page its table with its chart.
TEST_F(TSurveyFormTest, PagesPrint) {
    TSurveyForm form(db);
    ScratchFolder scratch;
    ProgramPrintSetup().Printer().setOutputFormat(QPrinter::PdfFormat);
    const struct {
        TSurveyForm::Page page;
        const char* name;
        std::vector<std::string> texts;
    } cases[] = {
        {TSurveyForm::EnergyPage,
         "e.pdf",
         {"Survey of New Database: Energy per day", "Coverage", "2024-03-13"}},
        {TSurveyForm::VoltagePage,
         "v.pdf",
         {"Survey of New Database: Voltage", "Verdict", "Un 230 V"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlainPrintInteraction interaction(QString::fromStdString(scratch / c.name));
        SetProgramInteraction(&interaction);
        form.Pages()->setCurrentIndex(c.page);
        ASSERT_TRUE(form.Print());
        SetProgramInteraction(nullptr);
        const std::vector<std::string> pages = PdfPageTexts(scratch / c.name);
        ASSERT_EQ(pages.size(), 1u);
        for (const std::string& text : c.texts)
            EXPECT_NE(pages[0].find(text), std::string::npos) << text << " in " << pages[0];
    }
}

// Three whole days of a steady load whose cost, power factor correction and unbalance are known:
// 10 kW and 7.5 kvar (PF 0.8), phase currents of 100, 95 and 115 A and voltages of 230, 225
// and 235 V, on a simple tariff of 0.20 per kWh, 10 per kW and 30 a month.
class TSurveyFormFindingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        QLocale::setDefault(UsLocale());
        db.New();
        const size_t n = 3 * 1440;
        AddHistoric(db.Parameters(), RealPower, Watts, ThreePhase, std::vector<float>(n, 10000),
                    Monday, 60);
        AddHistoric(db.Parameters(), ReactivePower, Var, ThreePhase, std::vector<float>(n, 7500),
                    Monday, 60);
        const float amps[] = {100, 95, 115}, volts[] = {230, 225, 235};
        for (uint8_t p = 0; p < 3; ++p) {
            AddHistoric(db.Parameters(), Rms, Amperes, IA + p, std::vector<float>(n, amps[p]),
                        Monday, 60);
            AddHistoric(db.Parameters(), Rms, Volts, VAN + p, std::vector<float>(n, volts[p]),
                        Monday, 60);
        }
        StoreTariffChoice({{}, 0.2, 10, 30});
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    LDatabase db;
};

// Each new page shows its table and copies, exports (CSV read back, a workbook, a picture) and
// prints what it shows, its notes above the rows where a person reads them.
TEST_F(TSurveyFormFindingsTest, NewPagesCopyExportAndPrintWhatTheyShow) {
    TSurveyForm form(db);
    ASSERT_TRUE(form.Result().Power && form.Result().Power->Cost);
    ScratchFolder scratch;
    ProgramPrintSetup().Printer().setOutputFormat(QPrinter::PdfFormat);
    const struct {
        TSurveyForm::Page page;
        const char* name;
        // A row found by its first two fields, and the field of it the page must show.
        std::string first, second;
        size_t field;
        std::string csv, shown, note, chart;
    } cases[] = {
        {TSurveyForm::CostPage, "cost", "all", "total", 8, "246.90", "246.90",
         "Tariff: Simple tariff, in $", "All hours"},
        {TSurveyForm::CostPage, "cost", "2024-03", "fixed charge", 6, "3.00", "3.00",
         "Tariff: Simple tariff, in $", "All hours"},
        {TSurveyForm::PowerFactorPage, "pf", "Bank", "5000.00", 2, "var", "5.00 kvar",
         NoHarmonicsText, "Power factor of 15-minute blocks"},
        {TSurveyForm::UnbalancePage, "unbalance", "Voltage", "VAN, VBN, VCN", 5, "2.17", "2.17",
         NegativeSequenceText, "2 %"},
        {TSurveyForm::UnbalancePage, "unbalance", "Current", "IA, IB, IC", 11, "IC", "IC",
         NegativeSequenceText, "2 %"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + (" " + c.first));
        form.Pages()->setCurrentIndex(c.page);
        const std::string csvFile = scratch / (std::string(c.name) + ".csv");
        ASSERT_TRUE(form.ExportTo(QString::fromStdString(csvFile)));
        const CsvRows rows = ReadCsv(ReadBytes(csvFile));
        const QAbstractItemModel& grid = *form.Grid(c.page)->model();
        ASSERT_EQ(rows.size(), static_cast<size_t>(grid.rowCount() + 1));
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& r) {
            return r.size() > 1 && r[0] == c.first && r[1] == c.second;
        });
        ASSERT_NE(row, rows.end());
        EXPECT_EQ((*row)[c.field], c.csv);
        // The grid's row of it, as a person reads it.
        const int shownRow = static_cast<int>(row - rows.begin()) - 1;
        QStringList cells;
        for (int k = 0; k < grid.columnCount(); ++k)
            cells << grid.index(shownRow, k).data().toString();
        EXPECT_TRUE(cells.contains(QString::fromStdString(c.shown)))
            << cells.join('|').toStdString();

        form.CopyToClipboard();
        const QString copied = QApplication::clipboard()->text();
        EXPECT_TRUE(copied.startsWith(QString::fromUtf8(c.note.c_str()))) << copied.toStdString();
        EXPECT_TRUE(copied.contains(cells.join('\t'))) << copied.toStdString();
        EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasImage());

        for (const char* ending : {".xlsx", ".png"}) {
            const std::string file = scratch / (std::string(c.name) + ending);
            ASSERT_TRUE(form.ExportTo(QString::fromStdString(file)));
            EXPECT_EQ(ReadBytes(file).substr(0, 4), ending[1] == 'x' ? "PK\x03\x04" : "\x89PNG");
        }

        const std::string pdf = scratch / (std::string(c.name) + ".pdf");
        PlainPrintInteraction interaction(QString::fromStdString(pdf));
        SetProgramInteraction(&interaction);
        ASSERT_TRUE(form.Print());
        SetProgramInteraction(nullptr);
        const std::vector<std::string> pages = PdfPageTexts(pdf);
        ASSERT_EQ(pages.size(), 2u); // the table, then the notes and charts
        EXPECT_NE(pages[0].find(rows[0][0]), std::string::npos) << pages[0];
        EXPECT_NE(pages[1].find(c.chart), std::string::npos) << pages[1];
    }
    // The energy per day gets the day's energy cost: 240 kWh at 0.20.
    const CsvRows days = ReadCsv(form.Text(TSurveyForm::EnergyPage, CellFormat::Csv));
    EXPECT_EQ(days[0].back(), "Energy cost ($)");
    EXPECT_EQ(days[2].back(), "48.00");
}

// The Summary is drawn as label and value rows with the cost totals, the bank and the
// unbalance verdicts, copies as the plain text of its lines, and prints as the same rows.
TEST_F(TSurveyFormFindingsTest, TheSummaryHasTheFindingsInLabelAndValueRows) {
    TSurveyForm form(db);
    const std::string text = form.Text(TSurveyForm::SummaryPage, CellFormat::Tab);
    EXPECT_EQ(text, SummaryLinesText(SummaryPageLines(form.Result(), form.Style())));
    for (const char* line :
         {"  Total                 246.90 $\n", "  Bank                  5.00 kvar: ",
          "  Voltage VAN, VBN, VCN fail, 432 blocks of 10 min\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    EXPECT_GT(form.SummaryView()->ValueLeft(), 0);

    ScratchFolder scratch;
    ProgramPrintSetup().Printer().setOutputFormat(QPrinter::PdfFormat);
    PlainPrintInteraction interaction(QString::fromStdString(scratch / "s.pdf"));
    SetProgramInteraction(&interaction);
    form.Pages()->setCurrentIndex(TSurveyForm::SummaryPage);
    ASSERT_TRUE(form.Print());
    SetProgramInteraction(nullptr);
    std::string printed;
    for (const std::string& page : PdfPageTexts(scratch / "s.pdf"))
        printed += page;
    for (const char* shown : {"Power: 3Ø", "Total", "246.90 $", "Bank", "IA, IB, IC"})
        EXPECT_NE(printed.find(shown), std::string::npos) << shown << " in\n" << printed;
}

// The tariff, target power factor and bank step are kept and a new window starts from them; a
// tariff file's rates give way to the file; a file that cannot be read leaves the survey
// without cost and says why, on the Cost page and in the summary.
TEST_F(TSurveyFormFindingsTest, TariffSettingsAreKeptAndABadFileSaysWhy) {
    ScratchFolder scratch;
    const std::string bad = scratch / "bad.json";
    std::ofstream(bad) << "{\"name\": \"x\",\n \"energyratestructure\": [[{\"rate\": }]]}";
    {
        TSurveyForm form(db);
        form.EnergyRateEdit()->setText(QStringLiteral("0.25"));
        form.TargetPowerFactorEdit()->setText(QStringLiteral("0.9"));
        form.BankStepEdit()->setText(QStringLiteral("2.5"));
        form.Refresh();
        EXPECT_NEAR(form.Result().Power->Cost->EnergyCost, 720 * 0.25, 1e-9);
        EXPECT_EQ(form.Result().Power->PowerFactor.StepVar, 2500);
        form.TariffBox()->SetFile(QString::fromStdString(bad));
        EXPECT_FALSE(form.EnergyRateEdit()->isEnabled());
        form.Refresh();
        EXPECT_FALSE(form.Result().Power->Cost);
        EXPECT_NE(form.TariffBox()->Error().indexOf(QStringLiteral("bad.json: line 2, column 36:")),
                  -1)
            << form.TariffBox()->Error().toStdString();
        const QString why = form.Notes(TSurveyForm::CostPage).join('\n');
        EXPECT_TRUE(why.startsWith(QStringLiteral("The tariff could not be read: ") +
                                   QString::fromStdString(bad)))
            << why.toStdString();
        EXPECT_NE(form.Text(TSurveyForm::SummaryPage, CellFormat::Tab).find(why.toStdString()),
                  std::string::npos);
        EXPECT_EQ(form.Grid(TSurveyForm::CostPage)->model()->rowCount(), 0);
    }
    EXPECT_EQ(StoredTariffChoice(), (TariffChoice{QString::fromStdString(bad), 0.25, 10, 30}));
    EXPECT_EQ(RecentTariffFiles(), QStringList{QString::fromStdString(bad)});
    TSurveyForm again(db);
    EXPECT_EQ(again.TariffBox()->File(), QString::fromStdString(bad));
    EXPECT_EQ(again.TargetPowerFactorEdit()->text(), QStringLiteral("0.9"));
    EXPECT_EQ(again.Result().Options.BankStepVar, 2500);
    again.TariffBox()->SetFile({}); // the simple tariff again
    again.Refresh();
    EXPECT_NEAR(again.Result().Power->Cost->EnergyCost, 720 * 0.25, 1e-9);
    EXPECT_EQ(again.Result().Options.TargetPowerFactor, 0.9);
}

// The loads edited in the New loads grid reach the study, its page's table and notes, and are
// kept for the next window; a row that does not read is left out, and a removed one gone.
TEST_F(TSurveyFormTest, NewLoadsFromTheGridReachTheStudyAndAreKept) {
    const NewLoad pump{"Heat pump", 20, LoadConnection::A, true, true};
    {
        TSurveyForm form(db);
        EXPECT_FALSE(form.Result().Capacity);
        TNewLoadsEditor& editor = *form.NewLoadsEditor();
        QTableWidget& grid = *editor.Grid();
        for (int i = 0; i < 3; ++i)
            editor.AddClick();
        grid.item(0, TNewLoadsEditor::NameColumn)->setText(QStringLiteral("Heat pump"));
        grid.item(0, TNewLoadsEditor::AmpsColumn)->setText(QStringLiteral("20"));
        qobject_cast<QComboBox*>(grid.cellWidget(0, TNewLoadsEditor::ConnectionColumn))
            ->setCurrentText(QStringLiteral("A"));
        grid.item(0, TNewLoadsEditor::ManagedColumn)->setCheckState(Qt::Checked);
        grid.item(1, TNewLoadsEditor::AmpsColumn)->setText(QStringLiteral("x"));
        // Named anew, a load is continuous as its name says.
        grid.item(1, TNewLoadsEditor::NameColumn)->setText(QStringLiteral("Oven"));
        EXPECT_EQ(grid.item(1, TNewLoadsEditor::ContinuousColumn)->checkState(), Qt::Unchecked);
        grid.setCurrentCell(2, 0);
        editor.RemoveClick();
        editor.WindowEdit()->setText(QStringLiteral("23:00-05:00"));
        EXPECT_TRUE(form.RefreshPending());
        form.Refresh();
        ASSERT_TRUE(form.Result().Capacity);
        EXPECT_EQ(form.Result().Options.Capacity.Loads, std::vector<NewLoad>{pump});
        EXPECT_EQ(form.Result().Options.Capacity.WindowFrom, 23 * 60);
        EXPECT_EQ(form.Result().Capacity->Loads.size(), 1u);
        EXPECT_NE(grid.item(1, TNewLoadsEditor::AmpsColumn)->foreground().color(), QColor());
        // No phase currents: not decided, and the page says why.
        const QString notes = form.Notes(TSurveyForm::NewLoadsPage).join('|');
        EXPECT_TRUE(notes.startsWith("Capacity for the new loads: not decided|- "))
            << notes.toStdString();
        const std::string csv = form.Text(TSurveyForm::NewLoadsPage, CellFormat::Csv);
        EXPECT_EQ(csv.rfind("Figure,Phase,Value,Unit,Time\r\n", 0), 0u) << csv;
        EXPECT_NE(csv.find("Verdict,,not decided"), std::string::npos) << csv;
    }
    TSurveyForm again(db);
    EXPECT_EQ(again.Options().Capacity.Loads, std::vector<NewLoad>{pump});
    EXPECT_EQ(again.NewLoadsEditor()->Grid()->rowCount(), 1);
    EXPECT_EQ(again.NewLoadsEditor()->WindowEdit()->text(), QStringLiteral("23:00-05:00"));
    ASSERT_TRUE(again.Result().Capacity);
}

} // namespace
