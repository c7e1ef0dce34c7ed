// Saving never loses the previous good copy: backups, and saves that fail half-way.
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "tests/database/DatabaseTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs the save in a child process under the given restriction; the child reports by its
// exit status: 0 when the save raised message and left the database modified.
int SaveInChild(LDatabase& db, bool backup, const std::string& message,
                const std::function<void()>& restrict) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        restrict();
        try {
            db.Save(backup);
        } catch (const VroError& e) {
            ::_exit(e.what() == message && db.Modified() ? 0 : 2);
        }
        ::_exit(3);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillDatabase(db, 30000, 3000);
        db.SetFileName(dir / "week");
        WriteBytes(dir / "week.vro", "former content");
        WriteBytes(dir / "week.vro.backup", "older backup");
    }
    void ExpectUntouched() {
        EXPECT_TRUE(ReadBytes(dir / "week.vro") == "former content");
        EXPECT_TRUE(ReadBytes(dir / "week.vro.backup") == "older backup");
        EXPECT_EQ(Names(dir.path), (std::vector<std::string>{"week.vro", "week.vro.backup"}));
    }
    ScratchFolder dir;
    LDatabase db;
};

TEST_F(SaveTest, BackupKeepsTheFormerFileAndReplacesTheOlderBackup) {
    ::chmod((dir / "week.vro").c_str(), 0640);
    db.Save(true);
    EXPECT_EQ(ReadBytes(dir / "week.vro.backup"), "former content");
    EXPECT_EQ(ReadBytes(dir / "week.vro").substr(4, 3), "Vro");
    EXPECT_EQ(Names(dir.path), (std::vector<std::string>{"week.vro", "week.vro.backup"}));
    struct stat st {};
    ::stat((dir / "week.vro").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "a replaced file keeps its permissions";

    // Without the flag the backup stays as it is.
    db.SetModified(true);
    db.Save(false);
    EXPECT_EQ(ReadBytes(dir / "week.vro.backup"), "former content");
    EXPECT_FALSE(db.Modified());
}

TEST_F(SaveTest, NoBackupOfANameTheUserNeverGave) {
    LDatabase fresh;
    FillDatabase(fresh);
    fresh.Save(true); // "New Database.vro" in the working folder: no name yet, so no backup
    EXPECT_FALSE(fs::exists("New Database.vro.backup"));
    fs::remove("New Database.vro");
}

TEST_F(SaveTest, FileSizeLimitHalfWayLeavesEverythingAsItWas) {
    // The disk fills up after 32 kB of a file of about 230 kB.
    EXPECT_EQ(SaveInChild(db, true, "Error writing",
                          [] {
                              std::signal(SIGXFSZ, SIG_IGN);
                              const rlimit limit{32 << 10, 32 << 10};
                              ::setrlimit(RLIMIT_FSIZE, &limit);
                          }),
              0);
    ExpectUntouched();
}

TEST_F(SaveTest, ReadOnlyFolderIsRefusedWithoutDamage) {
    ::chmod(dir.path.c_str(), 0555);
    EXPECT_EQ(SaveInChild(db, true, "Error occured while saving the file.",
                          [] {
                              // Permissions do not hold back the super-user; save as nobody.
                              if (::geteuid() == 0 && ::setuid(65534) != 0)
                                  ::_exit(4);
                          }),
              0);
    ::chmod(dir.path.c_str(), 0755);
    ExpectUntouched();
}

TEST_F(SaveTest, MissingFolderIsRefused) {
    db.SetFileName(dir / "gone/week");
    try {
        db.Save(true);
        FAIL();
    } catch (const VroError& e) {
        EXPECT_STREQ(e.what(), "Error occured while saving the file.");
    }
    EXPECT_TRUE(db.Modified());
    ExpectUntouched();
}

} // namespace
