#include "windows/analysis/SurveySummaryView.h"

#include "figures/SummaryRows.h"

#include <QEvent>
#include <QPainter>

#include <limits>

namespace {

// The room around the rows.
constexpr int Margin = 8;

} // namespace

SurveySummaryView::SurveySummaryView(QWidget* parent) : QWidget(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void SurveySummaryView::SetLines(std::vector<SummaryLine> lines) {
    lines_ = std::move(lines);
    Layout();
    update();
}

void SurveySummaryView::Layout() {
    SummaryRows rows(lines_, font());
    rows.FitWidth(*this, std::numeric_limits<int>::max());
    int height = 0;
    for (int32_t r = 1; r <= rows.DataRowCount(); ++r)
        height += rows.GetRowHeight(*this, r);
    valueLeft_ = rows.ValueLeft();
    size_ = QSize(rows.Width() + 2 * Margin, height + 2 * Margin);
    setMinimumSize(size_);
    updateGeometry();
}

QSize SurveySummaryView::sizeHint() const {
    return size_;
}

void SurveySummaryView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    SummaryRows rows(lines_, font());
    rows.FitWidth(*this, std::numeric_limits<int>::max());
    int y = Margin;
    for (int32_t r = 1; r <= rows.DataRowCount(); ++r)
        rows.DrawRow(painter, r, Margin, y);
}

void SurveySummaryView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        Layout();
    QWidget::changeEvent(event);
}
