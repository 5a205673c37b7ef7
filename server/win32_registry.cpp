#include "server/win32_registry.h"

#include <string>

#include "base/status.h"
#include "platform/unique_resource.h"

namespace vistrel {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the registry's text is UTF-16");

HKEY KeyOf(RegistryKey key) noexcept { return reinterpret_cast<HKEY>(key); }
RegistryKey HandleOf(HKEY key) noexcept { return reinterpret_cast<RegistryKey>(key); }

// The registry functions want terminated names.
std::wstring Terminated(std::u16string_view name) { return std::wstring(name.begin(), name.end()); }

}  // namespace

Win32Registry::Win32Registry() noexcept
    : roots_{HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
             HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA,     HKEY_CURRENT_CONFIG} {}

RegistryKey Win32Registry::Root(RootKey root) {
    return HandleOf(roots_.at(static_cast<std::size_t>(root)));
}

RegistryError Win32Registry::Open(RegistryKey parent, std::u16string_view name, KeyAccess access,
                                  RegistryKey& opened) {
    opened = 0;
    const REGSAM rights = access == KeyAccess::ReadWrite ? KEY_READ | KEY_WRITE : KEY_READ;
    const std::wstring subkey = Terminated(name);
    UniqueHkey key;
    const LSTATUS status =
        RegOpenKeyExW(KeyOf(parent), name.empty() ? nullptr : subkey.c_str(), 0, rights, key.put());
    if (Win32Failed(status)) return status;
    opened = HandleOf(key.release());
    return ERROR_SUCCESS;
}

RegistryError Win32Registry::Create(RegistryKey parent, std::u16string_view name,
                                    RegistryKey& created) {
    created = 0;
    UniqueHkey key;
    const LSTATUS status =
        RegCreateKeyExW(KeyOf(parent), Terminated(name).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr);
    if (Win32Failed(status)) return status;
    created = HandleOf(key.release());
    return ERROR_SUCCESS;
}

RegistryError Win32Registry::SetValue(RegistryKey key, std::u16string_view name,
                                      RegistryValueType type, std::span<const std::uint8_t> data) {
    return RegSetValueExW(KeyOf(key), Terminated(name).c_str(), 0, static_cast<DWORD>(type),
                          data.data(), static_cast<DWORD>(data.size()));
}

RegistryError Win32Registry::DeleteValue(RegistryKey key, std::u16string_view name) {
    return RegDeleteValueW(KeyOf(key), Terminated(name).c_str());
}

RegistryError Win32Registry::DeleteKey(RegistryKey parent, std::u16string_view name) {
    return RegDeleteKeyW(KeyOf(parent), Terminated(name).c_str());
}

RegistryError Win32Registry::EnumerateFirstSubkey(RegistryKey key, std::u16string& name) {
    wchar_t buffer[256];
    DWORD length = 256;
    const LSTATUS status =
        RegEnumKeyExW(KeyOf(key), 0, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (!Win32Failed(status)) name.assign(buffer, buffer + length);
    return status;
}

RegistryError Win32Registry::Close(RegistryKey key) { return RegCloseKey(KeyOf(key)); }

}  // namespace vistrel
