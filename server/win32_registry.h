// The script interpreter's registry interface over the Windows registry. The root keys are the
// predefined ones unless a test hands others in their place.
#pragma once

#include <windows.h>

#include <array>

#include "server/registry_script/registry_access.h"

namespace vistrel {

class Win32Registry final : public RegistryAccess {
public:
    Win32Registry() noexcept;
    // Keys to stand for HKCR, HKCU, HKLM, HKU, HKPD, HKDD and HKCC, in that order; the caller
    // keeps them open.
    explicit Win32Registry(const std::array<HKEY, 7>& roots) noexcept : roots_(roots) {}

    RegistryKey Root(RootKey root) override;
    RegistryError Open(RegistryKey parent, std::u16string_view name, KeyAccess access,
                       RegistryKey& opened) override;
    RegistryError Create(RegistryKey parent, std::u16string_view name,
                         RegistryKey& created) override;
    RegistryError SetValue(RegistryKey key, std::u16string_view name, RegistryValueType type,
                           std::span<const std::uint8_t> data) override;
    RegistryError DeleteValue(RegistryKey key, std::u16string_view name) override;
    RegistryError DeleteKey(RegistryKey parent, std::u16string_view name) override;
    RegistryError EnumerateFirstSubkey(RegistryKey key, std::u16string& name) override;
    RegistryError Close(RegistryKey key) override;

private:
    std::array<HKEY, 7> roots_;
};

}  // namespace vistrel
