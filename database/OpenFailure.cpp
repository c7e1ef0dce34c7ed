#include "database/OpenFailure.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string BaseName(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

// Why the file cannot be read at all, or empty when it can.
std::string Unreadable(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "it does not exist." : "it cannot be reached.";
    if (S_ISDIR(st.st_mode))
        return "it is a folder.";
    const int handle = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return errno == EACCES || errno == EPERM ? "you may not read it." : "it cannot be read.";
    ::close(handle);
    return {};
}

} // namespace

std::string OpenFailureText(const std::string& fileName, FileKind kind, FileAction action,
                            const std::string& message) {
    std::string cause = Unreadable(fileName);
    if (cause.empty())
        cause = kind == FileKind::Database
                    ? "it is damaged or not a database file of this program."
                    : "it is damaged or not an export file of the 1.x software.";
    return BaseName(fileName) +
           (action == FileAction::Open ? " could not be opened: " : " could not be imported: ") +
           cause + "\n" + message;
}
