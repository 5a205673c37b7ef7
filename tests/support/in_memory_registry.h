// A registry kept in memory behind the script interpreter's registry interface, for the native
// tests and the fuzzer. It answers as the Windows NT registry does where the interpreter can
// tell: names compared without regard to case, a key with subkeys refuses deletion, a read-only
// key refuses writes, a deleted key's open handles answer ERROR_KEY_DELETED. Any one call can be
// made to fail, and every call is counted and logged.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/registry_script/registry_access.h"

namespace vistrel::test {

inline constexpr RegistryError kRegistryInvalidHandle = 6;      // ERROR_INVALID_HANDLE
inline constexpr RegistryError kRegistryInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
inline constexpr RegistryError kRegistryKeyDeleted = 1018;      // ERROR_KEY_DELETED

enum class RegistryCall {
    Open,
    Create,
    SetValue,
    DeleteValue,
    DeleteKey,
    EnumerateFirstSubkey,
    Close
};

struct StoredValue {
    RegistryValueType type;
    std::vector<std::uint8_t> data;
    bool operator==(const StoredValue&) const = default;
};

class InMemoryRegistry final : public RegistryAccess {
public:
    InMemoryRegistry();
    ~InMemoryRegistry() override;

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

    // The call with this 1-based number answers `error` and changes nothing.
    void FailCall(int callNumber, RegistryError error) noexcept;
    int CallCount() const noexcept { return static_cast<int>(calls_.size()); }
    const std::vector<RegistryCall>& Calls() const noexcept { return calls_; }
    std::size_t OpenHandleCount() const noexcept { return handles_.size(); }

    // Paths such as u"HKCR\\CLSID\\{...}", with the short root names.
    void CreateKeyPath(std::u16string_view path);
    void SetValueAt(std::u16string_view path, std::u16string_view name, StoredValue value);
    // Opens for reading only succeed on this key from now on.
    void MakeReadOnly(std::u16string_view path);
    bool KeyExists(std::u16string_view path) const;
    std::optional<StoredValue> ValueAt(std::u16string_view path, std::u16string_view name) const;

    // Every key ("HKCR\\A\\B") and every value ("HKCR\\A\\B [name] type bytes") in a sorted
    // list, ASCII with other characters as \uXXXX: the whole state in one comparable form.
    std::vector<std::string> Dump() const;

    struct Node;

private:
    bool Count(RegistryCall call, RegistryError& injected) noexcept;
    Node* NodeOf(RegistryKey key, RegistryError& error) const noexcept;
    Node* FindPath(std::u16string_view path) const;
    RegistryKey AddHandle(std::shared_ptr<Node> node, KeyAccess access);

    std::vector<std::shared_ptr<Node>> roots_;
    struct Handle {
        std::shared_ptr<Node> node;
        KeyAccess access;
    };
    std::map<RegistryKey, Handle> handles_;
    RegistryKey nextHandle_ = 0x100;
    std::vector<RegistryCall> calls_;
    int failCall_ = 0;
    RegistryError failError_ = 0;
};

// The bytes of a REG_SZ of `text` with its terminator, as the registry stores it.
std::vector<std::uint8_t> StringBytes(std::u16string_view text);

}  // namespace vistrel::test
