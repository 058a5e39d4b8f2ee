// The file operations on POSIX systems.
#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "records/file_errors.h"
#include "records/file_operations.h"

namespace quimbra::records {
namespace {

// Not an errno value: write() took no byte, which would be retried for ever.
constexpr int wroteNothing = -1;

Status failed(Action action, const std::string& path, int error) {
    return failed(action, path,
                  error == wroteNothing ? reasons::writeReturnedNothing : errnoReason(error));
}

// close can report a delayed write error, which must not be lost.
int closeReporting(int fd) {
    return ::close(fd) != 0 && errno != EINTR ? errno : 0;
}

// All of bytes, flushed to the disk.
int writeAndSync(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            return errno;
        }
        if (n == 0) {
            return wroteNothing;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return ::fsync(fd) != 0 ? errno : 0;
}

bool readOnly(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// The mode of the files made in a folder several users share (0777: 0666; a
// group's setgid folder: 0664), else 0. There a link, a FIFO or another's file
// is anyone's doing: never followed, and replaced rather than obeyed.
mode_t sharedMode(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat info {};
    if (::stat(dir.c_str(), &info) != 0) {
        return 0;
    }
    const bool group = (info.st_mode & (S_ISGID | S_IWGRP)) == (S_ISGID | S_IWGRP);
    return (info.st_mode & S_IWOTH) != 0 ? 0666 : group ? 0664 : 0;
}

// Creates path (EEXIST when anything is there, a link too), open with flags;
// -1 and errno on failure. In a shared folder the file appears with its final
// mode or not at all: a draft given its mode and linked into place (a chmod
// after the open leaves a gap a killed game makes lasting; umask(0) would
// widen what Qt's threads make meanwhile). Without hard links: the chmod.
int createWithFinalMode(const std::string& path, int flags, mode_t shared) {
    flags |= O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    if (shared == 0) {
        return ::open(path.c_str(), flags, 0644);
    }
    const std::string draft = temporaryPath(path, systemFileOperations().uniqueTag());
    const int fd = ::open(draft.c_str(), flags, shared);
    if (fd < 0) {
        return -1;
    }
    int error = ::fchmod(fd, shared) != 0 ? errno : 0;
    if (error == 0 && ::link(draft.c_str(), path.c_str()) != 0) {
        error = errno;
        if (error == EPERM || error == EOPNOTSUPP || error == EXDEV || error == ENOSYS) {
            ::unlink(draft.c_str());
            ::close(fd);
            const int direct = ::open(path.c_str(), flags, shared);
            if (direct >= 0 && ::fchmod(direct, shared) != 0) {
                // Left to its maker's umask: the others' games report it.
            }
            return direct;
        }
    }
    // A draft left as a second name would make appends refuse the file: a
    // failed removal is told (a killed game leaves it to the next holder).
    if (::unlink(draft.c_str()) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Puts a new empty file of the shared mode in the place of whatever is at
// path: rename replaces the entry itself, never what it points to.
int replaceWithOwn(const std::string& path, mode_t shared) {
    const std::string draft = temporaryPath(path, systemFileOperations().uniqueTag());
    const int fd =
        ::open(draft.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, shared);
    if (fd < 0) {
        return errno;
    }
    int error = ::fchmod(fd, shared) != 0 ? errno : 0;
    ::close(fd);  // empty: nothing to lose
    if (error == 0 && ::rename(draft.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(draft.c_str());
    }
    return error;
}

// What another user may plant in a shared folder, which counts as no record:
// a link (O_NOFOLLOW), a file only its owner may read, a non-file but a folder.
bool plantedError(int error) {
    return error == ELOOP || error == EACCES || error == EPERM || error == ENXIO;
}

// appendLine on the file opened: checked, then the bytes in one write.
Status appendTo(int fd, const std::string& path, std::string_view first, std::string_view line) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return failed(Action::write, path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return failed(Action::write, path, reasons::notRegular);
    }
    if (info.st_nlink != 1) {
        return failed(Action::write, path, reasons::linkInPlace);
    }
    if (readOnly(info)) {  // root may write any file
        return failed(Action::write, path, reasons::readOnlyFile);
    }
    char tail[2] = {};
    const off_t from = info.st_size >= 2 ? info.st_size - 2 : 0;
    const ssize_t n = info.st_size == 0 ? 0 : ::pread(fd, tail, sizeof tail, from);
    if (n < 0) {
        return failed(Action::read, path, errno);
    }
    const int error =
        writeAndSync(fd, appendedBytes(static_cast<std::uint64_t>(info.st_size),
                                       {tail, static_cast<std::size_t>(n)}, first, line));
    return error == 0 ? Status{} : failed(Action::write, path, error);
}

// An open-file-description lock on the first byte (refused to another game or
// RecordFiles, gone with the close or the holder's death), which NFS and CIFS
// (not "nobrl") carry to the server; Windows locks the same byte. The holder
// removes the file before letting go: a lock counts only on the file at path.
class PosixFileLock final : public FileLock {
  public:
    PosixFileLock(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    ~PosixFileLock() override {
        ::unlink(path_.c_str());
        ::close(fd_);  // lets go of the lock; nothing written to the file
    }

  private:
    std::string path_;
    int fd_;
};

// 0 when the lock was had, EAGAIN when another holder has it, else the error.
int lockFirstByte(int fd) {
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_len = 1;
    while (::fcntl(fd, F_OFD_SETLK, &range) != 0) {
        if (errno == EAGAIN || errno == EACCES) {
            return EAGAIN;
        }
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

// Who holds the lock, as a waiter sees it: each holder has a lock file of its
// own, and writing changes the folder. Not the file's change time: its
// owner's waiting game makes it shared again on every try.
std::string holderOf(const struct stat& held, const std::string& folder) {
    struct stat dir {};
    ::stat(folder.c_str(), &dir);  // unchanged when it cannot be seen
    const auto part = [](auto n) { return std::to_string(static_cast<long long>(n)) + ' '; };
    return part(held.st_dev) + part(held.st_ino) + part(held.st_mtim.tv_sec) +
           part(held.st_mtim.tv_nsec) + part(dir.st_mtim.tv_sec) + part(dir.st_mtim.tv_nsec);
}

class PosixFileOperations final : public FileOperations {
  public:
    Status makeDirectories(const std::string& dir) override {
        for (const std::string& folder : foldersOf(dir)) {
            struct stat info {};
            const bool found = ::stat(folder.c_str(), &info) == 0;
            // 0700: the user's data directories are the user's own.
            if (!found &&
                (errno != ENOENT || (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST))) {
                return failed(Action::createFolder, dir, errno);
            }
            if ((!found && ::stat(folder.c_str(), &info) != 0) || !S_ISDIR(info.st_mode)) {
                return failed(Action::createFolder, dir, reasons::notADirectory);
            }
        }
        return {};
    }

    Status createEmptyIfMissing(const std::string& path) override {
        // O_EXCL fails on anything there, links included.
        const mode_t shared = sharedMode(path);
        const int fd = createWithFinalMode(path, O_WRONLY, shared);
        if (fd >= 0) {
            const int error = closeReporting(fd);
            return error == 0 ? Status{} : failed(Action::createFile, path, error);
        }
        if (errno != EEXIST) {
            return failed(Action::createFile, path, errno);
        }
        struct stat info {};
        // In a shared folder anything but a folder is no record, replaced by the next one.
        if (shared != 0 && ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
            return {};
        }
        if (::stat(path.c_str(), &info) != 0) {
            if (errno == ENOENT && ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
                return failed(Action::createFile, path, reasons::danglingLink);
            }
            return failed(Action::createFile, path, errno);
        }
        const char* why = S_ISDIR(info.st_mode) ? reasons::directoryInPlace : reasons::notRegular;
        return S_ISREG(info.st_mode) ? Status{} : failed(Action::createFile, path, why);
    }

    ReadBytes readStart(const std::string& path, std::size_t maxBytes) override {
        // O_NONBLOCK: a FIFO in place of the file must not hang the game.
        const bool shared = sharedMode(path) != 0;
        const int fd = ::open(
            path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (shared ? O_NOFOLLOW : 0));
        if (fd < 0) {
            const int error = errno;
            // In a shared folder a planted file holds no record.
            return shared && plantedError(error)
                       ? ReadBytes{}
                       : ReadBytes{{}, failed(Action::read, path, error).error, error == ENOENT};
        }
        ReadBytes result;
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            result.error = failed(Action::read, path, errno).error;
        } else if (S_ISDIR(info.st_mode) || (!shared && !S_ISREG(info.st_mode))) {
            // In a shared folder a FIFO or a device is no record either.
            const char* why =
                S_ISDIR(info.st_mode) ? reasons::directoryInPlace : reasons::notRegular;
            result.error = failed(Action::read, path, why).error;
            result.notAFile = true;
        } else if (S_ISREG(info.st_mode)) {
            result.bytes.resize(maxBytes);
            std::size_t done = 0;
            for (ssize_t n = 1; n != 0 && done < maxBytes;) {
                n = ::read(fd, result.bytes.data() + done, maxBytes - done);
                if (n < 0 && errno != EINTR) {
                    result.error = failed(Action::read, path, errno).error;
                    break;
                }
                done += n > 0 ? static_cast<std::size_t>(n) : 0;
            }
            result.bytes.resize(result.ok() ? done : 0);
        }
        ::close(fd);  // read only: nothing to lose
        return result;
    }

    Status checkReplaceable(const std::string& path) override {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            return errno == ENOENT ? Status{} : failed(Action::replace, path, errno);
        }
        if (S_ISDIR(info.st_mode)) {
            return failed(Action::replace, path, reasons::directoryInPlace);
        }
        // The link itself is replaced; in a shared folder so is a FIFO, or a
        // file its owner made read-only: planted there, it is no record.
        if (S_ISLNK(info.st_mode) || sharedMode(path) != 0) {
            return {};
        }
        if (!S_ISREG(info.st_mode)) {
            return failed(Action::replace, path, reasons::notRegular);
        }
        // rename ignores the mode, but whoever made the file read-only meant
        // it to stay. Root may write any file, so the mode is asked too.
        const bool readOnlyFile =
            readOnly(info) ||
            (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES);
        return readOnlyFile ? failed(Action::replace, path, reasons::readOnlyFile) : Status{};
    }

    Status writeNewFile(const std::string& path, std::string_view bytes) override {
        // Temporary files and the commit mark: only their writer writes them,
        // so a chmod after the open leaves no gap that matters.
        const mode_t shared = sharedMode(path);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              shared != 0 ? shared : 0644);
        if (fd < 0) {
            return failed(Action::write, path, errno);
        }
        int error = shared != 0 && ::fchmod(fd, shared) != 0 ? errno : writeAndSync(fd, bytes);
        if (const int closeError = closeReporting(fd); error == 0) {
            error = closeError;
        }
        if (error != 0) {
            ::unlink(path.c_str());
        }
        return error == 0 ? Status{} : failed(Action::write, path, error);
    }

    Status appendLine(const std::string& path, std::string_view first,
                      std::string_view line) override {
        // O_NONBLOCK: a FIFO in place of the file must not hang the game. A
        // new sheet has its final mode, so another user's game can append.
        const int flags = O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = ::open(path.c_str(), flags);
        if (fd < 0 && errno == ENOENT) {
            fd = createWithFinalMode(path, O_RDWR | O_APPEND | O_NONBLOCK | O_NOCTTY,
                                     sharedMode(path));
        }
        if (fd < 0) {
            const int error = errno;
            struct stat link {};
            if (error == ELOOP && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
                return failed(Action::write, path, reasons::linkInPlace);
            }
            if (error == EACCES && ::lstat(path.c_str(), &link) == 0 && S_ISREG(link.st_mode) &&
                readOnly(link)) {
                return failed(Action::write, path, reasons::readOnlyFile);
            }
            return failed(Action::write, path, error);
        }
        const Status status = appendTo(fd, path, first, line);
        const int closeError = closeReporting(fd);
        return status.ok() && closeError != 0 ? failed(Action::write, path, closeError) : status;
    }

    Status replaceFile(const std::string& from, const std::string& to) override {
        // rename replaces the directory entry: a link at to is replaced itself.
        return ::rename(from.c_str(), to.c_str()) == 0 ? Status{}
                                                       : failed(Action::replace, to, errno);
    }

    Status removeFile(const std::string& path) override {
        return ::unlink(path.c_str()) == 0 || errno == ENOENT ? Status{}
                                                              : failed(Action::remove, path, errno);
    }

    Status syncDirectory(const std::string& dir) override {
        const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return failed(Action::sync, dir, errno);
        }
        // Some file systems cannot sync a directory (EINVAL): no I/O error.
        const int error = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
        ::close(fd);  // nothing written through this descriptor
        return error == 0 ? Status{} : failed(Action::sync, dir, error);
    }

    DirectoryList listDirectory(const std::string& dir) override {
        DIR* stream = ::opendir(dir.c_str());
        if (stream == nullptr) {
            return {{}, failed(Action::read, dir, errno)};
        }
        DirectoryList list;
        errno = 0;
        while (const dirent* entry = ::readdir(stream)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                list.names.push_back(name);
            }
        }
        if (errno != 0) {
            list.status = failed(Action::read, dir, errno);
        }
        ::closedir(stream);
        return list;
    }

    LockResult tryLock(const std::string& path) override {
        const std::string folder = path.substr(0, path.find_last_of('/') + 1);
        const mode_t shared = sharedMode(path);
        // Another game making, replacing or removing the file is no holder.
        for (int race = 0; race < 1000; ++race) {
            int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0 && errno == ENOENT) {
                // Others must open it after a crash: made with its final mode.
                fd = createWithFinalMode(path, O_RDWR | O_NONBLOCK, shared);
                if (fd < 0 && (errno == EEXIST || errno == ENOENT)) {
                    continue;
                }
            }
            struct stat held {};
            if (fd >= 0 && shared != 0 && ::fstat(fd, &held) == 0 && !S_ISREG(held.st_mode)) {
                ::close(fd);
                fd = -1;
                errno = ENXIO;
            }
            if (fd < 0) {
                // In a shared folder a planted file is nobody's lock: replaced.
                const int error =
                    shared == 0 || !plantedError(errno) ? errno : replaceWithOwn(path, shared);
                if (error != 0) {
                    return {nullptr, failed(Action::lock, path, error)};
                }
                continue;
            }
            const int locked = lockFirstByte(fd);
            struct stat named {};
            // A file its holder removed is gone, or stale on a share: try again.
            int error = locked == EAGAIN ? 0 : locked;
            if (error == 0 &&
                (::fstat(fd, &held) != 0 || (locked == 0 && ::lstat(path.c_str(), &named) != 0))) {
                error = errno;
            }
            if (error == 0 && locked == 0 && held.st_dev == named.st_dev &&
                held.st_ino == named.st_ino) {
                return {std::make_unique<PosixFileLock>(path, fd), {}};
            }
            ::close(fd);
            if (error != 0 && error != ENOENT && error != ESTALE) {
                return {nullptr, failed(Action::lock, path, error)};
            }
            if (error == 0 && locked == EAGAIN) {
                return busyLock(path, holderOf(held, folder));
            }
        }
        return busyLock(path, uniqueTag());
    }

    // The class sheet's archive.
    Status renameWithoutReplacing(const std::string& from, const std::string& to,
                                  bool& taken) override {
        taken = false;
        int error = ENOSYS;
#ifdef RENAME_NOREPLACE
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return {};
        }
        error = errno;
#endif
        if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
            // Where the rename cannot refuse (NFS): link() never gives a name
            // in use, then the first name is removed.
            if (::link(from.c_str(), to.c_str()) == 0) {
                if (::unlink(from.c_str()) == 0) {
                    return {};
                }
                error = errno;
                ::unlink(to.c_str());  // one file under one name, as before
                return failed(Action::replace, from, error);
            }
            error = errno;
        }
        taken = error == EEXIST;
        return failed(Action::replace, to, error);
    }
};

}  // namespace

FileOperations& systemFileOperations() {
    static PosixFileOperations operations;
    return operations;
}

}  // namespace quimbra::records

#endif
