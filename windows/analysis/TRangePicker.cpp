#include "windows/analysis/TRangePicker.h"

#include "model/Auxilary.h"
#include "windows/tables/TRangeTrackBar.h"
#include "windows/tables/TTimeSelectionDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

TRangePicker::TRangePicker(const QString& title, QWidget* parent)
    : QWidget(parent), title_(new QLabel(title, this)),
      start_(new QScrollBar(Qt::Horizontal, this)), end_(new QScrollBar(Qt::Horizontal, this)),
      startLabel_(new QLabel(this)), endLabel_(new QLabel(this)), duration_(new QLabel(this)),
      track_(new TRangeTrackBar(this)), entire_(new QPushButton(QStringLiteral("&Entire"), this)) {
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    start_->setObjectName(QStringLiteral("StartScrollbar"));
    end_->setObjectName(QStringLiteral("EndScrollbar"));
    entire_->setObjectName(QStringLiteral("EntireButton"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(2);
    layout->addWidget(title_, 0, 0, 1, 2);
    layout->addWidget(duration_, 0, 2, Qt::AlignRight);
    layout->addWidget(new QLabel(QStringLiteral("Start"), this), 1, 0);
    layout->addWidget(start_, 1, 1);
    layout->addWidget(startLabel_, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("End"), this), 2, 0);
    layout->addWidget(end_, 2, 1);
    layout->addWidget(endLabel_, 2, 2);
    layout->addWidget(track_, 3, 1);
    layout->addWidget(entire_, 3, 2, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    startLabel_->setMinimumWidth(
        startLabel_->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00:00 AM")));
    for (QScrollBar* bar : {start_, end_})
        bar->setFocusPolicy(Qt::StrongFocus);
    connect(start_, &QScrollBar::valueChanged, this, &TRangePicker::StartChanged);
    connect(end_, &QScrollBar::valueChanged, this, &TRangePicker::EndChanged);
    connect(entire_, &QPushButton::clicked, this, [this] { SetIndices(0, count_ - 1); });
    SetUnavailable(QString());
}

void TRangePicker::SetRecording(TDateTime start, int32_t sampleSeconds, int32_t sampleCount) {
    recordingStart_ = start;
    sampleSeconds_ = std::max(1, sampleSeconds);
    count_ = std::max(0, sampleCount);
    setEnabled(count_ > 0);
    const int32_t last = std::max(0, count_ - 1);
    track_->SetRange(0, last);
    track_->SetTickFrequency(std::max(1, count_ / 10));
    {
        const QSignalBlocker blockStart(start_);
        const QSignalBlocker blockEnd(end_);
        for (QScrollBar* bar : {start_, end_}) {
            bar->setRange(0, last);
            bar->setSingleStep(1);
            bar->setPageStep(static_cast<int>(std::sqrt(static_cast<double>(count_)) + 1));
        }
    }
    SetIndices(0, last);
}

void TRangePicker::SetUnavailable(const QString& why) {
    SetRecording(0, 1, 0);
    startLabel_->setText(why);
    endLabel_->clear();
    duration_->clear();
}

void TRangePicker::SetIndices(int32_t first, int32_t last) {
    const QSignalBlocker blockStart(start_);
    const QSignalBlocker blockEnd(end_);
    first_ = std::clamp(first, 0, std::max(0, count_ - 1));
    last_ = std::clamp(last, first_, std::max(0, count_ - 1));
    start_->setValue(first_);
    end_->setValue(last_);
    UpdateLabels();
}

TDateTime TRangePicker::IndexTime(int32_t index) const {
    return recordingStart_ + IntervalsToDays(index, sampleSeconds_);
}

TimeRange TRangePicker::Range() const {
    return TimeRange{IndexTime(first_), IndexTime(last_)};
}

void TRangePicker::StartChanged() {
    // Neither end passes the other.
    SetIndices(start_->value(), std::max(last_, start_->value()));
}

void TRangePicker::EndChanged() {
    SetIndices(std::min(first_, end_->value()), end_->value());
}

void TRangePicker::UpdateLabels() {
    if (count_ <= 0)
        return;
    const TimeRangeTexts texts = TimeRangeLabels(recordingStart_, sampleSeconds_, first_, last_);
    startLabel_->setText(texts.StartDate + ' ' + texts.StartTime);
    endLabel_->setText(texts.EndDate + ' ' + texts.EndTime);
    duration_->setText(texts.Duration);
    track_->SetSelStart(first_);
    track_->SetSelEnd(last_);
}
