// The HRESULT values the registry-script interpreter returns, and the Win32 error codes of the
// registry calls it looks at (HresultFromWin32 makes those into statuses). Plain 32-bit numbers, so
// that the interpreter builds without the platform's headers; on Windows they are the platform's
// HRESULTs bit for bit.
#pragma once

#include <cstdint>

namespace vistrel {

using ScriptStatus = std::int32_t;

inline constexpr ScriptStatus kScriptSucceeded = 0;
inline constexpr ScriptStatus kScriptFailed = static_cast<ScriptStatus>(0x80004005u);  // E_FAIL
inline constexpr ScriptStatus kScriptOutOfMemory =
    static_cast<ScriptStatus>(0x8007000Eu);  // E_OUTOFMEMORY
inline constexpr ScriptStatus kScriptInvalidArgument =
    static_cast<ScriptStatus>(0x80070057u);  // E_INVALIDARG
inline constexpr ScriptStatus kScriptSyntaxError =
    static_cast<ScriptStatus>(0x80020009u);  // DISP_E_EXCEPTION

// Win32 error codes that the walks look at.
using RegistryError = std::int32_t;
inline constexpr RegistryError kRegistrySucceeded = 0;
inline constexpr RegistryError kRegistryFileNotFound = 2;   // ERROR_FILE_NOT_FOUND
inline constexpr RegistryError kRegistryAccessDenied = 5;   // ERROR_ACCESS_DENIED
inline constexpr RegistryError kRegistryNoMoreItems = 259;  // ERROR_NO_MORE_ITEMS

constexpr bool ScriptFailed(ScriptStatus status) noexcept { return status < 0; }

}  // namespace vistrel
