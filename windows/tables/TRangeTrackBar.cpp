#include "windows/tables/TRangeTrackBar.h"

#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

namespace {
// Room at both ends, as a track bar keeps for the half of its handle.
constexpr int EndMargin = 11;
constexpr int GrooveHeight = 8;
constexpr int TickLength = 4;
constexpr int TickGap = 3;
} // namespace

TRangeTrackBar::TRangeTrackBar(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TRangeTrackBar::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    update();
}

void TRangeTrackBar::SetTickFrequency(int frequency) {
    frequency_ = std::max(1, frequency);
    update();
}

void TRangeTrackBar::SetSelStart(int position) {
    selStart_ = position;
    update();
}

void TRangeTrackBar::SetSelEnd(int position) {
    selEnd_ = position;
    update();
}

QSize TRangeTrackBar::sizeHint() const {
    return {200, minimumSizeHint().height()};
}

QSize TRangeTrackBar::minimumSizeHint() const {
    return {2 * EndMargin + 20, GrooveHeight + 2 * (TickGap + TickLength) + 8};
}

int TRangeTrackBar::XOf(int position) const {
    const int span = maximum_ - minimum_;
    const int width = std::max(0, this->width() - 2 * EndMargin);
    if (span <= 0)
        return EndMargin;
    const int clamped = std::clamp(position, minimum_, maximum_);
    return EndMargin + static_cast<int>(static_cast<long long>(clamped - minimum_) * width / span);
}

void TRangeTrackBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int grooveTop = (height() - GrooveHeight) / 2;
    const QRect groove(EndMargin - 2, grooveTop, width() - 2 * EndMargin + 4, GrooveHeight);
    const QBrush base = palette().brush(QPalette::Base);
    qDrawShadePanel(&painter, groove, palette(), true, 1, &base);

    // The selection fills the groove between its ends, at least a sliver wide.
    const int left = XOf(std::min(selStart_, selEnd_));
    const int right = std::max(XOf(std::max(selStart_, selEnd_)), left + 2);
    painter.fillRect(
        QRect(QPoint(left, grooveTop + 1), QPoint(right, grooveTop + GrooveHeight - 2)),
        palette().brush(QPalette::Highlight));

    painter.setPen(palette().color(QPalette::WindowText));
    const int above = grooveTop - TickGap;
    const int below = grooveTop + GrooveHeight + TickGap;
    auto tick = [&](int position, int length) {
        const int x = XOf(position);
        painter.drawLine(x, above - length, x, above);
        painter.drawLine(x, below, x, below + length);
    };
    for (long long p = minimum_; p < maximum_; p += frequency_)
        tick(static_cast<int>(p), TickLength);
    tick(maximum_, TickLength);
    // The ends of the selection stand out beyond the ticks.
    tick(selStart_, TickLength + 2);
    tick(selEnd_, TickLength + 2);
}
