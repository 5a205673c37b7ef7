// A file written in full beside the one it replaces and put in its place only when complete: a
// reader of the target sees either the old file or the whole new one, never a part. Until
// Commit the bytes go to a temporary file in the target's folder, removed again when the writing
// fails or is given up.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace vistrel::tools {

class ReplacingFile {
public:
    // Creates the temporary file "<target>.<process>-<n>.tmp"; IsOpen() says whether it could.
    explicit ReplacingFile(const std::filesystem::path& target);
    ~ReplacingFile();  // without Commit, the temporary file is removed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool IsOpen() const;
    const std::filesystem::path& TemporaryPath() const { return temporary_; }

    // False when the bytes could not be written (a full disk, say).
    bool Write(std::string_view bytes);

    // The bytes flushed to the disk and the temporary file renamed over the target (MoveFileEx
    // with replacement on Windows, rename elsewhere); false, with the temporary file removed and
    // the target as it was, when any step fails.
    bool Commit();

private:
    struct Handle;  // the platform's open file
    std::unique_ptr<Handle> handle_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
};

}  // namespace vistrel::tools
