#include "tests/support/EventLoop.h"
#include "tests/support/WindowWatcher.h"
#include "tests/windows/acquisition/InstrumentPorts.h"

#include "model/ErrorReport.h"
#include "tests/acquisition/AcquisitionTestSupport.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"
#include "windows/acquisition/TDownloadForm.h"
#include "windows/acquisition/TManualConfigurationDialog.h"
#include "windows/acquisition/TNewSessionDialog.h"
#include "windows/acquisition/TScanForm.h"
#include "windows/shell/Help.h"
#include "windows/shell/Registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr int TickMs = 10;

class TNewSessionDialogTest : public InstrumentPorts {
protected:
    void SetUp() override {
        InstrumentPorts::SetUp();
        ClearSettings();
    }
    void StorePortConfiguration(int port, int baud, bool autoscan) {
        RegistryKey key(PortConfigurationKey);
        key.WriteInteger(QStringLiteral("Port Index"), port);
        key.WriteInteger(QStringLiteral("Baud Rate Index"), baud);
        key.WriteBool(QStringLiteral("Enable Autoscan"), autoscan);
    }
    static QVariant Stored(const char* name) {
        return StoredSettings().value(QStringLiteral("Port Configuration/") + name);
    }
    void Prepare(TNewSessionDialog& dialog) {
        dialog.SetTimings(FastTimings(), TickMs);
        dialog.SetDestination(&Data);
    }

    std::string Data;
};

TEST_F(TNewSessionDialogTest, FirstRunFindsTheLowerOfTwoInstrumentsAndDownloads) {
    const std::string recording = SmallRecording(1);
    InstrumentOn(2, 38400, recording);
    InstrumentOn(4, 38400, SmallRecording(2));
    TNewSessionDialog dialog;
    EXPECT_EQ(dialog.PortConfig().PortIndex, 0);
    EXPECT_EQ(dialog.PortConfig().BaudRateIndex, 0);
    EXPECT_TRUE(dialog.PortConfig().EnableAutoscan);
    Prepare(dialog);

    int scans = 0;
    QStringList atDownload;
    WindowWatcher watcher([&](QWidget* window) {
        if (window == &dialog) {
            ClickLater(dialog.OKButton());
        } else if (qobject_cast<TScanForm*>(window)) {
            ++scans;
        } else if (auto* download = qobject_cast<TDownloadForm*>(window)) {
            // The port and rate found are stored before the transfer starts.
            atDownload << download->ComLabel()->text() << download->BaudLabel()->text()
                       << Stored("Port Index").toString() << Stored("Baud Rate Index").toString();
        }
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(Data, AsDownloaded(recording));
    EXPECT_EQ(scans, 2); // the stored pair (COM1 at 9600), then the autoscan
    EXPECT_EQ(atDownload, (QStringList{"COM2", "38400", "1", "2"}));
    EXPECT_EQ(dialog.PortConfig().PortIndex, 1);
    EXPECT_EQ(dialog.PortConfig().BaudRateIndex, 2);
}

TEST_F(TNewSessionDialogTest, AutoscanOffAndAWrongPairWarnsAndStaysOpen) {
    StorePortConfiguration(0, 0, false);
    InstrumentSimulator& instrument = InstrumentOn(1, 38400, SmallRecording());
    TNewSessionDialog dialog;
    Prepare(dialog);
    std::vector<QUrl> helpShown;
    const HelpOpener previous =
        SetHelpOpener([&](const QUrl& url) { return helpShown.push_back(url), true; });

    int scans = 0;
    QString warning;
    bool openAfterHelp = false;
    bool openAfterWarning = false;
    WindowWatcher watcher([&](QWidget* window) {
        if (window == &dialog) {
            ClickLater(dialog.OKButton());
        } else if (qobject_cast<TScanForm*>(window)) {
            ++scans;
        } else if (auto* box = qobject_cast<QMessageBox*>(window)) {
            warning = box->text();
            box->button(QMessageBox::Help)->click();
            openAfterHelp = box->isVisible();
            box->button(QMessageBox::Ok)->click();
            QTimer::singleShot(0, &dialog, [&] {
                openAfterWarning = dialog.isVisible();
                dialog.CancelButton()->click();
            });
        }
    });
    EXPECT_FALSE(dialog.Execute());
    SetHelpOpener(previous);

    EXPECT_EQ(scans, 1);
    EXPECT_EQ(warning, QStringLiteral("No devices were found.  Make sure that the device is ready "
                                      "for transmission.\nFor more information click on Help "
                                      "button."));
    ASSERT_EQ(helpShown.size(), 1u);
    EXPECT_EQ(helpShown[0].fragment(), QStringLiteral("100"));
    EXPECT_TRUE(openAfterHelp);
    EXPECT_TRUE(openAfterWarning);
    EXPECT_EQ(instrument.Stats().testsAnswered, 0);
    EXPECT_TRUE(Data.empty());
    EXPECT_EQ(Stored("Port Index").toInt(), 0);
    EXPECT_EQ(Stored("Enable Autoscan").toInt(), 0);
}

TEST_F(TNewSessionDialogTest, AFailedTransferClosesAsCancelledButKeepsThePortFound) {
    SimulatorFaults silent;
    silent.ignoreStart = true;
    InstrumentOn(3, 19200, SmallRecording(), silent);
    TNewSessionDialog dialog;
    Prepare(dialog);
    Data = "previous";
    QStringList errors;
    WindowWatcher watcher([&](QWidget* window) {
        if (window == &dialog) {
            ClickLater(dialog.OKButton());
        } else if (auto* box = qobject_cast<QMessageBox*>(window)) {
            errors.append(box->text());
            box->accept();
        }
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(errors, QStringList{QStringLiteral("The device is not ready for transmission.")});
    EXPECT_TRUE(Data.empty());
    EXPECT_EQ(Stored("Port Index").toInt(), 2);
    EXPECT_EQ(Stored("Baud Rate Index").toInt(), 1);
}

TEST_F(TNewSessionDialogTest, SettingsEditTheConfigurationOnlyWhenConfirmed) {
    StorePortConfiguration(1, 7, true); // an index outside the rates: all defaults
    TNewSessionDialog dialog;
    EXPECT_EQ(dialog.PortConfig().PortIndex, 0);
    EXPECT_EQ(dialog.PortConfig().BaudRateIndex, 0);
    EXPECT_EQ(dialog.SettingsButton()->text(), QStringLiteral("Settings"));

    TManualConfigDialog& manual = ManualConfigDialog();
    bool confirm = false;
    QStringList shownWith;
    WindowWatcher watcher([&](QWidget* window) {
        if (window != &manual)
            return;
        shownWith << manual.PortComboBox()->currentText() << manual.RateComboBox()->currentText();
        manual.PortComboBox()->setCurrentIndex(3);
        manual.RateComboBox()->setCurrentIndex(1);
        manual.AutoCheckBox()->setChecked(false);
        (confirm ? manual.OKButton() : manual.CancelButton())->click();
    });
    dialog.ManualButtonClick();
    EXPECT_EQ(shownWith, (QStringList{"COM1", "9600"}));
    EXPECT_EQ(dialog.PortConfig().PortIndex, 0);
    EXPECT_EQ(Stored("Baud Rate Index").toInt(), 7); // the store is left as it was

    confirm = true;
    dialog.ManualButtonClick();
    EXPECT_EQ(dialog.PortConfig().PortIndex, 3);
    EXPECT_EQ(dialog.PortConfig().BaudRateIndex, 1);
    EXPECT_FALSE(dialog.PortConfig().EnableAutoscan);
    EXPECT_EQ(Stored("Port Index").toInt(), 3);
    EXPECT_EQ(Stored("Baud Rate Index").toInt(), 1);
    EXPECT_EQ(Stored("Enable Autoscan").toInt(), 0);
    // A dialog made later starts from what was stored.
    EXPECT_EQ(TNewSessionDialog().PortConfig().PortIndex, 3);
}

TEST_F(TNewSessionDialogTest, ExecuteRefusesWithoutADestination) {
    const ErrorReportHandler previous = SetErrorReportHandler({});
    TNewSessionDialog dialog;
    EXPECT_THROW(dialog.Execute(), VroError);
    EXPECT_FALSE(dialog.isVisible());
    SetErrorReportHandler(previous);
}

} // namespace
