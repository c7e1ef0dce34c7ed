#pragma once

#include "analysis/TimeRange.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QPushButton;
class QScrollBar;
class TRangeTrackBar;

// A part of a recording's samples picked as the time range dialog picks it: a scroll bar for
// the first and one for the last sample, their dates and times, the duration, the track bar
// of the selection and a button for the whole recording.
class TRangePicker : public QWidget {
    Q_OBJECT

public:
    explicit TRangePicker(const QString& title, QWidget* parent = nullptr);

    // The time base: sampleCount samples sampleSeconds apart from start; the whole of it
    // picked. Without samples the picker is disabled and says why.
    void SetRecording(TDateTime start, int32_t sampleSeconds, int32_t sampleCount);
    void SetUnavailable(const QString& why);
    void SetIndices(int32_t first, int32_t last);
    int32_t FirstIndex() const { return first_; }
    int32_t LastIndex() const { return last_; }
    // From the first picked sample's time to the last's, both included.
    TimeRange Range() const;
    bool Available() const { return count_ > 0; }

    QScrollBar* StartScrollbar() const { return start_; }
    QScrollBar* EndScrollbar() const { return end_; }
    QPushButton* EntireButton() const { return entire_; }

private:
    TDateTime IndexTime(int32_t index) const;
    void StartChanged();
    void EndChanged();
    void UpdateLabels();

    QLabel* title_;
    QScrollBar* start_;
    QScrollBar* end_;
    QLabel* startLabel_;
    QLabel* endLabel_;
    QLabel* duration_;
    TRangeTrackBar* track_;
    QPushButton* entire_;
    TDateTime recordingStart_ = 0;
    int32_t sampleSeconds_ = 1;
    int32_t count_ = 0;
    int32_t first_ = 0, last_ = 0;
};
