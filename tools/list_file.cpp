#include "tools/list_file.h"

#include <algorithm>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

#include "platform/unique_resource.h"
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "tools/unique_descriptor.h"
#endif

namespace vistrel::tools {

#ifdef _WIN32

struct ListFile::Handle {
    UniqueHandle file;
};

ListFile::ListFile(const std::filesystem::path& path) : handle_(std::make_unique<Handle>()) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file != INVALID_HANDLE_VALUE) handle_->file.reset(file);
}

bool ListFile::IsOpen() const { return static_cast<bool>(handle_->file); }

std::size_t ListFile::Read(char* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(handle_->file.get(), buffer, wanted, &got, nullptr)) {
        throw std::runtime_error("ReadFile");
    }
    return got;
}

#else

struct ListFile::Handle {
    UniqueDescriptor file;
};

ListFile::ListFile(const std::filesystem::path& path) : handle_(std::make_unique<Handle>()) {
    handle_->file.reset(open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

bool ListFile::IsOpen() const { return static_cast<bool>(handle_->file); }

std::size_t ListFile::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = read(handle_->file.get(), buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) throw std::runtime_error("read");
    }
}

#endif

ListFile::~ListFile() = default;

}  // namespace vistrel::tools
