// create-by-progid ProgID...: creates each class the way a host does, through its ProgID and
// CoCreateInstance, and prints one line per ProgID: "ProgID: ok" or "ProgID: 0x<status>".
// Exit status 0 when every class was created.
#include <windows.h>
#include <objbase.h>

#include <cwchar>

#include "platform/unique_resource.h"

int wmain(int argc, wchar_t** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        CLSID classId{};
        HRESULT status = CLSIDFromProgID(argv[i], &classId);
        if (SUCCEEDED(status)) {
            vistrel::ComPtr<IUnknown> object;
            status = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                      object.put_void());
        }
        if (SUCCEEDED(status)) {
            std::wprintf(L"%ls: ok\n", argv[i]);
        } else {
            std::wprintf(L"%ls: 0x%08lX\n", argv[i], static_cast<unsigned long>(status));
            ++failures;
        }
    }
    CoUninitialize();
    return failures == 0 ? 0 : 1;
}
