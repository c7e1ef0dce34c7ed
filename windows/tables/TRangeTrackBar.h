#pragma once

#include <QWidget>

// A track bar without a handle that shows a selected range: the groove with the range
// highlighted in it and tick marks above and below. It only shows; other controls move the
// range, so it takes no focus and no input.
class TRangeTrackBar : public QWidget {
    Q_OBJECT

public:
    explicit TRangeTrackBar(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    // A tick every frequency positions from the minimum, and one at the maximum.
    void SetTickFrequency(int frequency);
    int TickFrequency() const { return frequency_; }
    void SetSelStart(int position);
    void SetSelEnd(int position);
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int XOf(int position) const;

    int minimum_ = 0;
    int maximum_ = 10;
    int frequency_ = 1;
    int selStart_ = 0;
    int selEnd_ = 0;
};
