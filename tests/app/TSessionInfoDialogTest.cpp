#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "app/TRecordingInfoForm.h"
#include "app/TSessionInfoDialog.h"
#include "model/LSession.h"
#include "windows/shell/Registry.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TSessionInfoDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }

    static QStringList History(const char* key) {
        QStringList list;
        LoadStringList(key, list);
        return list;
    }

    static LSession Recording() {
        LSession session;
        session.UserID = "Ana";
        session.Location = "Plant 2";
        session.Comments = "first";
        return session;
    }
};

ModalDriver::Step Type(const QString& user, const QString& location, const QString& comments,
                       const char* button) {
    return [=](QWidget* w) {
        Child<QComboBox>(w, "UserIdComboBox")->setEditText(user);
        Child<QComboBox>(w, "LocationComboBox")->setEditText(location);
        Child<QPlainTextEdit>(w, "CommentsMemo")->setPlainText(comments);
        Child<QPushButton>(w, button)->click();
    };
}

TEST_F(TSessionInfoDialogTest, AfterADownloadTheDialogCanOnlyBeConfirmed) {
    LSession session = Recording();
    bool cancelEnabled = true;
    bool visibleAfterEscape = false;
    ModalDriver driver({[&](QWidget* w) {
        cancelEnabled = Child<QPushButton>(w, "CancelButton")->isEnabled();
        QTest::keyClick(w, Qt::Key_Escape);
        visibleAfterEscape = w->isVisible();
        Type("Bo", "Dock 7", "second", "OKButton")(w);
    }});
    EXPECT_TRUE(EditInfo(session, false));
    EXPECT_FALSE(cancelEnabled);
    EXPECT_TRUE(visibleAfterEscape);
    EXPECT_EQ(session.UserID, "Bo");
    EXPECT_EQ(session.Location, "Dock 7");
    EXPECT_EQ(session.Comments, "second");
    // The recording information window shows the new texts.
    EXPECT_EQ(Child<QLabel>(&RecordingInfoForm(), "LocationLabel")->text(), "Dock 7");
}

TEST_F(TSessionInfoDialogTest, CancellingLeavesTheRecordingAndTheHistoriesAlone) {
    LSession session = Recording();
    ModalDriver driver({Type("Someone", "Elsewhere", "changed", "CancelButton")});
    EXPECT_FALSE(EditInfo(session, true));
    EXPECT_EQ(session.UserID, "Ana");
    EXPECT_EQ(session.Location, "Plant 2");
    EXPECT_EQ(session.Comments, "first");
    EXPECT_TRUE(History(UserIDKey).isEmpty());
}

TEST_F(TSessionInfoDialogTest, TheDialogOpensWithTheRecordingsTextsAndTheHistories) {
    SaveStringList(UserIDKey, {"Ana", "Bo"});
    SaveStringList(LocationsKey, {"Plant 2"});
    LSession session = Recording();
    session.Comments = "three\nlines\nhere";
    QStringList users;
    QString user, comments;
    ModalDriver driver({[&](QWidget* w) {
        auto* box = Child<QComboBox>(w, "UserIdComboBox");
        for (int i = 0; i < box->count(); ++i)
            users << box->itemText(i);
        user = box->currentText();
        comments = Child<QPlainTextEdit>(w, "CommentsMemo")->toPlainText();
        Child<QPushButton>(w, "CancelButton")->click();
    }});
    EditInfo(session, true);
    EXPECT_EQ(users, (QStringList{"Ana", "Bo"}));
    EXPECT_EQ(user, "Ana");
    EXPECT_EQ(comments, "three\nlines\nhere");
}

TEST_F(TSessionInfoDialogTest, HistoriesGrowByNewTextsIgnoringCase) {
    SaveStringList(UserIDKey, {"Ana"});
    LSession session = Recording();
    ModalDriver driver({Type("ANA", "", "", "OKButton"), Type("Carl", "Yard", "", "OKButton"),
                        Type("carl", "yard", "", "OKButton")});
    EXPECT_TRUE(EditInfo(session, true));
    EXPECT_EQ(History(UserIDKey), QStringList{"Ana"});
    EXPECT_TRUE(History(LocationsKey).isEmpty());
    EXPECT_FALSE(StoredSettings().contains("Locations/0000"));
    EXPECT_TRUE(EditInfo(session, true));
    EXPECT_TRUE(EditInfo(session, true));
    EXPECT_EQ(History(UserIDKey), (QStringList{"Ana", "Carl"}));
    EXPECT_EQ(History(LocationsKey), QStringList{"Yard"});
    EXPECT_EQ(session.UserID, "carl");
}

TEST_F(TSessionInfoDialogTest, EnterInTheCommentsConfirmsWithoutBreakingTheLine) {
    LSession session = Recording();
    ModalDriver driver({[](QWidget* w) {
        auto* memo = Child<QPlainTextEdit>(w, "CommentsMemo");
        memo->setFocus();
        memo->setPlainText("one line");
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return);
    }});
    EXPECT_TRUE(EditInfo(session, true));
    EXPECT_EQ(session.Comments, "one line");
}

} // namespace
