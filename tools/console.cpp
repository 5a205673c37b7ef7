#include "tools/console.h"

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>  // needs <windows.h> first

#include "platform/unique_resource.h"
#endif

namespace vistrel::tools {

#ifdef _WIN32

namespace {

std::string Utf8Of(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(size) - 1);
    return utf8;
}

}  // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    const UniqueArgumentVector wide(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    if (!wide) {
        for (int i = 1; i < argc; ++i) {
            arguments.emplace_back(argv[i]);
        }
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Utf8Of(wide.get()[i]));
    }
    return arguments;
}

namespace {

// Writes to the console as wide characters when the stream is one; false when it is redirected.
bool WriteToConsole(std::FILE* stream, std::string_view utf8) {
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
        return false;
    }
    if (utf8.empty()) return true;
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return true;
}

}  // namespace

void WriteText(std::FILE* stream, std::string_view utf8) {
    if (WriteToConsole(stream, utf8)) return;
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

void WriteRows(std::FILE* stream, std::string_view utf8) {
    if (WriteToConsole(stream, utf8)) return;
    std::fflush(stream);
    const int descriptor = _fileno(stream);
    const int previous = _setmode(descriptor, _O_BINARY);
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
    if (previous != -1) _setmode(descriptor, previous);
}

#else

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void WriteText(std::FILE* stream, std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

void WriteRows(std::FILE* stream, std::string_view utf8) { WriteText(stream, utf8); }

#endif

}  // namespace vistrel::tools
