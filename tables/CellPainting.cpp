#include "tables/CellPainting.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

int CalcRowHeight(const QFontMetrics& metrics, int lines) {
    // A line's height is the font's, whichever text it holds.
    return lines * metrics.height();
}

TableSizes MeasureTable(const TableText& text, const QFontMetrics& metrics) {
    const int h = CalcRowHeight(metrics, 1);
    const int timeWidth = metrics.horizontalAdvance(text.TimeSampleText());
    const int rowHeight = h + 4;
    const auto colWidth =
        static_cast<int>(1.1 * metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOP")));
    switch (text.Type()) {
    case ttHistoric:
    case ttCumulative:
        return {rowHeight, colWidth, 2 * h + 8, static_cast<int>(1.25 * timeWidth), colWidth};
    case ttEvent: {
        const auto eventWidth = static_cast<int>(
            1.25 * (metrics.horizontalAdvance(QStringLiteral("999.99")) + timeWidth));
        // Room for eight digits before the point, the widest unit and the time, and the
        // cell's margins.
        const QString widest = QString::fromStdString(text.FormatValue(-99999992.0f)) +
                               QStringLiteral(" VAR (") + text.TimeSampleText() + QLatin1Char(')');
        const int valueWidth = metrics.horizontalAdvance(widest) + 8;
        return {rowHeight, eventWidth, rowHeight, eventWidth, std::max(eventWidth, valueWidth)};
    }
    default:
        return {rowHeight, colWidth, rowHeight, colWidth, colWidth};
    }
}

int LayoutColWidth(const TableSizes& sizes, const TableText& text, int32_t col) {
    if (col < text.FixedCols())
        return sizes.FirstColWidth;
    return text.Type() == ttEvent && col == 1 ? sizes.ValueColWidth : sizes.DefaultColWidth;
}

int ScaleToResolution(int size, int targetDpi, int gridDpi) {
    return size * std::max(gridDpi > 0 ? targetDpi / gridDpi : 1, 1);
}

void DrawTableCell(QPainter& painter, const TableText& text, int32_t col, int32_t row,
                   const QRect& rect) {
    QString main, second;
    text.GetCellText(col, row, main, second);
    QFont font = painter.font();
    font.setBold(text.IsFixedCell(col, row));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    painter.setFont(font);
    if (painter.brush().style() != Qt::NoBrush)
        painter.fillRect(rect, painter.brush());
    const QFontMetrics metrics(font, painter.device());
    const int x = rect.left() + 2;
    const int y = rect.top() + 2 + metrics.ascent();
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(x, y, main);
    painter.restore();
    if (!second.isEmpty())
        painter.drawText(x, y + CalcRowHeight(metrics, 1), second);
}
