// A file read from start to end a chunk at a time, by the platform's own calls, so that a file
// of any length (beyond 4 GB too, in a 32-bit program) is read through.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>

namespace vistrel::tools {

class ListFile {
public:
    // Opens `path` for reading; IsOpen() says whether it could.
    explicit ListFile(const std::filesystem::path& path);
    ~ListFile();
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;

    bool IsOpen() const;

    // Up to `size` further bytes; 0 at the end. Throws std::runtime_error when a read fails.
    std::size_t Read(char* buffer, std::size_t size);

private:
    struct Handle;  // the platform's open file
    std::unique_ptr<Handle> handle_;
};

}  // namespace vistrel::tools
