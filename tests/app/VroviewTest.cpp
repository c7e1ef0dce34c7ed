// vroview as a user runs it: the answers it gives without a display, and the picture its
// empty main window shows when started from a folder without pictures.
#include "tests/support/PictureColours.h"
#include "tests/support/ScratchFolder.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome Vroview(const QStringList& args, const QProcessEnvironment& environment,
                const QString& folder = QDir::currentPath()) {
    QProcess vroview;
    vroview.setProcessEnvironment(environment);
    vroview.setWorkingDirectory(folder);
    vroview.start(VRO_VROVIEW, args);
    Outcome run;
    if (!vroview.waitForFinished(60000))
        return run;
    run.status = vroview.exitStatus() == QProcess::NormalExit ? vroview.exitCode() : -1;
    run.out = vroview.readAllStandardOutput().toStdString();
    run.err = vroview.readAllStandardError().toStdString();
    return run;
}

// No display, no Qt platform, and a home folder that does not exist: the answers come before
// any window or setting.
TEST(VroviewTest, AnswersHelpVersionAndMistakesWithoutADisplayOrSettings) {
    ScratchFolder scratch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME"})
        environment.remove(name);
    environment.insert("HOME", QString::fromStdString(scratch / "home"));
    const struct {
        const char* arg;
        int status;
        std::string outStart, errStart;
    } cases[] = {{"--version", 0, "vroview " VRO_VERSION "\n", ""},
                 {"-h", 0, "Usage: vroview [OPTION]... [/debug] [FILE]\n", ""},
                 {"--bogus", 2, "", "vroview: Unknown option 'bogus'."}};
    for (const auto& c : cases) {
        const Outcome run = Vroview({c.arg}, environment);
        EXPECT_EQ(run.status, c.status) << c.arg << run.err;
        EXPECT_EQ(run.out.substr(0, c.outStart.size()), c.outStart) << c.arg;
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart) << c.arg;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "home"));
}

// The build tree keeps the banner beside the program, as an installation keeps it in its data
// folder: the empty main window shows it wherever the program starts.
TEST(VroviewTest, EmptyMainWindowShowsTheShippedBanner) {
    ScratchFolder scratch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Pictures need no display.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(scratch / "config"));
    const QString pictures = QString::fromStdString(scratch / "pictures");
    const Outcome run = Vroview({"--screenshots", pictures}, environment,
                                QString::fromStdString(scratch.path.string()));
    ASSERT_EQ(run.status, 0) << run.err;
    // Every window shows something: a blank one has a colour or two.
    const QStringList files = QDir(pictures).entryList({QStringLiteral("*.png")});
    EXPECT_GT(files.size(), 40);
    for (const QString& file : files)
        EXPECT_GT(PictureColours(pictures + "/" + file), HandfulOfColours) << file.toStdString();
    const QImage window(pictures + "/main-empty.png");
    ASSERT_FALSE(window.isNull());
    // The banner's band is the only large blue area of the window.
    int blue = 0;
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) {
            const QColor c = window.pixelColor(x, y);
            blue += c.blue() > 120 && c.red() < 70;
        }
    EXPECT_GT(blue, 30000);
}

} // namespace
