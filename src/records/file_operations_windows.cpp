// The file operations on Windows, through the wide-character API.
#ifdef _WIN32

#include <windows.h>
// after windows.h
#include <sddl.h>

#include <utility>

#include "records/code_page.h"
#include "records/file_errors.h"
#include "records/file_operations.h"

namespace quimbra::records {
namespace {

Status failed(Action action, const std::string& path, DWORD error) {
    return failed(action, path, windowsErrorReason(error));
}

bool missing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The failure GetLastError tells, unless nothing is at path.
Status failedUnlessMissing(Action action, const std::string& path) {
    const DWORD error = GetLastError();
    return missing(error) ? Status{} : failed(action, path, error);
}

bool isDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A folder the game creates holds the records of every account (under
// ProgramData): each may replace another's files, as the installer's folder
// allows. The parent's rights are inherited beside it.
bool createSharedDirectory(const std::wstring& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(A;OICI;0x1301bf;;;BU)", SDDL_REVISION_1, &descriptor, nullptr)) {
        return CreateDirectoryW(path.c_str(), nullptr) != 0;
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const BOOL made = CreateDirectoryW(path.c_str(), &attributes);
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    SetLastError(error);
    return made != 0;
}

// A lock on the first byte, which SMB carries to the server, as Linux games
// lock it. The file stays: nobody opens it with delete access, and without
// FILE_SHARE_DELETE no waiter can take it from its holder or leave it
// delete-pending. The holder's tag after that byte is for the waiters.
class WindowsFileLock final : public FileLock {
  public:
    explicit WindowsFileLock(HANDLE file) : file_(file) {}
    ~WindowsFileLock() override {
        UnlockFile(file_, 0, 0, 1, 0);  // at once: closing lets it go only later
        CloseHandle(file_);
    }

  private:
    HANDLE file_;
};

// A lock file on its way out (a Linux game on the share removed it, or an
// older game opened it to be deleted): a lock on it would be nobody's.
bool deletePending(HANDLE file) {
    FILE_STANDARD_INFO info{};
    return GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info) &&
           (info.DeletePending || info.NumberOfLinks == 0);
}

constexpr DWORD holderTagBytes = 64;

// Who holds the lock, as a waiter sees it: the tag, and the folder's last change.
std::string holderOf(HANDLE file, const std::wstring& path) {
    char tag[holderTagBytes] = {};
    OVERLAPPED afterByte{};
    afterByte.Offset = 1;
    DWORD n = 0;  // ReadFile zeroes it first, also when it fails
    ReadFile(file, tag, sizeof tag, &n, &afterByte);
    WIN32_FILE_ATTRIBUTE_DATA folder{};
    const std::wstring::size_type slash = path.find_last_of(L"\\/");
    // Its separator kept: "D:" alone would be drive D's current folder.
    GetFileAttributesExW(path.substr(0, slash + 1).c_str(), GetFileExInfoStandard, &folder);
    return std::string(tag, n) + ' ' + std::to_string(folder.ftLastWriteTime.dwLowDateTime) + ' ' +
           std::to_string(folder.ftLastWriteTime.dwHighDateTime);
}

// All of bytes, flushed to the disk. atEnd: at the file's end (the offset
// 0xFFFFFFFF:0xFFFFFFFF), in one write unless the system takes part of it;
// else in pieces of 64 KiB.
DWORD writeAndFlush(HANDLE file, std::string_view bytes, bool atEnd = false) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        OVERLAPPED end{};
        end.Offset = end.OffsetHigh = 0xFFFFFFFFU;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done,
                       static_cast<DWORD>(atEnd || left < 0x10000 ? left : 0x10000), &written,
                       atEnd ? &end : nullptr)) {
            return GetLastError();
        }
        if (written == 0) {
            return ERROR_WRITE_FAULT;  // never retried for ever
        }
        done += written;
    }
    return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

// appendLine on the file opened: checked, then the bytes in one write.
Status appendTo(HANDLE file, const std::string& path, std::string_view first,
                std::string_view line) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        return failed(Action::write, path, GetLastError());
    }
    if (GetFileType(file) != FILE_TYPE_DISK ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return failed(Action::write, path, reasons::notRegular);
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || info.nNumberOfLinks > 1) {
        return failed(Action::write, path, reasons::linkInPlace);
    }
    const ULONGLONG size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    char tail[2] = {};
    const ULONGLONG from = size >= 2 ? size - 2 : 0;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(from & 0xFFFFFFFFU);
    at.OffsetHigh = static_cast<DWORD>(from >> 32);
    DWORD n = 0;
    if (size != 0 && !ReadFile(file, tail, sizeof tail, &n, &at)) {
        return failed(Action::read, path, GetLastError());
    }
    const DWORD error = writeAndFlush(file, appendedBytes(size, {tail, n}, first, line), true);
    return error == ERROR_SUCCESS ? Status{} : failed(Action::write, path, error);
}

class WindowsFileOperations final : public FileOperations {
  public:
    Status makeDirectories(const std::string& dir) override {
        for (const std::string& folder : foldersOf(dir)) {
            const std::wstring name = utf8ToWide(folder);
            if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES &&
                !createSharedDirectory(name) && GetLastError() != ERROR_ALREADY_EXISTS) {
                return failed(Action::createFolder, dir, GetLastError());
            }
            if (!isDirectory(name)) {
                return failed(Action::createFolder, dir, reasons::notADirectory);
            }
        }
        return {};
    }

    Status createEmptyIfMissing(const std::string& path) override {
        const std::wstring name = utf8ToWide(path);
        // CREATE_NEW fails on anything there, a link too (not followed).
        const HANDLE file =
            CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return {};
        }
        const DWORD error = GetLastError();
        if (isDirectory(name)) {
            return failed(Action::createFile, path, reasons::directoryInPlace);
        }
        const bool exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        return exists ? Status{} : failed(Action::createFile, path, error);
    }

    ReadBytes readStart(const std::string& path, std::size_t maxBytes) override {
        const std::wstring name = utf8ToWide(path);
        // A link planted in the shared folder is opened itself, never followed.
        const HANDLE file = CreateFileW(
            name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            const bool folder = isDirectory(name);
            const std::string why = folder ? reasons::directoryInPlace : windowsErrorReason(error);
            return {{}, failed(Action::read, path, why).error, !folder && missing(error), folder};
        }
        ReadBytes result;
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(file, &info) &&
            (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            // Planted in the shared folder: no record; the next one replaces it.
        } else if (GetFileType(file) != FILE_TYPE_DISK) {
            result.error = failed(Action::read, path, reasons::notRegular).error;
            result.notAFile = true;
        } else {
            result.bytes.resize(maxBytes);
            std::size_t done = 0;
            // A failed ReadFile has read 0 bytes too: the loop ends.
            for (DWORD n = 1; n != 0 && done < maxBytes; done += n) {
                if (!ReadFile(file, result.bytes.data() + done, static_cast<DWORD>(maxBytes - done),
                              &n, nullptr)) {
                    result.error = failed(Action::read, path, GetLastError()).error;
                }
            }
            result.bytes.resize(result.ok() ? done : 0);
        }
        CloseHandle(file);
        return result;
    }

    Status checkReplaceable(const std::string& path) override {
        const std::wstring name = utf8ToWide(path);
        const DWORD attributes = GetFileAttributesW(name.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return failedUnlessMissing(Action::replace, path);
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return failed(Action::replace, path, reasons::directoryInPlace);
        }
        // MoveFileEx refuses to replace a read-only file: found out before
        // the first of the two files is replaced.
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return failed(Action::replace, path, reasons::readOnlyFile);
        }
        // Nor a file another program holds open without letting it be deleted,
        // which would leave a new score beside the old name. Opening it for
        // deletion, as MoveFileEx does, fails the same way and changes nothing.
        const HANDLE file = CreateFileW(
            name.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return failedUnlessMissing(Action::replace, path);
        }
        CloseHandle(file);
        return {};
    }

    Status writeNewFile(const std::string& path, std::string_view bytes) override {
        const std::wstring name = utf8ToWide(path);
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return failed(Action::write, path, GetLastError());
        }
        DWORD error = writeAndFlush(file, bytes);
        if (!CloseHandle(file) && error == ERROR_SUCCESS) {
            error = GetLastError();
        }
        if (error != ERROR_SUCCESS) {
            DeleteFileW(name.c_str());
        }
        return error == ERROR_SUCCESS ? Status{} : failed(Action::write, path, error);
    }

    Status appendLine(const std::string& path, std::string_view first,
                      std::string_view line) override {
        const std::wstring name = utf8ToWide(path);
        const DWORD attributes = GetFileAttributesW(name.c_str());
        const auto has = [&](DWORD bit) {
            return attributes != INVALID_FILE_ATTRIBUTES && (attributes & bit) != 0;
        };
        const char* why = has(FILE_ATTRIBUTE_REPARSE_POINT) ? reasons::linkInPlace
                          : has(FILE_ATTRIBUTE_DIRECTORY)   ? reasons::directoryInPlace
                          : has(FILE_ATTRIBUTE_READONLY)    ? reasons::readOnlyFile
                                                            : nullptr;
        if (why != nullptr) {
            return failed(Action::write, path, why);
        }
        // Append access only (no FILE_WRITE_DATA): every write goes to the end.
        const HANDLE file = CreateFileW(
            name.c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            return failed(
                Action::write, path,
                isDirectory(name) ? reasons::directoryInPlace : windowsErrorReason(error));
        }
        const Status status = appendTo(file, path, first, line);
        return !CloseHandle(file) && status.ok() ? failed(Action::write, path, GetLastError())
                                                 : status;
    }

    Status replaceFile(const std::string& from, const std::string& to) override {
        // Renames the directory entry: a link at to is replaced itself.
        return MoveFileExW(utf8ToWide(from).c_str(), utf8ToWide(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? Status{}
                   : failed(Action::replace, to, GetLastError());
    }

    Status removeFile(const std::string& path) override {
        return DeleteFileW(utf8ToWide(path).c_str()) ? Status{}
                                                     : failedUnlessMissing(Action::remove, path);
    }

    // MOVEFILE_WRITE_THROUGH already waits until the rename is on the disk,
    // and NTFS logs the creation and removal of files in order.
    Status syncDirectory(const std::string&) override { return {}; }

    DirectoryList listDirectory(const std::string& dir) override {
        WIN32_FIND_DATAW found;
        const HANDLE search =
            FindFirstFileW(utf8ToWide(withTrailingSeparator(dir) + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return {{}, failed(Action::read, dir, GetLastError())};
        }
        DirectoryList list;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") {
                list.names.push_back(wideToUtf8(name));
            }
        } while (FindNextFileW(search, &found));
        // A listing cut short (a share gone) could miss the commit mark.
        if (const DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES) {
            list.status = failed(Action::read, dir, error);
        }
        FindClose(search);
        return list;
    }

    LockResult tryLock(const std::string& path) override {
        const std::wstring name = utf8ToWide(path);
        for (int race = 0; race < 1000; ++race) {
            const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                const DWORD error = GetLastError();
                const DWORD attributes = GetFileAttributesW(name.c_str());
                // A lock file any user made read-only would look like one on its
                // way out for ever: the attribute is taken off, or that told.
                if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
                    if (!SetFileAttributesW(name.c_str(),
                                            attributes & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
                        return {nullptr, failed(Action::lock, path, reasons::readOnlyFile)};
                    }
                    continue;
                }
                // A lock file being deleted (by a Linux or an older game), or
                // one an older game holds with delete access, is busy. Without
                // a file there, access denied is the folder's rights.
                if (error == ERROR_SHARING_VIOLATION ||
                    (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES)) {
                    return busyLock(path, "leaving");
                }
                return {nullptr, failed(Action::lock, path, error)};
            }
            OVERLAPPED first{};
            if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                           &first)) {
                if (!deletePending(file)) {
                    std::string tag = uniqueTag();
                    tag.resize(holderTagBytes, ' ');
                    OVERLAPPED afterByte{};
                    afterByte.Offset = 1;
                    DWORD written = 0;
                    // Only a sign for the waiters: a lock without it holds all the same.
                    WriteFile(file, tag.data(), holderTagBytes, &written, &afterByte);
                    return {std::make_unique<WindowsFileLock>(file), {}};
                }
                CloseHandle(file);
                continue;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
                CloseHandle(file);
                return {nullptr, failed(Action::lock, path, error)};
            }
            std::string holder = holderOf(file, name);
            CloseHandle(file);
            return busyLock(path, std::move(holder));
        }
        return busyLock(path, uniqueTag());
    }

    // The class sheet's archive: without MOVEFILE_REPLACE_EXISTING the
    // system refuses a name in use.
    Status renameWithoutReplacing(const std::string& from, const std::string& to,
                                  bool& taken) override {
        taken = false;
        if (MoveFileExW(utf8ToWide(from).c_str(), utf8ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
            return {};
        }
        const DWORD error = GetLastError();
        taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        return failed(Action::replace, to, error);
    }
};

}  // namespace

FileOperations& systemFileOperations() {
    static WindowsFileOperations operations;
    return operations;
}

}  // namespace quimbra::records

#endif
