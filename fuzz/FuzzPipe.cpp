// Files that are not regular files: a FIFO, `vroview <(...)`, an export file piped in. The
// same bytes are loaded as a database and imported as a 1.x export file from a pipe, which
// tells no size: every length must be checked against the bytes that came.
#include "database/ImportFile.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "model/ParameterTable.h"

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// The bytes in a pipe whose writing end is closed; -1 when they do not fit in one.
int PipeHolding(const uint8_t* data, size_t size) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    // Nobody reads while it is written: a write that does not fit must not wait.
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
    if (size > 65536)
        (void)::fcntl(ends[1], F_SETPIPE_SZ, static_cast<int>(size));
    const bool written = ::write(ends[1], data, size) == static_cast<ssize_t>(size);
    ::close(ends[1]);
    if (!written) {
        ::close(ends[0]);
        return -1;
    }
    return ends[0];
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitCatalogue();
    SetErrorReportHandler([](const std::string&, const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A pipe holds up to 1 MiB; -max_len keeps the inputs within that.
    if (const int fd = PipeHolding(data, size); fd >= 0) {
        LDatabase db;
        db.New();
        try {
            db.Load("/proc/self/fd/" + std::to_string(fd));
        } catch (const VroError&) {
        }
        ::close(fd);
    }
    if (const int fd = PipeHolding(data, size); fd >= 0) {
        LDatabase db;
        try {
            ImportFile(db, "/proc/self/fd/" + std::to_string(fd), nullptr);
        } catch (const VroError&) {
        }
        ::close(fd);
    }
    return 0;
}
