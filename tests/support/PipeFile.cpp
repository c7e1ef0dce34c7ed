#include "tests/support/PipeFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

PipeFile::PipeFile(const std::string& bytes) {
    int ends[2] = {-1, -1};
    EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    // The whole content must fit in the pipe: nobody reads while it is written.
    if (bytes.size() > 65536) {
        EXPECT_GE(::fcntl(ends[1], F_SETPIPE_SZ, static_cast<int>(bytes.size())),
                  static_cast<int>(bytes.size()));
    }
    EXPECT_EQ(::write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(ends[1]);
    readEnd_ = ends[0];
    path_ = "/proc/self/fd/" + std::to_string(readEnd_);
}

PipeFile::~PipeFile() {
    if (readEnd_ >= 0)
        ::close(readEnd_);
}
