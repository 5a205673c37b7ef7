// The rate page read from a file: Latin-2 bytes decoded to UTF-16.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace vistrel::tools {

// The page's text, or a Polish message naming `shownName` when the file is missing, is no
// regular file, is too large to be a rate page or cannot be read.
struct RatePageFile {
    std::optional<std::u16string> text;
    std::string error;
};

RatePageFile ReadRatePageFile(const std::filesystem::path& path, std::string_view shownName);

// The file's status could not be taken because it is not there, rather than because the system
// refused to look (a folder that can't be entered, say).
bool MeansNoSuchFile(const std::error_code& error);

// A path from UTF-8 text, on Windows too, where a narrow path would be taken as the ANSI code page.
std::filesystem::path PathFromUtf8(std::string_view text);

}  // namespace vistrel::tools
