#pragma once

#include "figures/SurveyCharts.h"
#include "printing/LayoutPrinter.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class PrintedRows;
class QPainter;

// A piece of a report under its heading: a chart of a height of its own, or texts and tables
// measured by drawing them.
struct ReportBlock {
    // Drawn in bold above the block (empty: none); Entry is what the contents list (empty: the
    // heading; a chart drawing its own title has it there).
    QString Heading = {};
    QString Entry = {};
    // The height the block takes below its heading at a width, on a page of a height; unset,
    // it is measured.
    std::function<double(double width, double pageHeight)> Height = {};
    // Draws into area and returns the height it took.
    std::function<double(QPainter& painter, const QRectF& area)> Draw = {};
    // The same as rows printed in row pages of their own, for a block taller than a page: a
    // table too wide for the page in groups of its columns, one after the other.
    std::vector<std::shared_ptr<PrintedRows>> Rows = {};
    // Starts a page of its own.
    bool NewPage = false;
    // Goes on from the block before without the gap between blocks (a text cut into pieces).
    bool Continues = false;
    // Taller than a page, its Rows go to the appendix after the last block, listed as
    // "Appendix: " and its entry, and in its place under its heading InPlace is drawn (a
    // year's days as months), or without one a line saying where the rows went.
    bool ToAppendix = false;
    std::function<double(QPainter& painter, const QRectF& area)> InPlace = {};
    // Alone on a page it takes the block after it onto that page, though that one starts a
    // page of its own: the contents share the first page with the findings when they fit, else
    // the next one with the first section.
    bool Leads = false;
};

// No table of a report is set smaller.
inline constexpr double SmallestReportPointSize = 8;

// Blocks flowed onto the printer's pages in order, each below the one before, a block that
// does not fit what is left of a page starting the next; a block taller than a page prints its
// Rows in row pages of their own, there or in the appendix. One part per page (or per rows),
// each with the entries it starts, all titled title.
class ReportFlow {
public:
    ReportFlow(const PrintSetup& setup, const QFont& font);

    std::vector<PrintedPart> Parts(std::vector<ReportBlock> blocks, const QString& title);

    // On the printer's page: the height of a heading and of the gap between two blocks, so that
    // a block can take its share of a page.
    double HeadingHeight() const { return headingHeight_; }
    double Gap() const { return gap_; }

    // A bold heading at the top of area; the rest of the area below it.
    static QRectF Heading(QPainter& painter, const QRectF& area, const QString& text,
                          const QFont& font);

private:
    double Measure(const ReportBlock& block, double width) const;

    const PrintSetup& setup_;
    QFont font_;
    double headingHeight_ = 0, gap_ = 0;
};

// How a report's charts and tables look on the painter's page: the font, the user's locale,
// pens a pixel per 1/96 inch.
ChartLook PaperLook(const QPainter& painter, const QFont& font);

// The entries of the parts with their first pages, in order: what a table of contents lists.
std::vector<std::pair<QString, int32_t>> ContentsOf(const std::vector<PrintedPart>& parts);
