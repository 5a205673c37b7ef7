#include "tools/rate_page_file.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>

#include "tools/latin2.h"

namespace vistrel::tools {
namespace {

// The real page is a few kilobytes; anything far larger is not one.
constexpr std::uintmax_t LargestPage = 16 * 1024 * 1024;

constexpr std::string_view CannotRead = "Nie można odczytać pliku strony ze stopami odsetek";

RatePageFile Refuse(std::string_view what, std::string_view shownName) {
    return RatePageFile{std::nullopt, std::string(what) + ": " + std::string(shownName)};
}

}  // namespace

bool MeansNoSuchFile(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

RatePageFile ReadRatePageFile(const std::filesystem::path& path, std::string_view shownName) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    // A folder the user may not enter hides whether the file is there: that is no "no file".
    if (error && !MeansNoSuchFile(error)) {
        return Refuse(CannotRead, shownName);
    }
    if (!std::filesystem::exists(status)) {
        return Refuse("Nie ma pliku strony ze stopami odsetek", shownName);
    }
    if (!std::filesystem::is_regular_file(status)) {
        return Refuse("To nie jest zwykły plik, więc nie może być stroną ze stopami odsetek",
                      shownName);
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > LargestPage) {
        return Refuse("Plik jest zbyt duży jak na stronę ze stopami odsetek", shownName);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Refuse("Nie można otworzyć pliku strony ze stopami odsetek", shownName);
    }
    std::string bytes;
    char block[4096];
    while (file.read(block, sizeof block) || file.gcount() > 0) {
        bytes.append(block, static_cast<std::size_t>(file.gcount()));
        if (bytes.size() > LargestPage) {
            return Refuse("Plik jest zbyt duży jak na stronę ze stopami odsetek", shownName);
        }
    }
    if (file.bad()) {
        return Refuse(CannotRead, shownName);
    }
    return RatePageFile{DecodeLatin2(bytes), {}};
}

std::filesystem::path PathFromUtf8(std::string_view text) {
    std::u8string utf8(text.size(), u8'\0');
    std::copy(text.begin(), text.end(), reinterpret_cast<char*>(utf8.data()));
    return std::filesystem::path(utf8);
}

}  // namespace vistrel::tools
