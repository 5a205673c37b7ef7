// Runs a script text over an in-memory registry with the replacements the library passes.
#pragma once

#include <string_view>

#include "server/registry_script/script_interpreter.h"
#include "tests/support/in_memory_registry.h"

namespace vistrel::test {

inline constexpr std::u16string_view kTestAppId = u"{078F066D-265C-467A-8C4B-D7BA03FD49B0}";
inline constexpr std::u16string_view kTestModuleReplacement =
    u"C:\\Program Files\\O''Brien\\Vistrel.dll";
inline constexpr std::u16string_view kTestModulePath = u"C:\\Program Files\\O'Brien\\Vistrel.dll";

inline ScriptStatus RunScript(InMemoryRegistry& registry, std::u16string_view script,
                              ScriptDirection direction) {
    ReplacementMap map;
    map.Add(u"APPID", std::u16string(kTestAppId).c_str());
    map.Add(u"Module", std::u16string(kTestModuleReplacement).c_str());
    return InterpretRegistryScript(script, map, direction, registry);
}

inline ScriptStatus Register(InMemoryRegistry& registry, std::u16string_view script) {
    return RunScript(registry, script, ScriptDirection::Register);
}

inline ScriptStatus Unregister(InMemoryRegistry& registry, std::u16string_view script) {
    return RunScript(registry, script, ScriptDirection::Unregister);
}

inline StoredValue StringValue(std::u16string_view text) {
    return {RegistryValueType::String, StringBytes(text)};
}

}  // namespace vistrel::test
