#include "calculator/built_in_rates_setting.h"

#include <windows.h>

#include "calculator/settings_key.h"
#include "platform/unique_resource.h"

namespace vistrel {

bool BuiltInRatesChosen() noexcept {
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    return RegQueryValueExW(key.get(), kBuiltInRatesSettingValue, nullptr, &type,
                            reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof value && value == 1;
}

}  // namespace vistrel
