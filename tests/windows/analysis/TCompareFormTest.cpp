#include "windows/analysis/TCompareForm.h"

#include "database/LDatabase.h"
#include "model/NumberFormat.h"
#include "tests/analysis/AnalysisTestSupport.h"
#include "tests/support/CsvReader.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestSettings.h"
#include "tests/tables/TablesTestSupport.h"
#include "tools/RecordingGenerator.h"
#include "windows/analysis/TCompareDialog.h"
#include "windows/analysis/TRangePicker.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/TTariffFileBox.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <fstream>

namespace {

const TDateTime Monday = At(2024, 3, 4);

// Four weeks of 5-minute 3Ø power from a Monday's midnight; a tenth less in the last two.
std::string FourWeeks() {
    GeneratorOptions o;
    o.entries = {22};
    o.rate = 5;
    o.historicPoints = 28 * 288;
    o.start = CalendarTime{2024, 3, 4, 0, 0, 0};
    SteadyLoad load;
    load.scale = [](double t) {
        const double day = std::floor(t - Monday);
        return (day >= 14 ? 0.9 : 1.0) * (1 + 0.01 * std::fmod(day * 7, 5));
    };
    o.steady = load;
    return GenerateRecordingBytes(o);
}

class TCompareFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        QLocale::setDefault(UsLocale());
        db.New();
        db.Parse(FourWeeks());
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    LDatabase db;
    ScratchFolder scratch;
};

TEST_F(TCompareFormTest, TheDialogPicksTheSidesAndTheirRanges) {
    TCompareDialog dialog(db);
    // Another range of the open recording: its halves to start from.
    EXPECT_FALSE(dialog.OtherIsFile());
    CompareOptions o = dialog.Options();
    EXPECT_EQ(o.BeforeRange->FromSeconds(), WholeSeconds(Monday));
    EXPECT_EQ(o.AfterRange->ToSeconds(), WholeSeconds(Monday + 28 - 300 / SecsPerDay));
    EXPECT_EQ(o.BeforeRange->ToSeconds() + 300, o.AfterRange->FromSeconds());
    dialog.BeforePicker()->SetIndices(0, 14 * 288 - 1);
    dialog.AfterPicker()->SetIndices(14 * 288, 28 * 288 - 1);
    EXPECT_EQ(dialog.Options().AfterRange->FromSeconds(), WholeSeconds(Monday + 14));

    // A file as the after side, the open recording before it; a file that cannot be read
    // is not taken.
    const std::string other = (scratch.path / "other.bin").string();
    std::ofstream(other, std::ios::binary) << FourWeeks();
    ASSERT_TRUE(dialog.SetOtherFile(QString::fromStdString(other)));
    EXPECT_TRUE(dialog.OtherIsFile());
    EXPECT_EQ(dialog.Options().AfterFile, other);
    EXPECT_EQ(dialog.AfterPicker()->LastIndex(), 28 * 288 - 1);
    dialog.SetOpenIsBefore(false);
    EXPECT_EQ(dialog.Options().BeforeFile, other);
    EXPECT_TRUE(dialog.TakeOtherDatabase());
    EXPECT_FALSE(dialog.OtherIsFile());
}

// The dialog prices both sides by the Survey window's tariff, and the window shows the yearly
// cost saving with its interval; a tariff file that cannot be read is said and compares
// nothing.
TEST_F(TCompareFormTest, TheDialogTakesTheSurveysTariff) {
    StoreTariffChoice({{}, 0.2, 10, 30});
    TCompareDialog dialog(db);
    EXPECT_EQ(dialog.EnergyRateEdit()->text(), "0.2");
    dialog.BeforePicker()->SetIndices(0, 14 * 288 - 1);
    dialog.AfterPicker()->SetIndices(14 * 288, 28 * 288 - 1);
    const CompareOptions options = dialog.Options();
    ASSERT_TRUE(options.CostTariff);
    EXPECT_EQ(options.CostTariff->Title(), "Simple tariff");
    const TCompareForm form(db, RunComparison(db.Parameters(), db.Parameters(), options));
    const EnergySaving& s = form.Result().Saving;
    ASSERT_TRUE(s.YearlyCost && s.YearlyCostLow && s.YearlyCostHigh);
    EXPECT_LT(*s.YearlyCostLow, *s.YearlyCost);
    EXPECT_GT(*s.YearlyCostHigh, *s.YearlyCost);
    // Energy priced at 0.20 a kWh, the interval that of the energy.
    EXPECT_NEAR(*s.YearlyCostHigh - *s.YearlyCostLow,
                (*s.YearlyHighWh - *s.YearlyLowWh) / 1000 * 0.2, 1e-6);
    const std::string summary = form.Text(TCompareForm::SummaryPage, CellFormat::Tab);
    const NumberFormat numbers;
    const std::string row = "A year's cost, an estimate ($)\t" + numbers.Fixed(*s.YearlyCost) +
                            "\t" + numbers.Fixed(*s.YearlyCostLow) + "\t" +
                            numbers.Fixed(*s.YearlyCostHigh);
    EXPECT_NE(summary.find(row), std::string::npos) << summary;

    const std::string bad = (scratch.path / "bad.json").string();
    std::ofstream(bad) << "{";
    StoreTariffChoice({QString::fromStdString(bad), {}, {}, {}});
    TCompareDialog refused(db);
    EXPECT_FALSE(refused.OKButton()->isEnabled());
    EXPECT_TRUE(refused.TariffErrorLabel()->text().startsWith("The tariff could not be read: "));
    refused.TariffBox()->SetFile(QString());
    EXPECT_TRUE(refused.OKButton()->isEnabled());
    EXPECT_TRUE(refused.TariffErrorLabel()->isHidden());
}

TEST_F(TCompareFormTest, EveryPageShowsCopiesAndExports) {
    CompareOptions options;
    options.BeforeFile = options.AfterFile = "/data/site.vro";
    options.BeforeRange = TimeRange{Monday, Monday + 14 - 300 / SecsPerDay};
    options.AfterRange = TimeRange{Monday + 14, Monday + 28 - 300 / SecsPerDay};
    TCompareForm form(db, RunComparison(db.Parameters(), db.Parameters(), options));
    EXPECT_EQ(form.windowTitle(), "Compare two ranges of site.vro");
    ASSERT_EQ(form.Pages()->count(), TCompareForm::PageCount);
    EXPECT_TRUE(form.NotesLabel()->text().startsWith(
        "The saving is larger than day-to-day scatter (95 %)"));
    const std::string summary = form.Text(TCompareForm::SummaryPage, CellFormat::Tab);
    for (const char* text : {"Energy per full weekday (WH)\t", "A year (WH)\t",
                             "Days with gaps are left out of the daily statistics."})
        EXPECT_NE(summary.find(text), std::string::npos) << summary;

    // Each page exports its figures as CSV, plain in every locale, and its picture.
    const struct {
        TCompareForm::Page page;
        size_t rows;
        std::string header;
    } pages[] = {
        {TCompareForm::SummaryPage, 20, "Figure"},
        {TCompareForm::ProfilePage, 97, "Time of day"},
        {TCompareForm::EnergyPage, 29, "Side"},
        {TCompareForm::DurationPage, 102, "Share of time (%)"},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.header);
        form.Pages()->setCurrentIndex(p.page);
        const QString csv = QString::fromStdString((scratch.path / "page.csv").string());
        ASSERT_TRUE(form.ExportTo(csv));
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const CsvRows rows = ReadCsv(file.readAll().toStdString());
        EXPECT_EQ(rows.front().front(), p.header);
        EXPECT_GE(rows.size(), p.rows);
        const QString png = QString::fromStdString((scratch.path / "page.png").string());
        ASSERT_TRUE(form.ExportTo(png));
        EXPECT_EQ(QImage(png).size(), QSize(900, 600));
    }
    // The Summary's workbook holds both of its tables.
    form.Pages()->setCurrentIndex(TCompareForm::SummaryPage);
    EXPECT_TRUE(form.ExportTo(QString::fromStdString((scratch.path / "s.xlsx").string())));
    QStringList actions;
    for (QAction* a : form.Popup()->actions())
        actions << a->objectName();
    EXPECT_EQ(actions.join(','), "Copytoclipboard,Export,,Print,PrintReport");
}

} // namespace
