// Where the programs find the pictures they ship: the working directory, the installed data
// folder, beside the program.
#include "tests/support/ScratchFolder.h"

#include "resources/DataFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The installed layout: the program in app/bin, its data in app/share/vroview; started from
// home.
class DataFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const fs::path& folder : {home, bin, share})
            fs::create_directories(folder);
        fs::current_path(home);
    }
    void TearDown() override { fs::current_path(before); }

    // The found file's full path, so that it compares with where it was put.
    fs::path Found(const fs::path& programFolder) const {
        const fs::path found = FindDataFile("Banner.bmp", programFolder);
        return found.empty() ? found : fs::canonical(found);
    }

    ScratchFolder scratch;
    const fs::path before = fs::current_path();
    const fs::path home = fs::canonical(scratch.path) / "home";
    const fs::path bin = fs::canonical(scratch.path) / "app" / "bin";
    const fs::path share = fs::canonical(scratch.path) / "app" / "share" / "vroview";
};

TEST_F(DataFilesTest, WorkingDirectoryThenInstalledFolderThenBesideTheProgram) {
    const struct {
        bool inHome, inShare, inBin;
        fs::path expected;
    } cases[] = {{true, true, true, home / "Banner.bmp"},
                 {false, true, true, share / "Banner.bmp"},
                 {false, false, true, bin / "Banner.bmp"},
                 {false, false, false, {}}};
    for (const auto& c : cases) {
        for (const auto& [there, folder] :
             {std::pair{c.inHome, home}, std::pair{c.inShare, share}, std::pair{c.inBin, bin}}) {
            fs::remove(folder / "Banner.bmp");
            if (there)
                WriteBytes(folder / "Banner.bmp", "BM");
        }
        EXPECT_EQ(Found(bin), c.expected) << c.inHome << c.inShare << c.inBin;
    }
}

TEST_F(DataFilesTest, AFolderOfThatNameIsNoPictureAndAnEmptyProgramFolderOnlyTheWorkingOne) {
    fs::create_directory(home / "Banner.bmp");
    WriteBytes(share / "Banner.bmp", "BM");
    EXPECT_EQ(Found(bin), share / "Banner.bmp");
    // Without the program's folder, "../share" of the working directory is not looked at.
    fs::create_directories(scratch.path / "share" / "vroview");
    WriteBytes(scratch.path / "share" / "vroview" / "Banner.bmp", "BM");
    EXPECT_EQ(Found({}), fs::path());
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningTest) {
    EXPECT_TRUE(fs::exists(ProgramFolder() / "resources_tests"));
}

} // namespace
