#include "server/server_registration.h"

#include "server/app_id.h"
#include "server/registry_resources.h"
#include "server/type_library_registration.h"

namespace vistrel {
namespace {

HRESULT RunAppIdScript(ScriptDirection direction) noexcept {
    const ScriptReplacement replacements[] = {{L"APPID", kAppIdText}, {nullptr, nullptr}};
    return RunRegistryScript(VISTREL_APPID_SCRIPT, direction, replacements);
}

HRESULT RunClassScripts(std::span<const ClassRegistration> classes, bool registering) noexcept {
    for (const ClassRegistration registration : classes) {
        const HRESULT status = registration(registering);
        if (FAILED(status)) return status;
    }
    return S_OK;
}

}  // namespace

HRESULT RegisterServer(std::span<const ClassRegistration> classes) noexcept {
    HRESULT status = RunAppIdScript(ScriptDirection::Register);
    if (FAILED(status)) return status;
    status = RunClassScripts(classes, true);
    if (FAILED(status)) return status;
    return RegisterTypeLibrary();
}

HRESULT UnregisterServer(std::span<const ClassRegistration> classes) noexcept {
    HRESULT status = RunClassScripts(classes, false);
    if (FAILED(status)) return status;
    status = UnregisterTypeLibrary();
    if (FAILED(status)) return status;
    return RunAppIdScript(ScriptDirection::Unregister);
}

}  // namespace vistrel
