#pragma once

#include <string>

// Bytes waiting in a pipe whose writing end is closed, to be opened by name (/proc/self/fd/N)
// as a FIFO or `vroview <(...)` is: no size to ask for, read until the end. At most 1 MiB.
class PipeFile {
public:
    explicit PipeFile(const std::string& bytes);
    ~PipeFile();
    PipeFile(const PipeFile&) = delete;
    PipeFile& operator=(const PipeFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    int readEnd_ = -1;
    std::string path_;
};
