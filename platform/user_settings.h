// The user's settings of the library, the two values of one per-user key: the rate page's address
// (both verbs use it) and the choice of the built-in rates (verb 1 calculates on the rates the
// library carries, without fetching the page). Both are read together, with one opening of the key.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vistrel {

// HKEY_CURRENT_USER\<kSettingsKey> holds both values; the library never creates it.
inline constexpr wchar_t kSettingsKey[] = L"Software\\Brevant\\Vistrel";
// REG_SZ: a web address that replaces the string table's.
inline constexpr wchar_t kAddressSettingValue[] = L"AdresStronyOdsetek";
// REG_DWORD: 1 = the built-in rates, without fetching the page.
inline constexpr wchar_t kBuiltInRatesSettingValue[] = L"StopyWbudowane";

// The longest address taken from the setting, in characters: WinINet's own limit for a URL.
inline constexpr std::size_t kLongestAddress = 2083;

// Whether `text` is a web address the fetch and the browser can use: "http://" or "https://"
// (in any letter case) followed by a host, at most kLongestAddress characters, with no spaces
// or control characters.
bool IsWebAddress(std::wstring_view text) noexcept;

struct UserSettings {
    // The setting's address when it is a web address; empty when it is absent, empty, of another
    // type than REG_SZ, unreadable or no web address.
    std::wstring ratePageAddress;
    // True when the choice is the DWORD 1; absent, 0, any other number or type: the page.
    bool builtInRates = false;

    // The address both verbs use: the setting's, or else `defaultAddress`.
    const wchar_t* RatePageAddress(const wchar_t* defaultAddress) const noexcept {
        return ratePageAddress.empty() ? defaultAddress : ratePageAddress.c_str();
    }
};

// Both settings as the user's registry holds them now; without the key, the defaults.
UserSettings ReadUserSettings();

}  // namespace vistrel
