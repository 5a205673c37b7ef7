// Both classes driven late-bound, as a script host drives them: through IDispatch of each of their
// two interfaces, with the type libraries registered in the test prefix.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/server/vistrel_dll.h"

namespace vistrel {
namespace {

using test::PathBesideProgram;

constexpr HRESULT kLibraryNotRegistered = static_cast<HRESULT>(0x8002801D);
constexpr DISPID kSmartTagCount = 4;
constexpr DISPID kSmartTagName = 5;
constexpr WORD kMajor = 1;
constexpr WORD kMinor = 0;
// The library's own type library is registered for US English, and LoadRegTypeLib finds a
// library only for the locale asked, its primary language or the neutral one: a host asks in
// that locale. The host's smart tag library is registered as neutral and answers every locale.
constexpr LCID kOwnLibraryLocale = 0x409;
constexpr SYSKIND kSystemKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

// Registers a type library file in the prefix, as registration will at install.
void RegisterTypeLibraryFile(const std::wstring& path) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, library.put()), S_OK)
        << "cannot register the type library";
}

void UnregisterTypeLibraries() {
    UnRegisterTypeLib(LIBID_VistrelLib, kMajor, kMinor, 0x409, kSystemKind);
    UnRegisterTypeLib(LIBID_SmartTagLib, kMajor, kMinor, 0, kSystemKind);
}

class LateBound : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterTypeLibraryFile(PathBesideProgram(L"Vistrel.dll"));
        RegisterTypeLibraryFile(PathBesideProgram(L"smarttag_host.tlb"));
    }

    test::ComApartment apartment_;
    test::VistrelDll dll_;
};

// One interface of one class, reached through IDispatch.
struct DispatchCase {
    const char* what;
    CLSID classId;
    IID interfaceId;
    bool smartTagInterface;  // the host's interface, which has SmartTagCount
};

std::vector<DispatchCase> AllDispatchInterfaces() {
    return {
        {"recognizer, IDispatch", __uuidof(STRecognizer), IID_IDispatch, true},
        {"recognizer, ISmartTagRecognizer", __uuidof(STRecognizer), __uuidof(ISmartTagRecognizer),
         true},
        {"recognizer, ISTRecognizer", __uuidof(STRecognizer), __uuidof(ISTRecognizer), false},
        {"action, IDispatch", __uuidof(STAction), IID_IDispatch, true},
        {"action, ISmartTagAction", __uuidof(STAction), __uuidof(ISmartTagAction), true},
        {"action, ISTAction", __uuidof(STAction), __uuidof(ISTAction), false},
    };
}

ComPtr<IDispatch> DispatchOf(const test::VistrelDll& dll, const DispatchCase& example) {
    ComPtr<IDispatch> dispatch;
    if (const ComPtr<IClassFactory> factory = dll.ClassFactory(example.classId)) {
        EXPECT_EQ(factory->CreateInstance(nullptr, example.interfaceId, dispatch.put_void()), S_OK)
            << example.what;
    }
    return dispatch;
}

// The interface that the type information describes.
GUID DescribedInterface(ITypeInfo* info) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) return GUID_NULL;
    const GUID described = attributes->guid;
    info->ReleaseTypeAttr(attributes);
    return described;
}

TEST_F(LateBound, EachInterfaceHasOneBlockOfItsOwnTypeInformation) {
    ASSERT_TRUE(dll_);
    for (const DispatchCase& example : AllDispatchInterfaces()) {
        const ComPtr<IDispatch> dispatch = DispatchOf(dll_, example);
        ASSERT_TRUE(dispatch) << example.what;
        UINT count = 0;
        EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK) << example.what;
        EXPECT_EQ(count, 1u) << example.what;
        EXPECT_EQ(dispatch->GetTypeInfoCount(nullptr), E_POINTER) << example.what;
        const IID expected = IsEqualIID(example.interfaceId, IID_IDispatch)
                                 ? (IsEqualCLSID(example.classId, __uuidof(STAction))
                                        ? __uuidof(ISmartTagAction)
                                        : __uuidof(ISmartTagRecognizer))
                                 : example.interfaceId;
        for (UINT index : {0u, 5u}) {  // the index is not looked at
            ComPtr<ITypeInfo> info;
            ASSERT_EQ(dispatch->GetTypeInfo(index, kOwnLibraryLocale, info.put()), S_OK)
                << example.what;
            EXPECT_EQ(DescribedInterface(info.get()), expected) << example.what;
        }
        EXPECT_EQ(dispatch->GetTypeInfo(0, 0, nullptr), E_POINTER) << example.what;
    }
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

TEST_F(LateBound, SmartTagCountByNameAndInvoke) {
    ASSERT_TRUE(dll_);
    for (const DispatchCase& example : AllDispatchInterfaces()) {
        const ComPtr<IDispatch> dispatch = DispatchOf(dll_, example);
        ASSERT_TRUE(dispatch) << example.what;
        for (const wchar_t* spelling : {L"SmartTagCount", L"smarttagcount", L"SMARTTAGCOUNT"}) {
            std::wstring name = spelling;
            LPOLESTR names[] = {name.data()};
            DISPID id = 12345;
            const HRESULT status =
                dispatch->GetIDsOfNames(IID_NULL, names, 1, kOwnLibraryLocale, &id);
            if (example.smartTagInterface) {
                EXPECT_EQ(status, S_OK) << example.what;
                EXPECT_EQ(id, kSmartTagCount) << example.what;
            } else {
                // The identity interface adds no member to IDispatch.
                EXPECT_EQ(status, DISP_E_UNKNOWNNAME) << example.what;
                EXPECT_EQ(id, DISPID_UNKNOWN) << example.what;
            }
        }
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VARIANT result;
        VariantInit(&result);
        const HRESULT status =
            dispatch->Invoke(kSmartTagCount, IID_NULL, kOwnLibraryLocale, DISPATCH_PROPERTYGET,
                             &none, &result, nullptr, nullptr);
        if (example.smartTagInterface) {
            EXPECT_EQ(status, S_OK) << example.what;
            EXPECT_EQ(result.vt, VT_I4) << example.what;
            EXPECT_EQ(result.lVal, 1) << example.what;
        } else {
            EXPECT_EQ(status, DISP_E_MEMBERNOTFOUND) << example.what;
        }
        VariantClear(&result);
    }
}

// The name cache looks every name up as a member, spelt exactly; any name it lacks sends the
// whole request to the type information, which reads the names after the first as the
// member's parameters.
TEST_F(LateBound, ExactNamesComeFromTheCacheOthersFromTheTypeInformation) {
    ASSERT_TRUE(dll_);
    struct NamesCase {
        std::vector<std::wstring> names;
        HRESULT expected;
        std::vector<DISPID> ids;
    };
    const NamesCase cases[] = {
        {{L"SmartTagName", L"SmartTagCount"}, S_OK, {kSmartTagName, kSmartTagCount}},
        {{L"SmartTagName", L"SmartTagID"}, S_OK, {kSmartTagName, 0}},
        {{L"smarttagname", L"smarttagid"}, S_OK, {kSmartTagName, 0}},
        {{L"smarttagname", L"SmartTagCount"}, DISP_E_UNKNOWNNAME, {kSmartTagName, DISPID_UNKNOWN}},
        {{L"NoSuchMember"}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
    };
    for (const CLSID& classId : {__uuidof(STRecognizer), __uuidof(STAction)}) {
        const ComPtr<IDispatch> dispatch =
            DispatchOf(dll_, {"IDispatch", classId, IID_IDispatch, true});
        ASSERT_TRUE(dispatch);
        for (const NamesCase& example : cases) {
            std::vector<std::wstring> names = example.names;
            std::vector<LPOLESTR> pointers;
            for (std::wstring& name : names) pointers.push_back(name.data());
            std::vector<DISPID> ids(names.size(), 12345);
            EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, pointers.data(),
                                              static_cast<UINT>(pointers.size()), 0, ids.data()),
                      example.expected)
                << names.front();
            EXPECT_EQ(ids, example.ids) << names.front();
        }
    }
}

TEST_F(LateBound, OwnInterfacesAreDescribedOnlyInTheLibrarysLocale) {
    ASSERT_TRUE(dll_);
    for (const DispatchCase& example : AllDispatchInterfaces()) {
        const ComPtr<IDispatch> dispatch = DispatchOf(dll_, example);
        ASSERT_TRUE(dispatch) << example.what;
        for (LCID locale : {LCID{0x415}, LCID{0}}) {
            ComPtr<ITypeInfo> info;
            EXPECT_EQ(dispatch->GetTypeInfo(0, locale, info.put()),
                      example.smartTagInterface ? S_OK : kLibraryNotRegistered)
                << example.what << " " << locale;
        }
    }
}

// A separate program state: the libraries unregistered first, then registered again.
TEST(LateBoundUnregistered, FailsUntilTheTypeLibraryIsRegisteredThenLoadsIt) {
    const test::ComApartment apartment;
    UnregisterTypeLibraries();
    const test::VistrelDll dll;
    ASSERT_TRUE(dll);
    const ComPtr<IDispatch> dispatch =
        DispatchOf(dll, {"IDispatch", __uuidof(STRecognizer), IID_IDispatch, true});
    ASSERT_TRUE(dispatch);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(dispatch->GetTypeInfo(0, 0, info.put()), kLibraryNotRegistered);
    EXPECT_FALSE(info);
    std::wstring name = L"SmartTagCount";
    LPOLESTR names[] = {name.data()};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), kLibraryNotRegistered);
    RegisterTypeLibraryFile(PathBesideProgram(L"smarttag_host.tlb"));
    RegisterTypeLibraryFile(PathBesideProgram(L"Vistrel.dll"));
    EXPECT_EQ(dispatch->GetTypeInfo(0, 0, info.put()), S_OK);
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, kSmartTagCount);
}

}  // namespace
}  // namespace vistrel
