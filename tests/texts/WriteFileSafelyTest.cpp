#include "texts/WriteFileSafely.h"

#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

QString Name(const std::string& path) {
    return QString::fromStdString(path);
}

// The file's identity stays: the name written through stays a link, a second name keeps
// sharing the file, the mode stays; whichever name is given, the file gets the content.
TEST(WriteFileSafelyTest, ReplacesTheContentAndKeepsTheFile) {
    struct Case {
        const char* what;
        const char* written; // the name given
        const char* kept;    // the file's other name, if any: a symbolic or a hard link
        bool symbolic;
    };
    const Case cases[] = {
        {"plain file", "file.csv", nullptr, false},
        {"through a symbolic link", "link.csv", "link.csv", true},
        {"with a second name", "file.csv", "second.csv", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder dir;
        WriteBytes(dir / "file.csv", "old content");
        ASSERT_EQ(::chmod((dir / "file.csv").c_str(), 0640), 0);
        if (c.kept && c.symbolic)
            fs::create_symlink("file.csv", dir.path / c.kept);
        else if (c.kept)
            fs::create_hard_link(dir / "file.csv", dir.path / c.kept);

        QString error;
        ASSERT_TRUE(WriteFileSafely(Name(dir / c.written), QByteArray("new"), error))
            << error.toStdString();
        EXPECT_EQ(ReadBytes(dir / "file.csv"), "new");
        if (c.kept) {
            EXPECT_EQ(fs::is_symlink(dir.path / c.kept), c.symbolic);
            EXPECT_EQ(ReadBytes(dir / c.kept), "new");
        }
        struct stat st {};
        ASSERT_EQ(::stat((dir / "file.csv").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()),
                  c.kept ? 2 : 1)
            << "a temporary file left behind";
    }
}

// Giving up half-way or failing to start leaves the former file and nothing else.
TEST(WriteFileSafelyTest, FailureLeavesTheFormerFile) {
    ScratchFolder dir;
    WriteBytes(dir / "file.csv", "old content");
    QString error;
    EXPECT_FALSE(WriteFileSafely(
        Name(dir / "file.csv"), [](QIODevice& file) { return file.write("half") < 0; }, error));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(ReadBytes(dir / "file.csv"), "old content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);

    EXPECT_FALSE(WriteFileSafely(Name(dir / "none/file.csv"), QByteArray("new"), error));
    EXPECT_EQ(error.toStdString(), "Error occured while saving the file.");
    EXPECT_FALSE(fs::exists(dir.path / "none"));
}

} // namespace
