#include "windows/reports/ReportFlow.h"

#include "printing/PrintedRows.h"
#include "texts/LocaleTextStyle.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

QFont HeadingFont(const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    bold.setPointSizeF(font.pointSizeF() * 1.25);
    return bold;
}

} // namespace

ReportFlow::ReportFlow(const PrintSetup& setup, const QFont& font)
    : setup_(setup), font_(font),
      headingHeight_(1.5 * QFontMetricsF(HeadingFont(font), &setup.Printer()).height()),
      gap_(QFontMetricsF(font, &setup.Printer()).height()) {}

ChartLook PaperLook(const QPainter& painter, const QFont& font) {
    ChartLook look;
    look.Font = font;
    look.Style = LocaleTextStyle();
    look.PenScale = painter.device()->logicalDpiX() / 96.0;
    look.SmallestPointSize = SmallestReportPointSize;
    return look;
}

QRectF ReportFlow::Heading(QPainter& painter, const QRectF& area, const QString& text,
                           const QFont& font) {
    const QFont bold = HeadingFont(font);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(bold, painter.device());
    painter.drawText(QPointF(area.left(), area.top() + metrics.ascent()), text);
    return area.adjusted(0, 1.5 * metrics.height(), 0, 0);
}

double ReportFlow::Measure(const ReportBlock& block, double width) const {
    // Drawn once where nothing shows, on a device of the printer's resolution, so that every
    // text measures as it will print.
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = static_cast<int>(std::lround(setup_.Printer().resolution() / 0.0254));
    scratch.setDotsPerMeterX(dotsPerMeter);
    scratch.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&scratch);
    return block.Draw(painter, QRectF(0, 0, width, 1e7));
}

std::vector<PrintedPart> ReportFlow::Parts(std::vector<ReportBlock> blocks, const QString& title) {
    const QRectF page(PrintAreaOf(setup_, true));
    const double headingHeight = headingHeight_, gap = gap_;

    struct Placed {
        size_t Block;
        QRectF Area;
    };
    auto shared = std::make_shared<std::vector<ReportBlock>>(std::move(blocks));
    std::vector<PrintedPart> parts;
    std::vector<Placed> placed;
    QStringList entries;
    const auto close = [&] {
        if (placed.empty())
            return;
        PrintedPart part;
        part.Title = title;
        part.Contents = entries;
        part.Draw = [shared, placed, font = font_](QPainter& painter, const QRect& area, int32_t) {
            for (const Placed& p : placed) {
                const ReportBlock& block = (*shared)[p.Block];
                QRectF box = p.Area.translated(area.topLeft());
                if (!block.Heading.isEmpty())
                    box = Heading(painter, box, block.Heading, font);
                painter.save();
                block.Draw(painter, box);
                painter.restore();
            }
        };
        parts.push_back(std::move(part));
        placed.clear();
        entries.clear();
    };

    std::vector<PrintedPart> appendix;
    const auto rowsParts = [&](const ReportBlock& block, const QString& entry,
                               std::vector<PrintedPart>& into) {
        for (size_t k = 0; k < block.Rows.size(); ++k) {
            PrintedPart part;
            part.Title = title;
            part.Rows = block.Rows[k];
            if (k == 0)
                part.Contents = QStringList{entry};
            into.push_back(std::move(part));
        }
    };
    double y = 0;
    for (size_t i = 0; i < shared->size(); ++i) {
        ReportBlock& block = (*shared)[i];
        const double head = block.Heading.isEmpty() ? 0 : headingHeight;
        double body =
            block.Height ? block.Height(page.width(), page.height()) : Measure(block, page.width());
        const QString entry = block.Entry.isEmpty() ? block.Heading : block.Entry;
        if (head + body > page.height() && !block.Rows.empty()) {
            if (!block.ToAppendix) {
                close();
                rowsParts(block, entry, parts);
                y = 0;
                continue;
            }
            rowsParts(block, QStringLiteral("Appendix: ") + entry, appendix);
            const int32_t rows = block.Rows.front()->DataRowCount();
            block.Draw =
                block.InPlace
                    ? block.InPlace
                    : [rows, font = font_](QPainter& painter, const QRectF& area) {
                          painter.setFont(font);
                          painter.setPen(Qt::black);
                          const QFontMetricsF metrics(font, painter.device());
                          painter.drawText(QPointF(area.left(), area.top() + metrics.ascent()),
                                           QStringLiteral("The %1 rows of this table are in "
                                                          "the appendix.")
                                               .arg(rows));
                          return metrics.height();
                      };
            block.Height = {};
            body = std::min(Measure(block, page.width()), page.height() - head);
        }
        const double height = head + body;
        if (block.Continues && !placed.empty())
            y -= gap;
        // A page that holds only blocks that lead into the next keeps it.
        const bool led = std::all_of(placed.begin(), placed.end(),
                                     [&](const Placed& p) { return (*shared)[p.Block].Leads; });
        if (!placed.empty() && ((block.NewPage && !led) || y + height > page.height())) {
            close();
            y = 0;
        }
        placed.push_back({i, QRectF(0, y, page.width(), std::min(height, page.height() - y))});
        if (!entry.isEmpty())
            entries << entry;
        y += height + gap;
    }
    close();
    for (PrintedPart& part : appendix)
        parts.push_back(std::move(part));
    return parts;
}

std::vector<std::pair<QString, int32_t>> ContentsOf(const std::vector<PrintedPart>& parts) {
    std::vector<std::pair<QString, int32_t>> contents;
    for (const PrintedPart& part : parts)
        for (const QString& entry : part.Contents)
            contents.emplace_back(entry, part.FirstPage);
    return contents;
}
