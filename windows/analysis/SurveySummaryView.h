#pragma once

#include "analysis/SurveyText.h"

#include <QWidget>

#include <vector>

// The Survey window's Summary page: its lines drawn as label and value columns in the
// window's font (SummaryRows, as the page prints), as high as they need, for a scroll area.
class SurveySummaryView : public QWidget {
    Q_OBJECT

public:
    explicit SurveySummaryView(QWidget* parent = nullptr);

    void SetLines(std::vector<SummaryLine> lines);
    const std::vector<SummaryLine>& Lines() const { return lines_; }
    // The left of the values, as last laid out.
    int ValueLeft() const { return valueLeft_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Layout();

    std::vector<SummaryLine> lines_;
    QSize size_;
    int valueLeft_ = 0;
};
