#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "model/ErrorReport.h"
#include "tests/support/ErrorReportSpy.h"
#include "tests/support/EventLoop.h"
#include "windows/shell/TStandardDialog.h"
#include "windows/shell/TToolForm.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// Counts its calls; Init may fail as a descendant's check of its inputs does.
class CountingDialog : public TStandardDialog {
public:
    void Init() override {
        ++Inits;
        if (FailInit)
            ShowErrorAndRaise("TSelectParametersDialog::Init", "Group = NULL");
    }
    void Apply() override { ++Applies; }
    int Inits = 0;
    int Applies = 0;
    bool FailInit = false;
};

TEST(TStandardDialogTest, OKAppliesAndEveryOtherWayOutDoesNot) {
    CountingDialog dialog;
    const std::vector<std::pair<const char*, ModalDriver::Step>> ways = {
        {"OK", [](QWidget* w) { Child<QPushButton>(w, "OKButton")->click(); }},
        {"Cancel", [](QWidget* w) { Child<QPushButton>(w, "CancelButton")->click(); }},
        {"Escape", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }},
        {"window closed", [](QWidget* w) { w->close(); }},
        {"other result", [](QWidget* w) { static_cast<QDialog*>(w)->done(7); }},
    };
    for (const auto& [name, step] : ways) {
        SCOPED_TRACE(name);
        dialog.Applies = 0;
        ModalDriver driver({step});
        const bool confirmed = dialog.Execute();
        EXPECT_EQ(driver.StepsRun(), 1u);
        EXPECT_EQ(confirmed, std::string(name) == "OK");
        EXPECT_EQ(dialog.Applies, confirmed ? 1 : 0);
    }
    EXPECT_EQ(dialog.Inits, 5);
}

TEST(TStandardDialogTest, EnterConfirmsWithTheOKButton) {
    CountingDialog dialog;
    ModalDriver driver({[](QWidget* w) {
        EXPECT_EQ(w->focusWidget(), Child<QPushButton>(w, "OKButton"));
        QTest::keyClick(w, Qt::Key_Return);
    }});
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Applies, 1);
}

TEST(TStandardDialogTest, AFailingInitReachesTheCallerAndNothingIsShown) {
    CountingDialog dialog;
    dialog.FailInit = true;
    ErrorReportSpy spy;
    ModalDriver driver({[](QWidget* w) { w->close(); }});
    EXPECT_THROW(
        {
            try {
                dialog.Execute();
            } catch (const VroError& e) {
                EXPECT_STREQ(e.what(), "Group = NULL");
                throw;
            }
        },
        VroError);
    QTest::qWait(30);
    EXPECT_EQ(driver.StepsRun(), 0u);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Applies, 0);
    EXPECT_EQ(spy.reports, (std::vector<ErrorReportSpy::Report>{
                               {"TSelectParametersDialog::Init", "Group = NULL"}}));
}

TEST(TStandardDialogTest, WithCancelDisabledEscapeAndClosingAreRefused) {
    CountingDialog dialog;
    dialog.CancelButton()->setEnabled(false);
    ModalDriver driver({[](QWidget* w) {
        QTest::keyClick(w, Qt::Key_Escape);
        w->close();
        EXPECT_TRUE(w->isVisible());
        Child<QPushButton>(w, "OKButton")->click();
    }});
    EXPECT_TRUE(dialog.Execute());
}

// A dialog of the main window opened from another window stands in front of that window, not
// of its owner, and leaves that window active.
TEST(TStandardDialogTest, ADialogStandsInFrontOfTheWindowItWasOpenedFrom) {
    QWidget owner;
    owner.show();
    TToolForm table;
    table.show();
    for (QWidget* from : {static_cast<QWidget*>(&table), &owner}) {
        SCOPED_TRACE(from == &table ? "from a table" : "from its owner");
        from->activateWindow();
        ASSERT_TRUE(RunEventsUntil([&] { return QApplication::activeWindow() == from; }));
        CountingDialog dialog;
        dialog.setParent(&owner, dialog.windowFlags());
        const QWindow* inFront = nullptr;
        ModalDriver driver({[&](QWidget* w) {
            inFront = w->windowHandle()->transientParent();
            Child<QPushButton>(w, "OKButton")->click();
        }});
        EXPECT_TRUE(dialog.Execute());
        EXPECT_EQ(inFront, from->windowHandle());
        EXPECT_EQ(dialog.parentWidget(), &owner);
        EXPECT_TRUE(RunEventsUntil([&] { return QApplication::activeWindow() == from; }));
    }
}

} // namespace
