#include "printing/PrintedTable.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

namespace {

// A device of the given resolution to measure the font on, as the grid's screen would.
TableSizes Measure(const TableText& text, const QFont& font, int dpi) {
    constexpr double InchesPerMeter = 39.37;
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(static_cast<int>(dpi * InchesPerMeter + 0.5));
    device.setDotsPerMeterY(static_cast<int>(dpi * InchesPerMeter + 0.5));
    return MeasureTable(text, QFontMetrics(font, &device));
}

} // namespace

PrintedTable::PrintedTable(LParameterSourceGroup& group, LTableType type, const QFont& font,
                           const QLocale& locale, int dpi)
    : group_(group), text_(locale), font_(font), dpi_(dpi) {
    text_.SetGroup(&group);
    text_.SetType(type);
    sizes_ = Measure(text_, font_, dpi_);
}

int PrintedTable::RowHeights(int32_t row) const {
    return row < text_.FixedRows() ? sizes_.HeaderRowHeight : sizes_.DefaultRowHeight;
}

int PrintedTable::ColWidths(int32_t col) const {
    if (col >= 0 && static_cast<size_t>(col) < colWidths_.size())
        return colWidths_[static_cast<size_t>(col)];
    return LayoutColWidth(sizes_, text_, col);
}

int PrintedTable::GetRowHeight(const QPaintDevice& device, int32_t row) const {
    return ScaleToResolution(RowHeights(row), device.logicalDpiY(), dpi_);
}

int PrintedTable::GetColWidth(const QPaintDevice& device, int32_t col) const {
    return ScaleToResolution(ColWidths(col), device.logicalDpiX(), dpi_);
}

void PrintedTable::DrawRow(QPainter& painter, int32_t row, int x, int& y) const {
    DrawStrip(painter, row, {}, x, y);
}

ColumnRange PrintedTable::StripColumns() const {
    if (Type() != ttHistoric && Type() != ttCumulative)
        return {0, -1};
    return {text_.FixedCols(), ColCount() - 1};
}

int PrintedTable::FixedWidth(const QPaintDevice& device) const {
    int width = 0;
    for (int32_t col = 0; col < ColCount() && col < StripColumns().First; ++col)
        width += GetColWidth(device, col);
    return width;
}

void PrintedTable::DrawStrip(QPainter& painter, int32_t row, ColumnRange strip, int x,
                             int& y) const {
    const QPaintDevice& device = *painter.device();
    const int height = GetRowHeight(device, row);
    const ColumnRange cut = StripColumns();
    for (int32_t col = 0; col < ColCount(); ++col) {
        if (col >= cut.First && col <= cut.Last && (col < strip.First || col > strip.Last))
            continue;
        const int width = GetColWidth(device, col);
        painter.setFont(font_);
        DrawTableCell(painter, text_, col, row, QRect(x, y, width, height));
        x += width;
    }
    y += height;
}
