// libFuzzer target: the replacement pass, the tokenizer and both walks over the in-memory
// registry. The first byte picks the direction, the second the registry call that fails (0 for
// none); the rest is the script, 8-bit text as the library's resources hold it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "server/registry_script/script_interpreter.h"
#include "tests/support/in_memory_registry.h"

namespace {

using namespace vistrel;

bool IsKnownStatus(ScriptStatus status) {
    const auto bits = static_cast<std::uint32_t>(status);
    return status == kScriptSucceeded || status == kScriptFailed || status == kScriptOutOfMemory ||
           status == kScriptSyntaxError || (bits & 0xFFFF0000u) == 0x80070000u;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto direction =
        (data[0] & 1) != 0 ? ScriptDirection::Unregister : ScriptDirection::Register;
    const int failedCall = data[1];
    std::u16string script(data + 2, data + size);

    test::InMemoryRegistry registry;
    registry.CreateKeyPath(u"HKCR\\CLSID\\{Foreign}\\InprocServer32");
    registry.CreateKeyPath(u"HKCU\\Software\\Existing\\Deeper");
    registry.MakeReadOnly(u"HKCU\\Locked");
    registry.FailCall(failedCall, 1234);

    ReplacementMap replacements;
    replacements.Add(u"APPID", u"{078F066D-265C-467A-8C4B-D7BA03FD49B0}");
    replacements.Add(u"Module", u"C:\\O''Brien\\Vistrel.dll");

    const ScriptStatus status = InterpretRegistryScript(script, replacements, direction, registry);
    Check(IsKnownStatus(status));
    // A close that was made to fail leaves its handle open; every other run closes all it opened.
    const bool closeFailed =
        failedCall != 0 && failedCall <= registry.CallCount() &&
        registry.Calls()[static_cast<std::size_t>(failedCall - 1)] == test::RegistryCall::Close;
    Check(closeFailed || registry.OpenHandleCount() == 0);
    // What the run wrote can always be read back in one piece.
    registry.Dump();
    return 0;
}
