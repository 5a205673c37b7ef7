#include "server/registry_script_resource.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "base/allocation_hook.h"
#include "platform/hresult.h"
#include "platform/hresult_boundary.h"
#include "platform/last_error.h"
#include "platform/module_instance.h"
#include "platform/unique_resource.h"
#include "server/app_id.h"
#include "server/win32_registry.h"

namespace vistrel {
namespace {

const char16_t* AsUtf16(const wchar_t* text) noexcept {
    return reinterpret_cast<const char16_t*>(text);
}

// CP_THREAD_ACP on Windows NT 5.0 and later; on older systems the thread locale's default ANSI
// code page, or the process's when that cannot be read. Worked out once.
UINT ScriptCodePage() noexcept {
    static const UINT codePage = [] {
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        if (GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
            version.dwMajorVersion >= 5) {
            return static_cast<UINT>(CP_THREAD_ACP);
        }
        char number[8] = {};
        if (GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number) !=
            0) {
            const int fromLocale = std::atoi(number);
            if (fromLocale > 0) return static_cast<UINT>(fromLocale);
        }
        return GetACP();
    }();
    return codePage;
}

// The script resource as UTF-16 text.
HRESULT LoadScriptText(const wchar_t* libraryPath, UINT resourceId, std::wstring& text) {
    const UniqueHmodule library(LoadLibraryExW(libraryPath, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!library) return FailureFromLastError();
    const HRSRC found = FindResourceW(library.get(), MAKEINTRESOURCEW(resourceId), L"REGISTRY");
    if (found == nullptr) return FailureFromLastError();
    const HGLOBAL loaded = LoadResource(library.get(), found);
    if (loaded == nullptr) return FailureFromLastError();
    const DWORD size = SizeofResource(library.get(), found);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    if (bytes == nullptr) return FailureFromLastError();
    text.clear();
    if (size == 0) return S_OK;
    ThrowIfRefused("script text");
    std::vector<wchar_t> buffer(static_cast<std::size_t>(size) + 1);
    const int converted = MultiByteToWideChar(ScriptCodePage(), 0, bytes, static_cast<int>(size),
                                              buffer.data(), static_cast<int>(buffer.size()));
    if (converted == 0) return FailureFromLastError();
    text.assign(buffer.data(), static_cast<std::size_t>(converted));
    return S_OK;
}

}  // namespace

HRESULT RunRegistryScript(UINT resourceId, ScriptDirection direction,
                          const ScriptReplacement* extraReplacements) noexcept {
    try {
        ReplacementMap replacements;
        for (const ScriptReplacement* extra = extraReplacements;
             extra != nullptr && extra->name != nullptr; ++extra) {
            RETURN_IF_FAILED(replacements.Add(AsUtf16(extra->name), AsUtf16(extra->value)));
        }
        RETURN_IF_FAILED(replacements.Add(u"APPID", AsUtf16(kAppIdText)));

        wchar_t path[MAX_PATH];
        RETURN_IF_FAILED(GetLibraryPath(path));
        // The quoted-token rule turns every doubled quote back into one.
        std::wstring quotedPath;
        for (const wchar_t* c = path; *c != L'\0'; ++c) {
            quotedPath.push_back(*c);
            if (*c == L'\'') quotedPath.push_back(L'\'');
        }
        RETURN_IF_FAILED(replacements.Add(u"Module", AsUtf16(quotedPath.c_str())));

        std::wstring text;
        RETURN_IF_FAILED(LoadScriptText(path, resourceId, text));
        Win32Registry registry;
        return InterpretRegistryScript(std::u16string_view(AsUtf16(text.c_str()), text.size()),
                                       replacements, direction, registry);
    } catch (...) {
        return HresultFromCaughtException();
    }
}

}  // namespace vistrel
