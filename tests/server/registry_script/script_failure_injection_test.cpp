// One registry call after another is made to fail; the run must answer that call's error when
// the walk looks at it, and leave the registry as the walks promise.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/server/registry_script/class_script.h"
#include "tests/server/registry_script/script_runner.h"

namespace vistrel::test {
namespace {

constexpr RegistryError kInjectedError = 1234;
constexpr ScriptStatus kInjectedStatus = static_cast<ScriptStatus>(0x800704D2u);

// Registering kClassScript on an empty registry makes these calls (worked out by hand from the
// walk): the HKCR block is calls 1-36, of which call 13 creates the NoRemove key CLSID; the
// HKCU block is calls 37-49, of which 39 creates Software and 42 Tags.
constexpr int kRegisterCallCount = 49;
constexpr int kFirstHkcuCall = 37;

std::vector<std::string> Without(std::vector<std::string> lines, const std::string& prefix) {
    std::erase_if(lines, [&](const std::string& line) { return line.starts_with(prefix); });
    return lines;
}

TEST(FailureInjectionTest, TheSuccessfulRegistrationMakesTheCallsCounted) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
    EXPECT_EQ(registry.CallCount(), kRegisterCallCount);
}

TEST(FailureInjectionTest, RegisteringAnswersTheFailedCallsErrorAndTakesItsBlockAway) {
    for (int failed = 1; failed <= kRegisterCallCount; ++failed) {
        SCOPED_TRACE(failed);
        InMemoryRegistry registry;
        registry.FailCall(failed, kInjectedError);
        const ScriptStatus status = Register(registry, kClassScript);
        const RegistryCall call = registry.Calls().at(static_cast<std::size_t>(failed - 1));
        // On an empty registry only a failed create or write is an error: a failed open is
        // followed by a create, a failed close or ForceRemove deletion is not looked at.
        const bool looked = call == RegistryCall::Create || call == RegistryCall::SetValue;
        if (!looked) {
            EXPECT_EQ(status, kScriptSucceeded);
            EXPECT_EQ(registry.Dump(), ClassScriptRegistered());
            continue;
        }
        EXPECT_EQ(status, kInjectedStatus);
        std::vector<std::string> expected;
        if (failed < kFirstHkcuCall) {
            if (failed > 13) expected.push_back("HKCR\\CLSID");
        } else {
            expected = Without(ClassScriptRegistered(), "HKCU");
            if (failed > 39) expected.push_back("HKCU\\Software");
            if (failed > 42) expected.push_back("HKCU\\Software\\Tags");
        }
        EXPECT_EQ(registry.Dump(), expected);
        EXPECT_EQ(registry.OpenHandleCount(), 0u);

        EXPECT_EQ(Register(registry, kClassScript), kScriptSucceeded);
        EXPECT_EQ(registry.Dump(), ClassScriptRegistered());
    }
}

TEST(FailureInjectionTest, UnregisteringAnswersTheFailedCallsErrorAndCanBeRepeated) {
    InMemoryRegistry counting;
    ASSERT_EQ(Register(counting, kClassScript), kScriptSucceeded);
    const int registerCalls = counting.CallCount();
    ASSERT_EQ(Unregister(counting, kClassScript), kScriptSucceeded);
    const int unregisterCalls = counting.CallCount() - registerCalls;
    ASSERT_GT(unregisterCalls, 20);

    for (int failed = 1; failed <= unregisterCalls; ++failed) {
        SCOPED_TRACE(failed);
        InMemoryRegistry registry;
        ASSERT_EQ(Register(registry, kClassScript), kScriptSucceeded);
        const int before = registry.CallCount();
        registry.FailCall(before + failed, kInjectedError);
        const ScriptStatus status = Unregister(registry, kClassScript);
        const auto& calls = registry.Calls();
        const auto at = static_cast<std::size_t>(before + failed - 1);
        // The handle opened only to delete a value is closed without looking at the answer.
        if (calls.at(at) == RegistryCall::Close && calls.at(at - 1) == RegistryCall::DeleteValue) {
            EXPECT_EQ(status, kScriptSucceeded);
            EXPECT_EQ(registry.Dump(), ClassScriptKeptKeys());
            continue;
        }
        EXPECT_EQ(status, kInjectedStatus);
        const auto state = registry.Dump();
        const auto registered = ClassScriptRegistered();
        EXPECT_TRUE(
            std::includes(registered.begin(), registered.end(), state.begin(), state.end()));
        EXPECT_EQ(Unregister(registry, kClassScript), kScriptSucceeded);
        EXPECT_EQ(registry.Dump(), ClassScriptKeptKeys());
    }
}

}  // namespace
}  // namespace vistrel::test
