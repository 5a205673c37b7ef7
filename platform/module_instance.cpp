#include "platform/module_instance.h"

#include <atomic>

namespace vistrel {
namespace {
HINSTANCE moduleInstance = nullptr;
}

HINSTANCE ModuleInstance() noexcept { return moduleInstance; }
void SetModuleInstance(HINSTANCE instance) noexcept { moduleInstance = instance; }

bool KeepModuleLoaded(HINSTANCE instance) noexcept {
    static std::atomic<bool> pinned{false};
    if (pinned.load(std::memory_order_acquire)) return true;
    HMODULE module = nullptr;
    const bool done =
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCWSTR>(instance), &module) != FALSE;
    if (done) pinned.store(true, std::memory_order_release);
    return done;
}

}  // namespace vistrel
