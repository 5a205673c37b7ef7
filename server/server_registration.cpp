#include "server/server_registration.h"

#include "platform/hresult.h"
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
        RETURN_IF_FAILED(registration(registering));
    }
    return S_OK;
}

}  // namespace

HRESULT RegisterServer(std::span<const ClassRegistration> classes) noexcept {
    RETURN_IF_FAILED(RunAppIdScript(ScriptDirection::Register));
    RETURN_IF_FAILED(RunClassScripts(classes, true));
    return RegisterTypeLibrary();
}

HRESULT UnregisterServer(std::span<const ClassRegistration> classes) noexcept {
    RETURN_IF_FAILED(RunClassScripts(classes, false));
    RETURN_IF_FAILED(UnregisterTypeLibrary());
    return RunAppIdScript(ScriptDirection::Unregister);
}

}  // namespace vistrel
