#include "server/server_registration.h"

#include "server/app_id.h"
#include "server/registry_resources.h"
#include "server/registry_script_resource.h"
#include "server/type_library_registration.h"

namespace vistrel {
namespace {

HRESULT RunAppIdScript(ScriptDirection direction) noexcept {
    const ScriptReplacement replacements[] = {{L"APPID", kAppIdText}, {nullptr, nullptr}};
    return RunRegistryScript(VISTREL_APPID_SCRIPT, direction, replacements);
}

HRESULT RunClassScripts(std::span<const UINT> classScripts, ScriptDirection direction) noexcept {
    for (const UINT script : classScripts) {
        const HRESULT status = RunRegistryScript(script, direction, nullptr);
        if (FAILED(status)) return status;
    }
    return S_OK;
}

}  // namespace

HRESULT RegisterServer(std::span<const UINT> classScripts) noexcept {
    HRESULT status = RunAppIdScript(ScriptDirection::Register);
    if (FAILED(status)) return status;
    status = RunClassScripts(classScripts, ScriptDirection::Register);
    if (FAILED(status)) return status;
    return RegisterTypeLibrary();
}

HRESULT UnregisterServer(std::span<const UINT> classScripts) noexcept {
    HRESULT status = RunClassScripts(classScripts, ScriptDirection::Unregister);
    if (FAILED(status)) return status;
    status = UnregisterTypeLibrary();
    if (FAILED(status)) return status;
    return RunAppIdScript(ScriptDirection::Unregister);
}

}  // namespace vistrel
