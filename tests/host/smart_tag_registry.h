// How the spreadsheet finds smart tag classes: the ProgIDs listed under the current user's
// "Smart Tag" settings (Recognizers, Actions), each turned into its class and created by COM.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vistrel::host {

inline constexpr wchar_t kRecognizersKey[] =
    L"Software\\Microsoft\\Office\\Common\\Smart Tag\\Recognizers";
inline constexpr wchar_t kActionsKey[] = L"Software\\Microsoft\\Office\\Common\\Smart Tag\\Actions";

// The names of the subkeys of HKCU\<list>, in the registry's order; empty without the key.
std::vector<std::wstring> ListedProgIds(const wchar_t* list);

// The class that `progId` names, as "{...}"; an empty text when COM knows no such ProgID.
std::wstring ClassIdText(const std::wstring& progId);

}  // namespace vistrel::host
