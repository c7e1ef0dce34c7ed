#pragma once

#include "model/DateTime.h"
#include "windows/shell/TStandardDialog.h"

#include <QString>

#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;
class QScrollBar;
class TRangeTrackBar;
namespace Ui {
class TTimeSelectionDialog;
}

// What the dialog shows for a selection of the samples startIndex..endIndex (inclusive) of a
// time base: the dates and times of both ends in the locale's short date and long time
// formats, and the duration with one sample's second added.
struct TimeRangeTexts {
    QString StartDate, StartTime, EndDate, EndTime, Duration;
};
TimeRangeTexts TimeRangeLabels(TDateTime recordingStart, int32_t sampleSeconds, int32_t startIndex,
                               int32_t endIndex);

// end - start + 1 s as "hh:mm:ss", preceded by "YYy MMm DDd" and three blanks once it spans
// a whole day; months have 30 days and years 12 months.
QString DurationText(TDateTime startTime, TDateTime endTime);

// "Select time domain": a contiguous part of a recording's historic samples for a new table
// or chart. Every Execute starts from the whole recording.
class TTimeSelectionDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TTimeSelectionDialog(QWidget* parent = nullptr);
    ~TTimeSelectionDialog() override;

    // The recording's historic time base; sampleCount > 0.
    void SetRecording(TDateTime start, int32_t sampleSeconds, int32_t sampleCount);
    // The selection, 0 <= StartIndex() <= EndIndex() < sampleCount; valid after Execute()
    // returned true.
    int32_t StartIndex() const { return startIndex_; }
    int32_t EndIndex() const { return endIndex_; }
    TDateTime StartTime() const { return IndexTime(startIndex_); }
    TDateTime EndTime() const { return IndexTime(endIndex_); }

    // Selects the whole recording.
    void Init() override;

    // The scroll bars' handlers: neither index passes the other.
    void StartScrollbarChange();
    void EndScrollbarChange();
    void EntireDomainButtonClick();

    QScrollBar* StartScrollbar() const;
    QScrollBar* EndScrollbar() const;
    TRangeTrackBar* SelectedTime() const;
    QPushButton* EntireDomainButton() const;
    QLabel* DurationLabel() const;

private:
    TDateTime IndexTime(int32_t index) const;
    void UpdateLabels();

    std::unique_ptr<Ui::TTimeSelectionDialog> Form;
    TDateTime recordingStart_ = 0;
    int32_t sampleSeconds_ = 1;
    int32_t sampleCount_ = 1;
    int32_t startIndex_ = 0;
    int32_t endIndex_ = 0;
};

// The dialog made at start-up, or one made now if there is none yet.
TTimeSelectionDialog& TimeSelectionDialog();
