#include "platform/module_instance.h"

namespace vistrel {
namespace {
HINSTANCE moduleInstance = nullptr;
}

HINSTANCE ModuleInstance() noexcept { return moduleInstance; }
void SetModuleInstance(HINSTANCE instance) noexcept { moduleInstance = instance; }

bool KeepModuleLoaded(HINSTANCE instance) noexcept {
    HMODULE pinned = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(instance), &pinned) != FALSE;
}

}  // namespace vistrel
