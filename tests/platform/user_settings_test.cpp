// The user's settings: which texts count as a web address, and what each value in the user's
// registry gives for every kind of value it may hold.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user_settings.h"
#include "tests/support/address_setting.h"

namespace vistrel {
namespace {

constexpr wchar_t kDefault[] = L"http://www.mf.gov.pl/podatki/odsetki_za_zwloke.shtml";

// The address both verbs would use now.
std::wstring RatePageAddress(const wchar_t* defaultAddress) {
    return ReadUserSettings().RatePageAddress(defaultAddress);
}

struct AddressCase {
    const wchar_t* text;
    bool isWebAddress;
};

TEST(IsWebAddress, TakesHttpAndHttpsAddressesWithAHostOnly) {
    const AddressCase cases[] = {
        {L"http://intranet/odsetki.html", true},
        {L"https://www.example.pl/podatki/stopy.shtml", true},
        {L"HTTPS://WWW.EXAMPLE.PL/", true},
        {L"Http://example.pl", true},
        {L"http://example.pl:8080/a?b=c#d", true},
        {L"http://", false},
        {L"https://", false},
        {L"http:///sciezka", false},
        {L"http://?q", false},
        {L"", false},
        {L"www.mf.gov.pl/podatki", false},
        {L"ftp://ftp.example.pl/stopy.html", false},
        {L"file:///C:/stopy.html", false},
        {L"javascript:alert(1)", false},
        {L" http://example.pl/", false},
        {L"http://example.pl/strona odsetek", false},
        {L"http://example.pl/\tx", false},
        {L"http:/example.pl", false},
        {L"httpx://example.pl", false},
    };
    for (const AddressCase& c : cases) {
        EXPECT_EQ(IsWebAddress(c.text), c.isWebAddress)
            << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(IsWebAddress, TakesAddressesUpToWinInetsLimit) {
    const std::wstring head = L"http://example.pl/";
    const std::wstring longest = head + std::wstring(2083 - head.size(), L'a');
    EXPECT_TRUE(IsWebAddress(longest));
    EXPECT_FALSE(IsWebAddress(longest + L"a"));
}

TEST(RatePageAddress, WithoutTheSettingIsTheDefault) {
    const test::AddressSetting setting;
    EXPECT_EQ(RatePageAddress(kDefault), kDefault);
}

TEST(RatePageAddress, WithoutTheKeyIsTheDefault) {
    const test::AddressSetting setting;
    // The setting's key itself removed: the product never creates it.
    HKEY brevant = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Brevant", 0, KEY_ALL_ACCESS, &brevant),
              ERROR_SUCCESS);
    const UniqueHkey owned(brevant);
    HKEY vistrel = nullptr;
    ASSERT_EQ(RegOpenKeyExW(brevant, L"Vistrel", 0, KEY_READ, &vistrel), ERROR_SUCCESS);
    const UniqueHkey ownedVistrel(vistrel);
    DWORD values = 1;
    ASSERT_EQ(RegQueryInfoKeyW(vistrel, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    if (values != 0) GTEST_SKIP() << "the key holds other values; it is left alone";
    ASSERT_EQ(RegDeleteKeyW(brevant, L"Vistrel"), ERROR_SUCCESS);
    EXPECT_EQ(RatePageAddress(kDefault), kDefault);
    EXPECT_FALSE(ReadUserSettings().builtInRates);
}

struct SettingCase {
    const wchar_t* name;
    std::wstring stored;
    std::wstring expected;
};

TEST(RatePageAddress, TakesTheSettingOnlyWhenItIsAWebAddress) {
    const std::wstring longest = L"https://example.pl/" + std::wstring(2083 - 19, L'x');
    const SettingCase cases[] = {
        {L"http", L"http://intranet.example/odsetki.html", L"http://intranet.example/odsetki.html"},
        {L"https", L"https://www.example.pl/stopy", L"https://www.example.pl/stopy"},
        {L"longest", longest, longest},
        {L"empty", L"", kDefault},
        {L"words", L"strona odsetek", kDefault},
        {L"host only", L"www.example.pl/stopy.html", kDefault},
        {L"ftp", L"ftp://ftp.example.pl/stopy.html", kDefault},
        {L"too long", longest + L"x", kDefault},
        {L"scheme only", L"https://", kDefault},
    };
    for (const SettingCase& c : cases) {
        const test::AddressSetting setting;
        setting.Set(c.stored);
        EXPECT_EQ(RatePageAddress(kDefault), c.expected)
            << testing::PrintToString(std::wstring(c.name));
    }
}

TEST(RatePageAddress, TakesOnlyAPlainString) {
    const test::AddressSetting setting;
    const wchar_t address[] = L"http://intranet.example/odsetki.html";
    setting.SetRaw(REG_EXPAND_SZ, address, sizeof(address));
    EXPECT_EQ(RatePageAddress(kDefault), kDefault);
    setting.SetRaw(REG_BINARY, address, sizeof(address));
    EXPECT_EQ(RatePageAddress(kDefault), kDefault);
    const wchar_t list[] = L"http://intranet.example/odsetki.html\0";
    setting.SetRaw(REG_MULTI_SZ, list, sizeof(list));
    EXPECT_EQ(RatePageAddress(kDefault), kDefault);
    const DWORD number = 1;
    setting.SetRaw(REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(RatePageAddress(kDefault), kDefault);
}

TEST(RatePageAddress, ReadsAStringStoredWithoutItsTerminatingNul) {
    const test::AddressSetting setting;
    const std::wstring address = L"http://intranet.example/stopy";
    setting.SetRaw(REG_SZ, address.data(), address.size() * sizeof(wchar_t));
    EXPECT_EQ(RatePageAddress(kDefault), address);
}

TEST(RatePageAddress, StopsAtANulInsideTheString) {
    const test::AddressSetting setting;
    const wchar_t stored[] = L"http://intranet.example/a\0 tail";
    setting.SetRaw(REG_SZ, stored, sizeof(stored));
    EXPECT_EQ(RatePageAddress(kDefault), L"http://intranet.example/a");
}

struct ChoiceCase {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    bool builtInRates;
};

TEST(BuiltInRatesChoice, OnlyTheDwordOneChoosesTheBuiltInRates) {
    const ChoiceCase cases[] = {
        {"DwordOne", REG_DWORD, {1, 0, 0, 0}, true},
        {"DwordZero", REG_DWORD, {0, 0, 0, 0}, false},
        {"DwordTwo", REG_DWORD, {2, 0, 0, 0}, false},
        {"DwordHighBit", REG_DWORD, {1, 0, 0, 1}, false},
        {"QwordOne", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, false},
        {"TextOne", REG_SZ, {'1', 0, 0, 0}, false},
        {"BinaryOne", REG_BINARY, {1, 0, 0, 0}, false},
        {"ShortBinary", REG_DWORD, {1}, false},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const test::UserSetting setting(L"StopyWbudowane");
        EXPECT_FALSE(ReadUserSettings().builtInRates) << "absent";
        setting.SetRaw(c.type, c.data.data(), c.data.size());
        EXPECT_EQ(ReadUserSettings().builtInRates, c.builtInRates);
    }
}

TEST(UserSettings, BothValuesAreReadTogether) {
    const test::AddressSetting address;
    const test::UserSetting choice(L"StopyWbudowane");
    address.Set(L"https://intranet.example/odsetki.html");
    const DWORD one = 1;
    choice.SetRaw(REG_DWORD, &one, sizeof one);
    const UserSettings settings = ReadUserSettings();
    EXPECT_EQ(settings.ratePageAddress, L"https://intranet.example/odsetki.html");
    EXPECT_TRUE(settings.builtInRates);
}

}  // namespace
}  // namespace vistrel
