#include "tests/support/PipeFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
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

FedFifo::FedFifo(std::string path, std::string bytes)
    : path_(std::move(path)), bytes_(std::move(bytes)) {
    EXPECT_EQ(::mkfifo(path_.c_str(), 0600), 0) << path_;
    writer_ = std::thread([this] { Feed(); });
}

FedFifo::~FedFifo() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    stop_.notify_all();
    // A writer still waiting for its reader is let go by one that reads nothing.
    const int reader = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer_.join();
    if (reader >= 0)
        ::close(reader);
    ::unlink(path_.c_str());
}

void FedFifo::Feed() {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
        if (::write(fd, bytes_.data(), bytes_.size()) < 0)
            ADD_FAILURE() << "writing " << path_;
        ::close(fd);
    }
    std::unique_lock<std::mutex> hold(lock_);
    // Long after the first reader has had its bytes, a reader waiting in open is a second one.
    if (stop_.wait_for(hold, std::chrono::seconds(3), [this] { return stopping_; }))
        return;
    while (!stop_.wait_for(hold, std::chrono::milliseconds(100), [this] { return stopping_; })) {
        const int late = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (late >= 0) {
            reopened_ = true;
            ::close(late);
        }
    }
}
