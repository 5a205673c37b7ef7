// The per-user choice of the rate table, beside the rate page's address: a computer that cannot
// reach the page may be set to calculate on the rates the program carries, without fetching.
#pragma once

namespace vistrel {

// HKEY_CURRENT_USER\<kSettingsKey>, value kBuiltInRatesSettingValue (REG_DWORD): 1 = the
// built-in rates, without fetching the page.
inline constexpr wchar_t kBuiltInRatesSettingValue[] = L"StopyWbudowane";

// True when the setting is the DWORD 1; absent, 0, any other number or type: the page is fetched.
bool BuiltInRatesChosen() noexcept;

}  // namespace vistrel
