#include "server/type_library_registration.h"

#include <oleauto.h>

#include <string>

#include "platform/hresult.h"
#include "platform/hresult_boundary.h"
#include "platform/module_instance.h"
#include "platform/unique_resource.h"

namespace vistrel {
namespace {

// The type library of the library file, else of the ".tlb" file beside it; `path` names the file
// that loaded.
HRESULT LoadOwnTypeLibrary(ComPtr<ITypeLib>& library, std::wstring& path) {
    wchar_t libraryPath[MAX_PATH];
    RETURN_IF_FAILED(GetLibraryPath(libraryPath));
    path = libraryPath;
    const HRESULT status = LoadTypeLib(path.c_str(), library.put());
    if (SUCCEEDED(status)) return status;
    const std::size_t nameStart = path.find_last_of(L"\\/:") + 1;  // npos + 1 is 0
    const std::size_t dot = path.rfind(L'.');
    if (dot != std::wstring::npos && dot >= nameStart) path.erase(dot);
    path += L".tlb";
    return LoadTypeLib(path.c_str(), library.put());
}

}  // namespace

HRESULT RegisterTypeLibrary() noexcept {
    try {
        ComPtr<ITypeLib> library;
        std::wstring path;
        RETURN_IF_FAILED(LoadOwnTypeLibrary(library, path));
        std::wstring helpDirectory = path;
        helpDirectory.erase(helpDirectory.find_last_of(L"\\/:") + 1);
        return RegisterTypeLib(library.get(), path.data(), helpDirectory.data());
    } catch (...) {
        return HresultFromCaughtException();
    }
}

HRESULT UnregisterTypeLibrary() noexcept {
    try {
        ComPtr<ITypeLib> library;
        std::wstring path;
        RETURN_IF_FAILED(LoadOwnTypeLibrary(library, path));
        TLIBATTR* attributes = nullptr;
        RETURN_IF_FAILED(library->GetLibAttr(&attributes));
        const TLIBATTR copy = *attributes;
        library->ReleaseTLibAttr(attributes);
        return UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                                 copy.syskind);
    } catch (...) {
        return HresultFromCaughtException();
    }
}

}  // namespace vistrel
