#include "server/registry_script/registry_value.h"

#include <cstring>
#include <optional>
#include <string>

#include "base/allocation_hook.h"
#include "server/registry_script/replacement_map.h"

namespace vistrel {
namespace {

std::optional<RegistryValueType> TypeOfLetter(std::u16string_view letter) noexcept {
    if (NamesEqual(letter, u"s")) return RegistryValueType::String;
    if (NamesEqual(letter, u"m")) return RegistryValueType::MultiString;
    if (NamesEqual(letter, u"d")) return RegistryValueType::Dword;
    if (NamesEqual(letter, u"b")) return RegistryValueType::Binary;
    return std::nullopt;
}

void AppendUnits(std::vector<std::uint8_t>& data, std::u16string_view text) {
    for (const char16_t c : text) {
        data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        data.push_back(static_cast<std::uint8_t>(c >> 8));
    }
}

void AppendTerminator(std::vector<std::uint8_t>& data) { data.insert(data.end(), 2, 0); }

// Strings separated by backslash-zero, each written with its terminator, then one more.
void MakeMultiString(std::u16string_view text, std::vector<std::uint8_t>& data) {
    constexpr std::u16string_view kSeparator = u"\\0";
    for (;;) {
        const std::size_t separator = text.find(kSeparator);
        AppendUnits(data, text.substr(0, separator));
        AppendTerminator(data);
        if (separator == std::u16string_view::npos) break;
        text.remove_prefix(separator + kSeparator.size());
    }
    AppendTerminator(data);
}

// Decimal digits only, at most 4294967295: anything else would be a guess at what was meant.
std::optional<std::uint32_t> ParseDword(std::u16string_view text) noexcept {
    if (text.empty()) return std::nullopt;
    std::uint64_t number = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        number = number * 10 + static_cast<std::uint64_t>(c - u'0');
        if (number > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<std::uint32_t>(number);
}

// A character that is not a hexadecimal digit counts as 0.
std::uint8_t NibbleOf(char16_t c) noexcept {
    if (c >= u'0' && c <= u'9') return static_cast<std::uint8_t>(c - u'0');
    if (c >= u'a' && c <= u'f') return static_cast<std::uint8_t>(c - u'a' + 10);
    if (c >= u'A' && c <= u'F') return static_cast<std::uint8_t>(c - u'A' + 10);
    return 0;
}

}  // namespace

bool IsValueTypeLetter(std::u16string_view typeLetter) noexcept {
    return TypeOfLetter(typeLetter).has_value();
}

ScriptStatus MakeRegistryValue(std::u16string_view typeLetter, std::u16string_view text,
                               RegistryValue& value) {
    const auto type = TypeOfLetter(typeLetter);
    if (!type) return kScriptSyntaxError;
    value.type = *type;
    value.data.clear();
    switch (*type) {
    case RegistryValueType::String:
        AppendUnits(value.data, text);
        AppendTerminator(value.data);
        break;
    case RegistryValueType::MultiString:
        ThrowIfRefused("multi-string value");
        MakeMultiString(text, value.data);
        break;
    case RegistryValueType::Dword: {
        const auto number = ParseDword(text);
        if (!number) return kScriptSyntaxError;
        for (int shift = 0; shift < 32; shift += 8) {
            value.data.push_back(static_cast<std::uint8_t>(*number >> shift));
        }
        break;
    }
    case RegistryValueType::Binary:
        if (text.size() % 2 != 0) return kScriptFailed;
        ThrowIfRefused("binary value");
        value.data.assign(text.size() / 2, 0);
        for (std::size_t i = 0; i < text.size(); ++i) {
            value.data[i / 2] |=
                static_cast<std::uint8_t>(NibbleOf(text[i]) << (i % 2 == 0 ? 4 : 0));
        }
        break;
    }
    return kScriptSucceeded;
}

}  // namespace vistrel
