#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

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

// A named FIFO whose writer, another program, sends the bytes to the first reader and closes.
// A second open for reading would wait for a writer that has gone: after a few seconds the
// FIFO lets it through (it reads nothing) and notes it, so that a test of that mistake fails
// instead of hanging.
class FedFifo {
public:
    FedFifo(std::string path, std::string bytes);
    ~FedFifo();
    FedFifo(const FedFifo&) = delete;
    FedFifo& operator=(const FedFifo&) = delete;

    const std::string& Path() const { return path_; }
    // Whether a reader opened it again and had to be let through.
    bool ReopenedForReading() const { return reopened_; }

private:
    void Feed();

    std::string path_, bytes_;
    std::atomic<bool> reopened_{false};
    std::mutex lock_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread writer_;
};
