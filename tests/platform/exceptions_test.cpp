#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/fake_error_info.h"

namespace vistrel {
namespace {

using test::CountedErrorInfo;

TEST(ComErrorTest, CopyAddsAReferenceAndDestructionReleasesIt) {
    CountedErrorInfo info;
    {
        _com_error error(E_FAIL, ComPtr<IErrorInfo>::Copy(&info));
        EXPECT_EQ(info.references, 2u);
        {
            const _com_error copy(error);
            EXPECT_EQ(info.references, 3u);
            EXPECT_EQ(copy.ErrorInfo(), &info);
            EXPECT_EQ(copy.Error(), E_FAIL);
        }
        EXPECT_EQ(info.references, 2u);
        _com_error assigned(E_POINTER);
        assigned = error;
        EXPECT_EQ(info.references, 3u);
        EXPECT_EQ(assigned.Error(), E_FAIL);
    }
    EXPECT_EQ(info.references, 1u);
}

TEST(ComErrorTest, MessageTextIsTheSystemsAndEachCopyOwnsItsOwn) {
    const _com_error error(E_ACCESSDENIED);
    const wchar_t* message = error.ErrorMessage();
    ASSERT_NE(message, nullptr);
    EXPECT_FALSE(std::wstring(message).empty());
    EXPECT_EQ(error.ErrorMessage(), message);
    const _com_error copy(error);
    ASSERT_NE(copy.ErrorMessage(), nullptr);
    EXPECT_NE(copy.ErrorMessage(), message);
    EXPECT_EQ(std::wstring(copy.ErrorMessage()), message);
}

}  // namespace
}  // namespace vistrel
