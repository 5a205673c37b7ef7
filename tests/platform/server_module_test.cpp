#include "platform/server_module.h"

#include <gtest/gtest.h>

#include <vector>

namespace vistrel {
namespace {

TEST(ServerModule, LockAndUnlockReturnTheNewCount) {
    ServerModule module;
    module.Start();
    EXPECT_FALSE(module.InitFailed());
    EXPECT_EQ(module.LockCount(), 0);
    EXPECT_EQ(module.Lock(), 1);
    EXPECT_EQ(module.Lock(), 2);
    EXPECT_EQ(module.Unlock(), 1);
    EXPECT_EQ(module.LockCount(), 1);
    EXPECT_EQ(module.Unlock(), 0);
}

void Record(void* argument) {
    auto* call = static_cast<std::pair<std::vector<int>*, int>*>(argument);
    call->first->push_back(call->second);
}

TEST(ServerModule, RunsCleanupRoutinesLastAddedFirstOnceEach) {
    std::vector<int> order;
    std::pair<std::vector<int>*, int> calls[] = {{&order, 1}, {&order, 2}, {&order, 3}};
    ServerModule module;
    module.Start();
    for (auto& call : calls) EXPECT_EQ(module.AddCleanup(&Record, &call), S_OK);
    EXPECT_TRUE(order.empty());
    module.Stop();
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
    module.Stop();
    EXPECT_EQ(order.size(), 3u);
}

TEST(ServerModule, CleanupCannotBeAddedWithoutItsLock) {
    std::vector<int> order;
    std::pair<std::vector<int>*, int> call{&order, 1};
    ServerModule module;  // not started: its locks were never initialised
    EXPECT_TRUE(FAILED(module.AddCleanup(&Record, &call)));
    module.Stop();
    EXPECT_TRUE(order.empty());
}

}  // namespace
}  // namespace vistrel
