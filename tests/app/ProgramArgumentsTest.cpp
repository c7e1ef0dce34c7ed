// The windowed program's command line: what it asks for.
#include "app/ProgramArguments.h"

#include <gtest/gtest.h>

namespace {

using Action = ProgramArguments::Action;

TEST(ProgramArgumentsTest, ReadsRunsHelpVersionAndMistakes) {
    const struct {
        QStringList args;
        Action action;
        QString file;
        bool debug;
        QString screenshots;
    } cases[] = {
        {{}, Action::Run, "", false, ""},
        {{"/DEBUG", "week 4.vro"}, Action::Run, "week 4.vro", true, ""},
        {{"--screenshots", "/tmp/s", "a.vro"}, Action::Run, "a.vro", false, "/tmp/s"},
        // Qt's own options stay Qt's, with their values.
        {{"-platform", "offscreen", "-style=fusion", "-reverse", "a.vro"},
         Action::Run,
         "a.vro",
         false,
         ""},
        {{"--", "--odd.vro"}, Action::Run, "--odd.vro", false, ""},
        {{"--help"}, Action::Help, "", false, ""},
        {{"/debug", "a.vro", "-h"}, Action::Help, "a.vro", true, ""},
        {{"--version"}, Action::Version, "", false, ""},
        {{"-v"}, Action::Version, "", false, ""},
        {{"--bogus", "a.vro"}, Action::Mistake, "", false, ""},
        {{"-x"}, Action::Mistake, "", false, ""},
        {{"--screenshots"}, Action::Mistake, "", false, ""},
    };
    for (const auto& c : cases) {
        const ProgramArguments read = ProgramArguments::Read(QStringList{"vroview"} + c.args);
        const QString name = c.args.join(' ');
        EXPECT_EQ(read.action, c.action) << name.toStdString();
        if (c.action == Action::Mistake) {
            EXPECT_TRUE(read.text.startsWith("vroview: ")) << read.text.toStdString();
            EXPECT_EQ(read.text.count('\n'), 1) << read.text.toStdString();
            continue;
        }
        EXPECT_EQ(read.file, c.file) << name.toStdString();
        EXPECT_EQ(read.debug, c.debug) << name.toStdString();
        EXPECT_EQ(read.screenshots, c.screenshots) << name.toStdString();
    }
    EXPECT_EQ(ProgramArguments::Read({"vroview", "--bogus"}).text,
              "vroview: Unknown option 'bogus'. Try 'vroview --help'.\n");
}

} // namespace
