// The fixed names of the script language: root keys, the protected key names and the keywords.
#pragma once

#include <optional>
#include <string_view>

#include "server/registry_script/registry_access.h"

namespace vistrel {

// A root key by its short ("HKCR") or long ("HKEY_CLASSES_ROOT") name, without regard to case.
std::optional<RootKey> FindRootKey(std::u16string_view name) noexcept;

// Keys that ForceRemove and Delete never delete with their subtree ("CLSID", "Software"...).
bool IsProtectedKeyName(std::u16string_view name) noexcept;

inline constexpr std::u16string_view kForceRemoveKeyword = u"ForceRemove";
inline constexpr std::u16string_view kDeleteKeyword = u"Delete";
inline constexpr std::u16string_view kNoRemoveKeyword = u"NoRemove";
inline constexpr std::u16string_view kValueKeyword = u"Val";

}  // namespace vistrel
