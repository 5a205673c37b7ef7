// A host's whole path in a process of its own: creates both classes by their ProgIDs through
// COM's registry, as Office does, and calls a method of each. Prints what each answered and
// exits with 0 only when both calls succeeded.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cwchar>

#include "platform/unique_resource.h"

#include <initguid.h>  // after the system headers: defines the interface ids of the header below
#include "smarttag/smarttag_host.h"

namespace {

using vistrel::ComPtr;
using vistrel::UniqueBstr;

template <typename Interface>
bool CreateAndAskProgId(const wchar_t* progId) {
    CLSID classId{};
    HRESULT status = CLSIDFromProgID(progId, &classId);
    if (FAILED(status)) {
        std::wprintf(L"%ls: CLSIDFromProgID 0x%08lX\n", progId, static_cast<unsigned long>(status));
        return false;
    }
    ComPtr<Interface> object;
    status = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(Interface),
                              object.put_void());
    if (FAILED(status)) {
        std::wprintf(L"%ls: CoCreateInstance 0x%08lX\n", progId,
                     static_cast<unsigned long>(status));
        return false;
    }
    UniqueBstr answer;
    status = object->get_ProgId(answer.put());
    std::wprintf(L"%ls: ProgId 0x%08lX %ls\n", progId, static_cast<unsigned long>(status),
                 answer ? answer.get() : L"(null)");
    return SUCCEEDED(status) && answer;
}

}  // namespace

int wmain() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    const bool recognizer = CreateAndAskProgId<ISmartTagRecognizer>(L"Vistrel.STRecognizer");
    const bool action = CreateAndAskProgId<ISmartTagAction>(L"Vistrel.STAction");
    CoUninitialize();
    return recognizer && action ? 0 : 1;
}
