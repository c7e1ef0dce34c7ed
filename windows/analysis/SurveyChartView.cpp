#include "windows/analysis/SurveyChartView.h"

#include <QPainter>

SurveyChartView::SurveyChartView(Drawing drawing, QWidget* parent)
    : QWidget(parent), drawing_(std::move(drawing)) {
    setMinimumSize(320, 200);
}

void SurveyChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawing_(painter, QRectF(rect()));
}
