#include "tools/replacing_file.h"

#include <algorithm>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "platform/unique_resource.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "tools/unique_descriptor.h"
#endif

namespace vistrel::tools {
namespace {

// Tries this many names before giving up: others' leftovers may hold the first ones.
constexpr int NameAttempts = 100;

std::filesystem::path TemporaryName(const std::filesystem::path& target, unsigned long process,
                                    int attempt) {
    std::filesystem::path name = target;
    name += "." + std::to_string(process) + "-" + std::to_string(attempt) + ".tmp";
    return name;
}

}  // namespace

#ifdef _WIN32

struct ReplacingFile::Handle {
    UniqueHandle file;
};

ReplacingFile::ReplacingFile(const std::filesystem::path& target)
    : handle_(std::make_unique<Handle>()), target_(target) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const std::filesystem::path name = TemporaryName(target, GetCurrentProcessId(), attempt);
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_->file.reset(file);
            temporary_ = name;
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

ReplacingFile::~ReplacingFile() {
    if (!temporary_.empty()) {
        handle_->file.reset();
        DeleteFileW(temporary_.c_str());
    }
}

bool ReplacingFile::IsOpen() const { return static_cast<bool>(handle_->file); }

bool ReplacingFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 24));
        DWORD written = 0;
        if (!WriteFile(handle_->file.get(), bytes.data(), wanted, &written, nullptr) ||
            written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool ReplacingFile::Commit() {
    if (!IsOpen() || !FlushFileBuffers(handle_->file.get())) return false;
    handle_->file.reset();
    if (!MoveFileExW(temporary_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return false;
    }
    temporary_.clear();
    return true;
}

#else

struct ReplacingFile::Handle {
    UniqueDescriptor file;
};

ReplacingFile::ReplacingFile(const std::filesystem::path& target)
    : handle_(std::make_unique<Handle>()), target_(target) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const std::filesystem::path name =
            TemporaryName(target, static_cast<unsigned long>(getpid()), attempt);
        handle_->file.reset(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (handle_->file) {
            temporary_ = name;
            // The new file keeps the permissions of the one it replaces.
            struct stat old {};
            if (stat(target.c_str(), &old) == 0) fchmod(handle_->file.get(), old.st_mode & 07777);
            return;
        }
        if (errno != EEXIST) return;
    }
}

ReplacingFile::~ReplacingFile() {
    if (!temporary_.empty()) {
        handle_->file.reset();
        unlink(temporary_.c_str());
    }
}

bool ReplacingFile::IsOpen() const { return static_cast<bool>(handle_->file); }

bool ReplacingFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(handle_->file.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool ReplacingFile::Commit() {
    // close's own verdict counts: a full disk may show only there.
    if (!IsOpen() || fsync(handle_->file.get()) != 0 || close(handle_->file.release()) != 0) {
        return false;
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    temporary_.clear();
    return true;
}

#endif

}  // namespace vistrel::tools
