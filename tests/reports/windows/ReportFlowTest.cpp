// The report's flow: blocks one below the other on the pages, the next page where one does not
// fit or asks for a page of its own, and the contents naming the page each entry starts on.
#include "reports/windows/ReportFlow.h"
#include "tests/support/ScratchFolder.h"

#include <QGuiApplication>
#include <QPrinter>

#include <gtest/gtest.h>

namespace {

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
