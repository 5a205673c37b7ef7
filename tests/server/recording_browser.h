// Stands in for the user's web browser: Wine's launcher is told to run a script that records
// each address it is asked to open.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/unique_resource.h"

namespace vistrel::test {

// Wine's launcher runs the first program of HKCU\Software\Wine\WineBrowser "Browsers"; the test
// makes that the recording script and gives the old value back at the end.
class RecordingBrowser {
public:
    RecordingBrowser() {
        DeleteFileW(RecordPath().c_str());
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0,
                                  KEY_READ | KEY_WRITE, nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
        wchar_t old[1024];
        DWORD size = sizeof(old);
        hadValue_ = RegQueryValueExW(key_.get(), L"Browsers", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
        if (hadValue_) oldValue_.assign(old, size / sizeof(wchar_t));
        const std::wstring script = Wide(VISTREL_RECORDING_BROWSER);
        EXPECT_EQ(RegSetValueExW(key_.get(), L"Browsers", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(script.c_str()),
                                 static_cast<DWORD>((script.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    RecordingBrowser(const RecordingBrowser&) = delete;
    RecordingBrowser& operator=(const RecordingBrowser&) = delete;
    ~RecordingBrowser() {
        if (hadValue_) {
            RegSetValueExW(key_.get(), L"Browsers", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(oldValue_.data()),
                           static_cast<DWORD>(oldValue_.size() * sizeof(wchar_t)));
        } else {
            RegDeleteValueW(key_.get(), L"Browsers");
        }
    }

    // The addresses that the browser was asked to open, waiting for the launcher (which runs
    // apart from the caller) up to `patience` milliseconds for the first.
    std::vector<std::string> OpenedAddresses(DWORD patience) const {
        for (DWORD waited = 0;; waited += 100) {
            std::ifstream record{std::filesystem::path(RecordPath())};
            if (record) {
                std::vector<std::string> lines;
                for (std::string line; std::getline(record, line);) lines.push_back(line);
                if (!lines.empty() || waited >= patience) return lines;
            } else if (waited >= patience) {
                return {};
            }
            Sleep(100);
        }
    }

private:
    static std::wstring Wide(const char* text) { return std::wstring(text, text + strlen(text)); }
    // The record file through the drive that Wine maps to the Unix root.
    static std::wstring RecordPath() { return L"Z:" + Wide(VISTREL_BROWSER_RECORD); }

    UniqueHkey key_;
    bool hadValue_ = false;
    std::wstring oldValue_;
};

}  // namespace vistrel::test
