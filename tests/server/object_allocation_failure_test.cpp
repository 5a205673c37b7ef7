// The class table and the class objects when the heap has no room for a class object or an
// instance: out of memory, nothing cached or locked, and the next request succeeding.
#include "server/class_table.h"

#include <gtest/gtest.h>

#include "platform/server_module.h"
#include "platform/unique_resource.h"
#include "smarttag/vistrel.h"
#include "tests/support/refused_allocation.h"

namespace vistrel {
namespace {

using test::RefusedAllocation;

const CLSID* const kClasses[] = {&__uuidof(STAction), &__uuidof(STRecognizer)};

TEST(ObjectAllocationFailure, ClassObjectIsOutOfMemoryAndMadeOnTheNextRequest) {
    for (const CLSID* classId : kClasses) {
        ClassTable table;
        ASSERT_TRUE(table.Start());
        const LONG locks = TheServerModule().LockCount();
        {
            const RefusedAllocation refused("class object");
            void* out = &out;
            EXPECT_EQ(table.GetClassObject(*classId, IID_IClassFactory, &out), E_OUTOFMEMORY);
            EXPECT_EQ(out, nullptr);
            EXPECT_EQ(refused.Refused(), 1);
        }
        for (const ClassEntry& entry : table) EXPECT_EQ(entry.classObject, nullptr);
        EXPECT_EQ(TheServerModule().LockCount(), locks);

        ComPtr<IClassFactory> factory;
        ASSERT_EQ(table.GetClassObject(*classId, IID_IClassFactory, factory.put_void()), S_OK);
        ComPtr<IClassFactory> again;
        ASSERT_EQ(table.GetClassObject(*classId, IID_IClassFactory, again.put_void()), S_OK);
        EXPECT_EQ(factory.get(), again.get());
        factory.reset();
        again.reset();
        EXPECT_EQ(TheServerModule().LockCount(), locks);
        table.ReleaseClassObjects();
    }
}

struct InstanceCase {
    const char* what;
    bool aggregated;
};

// Stands in as the outer object; it is asked nothing while the instance is refused.
class IdleOuter final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

TEST(ObjectAllocationFailure, InstanceIsOutOfMemoryAndTheLockCountStays) {
    const InstanceCase cases[] = {{"plain", false}, {"aggregated", true}};
    IdleOuter outer;
    for (const CLSID* classId : kClasses) {
        ClassTable table;
        ASSERT_TRUE(table.Start());
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(table.GetClassObject(*classId, IID_IClassFactory, factory.put_void()), S_OK);
        for (const InstanceCase& example : cases) {
            IUnknown* outerUnknown = example.aggregated ? &outer : nullptr;
            const LONG locks = TheServerModule().LockCount();
            {
                const RefusedAllocation refused("instance");
                void* out = &out;
                EXPECT_EQ(factory->CreateInstance(outerUnknown, IID_IUnknown, &out), E_OUTOFMEMORY)
                    << example.what;
                EXPECT_EQ(out, nullptr) << example.what;
                EXPECT_EQ(refused.Refused(), 1) << example.what;
            }
            EXPECT_EQ(TheServerModule().LockCount(), locks) << example.what;

            ComPtr<IUnknown> instance;
            EXPECT_EQ(factory->CreateInstance(outerUnknown, IID_IUnknown, instance.put_void()),
                      S_OK)
                << example.what;
            EXPECT_EQ(TheServerModule().LockCount(), locks + 1) << example.what;
            instance.reset();
            EXPECT_EQ(TheServerModule().LockCount(), locks) << example.what;
        }
        factory.reset();
        table.ReleaseClassObjects();
    }
}

}  // namespace
}  // namespace vistrel
