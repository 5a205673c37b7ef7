// Dialog 203 as compiled into the module, read field by field from its extended template.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vistrel {
namespace {

// Reads an extended dialog template in order, keeping to the resource's size.
class TemplateReader {
public:
    TemplateReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T Read() {
        T value{};
        if (offset_ + sizeof(T) > size_) {
            overrun_ = true;
            return value;
        }
        std::memcpy(&value, data_ + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }
    std::wstring ReadString() {
        std::wstring text;
        for (wchar_t c = Read<wchar_t>(); c != 0 && !overrun_; c = Read<wchar_t>()) text += c;
        return text;
    }
    // A name or an ordinal: "" when absent, "#n" for an ordinal.
    std::wstring ReadNameOrOrdinal() {
        const auto first = Read<std::uint16_t>();
        if (first == 0) return L"";
        if (first == 0xFFFF) return L"#" + std::to_wstring(Read<std::uint16_t>());
        offset_ -= sizeof(std::uint16_t);
        return ReadString();
    }
    void AlignToDword() { offset_ = (offset_ + 3) & ~std::size_t{3}; }
    void Skip(std::size_t bytes) { offset_ += bytes; }
    bool overrun() const { return overrun_ || offset_ > size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool overrun_ = false;
};

// The predefined classes that a template may name by ordinal.
std::wstring ClassNameOf(const std::wstring& nameOrOrdinal) {
    if (nameOrOrdinal == L"#128") return L"BUTTON";
    if (nameOrOrdinal == L"#129") return L"EDIT";
    if (nameOrOrdinal == L"#130") return L"STATIC";
    std::wstring upper = nameOrOrdinal;
    CharUpperW(upper.data());
    return upper;
}

struct ExpectedControl {
    std::int32_t id;
    const wchar_t* className;  // upper case: class names are compared without case
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD style;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const ExpectedControl kControls[] = {
    {1, L"BUTTON", L"OK", 66, 87, 40, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {2, L"BUTTON", L"Cancel", 9, 87, 42, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {203, L"SYSDATETIMEPICK32", L"", 6, 18, 102, 12,
     kChild | WS_TABSTOP | DTS_LONGDATEFORMAT | DTS_RIGHTALIGN},
    {-1, L"BUTTON", L"Podaj datę ", 3, 0, 111, 57, kChild | BS_GROUPBOX},
    {-1, L"STATIC", L"Data należności:", 6, 9, 55, 8, kChild | WS_GROUP | SS_LEFT},
    {-1, L"STATIC", L"Data zapłaty:", 6, 33, 44, 8, kChild | WS_GROUP | SS_LEFT},
    {-1, L"STATIC", L"Kwota:", 6, 60, 24, 8, kChild | WS_GROUP | SS_LEFT},
    {205, L"SYSDATETIMEPICK32", L"", 6, 42, 102, 12,
     kChild | WS_TABSTOP | DTS_LONGDATEFORMAT | DTS_RIGHTALIGN},
    {201, L"EDIT", L"", 6, 69, 102, 12, kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL},
};

TEST(CalculatorDialogTemplateTest, IsThePolishExtendedTemplate203AsLaidOut) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(5) /* RT_DIALOG */,
                                  MAKEINTRESOURCEW(203), MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT));
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(data, nullptr);
    TemplateReader reader(data, SizeofResource(module, found));

    EXPECT_EQ(reader.Read<std::uint16_t>(), 1);       // dlgVer
    EXPECT_EQ(reader.Read<std::uint16_t>(), 0xFFFF);  // signature of the extended form
    EXPECT_EQ(reader.Read<std::uint32_t>(), 0u);      // help identifier
    EXPECT_EQ(reader.Read<std::uint32_t>(), 0u);      // extended style
    EXPECT_EQ(reader.Read<std::uint32_t>(),
              static_cast<std::uint32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                         DS_SETFONT | DS_FIXEDSYS | DS_CENTER));
    const auto controlCount = reader.Read<std::uint16_t>();
    EXPECT_EQ(controlCount, std::size(kControls));
    EXPECT_EQ(reader.Read<short>(), 0);
    EXPECT_EQ(reader.Read<short>(), 0);
    EXPECT_EQ(reader.Read<short>(), 117);
    EXPECT_EQ(reader.Read<short>(), 105);
    EXPECT_EQ(reader.ReadNameOrOrdinal(), L"");  // no menu
    EXPECT_EQ(reader.ReadNameOrOrdinal(), L"");  // the default dialog class
    EXPECT_EQ(reader.ReadString(), L"Kalkulator odsetek");
    EXPECT_EQ(reader.Read<std::uint16_t>(), 8);    // points
    EXPECT_EQ(reader.Read<std::uint16_t>(), 400);  // weight
    EXPECT_EQ(reader.Read<std::uint8_t>(), 0);     // not italic
    EXPECT_EQ(reader.Read<std::uint8_t>(), DEFAULT_CHARSET);
    EXPECT_EQ(reader.ReadString(), L"MS Shell Dlg");
    ASSERT_EQ(controlCount, std::size(kControls));

    for (const ExpectedControl& expected : kControls) {
        SCOPED_TRACE(testing::Message() << "control " << (&expected - kControls) + 1);
        reader.AlignToDword();
        EXPECT_EQ(reader.Read<std::uint32_t>(), 0u);  // help identifier
        EXPECT_EQ(reader.Read<std::uint32_t>(), 0u);  // extended style
        EXPECT_EQ(reader.Read<std::uint32_t>(), expected.style);
        EXPECT_EQ(reader.Read<short>(), expected.x);
        EXPECT_EQ(reader.Read<short>(), expected.y);
        EXPECT_EQ(reader.Read<short>(), expected.cx);
        EXPECT_EQ(reader.Read<short>(), expected.cy);
        EXPECT_EQ(reader.Read<std::int32_t>(), expected.id);
        EXPECT_EQ(ClassNameOf(reader.ReadNameOrOrdinal()), expected.className);
        EXPECT_EQ(reader.ReadNameOrOrdinal(), expected.text);
        const auto extraBytes = reader.Read<std::uint16_t>();
        EXPECT_EQ(extraBytes, 0);
        reader.Skip(extraBytes);
    }
    EXPECT_FALSE(reader.overrun());
}

}  // namespace
}  // namespace vistrel
