#include "database/OpenFailure.h"
#include "model/InputFile.h"
#include "tests/support/PipeFile.h"

#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(OpenFailureTest, NamesTheFileAndTheCause) {
    ScratchFolder scratch;
    std::ofstream(scratch / "week3.vro") << "not a database";
    std::ofstream(scratch / "secret.vro") << "x";
    ::chmod((scratch / "secret.vro").c_str(), 0);
    std::filesystem::create_directory(scratch / "folder.bin");
    const PipeFile pipe("\x03\0\0\0Vro");
    const bool root = ::geteuid() == 0; // root reads every file
    const struct {
        std::string file;
        FileKind kind;
        FileAction action;
        std::string text;
    } cases[] = {
        {scratch / "week3.vro", FileKind::Database, FileAction::Open,
         "week3.vro could not be opened: it is damaged or not a database file of this program."},
        {scratch / "week3.vro", FileKind::ExportFile, FileAction::Import,
         "week3.vro could not be imported: it is damaged or not an export file of the 1.x "
         "software."},
        {scratch / "missing.vro", FileKind::Database, FileAction::Open,
         "missing.vro could not be opened: it does not exist."},
        {scratch / "folder.bin", FileKind::ExportFile, FileAction::Import,
         "folder.bin could not be imported: it is not a regular file."},
        {pipe.Path(), FileKind::Database, FileAction::Open,
         pipe.Path().substr(pipe.Path().rfind('/') + 1) +
             " could not be opened: it is not a regular file."},
        {scratch / "secret.vro", FileKind::Database, FileAction::Open,
         root ? "secret.vro could not be opened: it is damaged or not a database file of this "
                "program."
              : "secret.vro could not be opened: you may not read it."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenFailureText(InputFile(c.file), c.kind, c.action, "Error reading"),
                  c.text + "\nError reading");
}

} // namespace
