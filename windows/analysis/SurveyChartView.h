#pragma once

#include <QWidget>

#include <functional>

class QPainter;

// A chart page of the Survey window: whatever its drawing paints into the widget's rectangle,
// painted again when it is resized or told to.
class SurveyChartView : public QWidget {
    Q_OBJECT

public:
    using Drawing = std::function<void(QPainter& painter, const QRectF& area)>;
    explicit SurveyChartView(Drawing drawing, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Drawing drawing_;
};
