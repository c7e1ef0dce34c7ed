#include "windows/tables/TTimeSelectionDialog.h"

#include "model/Auxilary.h"
#include "resources/StringTable.h"
#include "texts/DateTimeText.h"
#include "ui_TTimeSelectionDialog.h"
#include "windows/shell/Help.h"
#include "windows/shell/WindowInstance.h"
#include "windows/tables/TRangeTrackBar.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

QString DurationText(TDateTime startTime, TDateTime endTime) {
    const double days = endTime - startTime + 1 / SecsPerDay;
    // To the millisecond, as a date-time's parts are taken: the times' own rounding errors
    // must not cost the last second.
    const long long ms = std::max(0LL, std::llround(days * MSecsPerDay));
    const long long wholeDays = ms / static_cast<long long>(MSecsPerDay);
    const int seconds = static_cast<int>(ms % static_cast<long long>(MSecsPerDay) / 1000);
    const QString time = QString::asprintf(LoadStr(StrDurationTime).c_str(), seconds / 3600,
                                           seconds / 60 % 60, seconds % 60);
    const int years = static_cast<int>(wholeDays / 30 / 12);
    const int months = static_cast<int>(wholeDays / 30 % 12);
    const int rest = static_cast<int>(wholeDays % 30);
    if (years == 0 && months == 0 && rest == 0)
        return time;
    return QString::asprintf(LoadStr(StrDurationDays).c_str(), years, months, rest) +
           QStringLiteral("   ") + time;
}

TimeRangeTexts TimeRangeLabels(TDateTime recordingStart, int32_t sampleSeconds, int32_t startIndex,
                               int32_t endIndex) {
    const TDateTime start = recordingStart + IntervalsToDays(startIndex, sampleSeconds);
    const TDateTime end = recordingStart + IntervalsToDays(endIndex, sampleSeconds);
    return {DateToStr(start), TimeToStr(start), DateToStr(end), TimeToStr(end),
            DurationText(start, end)};
}

TTimeSelectionDialog::TTimeSelectionDialog(QWidget* parent)
    : TStandardDialog(parent), Form(std::make_unique<Ui::TTimeSelectionDialog>()) {
    SetHelpTopic(this, "timerange");
    SetupContent(*Form);
    connect(Form->StartScrollbar, &QScrollBar::valueChanged, this,
            &TTimeSelectionDialog::StartScrollbarChange);
    connect(Form->EndScrollbar, &QScrollBar::valueChanged, this,
            &TTimeSelectionDialog::EndScrollbarChange);
    connect(Form->EntireDomainButton, &QPushButton::clicked, this,
            &TTimeSelectionDialog::EntireDomainButtonClick);
    WindowInstance<TTimeSelectionDialog>::Register(this);
}

TTimeSelectionDialog::~TTimeSelectionDialog() = default;

void TTimeSelectionDialog::SetRecording(TDateTime start, int32_t sampleSeconds,
                                        int32_t sampleCount) {
    recordingStart_ = start;
    sampleSeconds_ = sampleSeconds;
    sampleCount_ = std::max(1, sampleCount);
}

TDateTime TTimeSelectionDialog::IndexTime(int32_t index) const {
    return recordingStart_ + IntervalsToDays(index, sampleSeconds_);
}

void TTimeSelectionDialog::Init() {
    const int32_t last = sampleCount_ - 1;
    Form->SelectedTime->SetRange(0, last);
    Form->SelectedTime->SetTickFrequency(std::max(1, sampleCount_ / 10));
    const int largeStep = static_cast<int>(std::sqrt(static_cast<double>(sampleCount_)) + 1);
    {
        // The handlers would compare each bar with the other's old index while both move.
        const QSignalBlocker blockStart(Form->StartScrollbar);
        const QSignalBlocker blockEnd(Form->EndScrollbar);
        for (QScrollBar* bar : {Form->StartScrollbar, Form->EndScrollbar}) {
            bar->setRange(0, last);
            bar->setSingleStep(1);
            bar->setPageStep(largeStep);
        }
        Form->StartScrollbar->setValue(0);
        Form->EndScrollbar->setValue(last);
    }
    startIndex_ = 0;
    endIndex_ = last;
    UpdateLabels();
}

void TTimeSelectionDialog::StartScrollbarChange() {
    const int position = Form->StartScrollbar->value();
    if (position > endIndex_) {
        Form->StartScrollbar->setValue(endIndex_); // comes back here with the end index
        return;
    }
    startIndex_ = position;
    UpdateLabels();
}

void TTimeSelectionDialog::EndScrollbarChange() {
    const int position = Form->EndScrollbar->value();
    if (position < startIndex_) {
        Form->EndScrollbar->setValue(startIndex_);
        return;
    }
    endIndex_ = position;
    UpdateLabels();
}

void TTimeSelectionDialog::EntireDomainButtonClick() {
    Form->StartScrollbar->setValue(0);
    Form->EndScrollbar->setValue(sampleCount_ - 1);
    UpdateLabels();
}

void TTimeSelectionDialog::UpdateLabels() {
    const TimeRangeTexts texts =
        TimeRangeLabels(recordingStart_, sampleSeconds_, startIndex_, endIndex_);
    Form->StartDateLabel->setText(texts.StartDate);
    Form->StartTimeLabel->setText(texts.StartTime);
    Form->EndDateLabel->setText(texts.EndDate);
    Form->EndTimeLabel->setText(texts.EndTime);
    Form->DurationLabel->setText(texts.Duration);
    Form->SelectedTime->SetSelStart(startIndex_);
    Form->SelectedTime->SetSelEnd(endIndex_);
}

QScrollBar* TTimeSelectionDialog::StartScrollbar() const {
    return Form->StartScrollbar;
}

QScrollBar* TTimeSelectionDialog::EndScrollbar() const {
    return Form->EndScrollbar;
}

TRangeTrackBar* TTimeSelectionDialog::SelectedTime() const {
    return Form->SelectedTime;
}

QPushButton* TTimeSelectionDialog::EntireDomainButton() const {
    return Form->EntireDomainButton;
}

QLabel* TTimeSelectionDialog::DurationLabel() const {
    return Form->DurationLabel;
}

TTimeSelectionDialog& TimeSelectionDialog() {
    return WindowInstance<TTimeSelectionDialog>::Get();
}
