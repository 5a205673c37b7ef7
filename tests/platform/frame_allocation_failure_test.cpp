// The COM frame when the heap has no room for a clean-up node or a name cache: the exact answer,
// nothing kept, and the next call trying again.
#include "platform/server_module.h"
#include "platform/type_info_cache.h"

#include <gtest/gtest.h>

#include "platform/unique_resource.h"
#include "tests/support/refused_allocation.h"

namespace vistrel {
namespace {

using test::RefusedAllocation;

void Record(void* argument) { ++*static_cast<int*>(argument); }

TEST(FrameAllocationFailure, CleanupNodeIsOutOfMemoryAndTheNextOneIsAdded) {
    ServerModule module;
    module.Start();
    int calls = 0;
    {
        const RefusedAllocation refused("clean-up node");
        EXPECT_EQ(module.AddCleanup(&Record, &calls), E_OUTOFMEMORY);
        EXPECT_EQ(refused.Refused(), 1);
    }
    EXPECT_EQ(module.AddCleanup(&Record, &calls), S_OK);
    module.Stop();
    EXPECT_EQ(calls, 1);
}

// The OLE Automation type library, registered on every system, and its IDispatch.
constexpr GUID kStdOleLibrary = {0x00020430, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

ComPtr<ITypeInfo> DispatchTypeInfo() {
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegTypeLib(kStdOleLibrary, 2, 0, 0, library.put()), S_OK);
    ComPtr<ITypeInfo> info;
    if (library) {
        EXPECT_EQ(library->GetTypeInfoOfGuid(IID_IDispatch, info.put()), S_OK);
    }
    return info;
}

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

class TypeInfoCacheFailure : public ::testing::Test {
protected:
    void SetUp() override { TheServerModule().Start(); }
    // Releases what the cache holds, as the library's unload does, while the cache still lives.
    void TearDown() override { TheServerModule().Stop(); }

    TypeInfoCache cache_{IID_IDispatch, kStdOleLibrary, 2, 0};
};

TEST_F(TypeInfoCacheFailure, WithoutACleanupNodeNothingIsCached) {
    const ComPtr<ITypeInfo> held = DispatchTypeInfo();
    ASSERT_TRUE(held);
    const ULONG references = References(held.get());
    ComPtr<ITypeInfo> info;
    {
        const RefusedAllocation refused("clean-up node");
        EXPECT_EQ(cache_.GetTypeInfo(0, info.put()), E_OUTOFMEMORY);
        EXPECT_FALSE(info);
        EXPECT_EQ(refused.Refused(), 1);
    }
    EXPECT_EQ(References(held.get()), references) << "a reference kept without its clean-up";
    ASSERT_EQ(cache_.GetTypeInfo(0, info.put()), S_OK);
    EXPECT_TRUE(info);
}

TEST_F(TypeInfoCacheFailure, WithoutANameCacheNamesAreStillFoundAndTheCacheIsBuiltLater) {
    const ComPtr<ITypeInfo> held = DispatchTypeInfo();
    ASSERT_TRUE(held);
    wchar_t name[] = L"GetTypeInfoCount";
    LPOLESTR names[] = {name};
    DISPID expected = DISPID_UNKNOWN;
    ASSERT_EQ(held->GetIDsOfNames(names, 1, &expected), S_OK);

    const RefusedAllocation refused("name cache");
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(cache_.GetIdsOfNames(names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, expected);
    EXPECT_EQ(refused.Refused(), 1);
    // The next call builds the cache, and later ones use it.
    id = DISPID_UNKNOWN;
    EXPECT_EQ(cache_.GetIdsOfNames(names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, expected);
    EXPECT_EQ(refused.Asked(), 2);
    id = DISPID_UNKNOWN;
    EXPECT_EQ(cache_.GetIdsOfNames(names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, expected);
    EXPECT_EQ(refused.Asked(), 2);
}

}  // namespace
}  // namespace vistrel
