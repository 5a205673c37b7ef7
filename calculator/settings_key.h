// The registry key under HKEY_CURRENT_USER that holds the user's settings of the library: the
// rate page's address and the choice of the built-in rates.
#pragma once

namespace vistrel {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Brevant\\Vistrel";

}  // namespace vistrel
