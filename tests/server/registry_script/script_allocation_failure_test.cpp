// The interpreter when one of its own buffers cannot be had: the run answers the error, what the
// block wrote before is taken away, and the next run writes everything.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/server/registry_script/script_runner.h"
#include "tests/support/refused_allocation.h"

namespace vistrel::test {
namespace {

// %MODULE% (8 characters) stands for a path of 37, so the replaced text outgrows the
// script's length once: its first buffer and one doubling.
constexpr std::u16string_view kScript =
    u"HKCU\r\n"
    u"{\r\n"
    u"\tNoRemove Software\r\n"
    u"\t{\r\n"
    u"\t\tForceRemove Proba = s '%MODULE%'\r\n"
    u"\t\t{\r\n"
    u"\t\t\tval Lista = m 'jeden\\0dwa'\r\n"
    u"\t\t\tval Dane = b '0A1b'\r\n"
    u"\t\t}\r\n"
    u"\t}\r\n"
    u"}\r\n";

// The NoRemove key stays when the block is taken away.
const std::vector<std::string> kAfterRollBack = {"HKCU\\Software"};

struct RefusedCase {
    const char* purpose;
    int skip;
    ScriptStatus expected;
    std::vector<std::string> left;
};

TEST(ScriptAllocationFailureTest, AnswersTheErrorLeavesNothingOfTheBlockAndTheNextRunWrites) {
    const RefusedCase cases[] = {
        {"replaced text", 0, kScriptOutOfMemory, {}},
        {"replaced text", 1, kScriptOutOfMemory, {}},
        {"multi-string value", 0, kScriptOutOfMemory, kAfterRollBack},
        // A binary value without its buffer fails as one of odd length does.
        {"binary value", 0, kScriptFailed, kAfterRollBack},
    };
    for (const RefusedCase& example : cases) {
        SCOPED_TRACE(std::string(example.purpose) + " #" + std::to_string(example.skip + 1));
        InMemoryRegistry registry;
        {
            const RefusedAllocation refused(example.purpose, 1, example.skip);
            EXPECT_EQ(Register(registry, kScript), example.expected);
            EXPECT_EQ(refused.Refused(), 1);
        }
        EXPECT_EQ(registry.Dump(), example.left);
        EXPECT_EQ(registry.OpenHandleCount(), 0u);

        ASSERT_EQ(Register(registry, kScript), kScriptSucceeded);
        EXPECT_EQ(registry.ValueAt(u"HKCU\\Software\\Proba", u""), StringValue(kTestModulePath));
        const StoredValue list{RegistryValueType::MultiString,
                               StringBytes(std::u16string(u"jeden\0dwa\0", 10))};
        EXPECT_EQ(registry.ValueAt(u"HKCU\\Software\\Proba", u"Lista"), list);
        const StoredValue data{RegistryValueType::Binary, {0x0A, 0x1B}};
        EXPECT_EQ(registry.ValueAt(u"HKCU\\Software\\Proba", u"Dane"), data);
    }
}

TEST(ScriptAllocationFailureTest, UnregisteringWithoutTheReplacedTextDeletesNothing) {
    InMemoryRegistry registry;
    ASSERT_EQ(Register(registry, kScript), kScriptSucceeded);
    const std::vector<std::string> registered = registry.Dump();
    {
        const RefusedAllocation refused("replaced text");
        EXPECT_EQ(Unregister(registry, kScript), kScriptOutOfMemory);
    }
    EXPECT_EQ(registry.Dump(), registered);
    EXPECT_EQ(Unregister(registry, kScript), kScriptSucceeded);
    EXPECT_EQ(registry.Dump(), kAfterRollBack);
}

TEST(ScriptAllocationFailureTest, AReplacementWithoutItsCopyIsNotAddedAndTheNextOneIs) {
    ReplacementMap map;
    {
        const RefusedAllocation refused("replacement copy");
        EXPECT_EQ(map.Add(u"MODULE", u"C:\\a.dll"), kScriptOutOfMemory);
        EXPECT_EQ(refused.Refused(), 1);
    }
    EXPECT_FALSE(map.Find(u"module"));
    ASSERT_EQ(map.Add(u"MODULE", u"C:\\b.dll"), kScriptSucceeded);
    EXPECT_EQ(map.Find(u"module"), u"C:\\b.dll");
}

}  // namespace
}  // namespace vistrel::test
