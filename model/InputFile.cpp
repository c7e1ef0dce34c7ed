#include "model/InputFile.h"

#include "model/Auxilary.h"
#include "model/ErrorReport.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

InputFile::InputFile(std::string fileName, bool writable) : name_(std::move(fileName)) {
    handle_ = ::open(name_.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (handle_ < 0) {
        openError_ = errno;
        return;
    }
    struct stat st {};
    if (::fstat(handle_, &st) == 0 && S_ISREG(st.st_mode)) {
        regular_ = true;
        size_ = st.st_size;
    }
}

InputFile::~InputFile() {
    if (handle_ >= 0)
        ::close(handle_);
}

int InputFile::ReadStream() {
    if (!streamRead_ && handle_ >= 0 && !regular_) {
        streamRead_ = true;
        streamError_ = ReadToEnd(handle_, stream_);
    }
    return streamError_;
}

std::string InputFile::Head(size_t n) {
    if (handle_ < 0)
        return {};
    if (!regular_) {
        ReadStream();
        return stream_.substr(0, n);
    }
    std::string head(n, '\0');
    ssize_t got;
    do
        got = ::pread(handle_, head.data(), n, 0);
    while (got < 0 && errno == EINTR);
    head.resize(static_cast<size_t>(std::max<ssize_t>(got, 0)));
    return head;
}

std::string InputFile::Contents() {
    if (handle_ < 0)
        Raise("Error opening file!");
    if (!regular_) {
        const int error = ReadStream();
        if (error == EISDIR)
            Raise("Error opening file!");
        if (error == EFBIG)
            Raise("File too large");
        if (error != 0)
            Raise("Error reading file!");
        return stream_;
    }
    if (size_ > WholeFileLimit)
        Raise("File too large");
    std::string content(static_cast<size_t>(size_), '\0');
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::pread(handle_, content.data() + done, content.size() - done,
                                  static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Raise("Error reading file!");
        done += static_cast<size_t>(n);
    }
    return content;
}

std::string InputFile::Unreadable() const {
    if (handle_ >= 0)
        return regular_ ? std::string() : "it is not a regular file.";
    switch (openError_) {
    case ENOENT:
    case ENOTDIR:
        return "it does not exist.";
    case EACCES:
    case EPERM:
        return "you may not read it.";
    case ELOOP:
    case ENAMETOOLONG:
        return "it cannot be reached.";
    default:
        return "it cannot be read.";
    }
}
