// File > New from the main window against an instrument on COM3, through to a saved file.
#include "tests/support/EventLoop.h"
#include "tests/support/WindowWatcher.h"
#include "tests/windows/acquisition/InstrumentPorts.h"

#include "app/TMainForm.h"
#include "app/TSessionInfoDialog.h"
#include "database/LDatabase.h"
#include "tests/acquisition/AcquisitionTestSupport.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"
#include "windows/acquisition/TNewSessionDialog.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class NewRecordingWorkflowTest : public InstrumentPorts {
protected:
    void SetUp() override {
        InstrumentPorts::SetUp();
        ClearSettings();
    }
};

TEST_F(NewRecordingWorkflowTest, DownloadsDescribesShowsAndSaves) {
    const std::string recording = SmallRecording(3);
    InstrumentOn(3, 19200, recording);
    TMainForm form;
    TNewSessionDialog dialog;
    dialog.SetTimings(FastTimings(), 10);
    form.SetDownloader([&](std::string& bytes) {
        dialog.SetDestination(&bytes);
        return dialog.Execute();
    });
    QTemporaryDir dir;
    form.SetFileNameAsker([&](TMainForm::FileDialogKind) { return dir.filePath("site 3"); });

    WindowWatcher watcher([&](QWidget* window) {
        if (window == &dialog) {
            ClickLater(dialog.OKButton());
        } else if (auto* info = qobject_cast<TSessionInfoDialog*>(window)) {
            info->LocationComboBox()->setEditText("Substation 3");
            ClickLater(info->OKButton());
        }
    });
    form.MINewClick();
    ASSERT_TRUE(form.Database().Open());
    EXPECT_EQ(form.Database().Header().Location, "Substation 3");
    EXPECT_EQ(form.Database().Header().DataLength, static_cast<int32_t>(recording.size()));
    EXPECT_TRUE(form.Database().Modified());
    EXPECT_EQ(form.StatusText(1), "Modified");

    ASSERT_TRUE(form.SaveDatabase(false));
    LDatabase saved;
    saved.New();
    saved.Load(dir.filePath("site 3.vro").toStdString());
    EXPECT_EQ(saved.Header().Location, "Substation 3");
    EXPECT_EQ(saved.Parameters().Count(), form.Database().Parameters().Count());
}

} // namespace
