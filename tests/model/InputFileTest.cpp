#include "model/InputFile.h"
#include "tests/support/PipeFile.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// The kind of a file is told from its first bytes, which must still be there for its reader:
// a pipe's are kept, a regular file's are read where they lie.
TEST(InputFileTest, TheHeadTakesNothingAway) {
    ScratchFolder dir;
    static const char bytes[] = "\x03\0\0\0Vro and the rest";
    const std::string content(bytes, sizeof bytes - 1);
    std::ofstream(dir / "f.vro", std::ios::binary) << content;
    PipeFile pipe(content);
    for (const std::string& name : {dir / "f.vro", pipe.Path()}) {
        InputFile file(name);
        EXPECT_EQ(file.Head(7), std::string("\x03\0\0\0Vro", 7)) << name;
        EXPECT_EQ(file.Contents(), content) << name;
        EXPECT_EQ(file.Unreadable(), name == pipe.Path() ? "it is not a regular file." : "");
    }
}

} // namespace
