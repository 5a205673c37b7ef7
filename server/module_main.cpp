// The library's entry points: the loader's notifications, the class objects and the answer to
// whether the library may be unloaded.
#include <windows.h>
#include <unknwn.h>

#include "calculator/calculator_lifetime.h"
#include "platform/hresult_boundary.h"
#include "platform/module_instance.h"
#include "platform/runtime_reserve.h"
#include "platform/server_module.h"
#include "server/class_table.h"
#include "smarttag/smart_tag_catalogue.h"

namespace vistrel {
namespace {

// What the library starts at load and stops at unload, all of it here: the locks of the class
// table and of the module, the catalogue and the calculator.
BOOL AttachProcess(HINSTANCE instance) {
    if (!TheClassTable().Start()) TheServerModule().SetInitFailed();
    TheServerModule().Start();
    SetModuleInstance(instance);
    // The library loads without a catalogue too; its classes then offer nothing.
    BuildCatalogue();
    StartCalculator();
    return TheServerModule().InitFailed() ? FALSE : TRUE;
}

// `unloading` is true for FreeLibrary, false when the process ends.
BOOL DetachProcess(bool unloading) {
    DestroyCatalogue();
    StopCalculator();
    TheServerModule().Stop();
    TheClassTable().ReleaseClassObjects();
    if (unloading) ReleaseRuntimeExceptionReserve();
    return TRUE;
}

}  // namespace
}  // namespace vistrel

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH: return vistrel::AttachProcess(instance);
    case DLL_PROCESS_DETACH: return vistrel::DetachProcess(reserved == nullptr);
    default: return TRUE;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID interfaceId,
                                                    void** out) {
    // A process that asks for class objects hosts the library: from then on it stays until the
    // process ends, and DllCanUnloadNow still answers by the lock count. A process that only
    // registers or unregisters it (regsvr32, the installer) frees it as usual, so that its file
    // can be replaced or removed.
    vistrel::KeepModuleLoaded(vistrel::ModuleInstance());
    return vistrel::AtBoundary(
        [&] { return vistrel::TheClassTable().GetClassObject(classId, interfaceId, out); });
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return vistrel::AtBoundary(
        [] { return vistrel::TheServerModule().LockCount() == 0 ? S_OK : S_FALSE; });
}
