#include "figures/SummaryRows.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {

// Characters a note or value runs to before it goes on in the next row: about the width of a
// page in the printed font.
constexpr qsizetype NoteLength = 96, ValueLength = 72;

// The text cut at spaces into pieces of at most length characters (a longer word stays
// whole).
QStringList Wrapped(const QString& text, qsizetype length) {
    QStringList pieces;
    QString piece;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (!piece.isEmpty() && piece.size() + 1 + word.size() > length) {
            pieces << piece;
            piece.clear();
        }
        piece += (piece.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    pieces << piece;
    return pieces;
}

} // namespace

SummaryRows::SummaryRows(const std::vector<SummaryLine>& lines, const QFont& font) : font_(font) {
    for (const SummaryLine& line : lines) {
        const QString label = QString::fromStdString(line.Label);
        if (line.Value) {
            const QStringList values = Wrapped(QString::fromStdString(*line.Value), ValueLength);
            for (qsizetype i = 0; i < values.size(); ++i)
                rows_.push_back({line.Indent, i == 0 ? label : QString(), values[i], false, true});
            continue;
        }
        // A note's later rows line up after its "- ".
        const QStringList pieces = Wrapped(label, NoteLength);
        const int hanging = label.startsWith(QStringLiteral("- ")) ? 2 : 0;
        for (qsizetype i = 0; i < pieces.size(); ++i)
            rows_.push_back({line.Indent + (i > 0 ? hanging : 0), pieces[i], QString(),
                             line.Indent == 0 && !label.isEmpty(), false});
    }
}

std::vector<SummaryRows::Run> SummaryRows::Runs(int32_t most) const {
    std::vector<Run> runs;
    bool broken = true;
    for (int32_t row = 1; row <= DataRowCount(); ++row) {
        const Row& r = rows_[static_cast<size_t>(row - 1)];
        if (!r.Figure && r.Label.isEmpty()) {
            broken = true;
            continue;
        }
        if (broken || runs.back().Last - runs.back().First + 1 >= most)
            runs.push_back({row, row, !broken});
        runs.back().Last = row;
        broken = false;
    }
    return runs;
}

void SummaryRows::Measure(const QPaintDevice& device) {
    QFont bold = font_;
    bold.setBold(true);
    const QFontMetrics plain(font_, &device), heavy(bold, &device);
    indentWidth_ = plain.averageCharWidth();
    const int gap = 2 * plain.averageCharWidth();
    int labels = 0;
    for (const Row& row : rows_)
        if (row.Figure)
            labels =
                std::max(labels, row.Indent * indentWidth_ + plain.horizontalAdvance(row.Label));
    valueLeft_ = labels + gap;
    width_ = 0;
    for (const Row& row : rows_) {
        const QFontMetrics& metrics = row.Heading ? heavy : plain;
        width_ = std::max(width_, row.Figure ? valueLeft_ + plain.horizontalAdvance(row.Value)
                                             : row.Indent * indentWidth_ +
                                                   metrics.horizontalAdvance(row.Label));
    }
}

void SummaryRows::FitWidth(const QPaintDevice& device, int width) {
    Measure(device);
    // Text widths shrink about as the font does; a few steps make up for the rounding.
    for (int step = 0; step < 8 && width_ > width && font_.pointSizeF() > MinimumPointSize;
         ++step) {
        const double factor = std::min(0.97, static_cast<double>(width) / width_);
        font_.setPointSizeF(std::max(MinimumPointSize, font_.pointSizeF() * factor));
        Measure(device);
    }
}

int SummaryRows::GetRowHeight(const QPaintDevice& device, int32_t row) const {
    const int h = QFontMetrics(font_, &device).height();
    if (row == 0)
        return caption_.isEmpty() ? 0 : 2 * h;
    return h + h / 5;
}

void SummaryRows::DrawRow(QPainter& painter, int32_t row, int x, int& y) const {
    const QPaintDevice& device = *painter.device();
    const int height = GetRowHeight(device, row);
    if (row == 0) {
        if (!caption_.isEmpty()) {
            painter.setFont(font_);
            painter.drawText(x, y + QFontMetrics(font_, &device).ascent(), caption_);
        }
        y += height;
        return;
    }
    if (row < 1 || static_cast<size_t>(row) > rows_.size()) {
        y += height;
        return;
    }
    const Row& r = rows_[static_cast<size_t>(row - 1)];
    QFont font = font_;
    font.setBold(r.Heading);
    painter.setFont(font);
    const QFontMetrics metrics(font, &device);
    const int baseline = y + (height - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(x + r.Indent * indentWidth_, baseline, r.Label);
    if (r.Figure)
        painter.drawText(x + valueLeft_, baseline, r.Value);
    y += height;
}
