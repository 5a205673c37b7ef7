// A script of the shape the library's class scripts have: ProgIDs, the CLSID key with
// ForceRemove, the in-process server with the module path, and an HKCU smart tag key.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vistrel::test {

inline constexpr std::u16string_view kClassScript =
    u"HKCR\r\n{\r\n"
    u"\tDemo.Thing.1 = s 'Thing Class'\r\n\t{\r\n\t\tCLSID = s "
    u"'{11111111-2222-3333-4444-555555555555}'\r\n\t}\r\n"
    u"\tNoRemove CLSID\r\n\t{\r\n"
    u"\t\tForceRemove {11111111-2222-3333-4444-555555555555} = s 'Thing Class'\r\n\t\t{\r\n"
    u"\t\t\tProgID = s 'Demo.Thing.1'\r\n"
    u"\t\t\tForceRemove 'Programmable'\r\n"
    u"\t\t\tInprocServer32 = s '%MODULE%'\r\n\t\t\t{\r\n\t\t\t\tval ThreadingModel = s "
    u"'Apartment'\r\n\t\t\t}\r\n"
    u"\t\t}\r\n\t}\r\n}\r\n"
    u"HKCU\r\n{\r\n\tNoRemove 'Software'\r\n\t{\r\n\t\tNoRemove 'Tags'\r\n\t\t{\r\n"
    u"\t\t\t'Demo.Thing'\r\n\t\t\t{\r\n\t\t\t\tval Status = d 8\r\n\t\t\t}\r\n"
    u"\t\t}\r\n\t}\r\n}\r\n";

// What registering kClassScript on an empty registry leaves, worked out by hand. The module path
// is the test runner's, with its doubled quote undone.
inline std::vector<std::string> ClassScriptRegistered() {
    return {
        "HKCR\\CLSID",
        "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}",
        "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555} [] 1 54 00 68 00 69 00 6E 00 67 00 20 "
        "00 43 00 6C 00 61 00 73 00 73 00 00 00",
        "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32",
        "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32 [ThreadingModel] 1 41 "
        "00 70 00 61 00 72 00 74 00 6D 00 65 00 6E 00 74 00 00 00",
        "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32 [] 1 43 00 3A 00 5C "
        "00 50 00 72 00 6F 00 67 00 72 00 61 00 6D 00 20 00 46 00 69 00 6C 00 65 00 73 00 5C 00 4F "
        "00 27 00 42 00 72 00 69 00 65 00 6E 00 5C 00 56 00 69 00 73 00 74 00 72 00 65 00 6C 00 2E "
        "00 64 00 6C 00 6C 00 00 00",
        "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\ProgID",
        "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\ProgID [] 1 44 00 65 00 6D 00 6F 00 "
        "2E 00 54 00 68 00 69 00 6E 00 67 00 2E 00 31 00 00 00",
        "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\Programmable",
        "HKCR\\Demo.Thing.1",
        "HKCR\\Demo.Thing.1 [] 1 54 00 68 00 69 00 6E 00 67 00 20 00 43 00 6C 00 61 00 73 00 73 00 "
        "00 00",
        "HKCR\\Demo.Thing.1\\CLSID",
        "HKCR\\Demo.Thing.1\\CLSID [] 1 7B 00 31 00 31 00 31 00 31 00 31 00 31 00 31 00 31 00 2D "
        "00 32 00 32 00 32 00 32 00 2D 00 33 00 33 00 33 00 33 00 2D 00 34 00 34 00 34 00 34 00 2D "
        "00 35 00 35 00 35 00 35 00 35 00 35 00 35 00 35 00 35 00 35 00 35 00 35 00 7D 00 00 00",
        "HKCU\\Software",
        "HKCU\\Software\\Tags",
        "HKCU\\Software\\Tags\\Demo.Thing",
        "HKCU\\Software\\Tags\\Demo.Thing [Status] 4 08 00 00 00",
    };
}

// The keys that unregistering leaves: the NoRemove ones.
inline std::vector<std::string> ClassScriptKeptKeys() {
    return {"HKCR\\CLSID", "HKCU\\Software", "HKCU\\Software\\Tags"};
}

}  // namespace vistrel::test
