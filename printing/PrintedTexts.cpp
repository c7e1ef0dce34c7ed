#include "printing/PrintedTexts.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace {

// The room left and right of a cell's text.
int Padding(const QFontMetrics& metrics) {
    return std::max(1, metrics.averageCharWidth() / 2);
}

} // namespace

PrintedTexts::PrintedTexts(std::vector<QStringList> rows, const QFont& font,
                           std::vector<bool> alignRight)
    : rows_(std::move(rows)), font_(font), alignRight_(std::move(alignRight)) {
    for (const QStringList& row : rows_)
        columns_ = std::max(columns_, static_cast<int32_t>(row.size()));
}

namespace {

std::vector<QStringList> TableRows(const TextTable& table, const TextStyle& style) {
    std::vector<QStringList> rows;
    for (const auto& row : table.Texts(style)) {
        QStringList& texts = rows.emplace_back();
        for (const std::string& cell : row)
            texts << QString::fromStdString(cell);
    }
    return rows;
}

std::vector<bool> RightColumns(const TextTable& table) {
    std::vector<bool> right;
    for (const TextColumn& column : table.Columns)
        right.push_back(column.Right);
    return right;
}

} // namespace

PrintedTexts::PrintedTexts(const TextTable& table, const TextStyle& style, const QFont& font)
    : PrintedTexts(TableRows(table, style), font, RightColumns(table)) {}

QFont PrintedTexts::CellFont(int32_t row) const {
    QFont font = font_;
    font.setBold(row == 0);
    return font;
}

std::vector<int> PrintedTexts::Measure(const QPaintDevice& device) const {
    std::vector<int> widths(static_cast<size_t>(columns_), 0);
    const QFontMetrics header(CellFont(0), &device), body(CellFont(1), &device);
    for (size_t r = 0; r < rows_.size(); ++r) {
        const QFontMetrics& metrics = r == 0 ? header : body;
        const int padding = 2 * Padding(metrics);
        for (qsizetype c = 0; c < rows_[r].size(); ++c) {
            int& width = widths[static_cast<size_t>(c)];
            width = std::max(width, metrics.horizontalAdvance(rows_[r][c]) + padding);
        }
    }
    return widths;
}

int PrintedTexts::RowWidth() const {
    return std::accumulate(widths_.begin(), widths_.end(), 0);
}

void PrintedTexts::FitWidth(const QPaintDevice& device, int width) {
    widths_ = Measure(device);
    // Text widths shrink about as the font does; a few steps make up for the rounding.
    for (int step = 0; step < 8 && RowWidth() > width && font_.pointSizeF() > smallest_; ++step) {
        const double factor = std::min(0.97, static_cast<double>(width) / RowWidth());
        font_.setPointSizeF(std::max(smallest_, font_.pointSizeF() * factor));
        widths_ = Measure(device);
    }
}

int PrintedTexts::GetRowHeight(const QPaintDevice& device, int32_t row) const {
    const int h = QFontMetrics(CellFont(row), &device).height();
    const int caption = row == 0 && !caption_.isEmpty() ? 2 * h : 0;
    return caption + h + h / 4;
}

void PrintedTexts::DrawRow(QPainter& painter, int32_t row, int x, int& y) const {
    const QPaintDevice& device = *painter.device();
    const std::vector<int> widths = widths_.empty() ? Measure(device) : widths_;
    const QFont font = CellFont(row);
    const QFontMetrics metrics(font, &device);
    const int padding = Padding(metrics);
    if (row == 0 && !caption_.isEmpty()) {
        // Its own line, and half a line below it.
        painter.setFont(font_);
        painter.drawText(x + padding, y + QFontMetrics(font_, &device).ascent(), caption_);
        y += 2 * metrics.height();
    }
    const int height = metrics.height() + metrics.height() / 4;
    const int baseline = y + (height - metrics.height()) / 2 + metrics.ascent();
    painter.setFont(font);
    const QStringList& texts = row >= 0 && static_cast<size_t>(row) < rows_.size()
                                   ? rows_[static_cast<size_t>(row)]
                                   : QStringList();
    for (int32_t c = 0; c < columns_; ++c) {
        const int width = widths[static_cast<size_t>(c)];
        const QRect cell(x, y, width, height);
        if (painter.brush().style() != Qt::NoBrush)
            painter.fillRect(cell, painter.brush());
        if (c < texts.size()) {
            const QString& text = texts[c];
            const bool right =
                static_cast<size_t>(c) < alignRight_.size() && alignRight_[static_cast<size_t>(c)];
            const int at =
                right ? x + width - padding - metrics.horizontalAdvance(text) : x + padding;
            painter.save();
            painter.setClipRect(cell, Qt::IntersectClip);
            painter.drawText(at, baseline, text);
            painter.restore();
        }
        x += width;
    }
    y += height;
}
