// Two host threads, each in its own single-threaded apartment, asking the freshly loaded library
// for the same class objects at the same moment and making instances side by side.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "tests/server/vistrel_dll.h"

namespace vistrel {
namespace {

constexpr int kLoads = 20;
constexpr int kInstancesPerClass = 1000;

const CLSID* const kClasses[] = {&__uuidof(STAction), &__uuidof(STRecognizer)};
constexpr int kClassCount = 2;

// Holds both threads until both are ready, then lets them go together; the threads spin rather
// than wait on an event, so that neither gets a head start from the scheduler's wake-up.
struct StartingGate {
    std::atomic<int> ready{0};
    std::atomic<bool> open{false};

    void Arrive() {
        ready.fetch_add(1);
        while (!open.load()) YieldProcessor();
    }
};

struct ThreadRun {
    const test::VistrelDll* dll = nullptr;
    StartingGate* gate = nullptr;
    // The class objects' identities as this thread got them, in the order of kClasses.
    IUnknown* identities[kClassCount] = {};
    int failedCalls = 0;
    int madeInstances = 0;
};

DWORD WINAPI RunHostThread(void* parameter) {
    auto& run = *static_cast<ThreadRun*>(parameter);
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(apartment)) ++run.failedCalls;
    run.gate->Arrive();
    {
        ComPtr<IClassFactory> factories[kClassCount];
        for (int i = 0; i < kClassCount; ++i) {
            if (run.dll->GetClassObject(*kClasses[i], IID_IClassFactory, factories[i].put_void()) !=
                S_OK) {
                ++run.failedCalls;
                continue;
            }
            ComPtr<IUnknown> identity;
            if (factories[i]->QueryInterface(IID_IUnknown, identity.put_void()) != S_OK) {
                ++run.failedCalls;
            }
            run.identities[i] = identity.get();
        }
        std::vector<ComPtr<IUnknown>> instances;
        instances.reserve(kClassCount * kInstancesPerClass);
        for (int n = 0; n < kInstancesPerClass; ++n) {
            for (const ComPtr<IClassFactory>& factory : factories) {
                if (!factory) continue;
                ComPtr<IUnknown> instance;
                if (factory->CreateInstance(nullptr, IID_IUnknown, instance.put_void()) != S_OK) {
                    ++run.failedCalls;
                    continue;
                }
                instances.push_back(std::move(instance));
                ++run.madeInstances;
            }
        }
    }
    if (SUCCEEDED(apartment)) CoUninitialize();
    return 0;
}

TEST(ApartmentThreads, ShareOneClassObjectPerClassAndLeaveNoLock) {
    for (int load = 0; load < kLoads; ++load) {
        test::VistrelDll dll;
        ASSERT_TRUE(dll);
        StartingGate gate;
        ThreadRun runs[2];
        UniqueHandle threads[2];
        for (int t = 0; t < 2; ++t) {
            runs[t].dll = &dll;
            runs[t].gate = &gate;
            threads[t].reset(CreateThread(nullptr, 0, &RunHostThread, &runs[t], 0, nullptr));
            ASSERT_TRUE(threads[t]);
        }
        while (gate.ready.load() < 2) Sleep(0);
        gate.open.store(true);
        for (const UniqueHandle& thread : threads) {
            EXPECT_EQ(WaitForSingleObject(thread.get(), INFINITE), WAIT_OBJECT_0);
        }
        for (int t = 0; t < 2; ++t) {
            EXPECT_EQ(runs[t].failedCalls, 0) << "load " << load << ", thread " << t;
            EXPECT_EQ(runs[t].madeInstances, kClassCount * kInstancesPerClass)
                << "load " << load << ", thread " << t;
        }
        for (int i = 0; i < kClassCount; ++i) {
            EXPECT_NE(runs[0].identities[i], nullptr) << "load " << load;
            EXPECT_EQ(runs[0].identities[i], runs[1].identities[i])
                << "load " << load << ": two class objects for one class";
        }
        EXPECT_NE(runs[0].identities[0], runs[0].identities[1]) << "load " << load;
        EXPECT_EQ(dll.CanUnloadNow(), S_OK) << "load " << load;
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace vistrel
