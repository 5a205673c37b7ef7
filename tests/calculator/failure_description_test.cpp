// The description a user is shown for a failed call: the call's own, else the system's.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "calculator/failure_description.h"
#include "platform/unique_resource.h"

namespace vistrel {
namespace {

// Error information as a failed automation call leaves it.
ComPtr<IErrorInfo> ErrorInfoWith(const wchar_t* description) {
    ComPtr<ICreateErrorInfo> creator;
    if (FAILED(CreateErrorInfo(creator.put()))) return nullptr;
    if (description != nullptr) creator->SetDescription(const_cast<wchar_t*>(description));
    return creator.query<IErrorInfo>();
}

struct DescriptionCase {
    const char* name;
    HRESULT status;
    std::optional<const wchar_t*> errorInfoDescription;  // nullopt: no error information
    std::wstring expected;
};

// 0x8004FFFF: the last of the objects' own codes, for which the system has no text.
const DescriptionCase kCases[] = {
    {"TheCallsOwnDescriptionWithoutTheLineBreak", E_POINTER, L"Zakres jest chroniony.\r\n",
     L"Zakres jest chroniony."},
    {"NoErrorInformationAndNoSystemText", static_cast<HRESULT>(0x8004FFFFu), std::nullopt, L""},
    {"ErrorInformationWithoutDescriptionAndNoSystemText", static_cast<HRESULT>(0x8004FFFFu),
     nullptr, L""},
};

TEST(FailureDescriptionTest, TakesTheCallsDescriptionOrNothing) {
    for (const DescriptionCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ComPtr<IErrorInfo> errorInfo;
        if (c.errorInfoDescription) {
            errorInfo = ErrorInfoWith(*c.errorInfoDescription);
            ASSERT_TRUE(errorInfo);
        }
        EXPECT_EQ(FailureDescription(_com_error(c.status, errorInfo)), c.expected);
    }
}

// Without a description of the call, the system's text for the status, as FormatMessageW gives
// it, without its trailing line break.
TEST(FailureDescriptionTest, FallsBackOnTheSystemsTextForTheStatus) {
    for (const bool withErrorInfo : {false, true}) {
        SCOPED_TRACE(withErrorInfo ? "error information without description" : "none");
        ComPtr<IErrorInfo> errorInfo;
        if (withErrorInfo) errorInfo = ErrorInfoWith(L"");
        const std::wstring description = FailureDescription(_com_error(E_OUTOFMEMORY, errorInfo));

        UniqueLocalText system;
        ASSERT_NE(FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, static_cast<DWORD>(E_OUTOFMEMORY), 0,
                                 reinterpret_cast<wchar_t*>(system.put()), 0, nullptr),
                  0u);
        const std::wstring text = system.get();
        ASSERT_FALSE(description.empty());
        EXPECT_EQ(text.compare(0, description.size(), description), 0) << "a prefix of the text";
        EXPECT_NE(description.back(), L'\n');
        EXPECT_TRUE(text.substr(description.size()).find_first_not_of(L" \r\n") ==
                    std::wstring::npos)
            << "only blanks and line breaks dropped";
    }
}

}  // namespace
}  // namespace vistrel
