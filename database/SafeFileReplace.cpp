#include "database/SafeFileReplace.h"

#include "model/ErrorReport.h"
#include "resources/StringTable.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/mman.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

std::string FolderOf(const std::string& fileName) {
    const size_t slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

std::string BaseOf(const std::string& fileName) {
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

// Follows symbolic links to the file they name: renaming over a link would replace the link.
bool FollowLinks(std::string& path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || n >= static_cast<ssize_t>(target.size()))
            return false;
        target.resize(static_cast<size_t>(n));
        path = target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    return false;
}

// base shortened, at a whole UTF-8 character, so that base + tag fits the folder's name limit.
std::string HelperName(const std::string& folder, const std::string& base, const std::string& tag) {
    long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    std::string stem = base;
    const auto most = static_cast<size_t>(limit);
    const size_t room = most > tag.size() ? most - tag.size() : 0;
    if (stem.size() > room) {
        stem.resize(room);
        size_t lead = stem.size();
        while (lead > 0 && (static_cast<unsigned char>(stem[lead - 1]) & 0xC0) == 0x80)
            --lead;
        if (lead > 0) {
            const auto c = static_cast<unsigned char>(stem[lead - 1]);
            const size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            if (lead - 1 + length > stem.size())
                stem.resize(lead - 1);
        }
    }
    return (folder == "/" ? "" : folder) + "/" + stem + tag;
}

std::string RandomTag(const char* kind) {
    static std::minstd_rand random(std::random_device{}());
    return kind + std::to_string(100000 + random() % 900000);
}

// A helper file beside the target, created exclusively: never an existing file, never through
// a link planted under its name.
int CreateHelper(const std::string& folder, const std::string& base, const char* kind,
                 std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = HelperName(folder, base, RandomTag(kind));
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return -1;
}

// A second name for the file, made the same way; false where the file system has no hard
// links.
bool LinkHelper(const std::string& file, const std::string& folder, const std::string& base,
                std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = HelperName(folder, base, RandomTag(".backup-"));
        if (::link(file.c_str(), name.c_str()) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return false;
}

bool CopyAll(int in, int out) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            done += put;
        }
    }
}

bool CopyContent(const std::string& from, int to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return false;
    const bool ok = CopyAll(in, to);
    ::close(in);
    return ok && ::fsync(to) == 0;
}

// Extended attributes, the access control lists among them; best effort, as the file system
// may have none.
void CopyAttributes(const std::string& from, int to) {
    const ssize_t size = ::llistxattr(from.c_str(), nullptr, 0);
    if (size <= 0)
        return;
    std::vector<char> names(static_cast<size_t>(size));
    const ssize_t got = ::llistxattr(from.c_str(), names.data(), names.size());
    for (ssize_t at = 0; at < got; at += static_cast<ssize_t>(std::strlen(names.data() + at)) + 1) {
        const char* name = names.data() + at;
        const ssize_t length = ::lgetxattr(from.c_str(), name, nullptr, 0);
        if (length < 0)
            continue;
        std::vector<char> value(static_cast<size_t>(length));
        if (::lgetxattr(from.c_str(), name, value.data(), value.size()) == length)
            (void)::fsetxattr(to, name, value.data(), value.size(), 0);
    }
}

// Gives the new file the former one's identity; false when its owner or group cannot be kept.
bool TakeIdentity(int fd, const std::string& from, const struct stat& st) {
    if (::fchown(fd, st.st_uid, st.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), st.st_gid); // one's own file, another group
    // After the owner, which clears the set-id bits; before the ACL, which sets the group bits.
    (void)::fchmod(fd, st.st_mode & 07777);
    CopyAttributes(from, fd);
    struct stat now {};
    return ::fstat(fd, &now) == 0 && now.st_uid == st.st_uid && now.st_gid == st.st_gid;
}

// The rename is only durable once the folder is on the disk too; best effort.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

} // namespace

SafeFileReplace::SafeFileReplace(std::string fileName, bool backup)
    : target_(std::move(fileName)), backup_(backup) {
    if (!FollowLinks(target_))
        Raise(LoadStr(StrSaveFailed));
    folder_ = FolderOf(target_);
    base_ = BaseOf(target_);
    exists_ = ::stat(target_.c_str(), &original_) == 0;
    // A file the user may not write stays as it is, as it always did when written in place.
    if (exists_ && (S_ISDIR(original_.st_mode) ||
                    ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0))
        Raise(LoadStr(StrSaveFailed));
    // A device or a FIFO (-o /dev/null) is written to as it is: it cannot be replaced, and it
    // keeps no content to back up.
    special_ = exists_ && !S_ISREG(original_.st_mode);
    if (special_) {
        backup_ = false;
        content_ = ::memfd_create("vro-save", MFD_CLOEXEC);
        handle_ = content_ < 0 ? -1 : ::fcntl(content_, F_DUPFD_CLOEXEC, 0);
        writer_ = std::make_unique<FileWriter>(handle_, target_);
        return;
    }

    // A file with other names (hard links) is written in place: a rename would part them.
    bool folderWritable = true;
    if (!exists_ || original_.st_nlink == 1) {
        const int fd = CreateHelper(folder_, base_, ".saving-", temporaryName_);
        if (fd >= 0 && (!exists_ || TakeIdentity(fd, target_, original_))) {
            handle_ = fd;
            writer_ = std::make_unique<FileWriter>(fd, temporaryName_);
            return;
        }
        if (fd >= 0) {
            ::close(fd);
            ::unlink(temporaryName_.c_str());
            temporaryName_.clear();
        }
        folderWritable = fd >= 0;
    }
    // In place, then. The backup is a copy beside the file, which needs the folder.
    if (!exists_ || (backup_ && !folderWritable))
        Raise(LoadStr(StrSaveFailed));
    content_ = ::memfd_create("vro-save", MFD_CLOEXEC);
    handle_ = content_ < 0 ? -1 : ::fcntl(content_, F_DUPFD_CLOEXEC, 0);
    writer_ = std::make_unique<FileWriter>(handle_, target_);
}

SafeFileReplace::~SafeFileReplace() {
    writer_.reset();
    if (!temporaryName_.empty())
        ::unlink(temporaryName_.c_str());
    if (!temporaryBackup_.empty())
        ::unlink(temporaryBackup_.c_str());
    if (content_ >= 0)
        ::close(content_);
}

// The backup is made as a second name for the former file where that is allowed (or else as
// a copy) and renamed over the old backup, so the file itself is never missing.
void SafeFileReplace::MakeBackup(bool mayLink) {
    if (!exists_)
        return;
    if (!mayLink || !LinkHelper(target_, folder_, base_, temporaryBackup_)) {
        const int fd = CreateHelper(folder_, base_, ".backup-", temporaryBackup_);
        const bool copied = fd >= 0 && CopyContent(target_, fd);
        if (fd >= 0) {
            (void)::fchmod(fd, original_.st_mode & 07777);
            ::close(fd);
        }
        if (!copied)
            Raise("Error writing");
    }
    if (::rename(temporaryBackup_.c_str(), (target_ + ".backup").c_str()) != 0)
        Raise("Error writing");
    temporaryBackup_.clear();
}

// The writer's own handle reopened, not the temporary file's name: nobody can swap another
// file in under it, and the content gathered in memory has no name of its own.
std::string SafeFileReplace::ContentName() const {
    return "/proc/self/fd/" + std::to_string(handle_);
}

void SafeFileReplace::Commit() {
    if (content_ >= 0) {
        WriteInPlace();
        return;
    }
    writer_->Sync();
    writer_->Close();
    if (backup_)
        MakeBackup(true);
    if (::rename(temporaryName_.c_str(), target_.c_str()) != 0)
        Raise(LoadStr(StrSaveFailed));
    temporaryName_.clear();
    SyncFolder(folder_);
}

// Everything is in memory before the file is touched, so only the disk can fail half-way.
void SafeFileReplace::WriteInPlace() {
    writer_->Close();
    // A hard link would share the file's content, which is about to change.
    if (backup_)
        MakeBackup(false);
    const int out = ::open(target_.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (out < 0 || ::fstat(out, &st) != 0 || st.st_dev != original_.st_dev ||
        st.st_ino != original_.st_ino) {
        if (out >= 0)
            ::close(out);
        Raise(LoadStr(StrSaveFailed));
    }
    const off_t size = ::lseek(content_, 0, SEEK_END);
    const bool written = size >= 0 && ::lseek(content_, 0, SEEK_SET) == 0 &&
                         CopyAll(content_, out) &&
                         (special_ || (::ftruncate(out, size) == 0 && ::fsync(out) == 0));
    ::close(out);
    if (!written)
        Raise("Error writing");
}
