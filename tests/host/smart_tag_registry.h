// How the spreadsheet finds smart tag classes: the ProgIDs listed under the "Smart Tag" settings
// (Recognizers, Actions), each turned into its class and created by COM. Office 2003 and later
// read the current user's lists first, then the computer's (HKLM, in the registry view of the
// process's own bitness), which an installation for all users writes; a ProgID in both counts
// once, from the current user's list.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vistrel::host {

inline constexpr wchar_t kRecognizersKey[] =
    L"Software\\Microsoft\\Office\\Common\\Smart Tag\\Recognizers";
inline constexpr wchar_t kActionsKey[] = L"Software\\Microsoft\\Office\\Common\\Smart Tag\\Actions";

// One entry of a list and the hive it was read from ("HKCU" or "HKLM").
struct ListedProgId {
    std::wstring progId;
    const wchar_t* hive;
};

// The names of the subkeys of HKCU\<list>, then those of HKLM\<list> not already listed (letter
// case aside), each in the registry's order; empty without either key.
std::vector<ListedProgId> ListedProgIds(const wchar_t* list);

// The class that `progId` names, as "{...}"; an empty text when COM knows no such ProgID.
std::wstring ClassIdText(const std::wstring& progId);

}  // namespace vistrel::host
