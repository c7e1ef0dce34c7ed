#include "windows/reports/CapacitySheet.h"

#include "analysis/CapacityTables.h"
#include "analysis/CapacityText.h"
#include "windows/reports/ReportFlow.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

double Heading(QPainter& painter, const QRectF& area, const QString& text, const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    const double line = QFontMetricsF(bold, painter.device()).height();
    painter.drawText(QRectF(area.left(), area.top(), area.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    return line * 1.2;
}

double Lines(QPainter& painter, const QRectF& area, const QStringList& lines, const QFont& font,
             bool bold = false) {
    QFont f = font;
    f.setBold(bold);
    painter.setFont(f);
    painter.setPen(Qt::black);
    double y = area.top();
    for (const QString& text : lines) {
        QRectF used;
        painter.drawText(QRectF(area.left(), y, area.width(), area.bottom() - y),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, &used);
        y += std::max(used.height(), QFontMetricsF(f, painter.device()).height());
    }
    return y - area.top();
}

double Sheet(QPainter& painter, const QRectF& area, const TitleBlock& block,
             const SurveyResult& survey, const QFont& font) {
    const ChartLook look = PaperLook(painter, font);
    const double line = QFontMetricsF(font, painter.device()).height();
    QRectF rest = area;
    const auto advance = [&](double height) { rest.setTop(rest.top() + height); };
    advance(PaintTitleBlock(painter, rest, block, font));
    if (!survey.Capacity) {
        advance(Lines(painter, rest, {QStringLiteral("No new loads were given.")}, font));
        return rest.top() - area.top();
    }
    const CapacityStudy& s = *survey.Capacity;
    const std::vector<SummaryLine> lines = CapacityLines(survey, look.Style);

    advance(Heading(painter, rest, QStringLiteral("Peak 15-minute blocks"), font));
    QStringList peaks;
    for (const CapacityPhase& p : s.Phases)
        peaks << Q(p.ChannelLabel + ": " +
                   (p.Peak ? look.Style.Number(p.Peak->Value) + " A in the block from " +
                                 look.Style.Time(p.Peak->Time)
                           : std::string("no complete block")));
    if (s.Kva.Peak)
        peaks << Q("Apparent power: " + look.Style.Scaled(s.Kva.Peak->Value, "VA") +
                   " in the block from " + look.Style.Time(s.Kva.Peak->Time));
    advance(Lines(painter, rest, peaks, font) + line / 2);

    advance(Heading(painter, rest, QStringLiteral("New loads"), font));
    advance(PaintTextTable(painter, rest, NewLoadsTable(s), look) + line / 2);

    advance(Heading(painter, rest, QStringLiteral("Calculation"), font));
    advance(PaintTextTable(painter, rest, CapacityTable(s), look) + line / 2);

    // The verdict as every output words it, and why it is not decided.
    advance(Heading(painter, rest, QStringLiteral("Verdict"), font));
    QFont large = font;
    large.setPointSizeF(font.pointSizeF() * 1.3);
    QStringList reasons;
    for (size_t i = 1; i < lines.size() && !lines[i].Value; ++i)
        reasons << Q(lines[i].Label);
    advance(Lines(painter, rest, {Q(lines.front().Label)}, large, true));
    advance(Lines(painter, rest, reasons, font) + 2 * line);

    // A line to sign under the engineer's name.
    painter.setPen(QPen(Qt::black, std::max(1.0, line / 20)));
    const double y = rest.top() + line;
    painter.drawLine(QPointF(rest.left(), y), QPointF(rest.left() + rest.width() * 0.45, y));
    painter.drawLine(QPointF(rest.left() + rest.width() * 0.55, y), QPointF(rest.right(), y));
    advance(line * 1.2);
    QRectF below = rest;
    below.setWidth(rest.width() * 0.45);
    QString engineer;
    for (const auto& [label, text] : block.Lines)
        if (label == QStringLiteral("Engineer"))
            engineer = QStringLiteral(" (%1)").arg(text);
    Lines(painter, below, {QStringLiteral("Signature") + engineer}, font);
    below.moveLeft(rest.left() + rest.width() * 0.55);
    advance(Lines(painter, below, {QStringLiteral("Date")}, font));
    return rest.top() - area.top();
}

} // namespace

double PaintCapacitySheet(QPainter& painter, const QRectF& area, const TitleBlock& block,
                          const SurveyResult& survey, const QFont& font) {
    // Measured on an image of the page's resolution first: drawn to a smaller scale when it
    // would run past the page's end.
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    probe.setDotsPerMeterX(qRound(painter.device()->logicalDpiX() / 0.0254));
    probe.setDotsPerMeterY(qRound(painter.device()->logicalDpiY() / 0.0254));
    double height = 0;
    {
        QPainter measure(&probe);
        height =
            Sheet(measure, QRectF(area.topLeft(), QSizeF(area.width(), 1e7)), block, survey, font);
    }
    const double k = height > area.height() ? area.height() / height : 1;
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(k, k);
    Sheet(painter, QRectF(QPointF(0, 0), QSizeF(area.width() / k, area.height() / k)), block,
          survey, font);
    painter.restore();
    return height;
}
