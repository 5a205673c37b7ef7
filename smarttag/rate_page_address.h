// The rate page's address: the string table holds the ministry's address, and a per-user setting
// may point the product at the page's current address or at an internal copy instead.
#pragma once

#include <string>
#include <string_view>

#include "calculator/settings_key.h"

namespace vistrel {

// Where the setting lives: HKEY_CURRENT_USER\<kSettingsKey>, value kAddressSettingValue (REG_SZ).
inline constexpr wchar_t kAddressSettingValue[] = L"AdresStronyOdsetek";

// The longest address taken from the setting, in characters: WinINet's own limit for a URL.
inline constexpr std::size_t kLongestAddress = 2083;

// Whether `text` is a web address the fetch and the browser can use: "http://" or "https://"
// (in any letter case) followed by a host, at most kLongestAddress characters, with no spaces
// or control characters.
bool IsWebAddress(std::wstring_view text) noexcept;

// The address both verbs use: the setting's value when it is a web address, otherwise (absent,
// empty, of another type, unreadable or not a web address) `defaultAddress`.
std::wstring RatePageAddress(const wchar_t* defaultAddress);

}  // namespace vistrel
