// Preloaded (LD_PRELOAD) into a record writer: makes one chosen system call
// on the records directory fail, as a failing disk would. Set by the
// environment:
//   QUIMBRA_FAULT        "call n errno": the n-th call (from 1) of open,
//                        write, fsync, close, rename, unlink or fstat fails
//                        with errno (n = 0: every call); for write, errno 0
//                        makes it return 0, errno -1 write one byte only
//   QUIMBRA_FAULT_DIR    only paths starting with it, and descriptors opened
//                        on them, count
//   QUIMBRA_FAULT_FIRED  a file created when the fault has been injected
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char call[16] = {};
long nth = 0;
int error = 0;
const char* dir = nullptr;
long counted = 0;
bool tracked[4096] = {};

template <typename F>
F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

void configure() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    dir = std::getenv("QUIMBRA_FAULT_DIR");
    if (const char* fault = std::getenv("QUIMBRA_FAULT")) {
        std::sscanf(fault, "%15s %ld %d", call, &nth, &error);
    }
}

bool onRecords(const char* path) {
    configure();
    return dir != nullptr && path != nullptr && std::strncmp(path, dir, std::strlen(dir)) == 0;
}

bool isTracked(int fd) {
    return fd >= 0 && fd < 4096 && tracked[fd];
}

// Whether this call, one on the records, is the one to fail.
bool fails(const char* name) {
    configure();
    if (std::strcmp(name, call) != 0 || (++counted != nth && nth != 0)) {
        return false;
    }
    if (const char* fired = std::getenv("QUIMBRA_FAULT_FIRED")) {
        using Open = int (*)(const char*, int, ...);
        const int fd = next<Open>("open")(fired, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        next<int (*)(int)>("close")(fd);
    }
    return true;
}

int opened(int fd, const char* path) {
    if (fd >= 0 && fd < 4096) {
        tracked[fd] = onRecords(path);
    }
    return fd;
}

mode_t modeOf(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (onRecords(path) && fails("open")) {
        errno = error;
        return -1;
    }
    return opened(next<int (*)(const char*, int, ...)>("open")(path, flags, mode), path);
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    return open(path, flags, mode);
}

ssize_t write(int fd, const void* data, size_t size) {
    if (isTracked(fd) && fails("write")) {
        if (error == 0) {
            return 0;
        }
        if (error == -1) {
            size = size > 1 ? 1 : size;
            return next<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, size);
        }
        errno = error;
        return -1;
    }
    return next<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, size);
}

int fsync(int fd) {
    if (isTracked(fd) && fails("fsync")) {
        errno = error;
        return -1;
    }
    return next<int (*)(int)>("fsync")(fd);
}

int close(int fd) {
    const bool failing = isTracked(fd) && fails("close");
    if (fd >= 0 && fd < 4096) {
        tracked[fd] = false;
    }
    // Linux closes the descriptor even when close reports an error.
    const int result = next<int (*)(int)>("close")(fd);
    if (failing) {
        errno = error;
        return -1;
    }
    return result;
}

int rename(const char* from, const char* to) {
    if (onRecords(to) && fails("rename")) {
        errno = error;
        return -1;
    }
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}

int fstat(int fd, struct stat* info) {
    if (isTracked(fd) && fails("fstat")) {
        errno = error;
        return -1;
    }
    return next<int (*)(int, struct stat*)>("fstat")(fd, info);
}

int unlink(const char* path) {
    if (onRecords(path) && fails("unlink")) {
        errno = error;
        return -1;
    }
    return next<int (*)(const char*)>("unlink")(path);
}

}  // extern "C"
