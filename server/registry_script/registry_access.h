// The few registry calls the script interpreter makes, as an interface: the library's own
// backend speaks to the Windows registry, the tests' and the fuzzer's keep a registry in memory.
// Every call answers a Win32 error code (0 for success), as the registry functions do.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "server/registry_script/script_status.h"

namespace vistrel {

// An open key as the backend numbers it; 0 is no key.
using RegistryKey = std::uintptr_t;

enum class RootKey {
    ClassesRoot,
    CurrentUser,
    LocalMachine,
    Users,
    PerformanceData,
    DynData,
    CurrentConfig
};

enum class KeyAccess { ReadWrite, ReadOnly };

// The registry's own numbers for the four value types the scripts write.
enum class RegistryValueType : std::uint32_t { String = 1, Binary = 3, Dword = 4, MultiString = 7 };

class RegistryAccess {
public:
    virtual ~RegistryAccess() = default;

    // The predefined key of a root; it is never closed.
    virtual RegistryKey Root(RootKey root) = 0;
    // An empty name opens the parent itself once more.
    virtual RegistryError Open(RegistryKey parent, std::u16string_view name, KeyAccess access,
                               RegistryKey& opened) = 0;
    // Creates a non-volatile key with read and write access, or opens it when it exists.
    virtual RegistryError Create(RegistryKey parent, std::u16string_view name,
                                 RegistryKey& created) = 0;
    // An empty name is the key's default value.
    virtual RegistryError SetValue(RegistryKey key, std::u16string_view name,
                                   RegistryValueType type, std::span<const std::uint8_t> data) = 0;
    virtual RegistryError DeleteValue(RegistryKey key, std::u16string_view name) = 0;
    // Deletes a subkey that has no subkeys of its own.
    virtual RegistryError DeleteKey(RegistryKey parent, std::u16string_view name) = 0;
    // The name of the subkey at index 0 (names have at most 255 characters).
    virtual RegistryError EnumerateFirstSubkey(RegistryKey key, std::u16string& name) = 0;
    virtual RegistryError Close(RegistryKey key) = 0;
};

// Closes a key that the interpreter opened, unless it was handed back with Close() already.
class OpenRegistryKey {
public:
    OpenRegistryKey(RegistryAccess& registry, RegistryKey key) noexcept
        : registry_(registry), key_(key) {}
    OpenRegistryKey(const OpenRegistryKey&) = delete;
    OpenRegistryKey& operator=(const OpenRegistryKey&) = delete;
    ~OpenRegistryKey() {
        if (key_ != 0) registry_.Close(key_);
    }

    RegistryKey get() const noexcept { return key_; }
    RegistryError Close() noexcept {
        const RegistryKey key = key_;
        key_ = 0;
        return key == 0 ? kRegistrySucceeded : registry_.Close(key);
    }

private:
    RegistryAccess& registry_;
    RegistryKey key_;
};

}  // namespace vistrel
