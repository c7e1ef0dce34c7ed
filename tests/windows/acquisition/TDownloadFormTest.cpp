#include "tests/support/EventLoop.h"
#include "tests/support/WindowWatcher.h"
#include "tests/windows/acquisition/InstrumentPorts.h"

#include "tests/acquisition/AcquisitionTestSupport.h"
#include "tools/RecordingGenerator.h"
#include "windows/acquisition/TDownloadForm.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class TDownloadFormTest : public InstrumentPorts {};

TEST_F(TDownloadFormTest, ATransferFillsTheDestinationAndShowsItsFigures) {
    const std::string recording = SmallRecording();
    InstrumentOn(1, 38400, recording);
    TDownloadForm form(nullptr, FastTimings());
    QStringList captions;
    WindowWatcher watcher([&](QWidget* window) { captions.append(window->windowTitle()); });

    std::string data = "left over";
    EXPECT_TRUE(form.StartDownload(0, 2, &data));
    EXPECT_EQ(data, AsDownloaded(recording));
    EXPECT_EQ(captions, QStringList{QStringLiteral("Download")});
    EXPECT_EQ(form.StatusLabel()->text(), QStringLiteral("Download successful"));
    EXPECT_EQ(form.ComLabel()->text(), QStringLiteral("COM1"));
    EXPECT_EQ(form.BaudLabel()->text(), QStringLiteral("38400"));
    EXPECT_EQ(form.TotalLabel()->text(), QString::number(recording.size() / 1024.0, 'f', 1));
    EXPECT_EQ(form.DownloadProgress()->maximum(), static_cast<int>(recording.size()));
    EXPECT_EQ(form.ReceivedLabel()->text(), QString::number(data.size() / 1024.0, 'f', 1));
}

TEST_F(TDownloadFormTest, EscapeCancelsButTheWindowWaitsForTheEngine) {
    GeneratorOptions options;
    options.historicPoints = 2000;
    const std::string recording = GenerateRecordingBytes(options);
    InstrumentOn(1, 9600, recording, {}, true); // at 9600 baud this takes many seconds
    TDownloadForm form(nullptr, FastTimings());
    QStringList statusAfterEscape;
    bool visibleAfterEscape = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (form.isVisible() && form.StatusLabel()->text() == QStringLiteral("Downloading...")) {
            poll.stop();
            QTest::keyClick(&form, Qt::Key_Escape);
            statusAfterEscape.append(form.StatusLabel()->text());
            visibleAfterEscape = form.isVisible();
        }
    });
    poll.start();

    std::string data;
    EXPECT_FALSE(form.StartDownload(0, 0, &data));
    EXPECT_EQ(statusAfterEscape, QStringList{QStringLiteral("Cancelling...")});
    EXPECT_TRUE(visibleAfterEscape);
    EXPECT_EQ(form.StatusLabel()->text(), QStringLiteral("Download cancelled"));
    EXPECT_TRUE(data.empty());
    EXPECT_LT(form.DownloadProgress()->value(), static_cast<int>(recording.size()));
}

TEST_F(TDownloadFormTest, AFailedTransferShowsItsMessageAndLeavesNothing) {
    SimulatorFaults silent;
    silent.ignoreStart = true;
    InstrumentOn(1, 0, SmallRecording(), silent);
    QStringList texts;
    WindowWatcher watcher([&](QWidget* window) {
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            texts.append(box->text());
            box->accept();
        }
    });

    std::string data;
    {
        TDownloadForm form(nullptr, FastTimings());
        EXPECT_FALSE(form.StartDownload(0, 2, &data));
    }
    {
        TDownloadForm form(nullptr, FastTimings()); // COM2 does not open
        EXPECT_FALSE(form.StartDownload(1, 2, &data));
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("The device is not ready for transmission."),
                                  QStringLiteral("Other error.")}));
    EXPECT_TRUE(data.empty());

    EXPECT_EQ(DownloadErrorText(ErrorDataCorrupted),
              QStringLiteral("The data device is sending is corrupted."));
    EXPECT_EQ(DownloadErrorText(ErrorTransferInterrupted),
              QStringLiteral("The transmission has been interrupted."));
    EXPECT_EQ(DownloadErrorText(ErrorSendFailed), QStringLiteral("Other error."));
}

TEST_F(TDownloadFormTest, TheTotalIsTakenFromTheFirstStatisticsOnly) {
    TDownloadForm form;
    form.DownloadStat(128, 4096, 1.5f);
    form.DownloadStat(5120, 8192, 2.126f);
    EXPECT_EQ(form.TotalLabel()->text(), QStringLiteral("4.0"));
    EXPECT_EQ(form.DownloadProgress()->maximum(), 4096);
    EXPECT_EQ(form.ReceivedLabel()->text(), QStringLiteral("5.0"));
    EXPECT_EQ(form.ThroughputLabel()->text(), QStringLiteral("2.13"));
    EXPECT_EQ(form.DownloadProgress()->value(), 4096);
}

} // namespace
