#include "database/SafeFileReplace.h"

#include "model/ErrorReport.h"
#include "resources/StringTable.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A name beside the target that nobody uses, created exclusively; the umask applies.
int CreateUnique(const std::string& base, std::string& name) {
    std::random_device seed;
    std::minstd_rand random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + ".saving-" + std::to_string(random() % 1000000);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

std::string FolderOf(const std::string& fileName) {
    const size_t slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

// The rename is only durable once the folder is on the disk too; best effort.
void SyncFolder(const std::string& fileName) {
    const int fd = ::open(FolderOf(fileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

bool CopyContent(const std::string& from, int to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                ok = false;
                break;
            }
            done += put;
        }
        if (!ok)
            break;
    }
    ::close(in);
    return ok && ::fsync(to) == 0;
}

} // namespace

SafeFileReplace::SafeFileReplace(std::string fileName, bool backup)
    : fileName_(std::move(fileName)), backup_(backup) {
    const int fd = CreateUnique(fileName_, temporaryName_);
    if (fd < 0) {
        temporaryName_.clear();
        Raise(LoadStr(StrSaveFailed));
    }
    // A file being replaced keeps its permissions.
    struct stat st {};
    if (::stat(fileName_.c_str(), &st) == 0)
        (void)::fchmod(fd, st.st_mode & 07777);
    writer_ = std::make_unique<FileWriter>(fd, temporaryName_);
}

SafeFileReplace::~SafeFileReplace() {
    writer_.reset();
    if (!temporaryName_.empty())
        ::unlink(temporaryName_.c_str());
    if (!temporaryBackup_.empty())
        ::unlink(temporaryBackup_.c_str());
}

// The backup is made as a second name for the former file (or a copy where the file system
// has no hard links) and renamed over the old backup, so the file itself is never missing.
void SafeFileReplace::MakeBackup() {
    struct stat st {};
    if (::stat(fileName_.c_str(), &st) != 0)
        return;
    const std::string backupName = fileName_ + ".backup";
    temporaryBackup_ = temporaryName_ + ".backup";
    if (::link(fileName_.c_str(), temporaryBackup_.c_str()) != 0) {
        const int fd = ::open(temporaryBackup_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                              st.st_mode & 07777);
        const bool copied = fd >= 0 && CopyContent(fileName_, fd);
        if (fd >= 0)
            ::close(fd);
        if (!copied)
            Raise("Error writing");
    }
    if (::rename(temporaryBackup_.c_str(), backupName.c_str()) != 0)
        Raise("Error writing");
    temporaryBackup_.clear();
}

void SafeFileReplace::Commit() {
    writer_->Sync();
    writer_->Close();
    if (backup_)
        MakeBackup();
    if (::rename(temporaryName_.c_str(), fileName_.c_str()) != 0)
        Raise(LoadStr(StrSaveFailed));
    temporaryName_.clear();
    SyncFolder(fileName_);
}
