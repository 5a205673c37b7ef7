#include "tests/support/in_memory_registry.h"

#include <algorithm>
#include <cstdio>

namespace vistrel::test {
namespace {

constexpr std::size_t kMaxKeyNameLength = 255;

char16_t Fold(char16_t c) noexcept {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
}

struct NameLess {
    bool operator()(const std::u16string& left, const std::u16string& right) const noexcept {
        return std::lexicographical_compare(
            left.begin(), left.end(), right.begin(), right.end(),
            [](char16_t a, char16_t b) { return Fold(a) < Fold(b); });
    }
};

constexpr std::u16string_view kRootNames[] = {u"HKCR", u"HKCU", u"HKLM", u"HKU",
                                              u"HKPD", u"HKDD", u"HKCC"};

std::string Ascii(std::u16string_view text) {
    std::string result;
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            result.push_back(static_cast<char>(c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            result += escaped;
        }
    }
    return result;
}

}  // namespace

struct InMemoryRegistry::Node {
    std::map<std::u16string, std::shared_ptr<Node>, NameLess> subkeys;
    std::map<std::u16string, StoredValue, NameLess> values;
    bool readOnly = false;
    bool deleted = false;
};

InMemoryRegistry::InMemoryRegistry() {
    for (std::size_t i = 0; i < std::size(kRootNames); ++i)
        roots_.push_back(std::make_shared<Node>());
}

InMemoryRegistry::~InMemoryRegistry() = default;

std::vector<std::uint8_t> StringBytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.insert(bytes.end(), 2, 0);
    return bytes;
}

bool InMemoryRegistry::Count(RegistryCall call, RegistryError& injected) noexcept {
    calls_.push_back(call);
    if (static_cast<int>(calls_.size()) != failCall_) return false;
    injected = failError_;
    return true;
}

void InMemoryRegistry::FailCall(int callNumber, RegistryError error) noexcept {
    failCall_ = callNumber;
    failError_ = error;
}

RegistryKey InMemoryRegistry::Root(RootKey root) { return static_cast<RegistryKey>(root) + 1; }

InMemoryRegistry::Node* InMemoryRegistry::NodeOf(RegistryKey key,
                                                 RegistryError& error) const noexcept {
    if (key >= 1 && key <= roots_.size()) return roots_[key - 1].get();
    const auto handle = handles_.find(key);
    if (handle == handles_.end()) {
        error = kRegistryInvalidHandle;
        return nullptr;
    }
    if (handle->second.node->deleted) {
        error = kRegistryKeyDeleted;
        return nullptr;
    }
    return handle->second.node.get();
}

RegistryKey InMemoryRegistry::AddHandle(std::shared_ptr<Node> node, KeyAccess access) {
    const RegistryKey key = nextHandle_++;
    handles_.emplace(key, Handle{std::move(node), access});
    return key;
}

RegistryError InMemoryRegistry::Open(RegistryKey parent, std::u16string_view name, KeyAccess access,
                                     RegistryKey& opened) {
    opened = 0;
    RegistryError error = 0;
    if (Count(RegistryCall::Open, error)) return error;
    Node* node = NodeOf(parent, error);
    if (node == nullptr) return error;
    std::shared_ptr<Node> target;
    if (name.empty()) {
        target = parent <= roots_.size() ? roots_[parent - 1] : handles_.at(parent).node;
    } else {
        const auto found = node->subkeys.find(std::u16string(name));
        if (found == node->subkeys.end()) return kRegistryFileNotFound;
        target = found->second;
    }
    if (access == KeyAccess::ReadWrite && target->readOnly) return kRegistryAccessDenied;
    opened = AddHandle(std::move(target), access);
    return kRegistrySucceeded;
}

RegistryError InMemoryRegistry::Create(RegistryKey parent, std::u16string_view name,
                                       RegistryKey& created) {
    created = 0;
    RegistryError error = 0;
    if (Count(RegistryCall::Create, error)) return error;
    Node* node = NodeOf(parent, error);
    if (node == nullptr) return error;
    if (name.size() > kMaxKeyNameLength) return kRegistryInvalidParameter;
    if (parent > roots_.size() && handles_.at(parent).access == KeyAccess::ReadOnly)
        return kRegistryAccessDenied;
    auto& slot = node->subkeys[std::u16string(name)];
    if (!slot) slot = std::make_shared<Node>();
    if (slot->readOnly) return kRegistryAccessDenied;
    created = AddHandle(slot, KeyAccess::ReadWrite);
    return kRegistrySucceeded;
}

RegistryError InMemoryRegistry::SetValue(RegistryKey key, std::u16string_view name,
                                         RegistryValueType type,
                                         std::span<const std::uint8_t> data) {
    RegistryError error = 0;
    if (Count(RegistryCall::SetValue, error)) return error;
    Node* node = NodeOf(key, error);
    if (node == nullptr) return error;
    if (key > roots_.size() && handles_.at(key).access == KeyAccess::ReadOnly)
        return kRegistryAccessDenied;
    node->values[std::u16string(name)] = StoredValue{type, {data.begin(), data.end()}};
    return kRegistrySucceeded;
}

RegistryError InMemoryRegistry::DeleteValue(RegistryKey key, std::u16string_view name) {
    RegistryError error = 0;
    if (Count(RegistryCall::DeleteValue, error)) return error;
    Node* node = NodeOf(key, error);
    if (node == nullptr) return error;
    if (key > roots_.size() && handles_.at(key).access == KeyAccess::ReadOnly)
        return kRegistryAccessDenied;
    return node->values.erase(std::u16string(name)) == 0 ? kRegistryFileNotFound
                                                         : kRegistrySucceeded;
}

RegistryError InMemoryRegistry::DeleteKey(RegistryKey parent, std::u16string_view name) {
    RegistryError error = 0;
    if (Count(RegistryCall::DeleteKey, error)) return error;
    Node* node = NodeOf(parent, error);
    if (node == nullptr) return error;
    const auto found = node->subkeys.find(std::u16string(name));
    if (name.empty() || found == node->subkeys.end()) return kRegistryFileNotFound;
    if (!found->second->subkeys.empty() || found->second->readOnly) return kRegistryAccessDenied;
    found->second->deleted = true;
    node->subkeys.erase(found);
    return kRegistrySucceeded;
}

RegistryError InMemoryRegistry::EnumerateFirstSubkey(RegistryKey key, std::u16string& name) {
    RegistryError error = 0;
    if (Count(RegistryCall::EnumerateFirstSubkey, error)) return error;
    Node* node = NodeOf(key, error);
    if (node == nullptr) return error;
    if (node->subkeys.empty()) return kRegistryNoMoreItems;
    name = node->subkeys.begin()->first;
    return kRegistrySucceeded;
}

RegistryError InMemoryRegistry::Close(RegistryKey key) {
    RegistryError error = 0;
    if (Count(RegistryCall::Close, error)) return error;
    return handles_.erase(key) == 0 ? kRegistryInvalidHandle : kRegistrySucceeded;
}

InMemoryRegistry::Node* InMemoryRegistry::FindPath(std::u16string_view path) const {
    const std::size_t split = path.find(u'\\');
    const std::u16string_view rootName = path.substr(0, split);
    const auto root = std::find(std::begin(kRootNames), std::end(kRootNames), rootName);
    if (root == std::end(kRootNames)) return nullptr;
    Node* node = roots_[static_cast<std::size_t>(root - std::begin(kRootNames))].get();
    std::u16string_view rest =
        split == std::u16string_view::npos ? std::u16string_view() : path.substr(split + 1);
    while (!rest.empty() && node != nullptr) {
        const std::size_t next = rest.find(u'\\');
        const auto found = node->subkeys.find(std::u16string(rest.substr(0, next)));
        node = found == node->subkeys.end() ? nullptr : found->second.get();
        rest = next == std::u16string_view::npos ? std::u16string_view() : rest.substr(next + 1);
    }
    return node;
}

void InMemoryRegistry::CreateKeyPath(std::u16string_view path) {
    const std::size_t split = path.find(u'\\');
    const auto root =
        std::find(std::begin(kRootNames), std::end(kRootNames), path.substr(0, split));
    Node* node = roots_.at(static_cast<std::size_t>(root - std::begin(kRootNames))).get();
    std::u16string_view rest =
        split == std::u16string_view::npos ? std::u16string_view() : path.substr(split + 1);
    while (!rest.empty()) {
        const std::size_t next = rest.find(u'\\');
        auto& slot = node->subkeys[std::u16string(rest.substr(0, next))];
        if (!slot) slot = std::make_shared<Node>();
        node = slot.get();
        rest = next == std::u16string_view::npos ? std::u16string_view() : rest.substr(next + 1);
    }
}

void InMemoryRegistry::SetValueAt(std::u16string_view path, std::u16string_view name,
                                  StoredValue value) {
    CreateKeyPath(path);
    FindPath(path)->values[std::u16string(name)] = std::move(value);
}

void InMemoryRegistry::MakeReadOnly(std::u16string_view path) {
    CreateKeyPath(path);
    FindPath(path)->readOnly = true;
}

bool InMemoryRegistry::KeyExists(std::u16string_view path) const {
    return FindPath(path) != nullptr;
}

std::optional<StoredValue> InMemoryRegistry::ValueAt(std::u16string_view path,
                                                     std::u16string_view name) const {
    const Node* node = FindPath(path);
    if (node == nullptr) return std::nullopt;
    const auto found = node->values.find(std::u16string(name));
    if (found == node->values.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> InMemoryRegistry::Dump() const {
    std::vector<std::string> lines;
    struct Walker {
        std::vector<std::string>& lines;
        void Walk(const Node& node, const std::string& path) {
            for (const auto& [name, value] : node.values) {
                std::string line = path + " [" + Ascii(name) + "] " +
                                   std::to_string(static_cast<unsigned>(value.type));
                for (const std::uint8_t byte : value.data) {
                    char hex[4];
                    std::snprintf(hex, sizeof hex, " %02X", byte);
                    line += hex;
                }
                lines.push_back(line);
            }
            for (const auto& [name, child] : node.subkeys) {
                const std::string childPath = path + "\\" + Ascii(name);
                lines.push_back(childPath);
                Walk(*child, childPath);
            }
        }
    } walker{lines};
    for (std::size_t i = 0; i < roots_.size(); ++i) walker.Walk(*roots_[i], Ascii(kRootNames[i]));
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace vistrel::test
