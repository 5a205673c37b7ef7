// The library as a COM server: its exports, its class objects and whether it may be unloaded,
// through nothing but what a host that loads it by path can reach.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "tests/server/vistrel_dll.h"

namespace vistrel {
namespace {

using test::kClassNotAvailable;
using test::kNoAggregation;

#define WIDEN_TEXT(text) L##text
#define WIDEN(text) WIDEN_TEXT(text)

// The offset of a loaded module's data directory `entry` from its base; 0 when it has none.
DWORD DirectoryOffset(HMODULE module, int entry) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return nt->OptionalHeader.DataDirectory[entry].VirtualAddress;
}

// The names in the export table of a loaded module.
std::vector<std::string> ExportedNames(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    std::vector<std::string> names;
    const DWORD offset = DirectoryOffset(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (offset == 0) return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + offset);
    const auto* nameAddresses = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        names.emplace_back(reinterpret_cast<const char*>(base + nameAddresses[i]));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The DLLs a loaded module imports, upper-cased.
std::vector<std::string> ImportedLibraries(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    std::vector<std::string> names;
    const DWORD offset = DirectoryOffset(module, IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (offset == 0) return names;
    for (const auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + offset);
         import->Name != 0; ++import) {
        std::string name(reinterpret_cast<const char*>(base + import->Name));
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        names.push_back(name);
    }
    return names;
}

class VistrelServer : public ::testing::Test {
protected:
    test::ComApartment apartment_;
    test::VistrelDll dll_;
};

TEST_F(VistrelServer, ExportsExactlyTheFourEntryPointsByName) {
    ASSERT_TRUE(dll_);
    const std::vector<std::string> expected = {"DllCanUnloadNow", "DllGetClassObject",
                                               "DllRegisterServer", "DllUnregisterServer"};
    EXPECT_EQ(ExportedNames(dll_.Module()), expected);
}

// WinINet and urlmon, and the network stack under them, are loaded when a verb needs them: a
// host that loads the library for its recognizer starts none of them.
TEST_F(VistrelServer, ImportsNoNetworkLibrary) {
    ASSERT_TRUE(dll_);
    const std::vector<std::string> imported = ImportedLibraries(dll_.Module());
    EXPECT_NE(std::find(imported.begin(), imported.end(), "KERNEL32.DLL"), imported.end());
    for (const char* network : {"WININET.DLL", "URLMON.DLL", "WS2_32.DLL"}) {
        EXPECT_EQ(std::find(imported.begin(), imported.end(), network), imported.end()) << network;
    }
}

TEST_F(VistrelServer, MayBeUnloadedRightAfterLoading) {
    ASSERT_TRUE(dll_);
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

TEST_F(VistrelServer, HandsOutOneClassObjectPerClassAndLocksWhileAClientHoldsIt) {
    ASSERT_TRUE(dll_);
    for (const CLSID& classId : {__uuidof(STAction), __uuidof(STRecognizer)}) {
        ComPtr<IClassFactory> first;
        ASSERT_EQ(dll_.GetClassObject(classId, IID_IClassFactory, first.put_void()), S_OK);
        EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
        ComPtr<IUnknown> second;
        ASSERT_EQ(dll_.GetClassObject(classId, IID_IUnknown, second.put_void()), S_OK);
        EXPECT_EQ(static_cast<IUnknown*>(first.get()), second.get());
        second.reset();
        EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
        first.reset();
        EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
        // Still cached: the next request gets the object that the table kept.
        ComPtr<IClassFactory> again;
        ASSERT_EQ(dll_.GetClassObject(classId, IID_IClassFactory, again.put_void()), S_OK);
        const IClassFactory* kept = again.get();
        again.reset();
        ASSERT_EQ(dll_.GetClassObject(classId, IID_IClassFactory, again.put_void()), S_OK);
        EXPECT_EQ(again.get(), kept);
    }
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

TEST_F(VistrelServer, TheTwoClassesHaveDifferentClassObjects) {
    ASSERT_TRUE(dll_);
    const ComPtr<IClassFactory> action = dll_.ClassFactory(__uuidof(STAction));
    const ComPtr<IClassFactory> recognizer = dll_.ClassFactory(__uuidof(STRecognizer));
    ASSERT_TRUE(action && recognizer);
    EXPECT_NE(action.get(), recognizer.get());
}

TEST_F(VistrelServer, ClassObjectCountsTheClientsReferencesOnly) {
    ASSERT_TRUE(dll_);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(dll_.GetClassObject(__uuidof(STRecognizer), IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory)),
              S_OK);
    // The table's reference and the client's.
    EXPECT_EQ(factory->AddRef(), 3u);
    EXPECT_EQ(factory->Release(), 2u);
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->Release(), 1u);
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

TEST_F(VistrelServer, LivePlainAndAggregatedInstancesKeepTheLibraryLoaded) {
    ASSERT_TRUE(dll_);
    for (const CLSID& classId : {__uuidof(STAction), __uuidof(STRecognizer)}) {
        ComPtr<IClassFactory> factory = dll_.ClassFactory(classId);
        ASSERT_TRUE(factory);
        ComPtr<IUnknown> plain;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, plain.put_void()), S_OK);
        // Any non-null outer unknown will do: the inner unknown is asked nothing of it here.
        IUnknown* outer = factory.get();
        ComPtr<IUnknown> aggregated;
        ASSERT_EQ(factory->CreateInstance(outer, IID_IUnknown, aggregated.put_void()), S_OK);
        factory.reset();
        EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
        plain.reset();
        EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
        aggregated.reset();
        EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
    }
}

TEST_F(VistrelServer, LockServerHoldsTheLibraryUntilMatched) {
    ASSERT_TRUE(dll_);
    ComPtr<IClassFactory> factory = dll_.ClassFactory(__uuidof(STAction));
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    factory = dll_.ClassFactory(__uuidof(STAction));
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    factory = dll_.ClassFactory(__uuidof(STAction));
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

TEST_F(VistrelServer, ClassObjectOffersOnlyIUnknownAndIClassFactory) {
    ASSERT_TRUE(dll_);
    const ComPtr<IClassFactory> factory = dll_.ClassFactory(__uuidof(STRecognizer));
    ASSERT_TRUE(factory);
    for (const IID& offered : {IID_IUnknown, IID_IClassFactory}) {
        ComPtr<IUnknown> answer;
        EXPECT_EQ(factory->QueryInterface(offered, answer.put_void()), S_OK);
        EXPECT_EQ(answer.get(), static_cast<IUnknown*>(factory.get()));
    }
    void* answer = &answer;
    EXPECT_EQ(factory->QueryInterface(IID_IDispatch, &answer), E_NOINTERFACE);
    EXPECT_EQ(answer, nullptr);
    EXPECT_EQ(factory->QueryInterface(IID_IClassFactory, nullptr), E_POINTER);
}

struct ClassObjectFailure {
    const char* what;
    CLSID classId;
    IID interfaceId;
    HRESULT expected;
};

TEST_F(VistrelServer, RefusesWhatItDoesNotServe) {
    ASSERT_TRUE(dll_);
    const ClassObjectFailure failures[] = {
        {"unknown class", IID_IDispatch, IID_IClassFactory, kClassNotAvailable},
        {"the type library's id", LIBID_VistrelLib, IID_IClassFactory, kClassNotAvailable},
        {"the identity interface's id", __uuidof(ISTRecognizer), IID_IUnknown, kClassNotAvailable},
        {"recognizer asked for IDispatch", __uuidof(STRecognizer), IID_IDispatch, E_NOINTERFACE},
        {"action asked for its class interface", __uuidof(STAction), __uuidof(ISTAction),
         E_NOINTERFACE},
    };
    for (const ClassObjectFailure& failure : failures) {
        void* out = &out;
        EXPECT_EQ(dll_.GetClassObject(failure.classId, failure.interfaceId, &out), failure.expected)
            << failure.what;
        EXPECT_EQ(out, nullptr) << failure.what;
        EXPECT_EQ(dll_.CanUnloadNow(), S_OK) << failure.what;
    }
    EXPECT_EQ(dll_.GetClassObject(__uuidof(STRecognizer), IID_IClassFactory, nullptr), E_POINTER);
}

struct CreationFailure {
    const char* what;
    bool aggregated;
    IID interfaceId;
    HRESULT expected;
};

TEST_F(VistrelServer, CreateInstanceFailuresLeaveNothingLocked) {
    ASSERT_TRUE(dll_);
    const CreationFailure failures[] = {
        {"aggregated, asked for IDispatch", true, IID_IDispatch, kNoAggregation},
        {"aggregated, asked for the smart tag interface", true, __uuidof(ISmartTagAction),
         kNoAggregation},
        {"an interface that no class offers", false, IID_IClassFactory, E_NOINTERFACE},
        {"a type library's id", false, LIBID_VistrelLib, E_NOINTERFACE},
    };
    for (const CLSID& classId : {__uuidof(STAction), __uuidof(STRecognizer)}) {
        ComPtr<IClassFactory> factory = dll_.ClassFactory(classId);
        ASSERT_TRUE(factory);
        for (const CreationFailure& failure : failures) {
            void* out = &out;
            IUnknown* outer = failure.aggregated ? factory.get() : nullptr;
            EXPECT_EQ(factory->CreateInstance(outer, failure.interfaceId, &out), failure.expected)
                << failure.what;
            EXPECT_EQ(out, nullptr) << failure.what;
        }
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
        factory.reset();
        EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
    }
}

// The outer object of an aggregate: it counts the references that the inner object's interfaces
// pass on to it and answers every query with itself.
class RecordingOuter final : public IUnknown {
public:
    LONG references = 0;
    int queries = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        ++queries;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
};

TEST_F(VistrelServer, AggregatedInstanceDelegatesAllButItsInnerUnknown) {
    ASSERT_TRUE(dll_);
    for (const CLSID& classId : {__uuidof(STAction), __uuidof(STRecognizer)}) {
        RecordingOuter outer;
        ComPtr<IUnknown> inner;
        {
            const ComPtr<IClassFactory> factory = dll_.ClassFactory(classId);
            ASSERT_TRUE(factory);
            ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, inner.put_void()), S_OK);
        }
        EXPECT_EQ(outer.references, 0);
        ComPtr<IUnknown> innerAgain;
        ASSERT_EQ(inner->QueryInterface(IID_IUnknown, innerAgain.put_void()), S_OK);
        EXPECT_EQ(innerAgain.get(), inner.get());
        EXPECT_EQ(outer.references, 0);

        IDispatch* dispatch = nullptr;
        ASSERT_EQ(inner->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
        EXPECT_EQ(outer.references, 1);
        EXPECT_EQ(dispatch->AddRef(), 2u);
        EXPECT_EQ(dispatch->Release(), 1u);
        IUnknown* identity = nullptr;
        ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)),
                  S_OK);
        EXPECT_EQ(identity, &outer);
        EXPECT_EQ(outer.queries, 1);
        identity->Release();
        dispatch->Release();
        EXPECT_EQ(outer.references, 0);

        innerAgain.reset();
        EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
        inner.reset();
        EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
    }
}

// A string of the file's version resource in the language block `block` ("041504B0").
std::wstring VersionString(const std::vector<BYTE>& resource, const wchar_t* block,
                           const wchar_t* name) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource.data(), path.c_str(), &value, &length) || length == 0) return {};
    return static_cast<const wchar_t*>(value);
}

TEST_F(VistrelServer, FilePropertiesShowTheProductInPolishAndEnglishWithTheProjectVersion) {
    ASSERT_TRUE(dll_);
    const std::wstring path = test::PathBesideProgram(L"Vistrel.dll");
    DWORD ignored = 0;
    std::vector<BYTE> resource(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(resource.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(resource.size()), resource.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(resource.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(VISTREL_PROJECT_VERSION_MAJOR << 16 |
                                                         VISTREL_PROJECT_VERSION_MINOR));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(VISTREL_PROJECT_VERSION_PATCH << 16));
    EXPECT_EQ(VersionString(resource, L"041504B0", L"ProductName"),
              L"Vistrel \u2013 odsetki za zw\u0142ok\u0119");
    EXPECT_EQ(VersionString(resource, L"040904B0", L"ProductName"),
              L"Vistrel \u2013 late-payment interest");
    EXPECT_EQ(VersionString(resource, L"041504B0", L"FileVersion"), WIDEN(VISTREL_PROJECT_VERSION));
}

DWORD WINAPI EndAtOnce(void*) { return 0; }

TEST_F(VistrelServer, ThreadsComingAndGoingChangeNothing) {
    ASSERT_TRUE(dll_);
    const UniqueHandle thread(CreateThread(nullptr, 0, &EndAtOnce, nullptr, 0, nullptr));
    ASSERT_TRUE(thread);
    EXPECT_EQ(WaitForSingleObject(thread.get(), INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
    EXPECT_TRUE(dll_.Create<ISmartTagRecognizer>(__uuidof(STRecognizer)));
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace vistrel
