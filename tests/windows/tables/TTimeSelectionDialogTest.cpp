#include "tests/support/ModalDriver.h"

#include "tests/windows/tables/SampleRecording.h"
#include "windows/tables/TRangeTrackBar.h"
#include "windows/tables/TTimeSelectionDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTime>

#include <gtest/gtest.h>

namespace {

class TTimeSelectionDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseEnglishLocale(); }

    static TDateTime MondayMorning() {
        TDateTime day = 0;
        TDateTime time = 0;
        TryEncodeDate(2024, 3, 11, day);
        TryEncodeTime(9, 30, 0, 0, time);
        return day + time;
    }
};

TEST_F(TTimeSelectionDialogTest, DurationCountsTheLastSecondWith30DayMonths) {
    const struct {
        int32_t seconds, start, end;
        const char* duration;
    } cases[] = {
        {15, 0, 0, "00:00:01"},
        {15, 0, 99, "00:24:46"},
        {15, 40, 41, "00:00:16"},
        {1800, 0, 45 * 48, "00y 01m 15d   00:00:01"},
        {1800, 0, 365 * 48 - 1, "01y 00m 04d   23:30:01"},
        {1, 0, 86399, "00y 00m 01d   00:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.duration);
        EXPECT_EQ(TimeRangeLabels(MondayMorning(), c.seconds, c.start, c.end).Duration,
                  QString::fromLatin1(c.duration));
    }
}

TEST_F(TTimeSelectionDialogTest, EndsShowTheLocaleDateAndTimeWithoutAZone) {
    const TimeRangeTexts texts = TimeRangeLabels(MondayMorning(), 15, 0, 99);
    const QString space = QLocale().toString(QTime(9, 30), QStringLiteral("h:mm AP")).mid(4, 1);
    EXPECT_EQ(texts.StartDate, QStringLiteral("3/11/2024"));
    EXPECT_EQ(texts.StartTime, QStringLiteral("9:30:00") + space + QStringLiteral("AM"));
    EXPECT_EQ(texts.EndDate, QStringLiteral("3/11/2024"));
    EXPECT_EQ(texts.EndTime, QStringLiteral("9:54:45") + space + QStringLiteral("AM"));
}

TEST_F(TTimeSelectionDialogTest, InitSelectsTheWholeRecording) {
    const struct {
        int32_t count;
        int maximum, largeStep, tickFrequency;
        const char* duration;
    } cases[] = {
        {1, 0, 2, 1, "00:00:01"},
        {100, 99, 11, 10, "00:24:46"},
    };
    TTimeSelectionDialog dialog;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        dialog.SetRecording(MondayMorning(), 15, c.count);
        dialog.Init();
        for (const QScrollBar* bar : {dialog.StartScrollbar(), dialog.EndScrollbar()}) {
            EXPECT_EQ(bar->minimum(), 0);
            EXPECT_EQ(bar->maximum(), c.maximum);
            EXPECT_EQ(bar->pageStep(), c.largeStep);
        }
        EXPECT_EQ(dialog.StartScrollbar()->value(), 0);
        EXPECT_EQ(dialog.EndScrollbar()->value(), c.maximum);
        EXPECT_EQ(dialog.SelectedTime()->TickFrequency(), c.tickFrequency);
        EXPECT_EQ(dialog.DurationLabel()->text(), QString::fromLatin1(c.duration));
    }
}

TEST_F(TTimeSelectionDialogTest, StartNeverPassesEndAndEntireDomainResets) {
    TTimeSelectionDialog dialog;
    dialog.SetRecording(MondayMorning(), 15, 100);
    dialog.Init();
    dialog.EndScrollbar()->setValue(40);
    dialog.StartScrollbar()->setValue(41);
    EXPECT_EQ(dialog.StartScrollbar()->value(), 40);
    EXPECT_EQ(dialog.StartIndex(), 40);
    dialog.EndScrollbar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(dialog.EndScrollbar()->value(), 40);
    EXPECT_EQ(dialog.EndIndex(), 40);
    EXPECT_EQ(dialog.SelectedTime()->SelStart(), 40);
    EXPECT_EQ(dialog.SelectedTime()->SelEnd(), 40);
    EXPECT_EQ(dialog.DurationLabel()->text(), QStringLiteral("00:00:01"));

    dialog.EntireDomainButton()->click();
    EXPECT_EQ(dialog.StartIndex(), 0);
    EXPECT_EQ(dialog.EndIndex(), 99);
    EXPECT_EQ(dialog.SelectedTime()->SelEnd(), 99);
    EXPECT_EQ(dialog.DurationLabel()->text(), QStringLiteral("00:24:46"));
}

TEST_F(TTimeSelectionDialogTest, EveryExecuteStartsFromTheWholeRecording) {
    TTimeSelectionDialog dialog;
    dialog.SetRecording(MondayMorning(), 60, 1440);
    int32_t shownEnd = -1;
    ModalDriver driver({[&](QWidget* w) {
                            dialog.StartScrollbar()->setValue(600);
                            dialog.EndScrollbar()->setValue(659);
                            Child<QPushButton>(w, "OKButton")->click();
                        },
                        [&](QWidget* w) {
                            shownEnd = dialog.EndIndex();
                            Child<QPushButton>(w, "CancelButton")->click();
                        }});
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.StartIndex(), 600);
    EXPECT_EQ(dialog.EndIndex(), 659);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(shownEnd, 1439);
    EXPECT_EQ(dialog.StartIndex(), 0);
}

} // namespace
