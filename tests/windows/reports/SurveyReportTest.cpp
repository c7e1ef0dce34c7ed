// The survey report printed in-process: the database's own tables and charts follow the survey
// only when asked for, and a Cancel in the progress leaves the earlier file as it was.
#include "windows/reports/SurveyReport.h"
#include "database/LChartRecord.h"
#include "database/LDatabase.h"
#include "database/LTableRecord.h"
#include "printing/LayoutPrinter.h"
#include "tests/support/PdfPages.h"
#include "tests/support/PrintInteractionSpy.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tables/TablesTestSupport.h"

#include <QPrinter>

#include <cctype>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string Text(const std::string& pdf) {
    std::string text;
    for (const std::string& page : PdfPageTexts(pdf))
        text += page;
    return text;
}

TEST(SurveyReportTest, ItemsFollowOnlyWhenAskedForAndCancelLeavesTheEarlierFile) {
    LDatabase db;
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower}, 240);
    LTableRecord& table = AddTable(db, {0, 1});
    table.Caption = "Feeder table";
    LChartRecord& chart = *db.AddChart();
    chart.Caption = "Feeder chart";
    chart.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(2)));

    ScratchFolder scratch;
    const std::string pdf = scratch / "report.pdf";
    PrintInteractionSpy interaction(QString::fromStdString(pdf));
    PrintSetup printer;
    printer.Printer().setOutputFormat(QPrinter::PdfFormat);

    SurveyReportOptions options;
    for (const bool withItems : {false, true}) {
        SCOPED_TRACE(withItems);
        options.WithItems = withItems;
        const Printout printout = PrintSurveyReport(printer, interaction, db, options);
        ASSERT_TRUE(printout.Printed);
        const std::string text = Text(pdf);
        EXPECT_NE(text.find("Survey report"), std::string::npos);
        for (const char* caption : {"Feeder table", "Feeder chart"})
            EXPECT_EQ(text.find(caption) != std::string::npos, withItems) << caption;
        EXPECT_EQ(PdfPageCount(pdf), printout.Pages);
        EXPECT_EQ(ProgramDatabase(), nullptr); // left as it was, not at a database that goes
    }

    const auto pages = PdfPageCount(pdf);
    interaction.CancelAt = 2;
    EXPECT_FALSE(PrintSurveyReport(printer, interaction, db, options).Printed);
    EXPECT_EQ(PdfPageCount(pdf), pages);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path),
                            std::filesystem::directory_iterator()),
              1);
}

// Asked for, the battery gets its section (the table's columns, the chart's legend) and its
// question on the first page, the caveat beside both; not asked, neither.
TEST(SurveyReportTest, TheBatterySectionAndAnswerOnlyWhenAsked) {
    LDatabase db;
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower}, 240);
    ScratchFolder scratch;
    const std::string pdf = scratch / "battery.pdf";
    PrintInteractionSpy interaction(QString::fromStdString(pdf));
    PrintSetup printer;
    printer.Printer().setOutputFormat(QPrinter::PdfFormat);
    SurveyReportOptions options;
    for (const bool asked : {false, true}) {
        SCOPED_TRACE(asked);
        if (asked)
            options.Survey.Battery = BatteryOptions{};
        ASSERT_TRUE(PrintSurveyReport(printer, interaction, db, options).Printed);
        // Words as they flow, whatever the lines they were set in.
        std::string text;
        for (const char c : Text(pdf))
            if (!std::isspace(static_cast<unsigned char>(c)))
                text += c;
            else if (!text.empty() && text.back() != ' ')
                text += ' ';
        for (const char* expected :
             {"What battery would hold the peak?", "Battery energy", "Demand after shaving",
              "can no longer be judged by a", "(NEC 220.87)"})
            EXPECT_EQ(text.find(expected) != std::string::npos, asked) << expected;
    }
}

} // namespace
