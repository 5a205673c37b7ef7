#include "platform/module_instance.h"

#include <atomic>

#include "platform/hresult.h"
#include "platform/last_error.h"

namespace vistrel {
namespace {
HINSTANCE moduleInstance = nullptr;
}

HINSTANCE ModuleInstance() noexcept { return moduleInstance; }
void SetModuleInstance(HINSTANCE instance) noexcept { moduleInstance = instance; }

HRESULT GetLibraryPath(wchar_t (&path)[MAX_PATH]) noexcept {
    const DWORD length = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH);
    if (length == 0) return FailureFromLastError();
    if (length == MAX_PATH) return HresultFromWin32(ERROR_INSUFFICIENT_BUFFER);
    return S_OK;
}

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
