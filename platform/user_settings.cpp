#include "platform/user_settings.h"

#include <windows.h>

#include <cwctype>
#include <vector>

#include "base/status.h"
#include "platform/unique_resource.h"

namespace vistrel {
namespace {

// Whether `text` begins with `scheme`, written in lower case, in any case of its own.
bool BeginsWithScheme(std::wstring_view text, std::wstring_view scheme) noexcept {
    if (text.size() < scheme.size()) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (std::towlower(text[i]) != scheme[i]) return false;
    }
    return true;
}

// The address value's text, or an empty string when there is none that can be used. Read with
// the calls every Windows version has; a REG_SZ stored without its terminating NUL is terminated
// here.
std::wstring ReadAddress(HKEY key) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (Win32Failed(RegQueryValueExW(key, kAddressSettingValue, nullptr, &type, nullptr, &size)) ||
        type != REG_SZ) {
        return {};
    }
    // Anything longer than an address can be is not one; it is not read at all.
    if (size > (kLongestAddress + 1) * sizeof(wchar_t)) return {};
    std::vector<wchar_t> buffer(kLongestAddress + 2, L'\0');
    size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (Win32Failed(RegQueryValueExW(key, kAddressSettingValue, nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer.data()), &size)) ||
        type != REG_SZ) {
        return {};
    }
    std::wstring address(buffer.data());
    if (!IsWebAddress(address)) address.clear();
    return address;
}

bool ReadBuiltInRatesChoice(HKEY key) noexcept {
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    return !Win32Failed(RegQueryValueExW(key, kBuiltInRatesSettingValue, nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size)) &&
           type == REG_DWORD && size == sizeof value && value == 1;
}

}  // namespace

bool IsWebAddress(std::wstring_view text) noexcept {
    if (text.size() > kLongestAddress) return false;
    std::size_t hostStart = 0;
    if (BeginsWithScheme(text, L"http://")) {
        hostStart = 7;
    } else if (BeginsWithScheme(text, L"https://")) {
        hostStart = 8;
    } else {
        return false;
    }
    for (wchar_t c : text) {
        if (c <= L' ' || c == 0x7F) return false;
    }
    // A host: at least one character before the path, the query or the fragment.
    const std::size_t hostEnd = text.find_first_of(L"/?#", hostStart);
    const std::size_t hostLength =
        (hostEnd == std::wstring_view::npos ? text.size() : hostEnd) - hostStart;
    return hostLength > 0;
}

UserSettings ReadUserSettings() {
    UniqueHkey key;
    if (Win32Failed(
            RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put()))) {
        return {};
    }
    return {ReadAddress(key.get()), ReadBuiltInRatesChoice(key.get())};
}

}  // namespace vistrel
