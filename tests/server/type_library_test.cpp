#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/unique_resource.h"
#include "tests/support/module_path.h"

#include <initguid.h>  // after the system headers: defines the LIBIDs of the headers below
#include "smarttag/vistrel.h"
#include "smarttag/smarttag_host.h"

namespace vistrel {
namespace {

using test::PathBesideProgram;

constexpr GUID kSmartTagLibraryId = {
    0x9B92EB61, 0xCBC1, 0x11D3, {0x8C, 0x2D, 0x00, 0xA0, 0xCC, 0x37, 0xB5, 0x91}};
constexpr SYSKIND kSystemKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

ComPtr<ITypeLib> LoadLibraryFile(const wchar_t* fileName) {
    ComPtr<ITypeLib> library;
    const HRESULT status = LoadTypeLib(PathBesideProgram(fileName).c_str(), library.put());
    EXPECT_EQ(status, S_OK);
    return library;
}

std::wstring NameOf(ITypeInfo* info, MEMBERID member) {
    BSTR name = nullptr;
    BSTR help = nullptr;
    info->GetDocumentation(member, &name, &help, nullptr, nullptr);
    const UniqueBstr ownedName(name);
    const UniqueBstr ownedHelp(help);
    return name != nullptr ? name : L"";
}

std::wstring HelpOf(ITypeInfo* info) {
    BSTR help = nullptr;
    info->GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr);
    const UniqueBstr owned(help);
    return help != nullptr ? help : L"";
}

// Type attributes, released when the copy goes.
struct TypeFacts {
    GUID guid;
    TYPEKIND kind;
    WORD flags;
    WORD functions;
    WORD implementedTypes;
};

TypeFacts FactsOf(ITypeInfo* info) {
    TYPEATTR* attributes = nullptr;
    EXPECT_EQ(info->GetTypeAttr(&attributes), S_OK);
    if (attributes == nullptr) return {};
    const TypeFacts facts{attributes->guid, attributes->typekind, attributes->wTypeFlags,
                          attributes->cFuncs, attributes->cImplTypes};
    info->ReleaseTypeAttr(attributes);
    return facts;
}

// The vtable half of a dual interface, behind the TKIND_DISPATCH half that the library lists.
ComPtr<ITypeInfo> InterfaceHalfOf(ITypeInfo* dispatchHalf) {
    ComPtr<ITypeInfo> interfaceHalf;
    HREFTYPE reference = 0;
    EXPECT_EQ(dispatchHalf->GetRefTypeOfImplType(-1, &reference), S_OK);
    EXPECT_EQ(dispatchHalf->GetRefTypeInfo(reference, interfaceHalf.put()), S_OK);
    return interfaceHalf;
}

// Wine reports the TKIND_DISPATCH half of a dual interface without TYPEFLAG_FOLEAUTOMATION,
// which the file holds there too; the interface half reports it.
WORD DispatchHalfFlags(WORD flags) { return flags & ~TYPEFLAG_FOLEAUTOMATION; }

TEST(VistrelTypeLibrary, IsEmbeddedAsTypelib1WithItsIdentity) {
    const ComPtr<ITypeLib> library = LoadLibraryFile(L"vistrel_resources.dll");
    ASSERT_TRUE(library);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, LIBID_VistrelLib);
    EXPECT_EQ(attributes->guid,
              (GUID{0x8E13B4CA, 0x49CA, 0x4389, {0x83, 0xB5, 0x30, 0xB9, 0xDF, 0x03, 0xA8, 0x5C}}));
    EXPECT_EQ(attributes->lcid, 0x409u);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    EXPECT_EQ(attributes->syskind, kSystemKind);
    library->ReleaseTLibAttr(attributes);

    BSTR name = nullptr;
    BSTR help = nullptr;
    ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    const UniqueBstr ownedName(name);
    const UniqueBstr ownedHelp(help);
    EXPECT_EQ(std::wstring(name), L"VistrelLib");
    EXPECT_EQ(std::wstring(help), L"Vistrel 1.0 Type Library");
}

struct ExpectedType {
    const wchar_t* name;
    TYPEKIND kind;
    GUID guid;
    const wchar_t* help;
    WORD flags;
};

TEST(VistrelTypeLibrary, DescribesTheTwoClassesAndTheirInterfacesInOrder) {
    constexpr WORD kDualFlags =
        TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
    const ExpectedType expected[] = {
        {L"STRecognizer", TKIND_COCLASS, __uuidof(STRecognizer), L"STRecognizer Class",
         TYPEFLAG_FCANCREATE},
        {L"ISTRecognizer", TKIND_DISPATCH, __uuidof(ISTRecognizer), L"ISTRecognizer Interface",
         kDualFlags},
        {L"STAction", TKIND_COCLASS, __uuidof(STAction), L"STAction Class", TYPEFLAG_FCANCREATE},
        {L"ISTAction", TKIND_DISPATCH, __uuidof(ISTAction), L"ISTAction Interface", kDualFlags},
    };
    const ComPtr<ITypeLib> library = LoadLibraryFile(L"vistrel_resources.dll");
    ASSERT_TRUE(library);
    ASSERT_EQ(library->GetTypeInfoCount(), std::size(expected));
    for (UINT index = 0; index < std::size(expected); ++index) {
        SCOPED_TRACE(::testing::PrintToString(index));
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(library->GetTypeInfo(index, info.put()), S_OK);
        const TypeFacts facts = FactsOf(info.get());
        EXPECT_EQ(NameOf(info.get(), MEMBERID_NIL), expected[index].name);
        EXPECT_EQ(facts.kind, expected[index].kind);
        EXPECT_EQ(facts.guid, expected[index].guid);
        EXPECT_EQ(HelpOf(info.get()), expected[index].help);
        if (facts.kind != TKIND_DISPATCH) {
            EXPECT_EQ(facts.flags, expected[index].flags);
            continue;
        }
        EXPECT_EQ(DispatchHalfFlags(facts.flags), DispatchHalfFlags(expected[index].flags));
        const ComPtr<ITypeInfo> interfaceHalf = InterfaceHalfOf(info.get());
        ASSERT_TRUE(interfaceHalf);
        const TypeFacts interfaceFacts = FactsOf(interfaceHalf.get());
        EXPECT_EQ(interfaceFacts.kind, TKIND_INTERFACE);
        EXPECT_EQ(interfaceFacts.flags, expected[index].flags);
        EXPECT_EQ(interfaceFacts.functions, 0) << "no members of its own";
    }
}

TEST(VistrelTypeLibrary, EachClassHasItsOwnInterfaceAsDefault) {
    const ComPtr<ITypeLib> library = LoadLibraryFile(L"vistrel_resources.dll");
    ASSERT_TRUE(library);
    const std::pair<GUID, GUID> classes[] = {
        {__uuidof(STRecognizer), __uuidof(ISTRecognizer)},
        {__uuidof(STAction), __uuidof(ISTAction)},
    };
    for (const auto& [classId, interfaceId] : classes) {
        ComPtr<ITypeInfo> coclass;
        ASSERT_EQ(library->GetTypeInfoOfGuid(classId, coclass.put()), S_OK);
        ASSERT_EQ(FactsOf(coclass.get()).implementedTypes, 1);
        INT implementationFlags = 0;
        EXPECT_EQ(coclass->GetImplTypeFlags(0, &implementationFlags), S_OK);
        EXPECT_EQ(implementationFlags, IMPLTYPEFLAG_FDEFAULT);
        HREFTYPE reference = 0;
        ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &reference), S_OK);
        ComPtr<ITypeInfo> defaultInterface;
        ASSERT_EQ(coclass->GetRefTypeInfo(reference, defaultInterface.put()), S_OK);
        EXPECT_EQ(FactsOf(defaultInterface.get()).guid, interfaceId);
    }
}

struct ExpectedMember {
    const wchar_t* name;
    MEMBERID dispid;
    INVOKEKIND kind;
    SHORT parameters;  // with the [out, retval] one
};

struct ExpectedInterface {
    const char* label;
    GUID interfaceId;
    std::vector<ExpectedMember> members;  // in vtable order after IDispatch
};

void PrintTo(const ExpectedInterface& expected, std::ostream* out) { *out << expected.label; }

class HostInterfaces : public ::testing::TestWithParam<ExpectedInterface> {};

// The vtable half of each dual interface: members in slot order after IDispatch's seven.
TEST_P(HostInterfaces, MatchTheHostsSlotsAndDispids) {
    const ComPtr<ITypeLib> library = LoadLibraryFile(L"smarttag_host.tlb");
    ASSERT_TRUE(library);
    ComPtr<ITypeInfo> dispatchInfo;
    ASSERT_EQ(library->GetTypeInfoOfGuid(GetParam().interfaceId, dispatchInfo.put()), S_OK);
    constexpr WORD kHostDualFlags =
        TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
    const TypeFacts dispatchFacts = FactsOf(dispatchInfo.get());
    EXPECT_EQ(dispatchFacts.kind, TKIND_DISPATCH);
    EXPECT_EQ(DispatchHalfFlags(dispatchFacts.flags), DispatchHalfFlags(kHostDualFlags));
    const ComPtr<ITypeInfo> info = InterfaceHalfOf(dispatchInfo.get());
    ASSERT_TRUE(info);
    EXPECT_EQ(FactsOf(info.get()).flags, kHostDualFlags);

    const std::vector<ExpectedMember>& members = GetParam().members;
    ASSERT_EQ(FactsOf(info.get()).functions, members.size());
    for (UINT index = 0; index < members.size(); ++index) {
        SCOPED_TRACE(::testing::PrintToString(index));
        FUNCDESC* function = nullptr;
        ASSERT_EQ(info->GetFuncDesc(index, &function), S_OK);
        EXPECT_EQ(NameOf(info.get(), function->memid), members[index].name);
        EXPECT_EQ(function->memid, members[index].dispid);
        EXPECT_EQ(function->invkind, members[index].kind);
        EXPECT_EQ(function->cParams, members[index].parameters);
        EXPECT_EQ(function->oVft, static_cast<SHORT>((7 + index) * sizeof(void*)));
        info->ReleaseFuncDesc(function);
    }
}

INSTANTIATE_TEST_SUITE_P(
    SmartTagLibrary, HostInterfaces,
    ::testing::Values(ExpectedInterface{"ISmartTagRecognizer",
                                        __uuidof(ISmartTagRecognizer),
                                        {{L"ProgId", 1, INVOKE_PROPERTYGET, 1},
                                         {L"Name", 2, INVOKE_PROPERTYGET, 2},
                                         {L"Desc", 3, INVOKE_PROPERTYGET, 2},
                                         {L"SmartTagCount", 4, INVOKE_PROPERTYGET, 1},
                                         {L"SmartTagName", 5, INVOKE_PROPERTYGET, 2},
                                         {L"SmartTagDownloadURL", 6, INVOKE_PROPERTYGET, 2},
                                         {L"Recognize", 7, INVOKE_FUNC, 4}}},
                      ExpectedInterface{"ISmartTagRecognizerSite",
                                        __uuidof(ISmartTagRecognizerSite),
                                        {{L"GetNewPropertyBag", 1, INVOKE_FUNC, 1},
                                         {L"CommitSmartTag", 2, INVOKE_FUNC, 4}}},
                      ExpectedInterface{"ISmartTagProperties",
                                        __uuidof(ISmartTagProperties),
                                        {{L"Read", 1, INVOKE_PROPERTYGET, 2},
                                         {L"Write", 2, INVOKE_FUNC, 2},
                                         {L"Count", 3, INVOKE_PROPERTYGET, 1},
                                         {L"KeyFromIndex", 4, INVOKE_PROPERTYGET, 2},
                                         {L"ValueFromIndex", 5, INVOKE_PROPERTYGET, 2}}},
                      ExpectedInterface{"ISmartTagAction",
                                        __uuidof(ISmartTagAction),
                                        {{L"ProgId", 1, INVOKE_PROPERTYGET, 1},
                                         {L"Name", 2, INVOKE_PROPERTYGET, 2},
                                         {L"Desc", 3, INVOKE_PROPERTYGET, 2},
                                         {L"SmartTagCount", 4, INVOKE_PROPERTYGET, 1},
                                         {L"SmartTagName", 5, INVOKE_PROPERTYGET, 2},
                                         {L"SmartTagCaption", 6, INVOKE_PROPERTYGET, 3},
                                         {L"VerbCount", 7, INVOKE_PROPERTYGET, 2},
                                         {L"VerbID", 8, INVOKE_PROPERTYGET, 3},
                                         {L"VerbCaptionFromID", 9, INVOKE_PROPERTYGET, 4},
                                         {L"VerbNameFromID", 10, INVOKE_PROPERTYGET, 2},
                                         {L"InvokeVerb", 11, INVOKE_FUNC, 6}}}));

TEST(HostTypeLibrary, HasTheHostsIdentity) {
    const ComPtr<ITypeLib> library = LoadLibraryFile(L"smarttag_host.tlb");
    ASSERT_TRUE(library);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, kSmartTagLibraryId);
    EXPECT_EQ(attributes->guid, LIBID_SmartTagLib);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    library->ReleaseTLibAttr(attributes);
}

}  // namespace
}  // namespace vistrel
