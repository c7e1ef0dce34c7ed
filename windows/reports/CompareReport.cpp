#include "windows/reports/CompareReport.h"

#include "analysis/CompareTables.h"
#include "analysis/ReportFindings.h"
#include "database/LDatabase.h"
#include "figures/CompareCharts.h"
#include "printing/LayoutPrinter.h"
#include "texts/DateTimeText.h"
#include "texts/LocaleTextStyle.h"
#include "windows/reports/ReportFlow.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <vector>

Printout PrintCompareReport(PrintSetup& setup, PrintInteraction& interaction,
                            const Comparison& comparison, const LDatabase* before,
                            const QString& title, const ReportAuthor& author) {
    const QFont font = QGuiApplication::font();
    const QString heading =
        title.isEmpty() ? QString::fromLatin1(DefaultCompareReportTitle) : title;
    // The numbers and times of the user's locale, as the Compare window shows them.
    const TextStyle style = LocaleTextStyle();

    const LSession* recording = before && before->Open() ? &before->Header() : nullptr;
    const QString site =
        recording ? QString::fromStdString(recording->Location).trimmed() : QString();
    const QString header = site.isEmpty() ? heading : heading + QStringLiteral(" \u2013 ") + site;

    // The first page: the title block with both sides' periods, then the answers.
    TitleBlock block{heading, site, {}};
    for (const CompareSide* side : {&comparison.Before, &comparison.After})
        if (side->Survey.From && side->Survey.To)
            block.Lines.emplace_back(side == &comparison.Before ? QStringLiteral("Before")
                                                                : QStringLiteral("After"),
                                     DateTimeToStr(*side->Survey.From) + QStringLiteral(" to ") +
                                         DateTimeToStr(*side->Survey.To));
    AddAuthorLines(block, author);
    const std::vector<Finding> findings =
        CompareFindings(comparison, style, author.Remarks.toStdString());
    // The findings, then the Summary table, the saving and the verdict with the reasons and
    // limits below, flowed onto as many pages as the remarks need.
    std::vector<ReportBlock> blocks = FindingBlocks(block, findings, font);
    blocks.push_back({{}, {}, {}, [&comparison, font](QPainter& painter, const QRectF& area) {
                          return PaintCompareSummary(painter, area, comparison,
                                                     PaperLook(painter, font))
                              .Plot.height();
                      }});
    std::vector<PrintedPart> parts = ReportFlow(setup, font).Parts(std::move(blocks), header);

    using Paint = ChartLayout (*)(QPainter&, const QRectF&, const Comparison&, const ChartLook&);
    const std::pair<QString, Paint> charts[] = {
        {QStringLiteral("Daily profile"), PaintCompareProfiles},
        {QStringLiteral("Energy per full day"), PaintCompareEnergy},
        {QStringLiteral("Load duration"), PaintCompareDuration}};
    PrintedPart drawn;
    drawn.Title = header;
    drawn.Pages = static_cast<int32_t>(std::size(charts));
    drawn.Draw = [&](QPainter& painter, const QRect& area, int32_t page) {
        const ChartLook look = PaperLook(painter, font);
        const auto& [caption, paint] = charts[page];
        QRectF chart = ReportFlow::Heading(painter, QRectF(area), caption, font);
        // The profiles take the page; a single chart keeps its shape on a page taller than wide.
        if (page != 0)
            chart.setHeight(std::min(chart.height(), chart.width() * 2 / 3));
        paint(painter, chart, comparison, look);
    };
    parts.push_back(std::move(drawn));

    PrintOptions print = PrintOptionsOf(setup, before, heading);
    print.PageNumberBelow = true;
    print.Info = ReportPdfInfo(heading, author,
                               recording ? QString::fromStdString(recording->UserID) : QString(),
                               QStringLiteral("Survey report"));
    return Print(parts, print, interaction);
}
