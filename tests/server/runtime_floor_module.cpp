// A DLL with nothing but the runtime that Vistrel.dll links statically, which throws and catches
// one exception when it loads, as the library does while it reads its catalogue, and gives the
// runtime's exception reserve back when it unloads, as the library does. What a process keeps
// after loading and unloading it is the runtime's own cost of a load, not the library's.
#include <windows.h>

#include "platform/runtime_reserve.h"

namespace {
struct LoadMarker {};
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        try {
            throw LoadMarker{};
        } catch (const LoadMarker&) {
        }
    }
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) vistrel::ReleaseRuntimeExceptionReserve();
    return TRUE;
}
