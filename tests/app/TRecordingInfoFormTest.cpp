#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "app/TRecordingInfoForm.h"
#include "model/LSession.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    TDateTime date = 0, time = 0;
    EXPECT_TRUE(TryEncodeDate(year, month, day, date));
    EXPECT_TRUE(TryEncodeTime(hour, minute, second, 0, time));
    return date + time;
}

LSession Recording() {
    LSession session;
    session.UserID = "Ana";
    session.Location = "Plant 2";
    session.StartTime = At(2024, 3, 11);
    session.EndTime = At(2024, 3, 18, 9, 30, 5);
    session.Rate = 3;
    return session;
}

TEST(TRecordingInfoFormTest, DatesAndTimesFollowTheLocaleAndTheirParts) {
    const QLocale german(QLocale::German, QLocale::Germany);
    // As the survey and the reports write a time: with the time even at midnight.
    EXPECT_EQ(DateTimeText(At(2024, 3, 11), german), "11.03.2024 00:00:00");
    EXPECT_EQ(DateTimeText(At(2024, 3, 11, 13, 2, 3), german), "11.03.2024 13:02:03");
    // A hair past midnight is still midnight to the second.
    EXPECT_EQ(DateTimeText(At(2024, 3, 11) + 1e-10, german), "11.03.2024 00:00:00");

    // The long time format's zone is left out: the instrument's times have none.
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QString afternoon = DateTimeText(At(2024, 3, 11, 13, 2, 3), us);
    EXPECT_TRUE(afternoon.startsWith("3/11/2024 1:02:03")) << afternoon.toStdString();
    EXPECT_TRUE(afternoon.endsWith("PM")) << afternoon.toStdString();
}

TEST(TRecordingInfoFormTest, TheClipboardTextHasTenLinesAsShown) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const RecordingInfoLines lines = RecordingInfo(Recording(), german);
    const QString text = RecordingInfoText(lines);
    const QStringList rows = text.split("\r\n");
    ASSERT_EQ(rows.size(), 11);
    EXPECT_EQ(rows[10], "");
    EXPECT_EQ(rows[0], "User ID\tAna");
    EXPECT_EQ(rows[1], "Location\tPlant 2");
    EXPECT_EQ(rows[2], "Comments\t");
    EXPECT_EQ(rows[3], "Start time\t11.03.2024 00:00:00");
    EXPECT_EQ(rows[4], "End time\t18.03.2024 09:30:05");
    EXPECT_EQ(rows[7], "Rate\t" + QString::fromStdString(Recording().RateText()));
    const QStringList captions = {"User ID", "Location", "Comments", "Start time", "End time",
                                  "Phase",   "Mode",     "Rate",     "Interval",   "CT"};
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(rows[i].startsWith(captions[i] + "\t")) << rows[i].toStdString();
        EXPECT_EQ(rows[i].count('\t'), 1);
    }
}

TEST(TRecordingInfoFormTest, TheWindowShowsAndCopiesItsCopyOfTheRecording) {
    TRecordingInfoForm form;
    LSession session = Recording();
    form.ShowRecording(session);
    session.UserID = "changed later";
    EXPECT_EQ(Child<QLabel>(&form, "UserIDLabel")->text(), "Ana");
    EXPECT_EQ(Child<QLabel>(&form, "RateLabel")->text(),
              QString::fromStdString(session.RateText()));
    EXPECT_EQ(Child<QLabel>(&form, "StartLabel")->text(), DateTimeText(session.StartTime));

    form.CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), RecordingInfoText(RecordingInfo(Recording())));
    EXPECT_EQ(form.size(), QSize(250, 300));

    // A joined recording's eleven downloads scroll, whole, in the window's size.
    std::string joined = "Joined from:";
    for (int i = 1; i <= 11; ++i)
        joined += " d" + std::to_string(i) + ".vro (2026-01-08 23:59:01 to 2026-01-10 23:59:00);";
    session.Comments = joined;
    form.ShowRecording(session);
    form.show();
    auto* comments = Child<QLabel>(&form, "CommentsLabel");
    EXPECT_EQ(comments->text().toStdString(), joined);
    auto* scroll = Child<QScrollArea>(&form, "CommentsScroll");
    EXPECT_EQ(scroll->widget(), comments);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(Child<QLabel>(&form, "CTLabel")->isVisible());
}

} // namespace
