#include "server/registry_script/script_names.h"

#include <array>

#include "server/registry_script/replacement_map.h"

namespace vistrel {
namespace {

struct RootKeyName {
    std::u16string_view name;
    RootKey root;
};

constexpr std::array<RootKeyName, 14> kRootKeyNames{{
    {u"HKCR", RootKey::ClassesRoot},
    {u"HKCU", RootKey::CurrentUser},
    {u"HKLM", RootKey::LocalMachine},
    {u"HKU", RootKey::Users},
    {u"HKPD", RootKey::PerformanceData},
    {u"HKDD", RootKey::DynData},
    {u"HKCC", RootKey::CurrentConfig},
    {u"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
    {u"HKEY_CURRENT_USER", RootKey::CurrentUser},
    {u"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
    {u"HKEY_USERS", RootKey::Users},
    {u"HKEY_PERFORMANCE_DATA", RootKey::PerformanceData},
    {u"HKEY_DYN_DATA", RootKey::DynData},
    {u"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
}};

constexpr std::array<std::u16string_view, 12> kProtectedKeyNames{
    u"AppID",    u"CLSID",     u"Component Categories",
    u"FileType", u"Interface", u"Hardware",
    u"Mime",     u"SAM",       u"SECURITY",
    u"SYSTEM",   u"Software",  u"TypeLib"};

}  // namespace

std::optional<RootKey> FindRootKey(std::u16string_view name) noexcept {
    for (const auto& entry : kRootKeyNames) {
        if (NamesEqual(entry.name, name)) return entry.root;
    }
    return std::nullopt;
}

bool IsProtectedKeyName(std::u16string_view name) noexcept {
    for (const auto protectedName : kProtectedKeyNames) {
        if (NamesEqual(protectedName, name)) return true;
    }
    return false;
}

}  // namespace vistrel
