#pragma once
// The system's file operations with a hook run before each one: when the
// hook returns a failure, that is the operation's result and the operation
// is not done. Tests use it to refuse, fail or crash at a chosen step.

#include <functional>
#include <string>
#include <utility>

#include "records/file_operations.h"

namespace quimbra::testing {

class HookedFiles final : public records::FileOperations {
  public:
    // operation: the member's name ("lockFile", "replaceFile"...); path: the
    // file or directory it works on (for replaceFile, the file replaced).
    using Hook =
        std::function<records::Status(const std::string& operation, const std::string& path)>;
    explicit HookedFiles(Hook hook) : hook_(std::move(hook)) {}

    records::Status makeDirectories(const std::string& dir) override {
        return run("makeDirectories", dir, [&] { return real_.makeDirectories(dir); });
    }
    records::Status createEmptyIfMissing(const std::string& path) override {
        return run("createEmptyIfMissing", path, [&] { return real_.createEmptyIfMissing(path); });
    }
    records::ReadBytes readStart(const std::string& path, std::size_t maxBytes) override {
        if (records::Status status = hook_("readStart", path); !status.ok()) {
            return {{}, status.error};
        }
        return real_.readStart(path, maxBytes);
    }
    records::Status checkReplaceable(const std::string& path) override {
        return run("checkReplaceable", path, [&] { return real_.checkReplaceable(path); });
    }
    records::Status writeNewFile(const std::string& path, std::string_view bytes) override {
        return run("writeNewFile", path, [&] { return real_.writeNewFile(path, bytes); });
    }
    records::Status replaceFile(const std::string& from, const std::string& to) override {
        return run("replaceFile", to, [&] { return real_.replaceFile(from, to); });
    }
    records::Status appendLine(const std::string& path, std::string_view first,
                               std::string_view line) override {
        return run("appendLine", path, [&] { return real_.appendLine(path, first, line); });
    }
    records::Status removeFile(const std::string& path) override {
        return run("removeFile", path, [&] { return real_.removeFile(path); });
    }
    records::Status syncDirectory(const std::string& dir) override {
        return run("syncDirectory", dir, [&] { return real_.syncDirectory(dir); });
    }
    records::DirectoryList listDirectory(const std::string& dir) override {
        if (records::Status status = hook_("listDirectory", dir); !status.ok()) {
            return {{}, status};
        }
        records::DirectoryList list = real_.listDirectory(dir);
        std::erase(list.names, hidden);
        return list;
    }
    records::LockResult tryLock(const std::string& path) override {
        if (records::Status status = hook_("lockFile", path); !status.ok()) {
            return {nullptr, status};
        }
        return real_.tryLock(path);
    }
    std::string uniqueTag() override { return real_.uniqueTag(); }
    records::Status renameWithoutReplacing(const std::string& from, const std::string& to,
                                           bool& taken) override {
        taken = false;
        return run("renameWithoutReplacing", to,
                   [&] { return real_.renameWithoutReplacing(from, to, taken); });
    }

    // A name that listings leave out, as a share's stale cache may.
    std::string hidden;

  private:
    template <typename Operation>
    records::Status run(const char* operation, const std::string& path, Operation forward) {
        if (records::Status status = hook_(operation, path); !status.ok()) {
            return status;
        }
        return forward();
    }

    Hook hook_;
    records::FileOperations& real_ = records::systemFileOperations();
};

}  // namespace quimbra::testing
