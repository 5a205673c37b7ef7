// Self-registration's exports: the AppID script, the class rows' scripts in the class table's
// order and the type library, forwards or backwards, each call ending at its first failing step.
#include <windows.h>

#include "server/class_table.h"
#include "server/server_registration.h"

namespace vistrel {
namespace {

// The class rows' registration routines, in the table's order.
struct ClassRegistrations {
    ClassRegistration routines[ClassTable::kEntryCount] = {};
    std::size_t count = 0;
};

ClassRegistrations RegistrationsOfTheClassTable() noexcept {
    ClassRegistrations result;
    for (const ClassEntry& entry : TheClassTable()) {
        if (entry.registration != nullptr) result.routines[result.count++] = entry.registration;
    }
    return result;
}

}  // namespace
}  // namespace vistrel

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    const auto classes = vistrel::RegistrationsOfTheClassTable();
    return vistrel::RegisterServer({classes.routines, classes.count});
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const auto classes = vistrel::RegistrationsOfTheClassTable();
    return vistrel::UnregisterServer({classes.routines, classes.count});
}
