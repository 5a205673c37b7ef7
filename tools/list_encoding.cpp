#include "tools/list_encoding.h"

#include <algorithm>

#include "tools/utf8.h"
#include "tools/windows1250.h"

namespace vistrel::tools {
namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The bytes from `i` on could still become one well-formed sequence with the next chunk.
bool CouldContinue(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || text.size() - i >= length) return false;
    for (std::size_t k = i + 1; k < text.size(); ++k) {
        if (!IsContinuation(static_cast<unsigned char>(text[k]))) return false;
    }
    return true;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void AppendUnit(ListEncoding encoding, char16_t unit, std::string& out) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    if (encoding == ListEncoding::Utf16Le) {
        out += low;
        out += high;
    } else {
        out += high;
        out += low;
    }
}

}  // namespace

std::string_view EncodingName(ListEncoding encoding) {
    switch (encoding) {
    case ListEncoding::Utf8: return "UTF-8";
    case ListEncoding::Utf8WithMark: return "UTF-8 ze znacznikiem BOM";
    case ListEncoding::Utf16Le: return "UTF-16 LE";
    case ListEncoding::Utf16Be: return "UTF-16 BE";
    case ListEncoding::Windows1250: return "Windows-1250";
    }
    return "?";
}

std::optional<ListEncoding> EncodingOfMark(std::string_view firstBytes) {
    if (firstBytes.starts_with(Utf8Mark)) return ListEncoding::Utf8WithMark;
    if (firstBytes.starts_with(Utf16LeMark)) return ListEncoding::Utf16Le;
    if (firstBytes.starts_with(Utf16BeMark)) return ListEncoding::Utf16Be;
    return std::nullopt;
}

std::string_view ByteOrderMark(ListEncoding encoding) {
    switch (encoding) {
    case ListEncoding::Utf8WithMark: return Utf8Mark;
    case ListEncoding::Utf16Le: return Utf16LeMark;
    case ListEncoding::Utf16Be: return Utf16BeMark;
    case ListEncoding::Utf8:
    case ListEncoding::Windows1250: break;
    }
    return {};
}

void Utf8Census::Add(std::string_view chunk) {
    std::string joined;
    if (!carry_.empty()) {
        joined = std::move(carry_);
        carry_.clear();
        joined.append(chunk);
        chunk = joined;
    }
    for (std::size_t i = 0; i < chunk.size();) {
        if (static_cast<unsigned char>(chunk[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t code = 0;
        const std::size_t length = DecodeUtf8(chunk, i, code);
        if (length > 0) {
            ++wide_;
            i += length;
        } else if (CouldContinue(chunk, i)) {
            carry_ = std::string(chunk.substr(i));
            return;
        } else {
            ++stray_;
            ++i;
        }
    }
}

void Utf8Census::Finish() {
    if (!carry_.empty()) ++stray_;
    carry_.clear();
}

ListEncoding Utf8Census::Verdict() const {
    return stray_ > wide_ ? ListEncoding::Windows1250 : ListEncoding::Utf8;
}

void ListDecoder::Decode(std::string_view bytes, std::string& utf8) {
    std::string joined;
    if (!started_) {
        const std::string_view mark = ByteOrderMark(encoding_);
        carry_.append(bytes);
        if (carry_.size() < mark.size() && mark.starts_with(carry_)) return;  // wait for more
        started_ = true;
        joined = std::move(carry_);
        carry_.clear();
        if (!mark.empty() && std::string_view(joined).starts_with(mark)) {
            joined.erase(0, mark.size());
        }
        bytes = joined;
    }
    switch (encoding_) {
    case ListEncoding::Utf8:
    case ListEncoding::Utf8WithMark: utf8.append(bytes); return;
    case ListEncoding::Windows1250:
        if (IsAscii(bytes)) {
            utf8.append(bytes);
        } else {
            utf8 += Windows1250ToUtf8(bytes);
        }
        return;
    case ListEncoding::Utf16Le:
    case ListEncoding::Utf16Be: break;
    }
    std::size_t i = 0;
    const auto byteAt = [&](std::size_t k) -> unsigned char {
        return static_cast<unsigned char>(k < carry_.size() ? carry_[k] : bytes[k - carry_.size()]);
    };
    const std::size_t total = carry_.size() + bytes.size();
    const bool littleEndian = encoding_ == ListEncoding::Utf16Le;
    for (; i + 1 < total; i += 2) {
        const char16_t unit = littleEndian
                                  ? static_cast<char16_t>(byteAt(i) | (byteAt(i + 1) << 8))
                                  : static_cast<char16_t>((byteAt(i) << 8) | byteAt(i + 1));
        if (highSurrogate_ != 0) {
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                AppendUtf8(utf8, 0x10000 + ((char32_t{highSurrogate_} - 0xD800) << 10) +
                                     (char32_t{unit} - 0xDC00));
                highSurrogate_ = 0;
                continue;
            }
            AppendUtf8(utf8, 0xFFFD);
            highSurrogate_ = 0;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate_ = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            AppendUtf8(utf8, 0xFFFD);
        } else if (unit < 0x80) {
            utf8 += static_cast<char>(unit);
        } else {
            AppendUtf8(utf8, unit);
        }
    }
    std::string rest;
    for (; i < total; ++i) rest += static_cast<char>(byteAt(i));
    carry_ = std::move(rest);
}

void ListDecoder::Finish(std::string& utf8) {
    if (!started_) {
        started_ = true;
        std::string bytes = std::move(carry_);
        carry_.clear();
        const std::string_view mark = ByteOrderMark(encoding_);
        if (bytes != mark) Decode(bytes, utf8);
    }
    if (highSurrogate_ != 0 || !carry_.empty()) AppendUtf8(utf8, 0xFFFD);
    highSurrogate_ = 0;
    carry_.clear();
}

void AppendEncoded(ListEncoding encoding, std::string_view utf8, std::string& out) {
    switch (encoding) {
    case ListEncoding::Utf8:
    case ListEncoding::Utf8WithMark: out.append(utf8); return;
    case ListEncoding::Windows1250:
        if (IsAscii(utf8)) {
            out.append(utf8);
        } else {
            out += Utf8ToWindows1250(utf8);
        }
        return;
    case ListEncoding::Utf16Le:
    case ListEncoding::Utf16Be: break;
    }
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8(utf8, i, code);
        if (length == 0) {
            code = 0xFFFD;
            ++i;
        } else {
            i += length;
        }
        if (code < 0x10000) {
            AppendUnit(encoding, static_cast<char16_t>(code), out);
        } else {
            code -= 0x10000;
            AppendUnit(encoding, static_cast<char16_t>(0xD800 + (code >> 10)), out);
            AppendUnit(encoding, static_cast<char16_t>(0xDC00 + (code & 0x3FF)), out);
        }
    }
}

}  // namespace vistrel::tools
