// The windowed program's start, as the program entry runs it.
#include "tests/support/ScratchFolder.h"
#include "tests/support/WindowWatcher.h"

#include "app/StartProgram.h"
#include "app/TMainForm.h"
#include "model/ErrorReport.h"
#include "windows/shell/TErrorBox.h"

#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(StartProgramTest, ADamagedCommandLineFileIsReportedInTheErrorBoxFirst) {
    ScratchFolder scratch;
    const std::string file = scratch / "damaged.vro";
    WriteBytes(file, std::string("\x03\0\0\0Vrx", 7));
    // As in a program just started: nothing listens to the error report yet.
    const ErrorReportHandler before = SetErrorReportHandler({});
    QStringList shown;
    WindowWatcher watcher([&](QWidget* w) {
        if (auto* errorBox = qobject_cast<TErrorBox*>(w)) {
            shown << errorBox->Context() + ": " + errorBox->Message();
            errorBox->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
            shown << box->text();
            box->accept();
        }
    });
    const auto program = StartProgram(QString::fromStdString(file));
    EXPECT_EQ(shown, QStringList({"LDatabase::Load: Wrong file format",
                                  "damaged.vro could not be opened: it is damaged or not a "
                                  "database file of this program.\nWrong file format"}));
    EXPECT_FALSE(program->Database().Open());
    SetErrorReportHandler(before);
}

} // namespace
