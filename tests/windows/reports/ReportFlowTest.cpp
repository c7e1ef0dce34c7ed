// The report's flow of blocks onto pages, with blocks of known heights.
#include "windows/reports/ReportFlow.h"

#include "printing/PrintedTexts.h"
#include "tests/support/ScratchFolder.h"

#include <QGuiApplication>
#include <QPrinter>

#include <gtest/gtest.h>

namespace {

// A block of this share of the page's height.
ReportBlock Block(const char* entry, double share) {
    ReportBlock block;
    block.Entry = QString::fromLatin1(entry);
    block.Height = [share](double, double page) { return share * page; };
    block.Draw = [](QPainter&, const QRectF& area) { return area.height(); };
    return block;
}

// The entries of every part, a part a page: "findings,contents|summary".
std::string Pages(const std::vector<PrintedPart>& parts) {
    QStringList pages;
    for (const PrintedPart& part : parts)
        pages << part.Contents.join(QLatin1Char(','));
    return pages.join(QLatin1Char('|')).toStdString();
}

// The contents share the first page with the findings when they fit, else the next page with
// the first section, which starts a page of its own; a table longer than a page goes to the
// appendix after the last block, and what stands for it in its place.
TEST(ReportFlowTest, ContentsWithTheFindingsOrTheFirstSectionAndTablesInTheAppendix) {
    PrintSetup setup;
    setup.Printer().setOutputFormat(QPrinter::PdfFormat);
    const QFont font = QGuiApplication::font();
    std::vector<QStringList> rows{{QStringLiteral("Date")}};
    for (int i = 0; i < 400; ++i)
        rows.push_back({QString::number(i)});
    const auto days = std::make_shared<PrintedTexts>(rows, font);
    const struct {
        double findings;
        bool appendix;
        std::string pages;
    } cases[] = {
        {0.5, false, "findings,contents|summary,days"},
        {0.8, false, "findings|contents,summary,days"},
        {0.5, true, "findings,contents|summary,days,months|Appendix: days"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pages);
        std::vector<ReportBlock> blocks{Block("findings", c.findings), Block("contents", 0.3),
                                        Block("summary", 0.2), Block("days", 0.3)};
        blocks[1].Leads = true;
        blocks[2].NewPage = true;
        if (c.appendix) {
            ReportBlock& table = blocks[3];
            table.Height = [](double, double page) { return 2 * page; };
            table.Rows = {days};
            table.ToAppendix = true;
            table.InPlace = [](QPainter&, const QRectF&) { return 100.0; };
            blocks.push_back(Block("months", 0.1));
        }
        const std::vector<PrintedPart> parts =
            ReportFlow(setup, font).Parts(std::move(blocks), QStringLiteral("Report"));
        EXPECT_EQ(Pages(parts), c.pages);
        if (c.appendix) {
            EXPECT_EQ(parts.back().Rows, days);
            EXPECT_FALSE(parts[1].Rows);
        }
    }
}

TEST(ReportFlowTest, BlocksGoOnTheNextPageWhenTheyDoNotFitOrAskForOne) {
    ScratchFolder scratch;
    PrintSetup printer;
    printer.Printer().setOutputFormat(QPrinter::PdfFormat);
    ReportFlow flow(printer, QGuiApplication::font());
    const double page = PrintAreaOf(printer, true).height();
    // A block under its name as heading, a share of the page high with its heading.
    struct Block {
        const char* name;
        double share;
        bool newPage = false;
    };
    const struct {
        std::vector<Block> blocks;
        std::vector<int32_t> pages; // each block's first page
    } cases[] = {
        {{{"A", 0.3}, {"B", 0.3}, {"C", 0.3}}, {1, 1, 1}},
        {{{"A", 0.3}, {"B", 0.3, true}, {"C", 0.3}}, {1, 2, 2}},
        {{{"A", 0.3, true}, {"B", 0.3}, {"C", 0.3}}, {1, 1, 1}}, // no empty first page
        {{{"A", 0.5}, {"B", 0.6}, {"C", 0.3}}, {1, 2, 2}},
    };
    for (const auto& c : cases) {
        std::vector<ReportBlock> blocks;
        for (const Block& b : c.blocks)
            blocks.push_back({.Heading = QString::fromLatin1(b.name),
                              .Height =
                                  [&flow, page, share = b.share](double, double) {
                                      return share * page - flow.HeadingHeight() - flow.Gap();
                                  },
                              .Draw = [](QPainter&, const QRectF&) { return 0.0; },
                              .NewPage = b.newPage});
        std::vector<PrintedPart> parts = flow.Parts(std::move(blocks), QStringLiteral("Report"));
        PlainPrintInteraction interaction(QString::fromStdString(scratch / "flow.pdf"));
        PrintOptions options{.Setup = &printer, .Title = QStringLiteral("Report")};
        options.PageNumberBelow = true;
        ASSERT_TRUE(Print(parts, options, interaction).Printed);
        std::vector<int32_t> pages;
        for (const auto& [entry, first] : ContentsOf(parts))
            pages.push_back(first);
        EXPECT_EQ(pages, c.pages) << c.blocks.size();
    }
}

} // namespace
