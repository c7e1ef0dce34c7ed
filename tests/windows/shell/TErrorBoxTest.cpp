#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "windows/shell/Help.h"
#include "windows/shell/TErrorBox.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

struct Shown {
    QString Context;
    QString Message;
    bool Visible = false;
};

// Reads the box while it is up, then presses Continue.
ModalDriver::Step ReadAndContinue(Shown& shown) {
    return [&shown](QWidget* w) {
        shown.Visible = w->isVisible();
        shown.Context = Child<QLabel>(w, "ContextLabel")->text();
        shown.Message = Child<QPlainTextEdit>(w, "MessageText")->toPlainText();
        Child<QPushButton>(w, "ContinueBtn")->click();
    };
}

TEST(TErrorBoxTest, TheCoreReportShowsContextAndMessageLines) {
    InstallErrorBox();
    Shown shown;
    ModalDriver driver({ReadAndContinue(shown)});
    EXPECT_THROW(ShowErrorAndRaise("LDatabase::Load", "Wrong file format\r\nsecond line"),
                 VroError);
    EXPECT_TRUE(shown.Visible);
    EXPECT_EQ(shown.Context, "LDatabase::Load");
    EXPECT_EQ(shown.Message, "Wrong file format\nsecond line");
    EXPECT_EQ(Child<QPlainTextEdit>(&ErrorBox(), "MessageText")->document()->blockCount(), 2);
    EXPECT_FALSE(ErrorBox().isVisible());
}

TEST(TErrorBoxTest, TheLeakReportGoesThroughTheBox) {
    InstallErrorBox();
    DebugMode = true;
    LiveInstances::TableFormCount = 1;
    Shown shown;
    {
        ModalDriver driver({ReadAndContinue(shown)});
        ReportLeaks();
    }
    LiveInstances::TableFormCount = 0;
    EXPECT_EQ(shown.Context, "Unknown");
    EXPECT_EQ(shown.Message, "Memory leak\nTableFormCount = 1");

    // Nothing alive, or no debug switch: no box.
    shown = {};
    ModalDriver driver({ReadAndContinue(shown)});
    ReportLeaks();
    DebugMode = false;
    LiveInstances::ParameterCount = 2;
    ReportLeaks();
    LiveInstances::ParameterCount = 0;
    EXPECT_EQ(driver.StepsRun(), 0u);
}

TEST(TErrorBoxTest, ContactOpensTheReportTopicAndTheBoxStays) {
    InstallErrorBox();
    QUrl opened;
    const HelpOpener previous = SetHelpOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    bool stillVisible = false;
    ModalDriver driver({[&](QWidget* w) {
        Child<QPushButton>(w, "Contact")->click();
        stillVisible = w->isVisible();
        Child<QPushButton>(w, "ContinueBtn")->click();
    }});
    ShowError("LParameterSource::Load", "Invalid index");
    SetHelpOpener(previous);
    EXPECT_TRUE(stillVisible);
    EXPECT_TRUE(opened.isLocalFile());
    EXPECT_TRUE(opened.path().endsWith("/vroview.html"));
    EXPECT_EQ(opened.fragment(), "IDH_TOPIC4");
}

TEST(TErrorBoxTest, AReportFromAnotherModalWindowReturnsToIt) {
    InstallErrorBox();
    QDialog outer;
    Shown shown;
    // The report comes from a handler of the outer window, not from the driver's own step.
    const auto report = [] { ShowError("TChartForm::MakeSeries", "Invalid index"); };
    ModalDriver driver({[&](QWidget*) { QTimer::singleShot(0, report); }, ReadAndContinue(shown),
                        [](QWidget* w) { static_cast<QDialog*>(w)->accept(); }});
    EXPECT_EQ(outer.exec(), QDialog::Accepted);
    EXPECT_EQ(driver.StepsRun(), 3u);
    EXPECT_EQ(shown.Context, "TChartForm::MakeSeries");
}

} // namespace
