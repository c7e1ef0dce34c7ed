#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file opened once for reading, with what its open and fstat saw kept, so that a failure
// further on is explained without opening it again: a FIFO's second open waits for a writer
// that has gone. A pipe, FIFO or device has no size to ask for: its bytes are read to their
// end (at most WholeFileLimit) the first time they are wanted, and kept.
class InputFile {
public:
    // Never raises; a failed open is kept for Unreadable. writable opens for reading and
    // writing, which a folder refuses.
    explicit InputFile(std::string fileName, bool writable = false);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& Name() const { return name_; }
    // -1 when the open failed.
    int Handle() const { return handle_; }
    bool Regular() const { return regular_; }
    // Of a regular file.
    int64_t Size() const { return size_; }

    // The bytes of a file that is not regular, read to their end on the first call: 0, the
    // errno of a failed read, or EFBIG beyond WholeFileLimit.
    int ReadStream();
    const std::string& Stream() const { return stream_; }
    // The first n bytes or fewer, without consuming any.
    std::string Head(size_t n);
    // The whole file; raises "Error opening file!" (not opened, or a folder), "Error reading
    // file!" or "File too large".
    std::string Contents();

    // Why the file cannot be read as a file of the program, as far as the open and fstat
    // tell: "it does not exist.", "you may not read it.", "it cannot be reached.", "it cannot
    // be read." or "it is not a regular file." (a pipe, a device or a folder); empty for a
    // regular file that opened.
    std::string Unreadable() const;

private:
    std::string name_;
    int handle_ = -1;
    int openError_ = 0;
    bool regular_ = false;
    int64_t size_ = 0;
    bool streamRead_ = false;
    int streamError_ = 0;
    std::string stream_;
};
