// Saving never loses the previous good copy: backups, and saves that fail half-way.
#include "database/LDatabase.h"
#include "database/SafeFileReplace.h"
#include "model/ErrorReport.h"
#include "tests/database/DatabaseTestSupport.h"
#include "tests/support/ErrorMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
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

constexpr uid_t Nobody = 65534;
constexpr uid_t Someone = 4242; // another user, who owns files here and runs nothing

// Runs fn in a child process as nobody and returns its result; -1 when this process cannot
// take another user's id.
int AsNobody(const std::function<int()>& fn) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(255);
        ::_exit(fn());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        return 100 + WTERMSIG(status);
    return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}

void Own(const std::string& name, uid_t user, mode_t mode) {
    ASSERT_EQ(::lchown(name.c_str(), user, user), 0) << name;
    ASSERT_EQ(::chmod(name.c_str(), mode), 0) << name;
}

struct stat Status(const std::string& name) {
    struct stat st {};
    ::lstat(name.c_str(), &st);
    return st;
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
    fresh.Save(true); // "New Database" in the working folder: no name yet, so no backup
    EXPECT_TRUE(fs::exists("New Database"));
    EXPECT_FALSE(fs::exists("New Database.backup"));
    fs::remove("New Database");
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

TEST_F(SaveTest, ALinkPlantedUnderAHelperNameIsNeverFollowed) {
    WriteBytes(dir / "victim", "another user's file");
    SafeFileReplace replace(dir / "week.vro", true);
    // The name the backup would take if it followed from the temporary file's name.
    fs::create_symlink(dir / "victim", replace.TemporaryName() + ".backup");
    db.WriteTo(replace.Writer());
    replace.Commit();
    EXPECT_EQ(ReadBytes(dir / "victim"), "another user's file");
    EXPECT_FALSE(fs::is_symlink(dir / "week.vro.backup"));
    EXPECT_EQ(ReadBytes(dir / "week.vro.backup"), "former content");
}

TEST_F(SaveTest, EveryNameOfTheFileShowsTheNewContent) {
    fs::create_hard_link(dir / "week.vro", dir / "other name.vro");
    db.Save(true);
    EXPECT_TRUE(ReadBytes(dir / "other name.vro") == ReadBytes(dir / "week.vro"));
    EXPECT_EQ(ReadBytes(dir / "week.vro.backup"), "former content");
}

TEST_F(SaveTest, RootKeepsTheOwnerModeAndAttributesOfAnotherUsersFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super-user can give a file to another user";
    const std::string week = dir / "week.vro";
    Own(week, Someone, 0640);
    const bool attributes = ::setxattr(week.c_str(), "user.vro", "kept", 4, 0) == 0;
    db.Save(true);
    const struct stat st = Status(week);
    EXPECT_EQ(st.st_uid, Someone);
    EXPECT_EQ(st.st_gid, Someone);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(week).substr(4, 3), "Vro");
    if (attributes) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(week.c_str(), "user.vro", value, sizeof value), 4);
        EXPECT_STREQ(value, "kept");
    }
}

// Saving as a user without privileges: the files and folders the program meets in shared
// folders and other people's homes.
TEST_F(SaveTest, AsAnUnprivilegedUser) {
    struct Case {
        const char* what;
        std::string name; // saved under this name in a folder of nobody's
        mode_t folderMode;
        bool backup;
        std::string message; // "" when the save succeeds
        std::function<void(const std::string&folder)> prepare, check;
    };
    const std::string former = "former content";
    const std::string longName = std::string(240, 'n') + ".vro";
    auto saved = [](const std::string& name) { return ReadBytes(name).substr(4, 3) == "Vro"; };
    const Case cases[] = {
        {"through a link", "site.vro", 0755, true, "",
         [&](const std::string& f) {
             fs::create_directory(f + "/data");
             Own(f + "/data", Nobody, 0755);
             WriteBytes(f + "/data/real.vro", former);
             Own(f + "/data/real.vro", Nobody, 0644);
             fs::create_symlink("data/real.vro", f + "/site.vro");
         },
         [&](const std::string& f) {
             ASSERT_TRUE(fs::is_symlink(f + "/site.vro"));
             EXPECT_EQ(fs::read_symlink(f + "/site.vro"), "data/real.vro");
             EXPECT_TRUE(saved(f + "/data/real.vro"));
             EXPECT_EQ(ReadBytes(f + "/data/real.vro.backup"), former);
         }},
        {"another user's file", "week.vro", 0755, true, "",
         [&](const std::string& f) {
             WriteBytes(f + "/week.vro", former);
             Own(f + "/week.vro", Someone, 0666);
         },
         [&](const std::string& f) {
             const struct stat st = Status(f + "/week.vro");
             EXPECT_EQ(st.st_uid, Someone);
             EXPECT_EQ(st.st_gid, Someone);
             EXPECT_EQ(st.st_mode & 07777, 0666u);
             EXPECT_TRUE(saved(f + "/week.vro"));
             EXPECT_EQ(ReadBytes(f + "/week.vro.backup"), former);
         }},
        {"read-only file", "week.vro", 0755, false, "Error occured while saving the file.",
         [&](const std::string& f) {
             WriteBytes(f + "/week.vro", former);
             Own(f + "/week.vro", Nobody, 0444);
         },
         [&](const std::string& f) {
             EXPECT_TRUE(ReadBytes(f + "/week.vro") == former);
             EXPECT_EQ(Names(f), std::vector<std::string>{"week.vro"});
         }},
        {"read-only folder", "week.vro", 0555, false, "",
         [&](const std::string& f) {
             // Longer than the new content, which must not keep its tail.
             WriteBytes(f + "/week.vro", std::string(1 << 20, 'x'));
             Own(f + "/week.vro", Nobody, 0600);
         },
         [&](const std::string& f) {
             EXPECT_TRUE(saved(f + "/week.vro"));
             EXPECT_LT(fs::file_size(f + "/week.vro"), 1u << 20);
             EXPECT_EQ(Status(f + "/week.vro").st_uid, Nobody);
             EXPECT_EQ(Names(f), std::vector<std::string>{"week.vro"});
         }},
        {"read-only folder, backup", "week.vro", 0555, true, "Error occured while saving the file.",
         [&](const std::string& f) {
             WriteBytes(f + "/week.vro", former);
             Own(f + "/week.vro", Nobody, 0600);
         },
         [&](const std::string& f) {
             EXPECT_TRUE(ReadBytes(f + "/week.vro") == former);
             EXPECT_EQ(Names(f), std::vector<std::string>{"week.vro"});
         }},
        {"244-byte name", longName, 0755, true, "",
         [&](const std::string& f) {
             WriteBytes(f + "/" + longName, former);
             Own(f + "/" + longName, Nobody, 0644);
         },
         [&](const std::string& f) {
             EXPECT_TRUE(saved(f + "/" + longName));
             EXPECT_EQ(ReadBytes(f + "/" + longName + ".backup"), former);
             EXPECT_EQ(Names(f).size(), 2u);
         }},
    };
    ::chmod(dir.path.c_str(), 0755);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = dir / c.what;
        fs::create_directory(folder);
        c.prepare(folder);
        Own(folder, Nobody, c.folderMode);
        db.SetFileName(folder + "/" + c.name);
        db.SetModified(true);
        const int result = AsNobody([&] {
            const std::string message = ErrorMessage([&] { db.Save(c.backup); });
            return message == c.message && db.Modified() == !c.message.empty() ? 0 : 1;
        });
        if (result == -1)
            GTEST_SKIP() << "cannot act as nobody (uid 65534) here";
        EXPECT_EQ(result, 0);
        c.check(folder);
    }
}

// -o /dev/null, or a FIFO another program reads: written to as they are, never replaced. The
// device is a null device of the scratch folder's, so that a mistake here cannot replace the
// system's; where the process may not make one, the FIFO alone.
TEST_F(SaveTest, ADeviceOrAFifoIsWrittenToAsItIs) {
    const std::string fifo = dir / "out.fifo", device = dir / "null";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::vector<std::string> names{fifo};
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        names.push_back(device);
    // The reader is there before the save, and waits a few seconds at most for its bytes.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    for (const std::string& name : names) {
        const struct stat before = Status(name);
        SafeFileReplace file(name, true);
        file.Writer().Write("figures", 7);
        file.Commit();
        EXPECT_EQ(Status(name).st_ino, before.st_ino) << name;
        EXPECT_EQ(Status(name).st_mode, before.st_mode) << name;
    }
    std::string read;
    char buffer[64];
    for (pollfd in{reader, POLLIN, 0}; ::poll(&in, 1, 5000) > 0;) {
        const ssize_t n = ::read(reader, buffer, sizeof buffer);
        if (n <= 0)
            break;
        read.append(buffer, static_cast<size_t>(n));
    }
    ::close(reader);
    EXPECT_EQ(read, "figures");
    std::vector<std::string> made = {"out.fifo", "week.vro", "week.vro.backup"};
    if (names.size() > 1)
        made.insert(made.begin(), "null");
    EXPECT_EQ(Names(dir.path), made);
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
