// The user's rate-page address setting redirects both verbs of the action: verb 2 opens the
// setting's address in the browser, verb 1 fetches the page from it. Absent, empty or not a web
// address, both verbs use the ministry's address from the string table. The choice of the
// built-in rates beside it spares verb 1 the fetch.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "tests/calculator/fake_excel_range.h"
#include "tests/server/recording_browser.h"
#include "tests/server/vistrel_dll.h"
#include "tests/support/address_setting.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/rate_page_server_client.h"

namespace vistrel {
namespace {

constexpr char kMinistryHost[] = "www.mf.gov.pl";
constexpr char kMinistryPath[] = "/podatki/odsetki_za_zwloke.shtml";
constexpr wchar_t kCaption[] = L"Radediv idudaz";
constexpr wchar_t kPageNotFetched[] =
    L"Nie uda\u0142o si\u0119 pobra\u0107 strony ze stopami odsetek.\n"
    L"Czy obliczy\u0107 odsetki wed\u0142ug st\u00f3p wbudowanych w program (ostatnia zmiana: 5 "
    L"marca "
    L"2026 r.)?";

bool RunsOnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The request line that reaches the proxy for http://host/path; Wine names the default port.
std::string ProxiedRequest(const std::string& host, const std::string& path) {
    return "GET http://" + host + (RunsOnWine() ? ":80" : "") + path + " HTTP/1.1";
}

// One state of the setting and where both verbs must then go.
struct SettingCase {
    const char* name;
    std::optional<std::wstring> stored;  // nullopt: no value at all
    std::string openedAddress;           // what verb 2 opens
    std::string requestLine;             // what verb 1 asks the server for
};

std::vector<SettingCase> SettingCases() {
    const std::string ministry = std::string("http://") + kMinistryHost + kMinistryPath;
    const std::string ministryRequest = ProxiedRequest(kMinistryHost, kMinistryPath);
    return {
        {"absent", std::nullopt, ministry, ministryRequest},
        {"empty", L"", ministry, ministryRequest},
        {"not an address", L"strona odsetek", ministry, ministryRequest},
        {"an address", L"http://intranet.example/finanse/odsetki.html",
         "http://intranet.example/finanse/odsetki.html",
         ProxiedRequest("intranet.example", "/finanse/odsetki.html")},
    };
}

void Store(const test::AddressSetting& setting, const SettingCase& c) {
    if (c.stored) {
        setting.Set(*c.stored);
    } else {
        setting.Remove();
    }
}

class AddressSetting : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartListening();
        test::TakeRequests();
    }

    test::ComApartment apartment_;
    test::VistrelDll dll_;
};

TEST_F(AddressSetting, RedirectsVerbTwo) {
    ASSERT_TRUE(dll_);
    const ComPtr<ISmartTagAction> action = dll_.Create<ISmartTagAction>(__uuidof(STAction));
    ASSERT_TRUE(action);
    const UniqueBstr text(SysAllocString(L"Odsetki MF"));
    for (const SettingCase& c : SettingCases()) {
        SCOPED_TRACE(c.name);
        const test::AddressSetting setting;
        Store(setting, c);
        const test::RecordingBrowser browser;
        EXPECT_EQ(action->InvokeVerb(2, nullptr, nullptr, nullptr, text.get(), nullptr), S_OK);
        EXPECT_EQ(browser.OpenedAddresses(20000), std::vector<std::string>{c.openedAddress});
    }
}

// The server refuses every page, so each run asks it again (no page is held) and ends with the
// question whether to use the built-in rates, which the test reads and answers No as a user may.
TEST_F(AddressSetting, RedirectsTheFetchOfVerbOne) {
    ASSERT_TRUE(dll_);
    test::ServeRatePage("status 404");
    for (const SettingCase& c : SettingCases()) {
        SCOPED_TRACE(c.name);
        const test::AddressSetting setting;
        Store(setting, c);
        test::FakeRange range;
        std::atomic<HRESULT> status{E_UNEXPECTED};
        test::CalculatorDialogSession run([&] {
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            {
                const ComPtr<ISmartTagAction> action =
                    dll_.Create<ISmartTagAction>(__uuidof(STAction));
                const UniqueBstr text(SysAllocString(L"Odsetki MF"));
                if (action) {
                    status = action->InvokeVerb(1, nullptr, &range, nullptr, text.get(), nullptr);
                }
            }
            CoUninitialize();
        });
        const auto box = test::WaitForMessageBox(kCaption);
        ASSERT_TRUE(box.has_value()) << "no message box";
        EXPECT_EQ(box->text, kPageNotFetched);
        EXPECT_TRUE(test::AnswerMessageBox(box->window, IDNO));
        ASSERT_TRUE(run.WaitUntilClosed());
        EXPECT_EQ(status.load(), S_OK);
        std::vector<std::string> lines;
        for (const test::LoggedRequest& request : test::TakeRequests()) {
            lines.push_back(request.requestLine);
        }
        EXPECT_EQ(lines, std::vector<std::string>{c.requestLine});
        EXPECT_TRUE(range.writes.empty());
        EXPECT_EQ(range.references, 1u);
    }
}

// The user's choice of the built-in rates, beside the address: verb 1 opens the calculator at
// once, without asking the server anything and without the question.
TEST_F(AddressSetting, TheBuiltInRatesChoiceSparesVerbOneTheFetch) {
    ASSERT_TRUE(dll_);
    test::ServeRatePage("status 404");
    const test::AddressSetting address;
    address.Set(L"http://intranet.example/finanse/odsetki.html");
    const test::UserSetting choice(L"StopyWbudowane");
    const DWORD one = 1;
    choice.SetRaw(REG_DWORD, &one, sizeof one);
    test::FakeRange range;
    std::atomic<HRESULT> status{E_UNEXPECTED};
    test::CalculatorDialogSession run([&] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        {
            const ComPtr<ISmartTagAction> action = dll_.Create<ISmartTagAction>(__uuidof(STAction));
            const UniqueBstr text(SysAllocString(L"Odsetki MF"));
            if (action)
                status = action->InvokeVerb(1, nullptr, &range, nullptr, text.get(), nullptr);
        }
        CoUninitialize();
    });
    ASSERT_TRUE(run.WaitForDialog()) << "no calculator";
    run.Click(IDCANCEL);
    ASSERT_TRUE(run.WaitUntilClosed());
    EXPECT_EQ(status.load(), S_OK);
    EXPECT_TRUE(test::TakeRequests().empty());
    EXPECT_TRUE(range.writes.empty());
}

}  // namespace
}  // namespace vistrel
