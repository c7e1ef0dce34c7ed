#include "database/OpenFailure.h"

#include "model/InputFile.h"

namespace {

std::string BaseName(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

} // namespace

std::string OpenFailureText(const InputFile& file, FileKind kind, FileAction action,
                            const std::string& message) {
    std::string cause = file.Unreadable();
    if (cause.empty())
        cause = kind == FileKind::Database
                    ? "it is damaged or not a database file of this program."
                    : "it is damaged or not an export file of the 1.x software.";
    return BaseName(file.Name()) +
           (action == FileAction::Open ? " could not be opened: " : " could not be imported: ") +
           cause + "\n" + message;
}
