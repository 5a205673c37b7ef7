// One of the user's settings (HKCU\Software\Brevant\Vistrel): the rate-page address
// (AdresStronyOdsetek) or the built-in rates (StopyWbudowane), as a test sets it: whatever the
// prefix held before is given back when the object ends.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/unique_resource.h"

namespace vistrel::test {

class UserSetting {
public:
    explicit UserSetting(const wchar_t* value) : value_(value) {
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brevant\\Vistrel", 0, nullptr, 0,
                                  KEY_READ | KEY_WRITE, nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
        DWORD size = 0;
        if (RegQueryValueExW(key_.get(), value_, nullptr, &oldType_, nullptr, &size) ==
            ERROR_SUCCESS) {
            oldData_.resize(size);
            hadValue_ = RegQueryValueExW(key_.get(), value_, nullptr, &oldType_, oldData_.data(),
                                         &size) == ERROR_SUCCESS;
            oldData_.resize(size);
        }
        Remove();
    }
    UserSetting(const UserSetting&) = delete;
    UserSetting& operator=(const UserSetting&) = delete;
    ~UserSetting() {
        if (hadValue_) {
            RegSetValueExW(key_.get(), value_, 0, oldType_, oldData_.data(),
                           static_cast<DWORD>(oldData_.size()));
        } else {
            Remove();
        }
    }

    // A REG_SZ with its terminating NUL, as regedit and the installer write it.
    void Set(const std::wstring& text) const {
        SetRaw(REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    void SetRaw(DWORD type, const void* data, std::size_t bytes) const {
        ASSERT_EQ(RegSetValueExW(key_.get(), value_, 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(bytes)),
                  ERROR_SUCCESS);
    }
    void Remove() const { RegDeleteValueW(key_.get(), value_); }

private:
    const wchar_t* const value_;

    UniqueHkey key_;
    bool hadValue_ = false;
    DWORD oldType_ = REG_NONE;
    std::vector<BYTE> oldData_;
};

class AddressSetting : public UserSetting {
public:
    AddressSetting() : UserSetting(L"AdresStronyOdsetek") {}
};

}  // namespace vistrel::test
