#include "tools/list_records.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vistrel::tools {
namespace {

constexpr std::size_t ChunkBytes = 1024 * 1024;
constexpr std::size_t FirstChunkBytes = 16 * 1024;

bool IsBlank(char c, char separator) { return c == ' ' || (c == '\t' && separator != '\t'); }

bool IsAnySeparator(char c) { return c == ';' || c == ',' || c == '\t'; }

}  // namespace

ListRecordReader::ListRecordReader(ReadListBytes read, ListEncoding encoding)
    : read_(std::move(read)), decoder_(encoding) {}

bool ListRecordReader::IsSeparator(char c) const {
    return separator_ == 0 ? IsAnySeparator(c) : c == separator_;
}

bool ListRecordReader::Fill() {
    if (ended_) return false;
    text_.erase(0, position_);
    position_ = 0;
    const std::size_t before = text_.size();
    while (text_.size() == before && !ended_) {
        // A small first chunk for a small file; whole chunks once a read fills the buffer.
        if (raw_.empty()) raw_.resize(FirstChunkBytes);
        const std::size_t got = read_(raw_.data(), raw_.size());
        if (got == 0) {
            ended_ = true;
            decoder_.Finish(text_);
        } else {
            decoder_.Decode(std::string_view(raw_.data(), got), text_);
            if (got == raw_.size()) raw_.resize(ChunkBytes);
        }
    }
    return text_.size() > before;
}

// From position_: the length of a record in which a quote opens, and the line breaks inside it;
// false when the quote closes neither before the end of the file nor within LongestListRecord.
bool ListRecordReader::ScanQuoted(std::size_t& length, std::size_t& lineBreaks) {
    bool quoted = false;
    bool fieldStart = true;
    lineBreaks = 0;
    for (std::size_t k = 0;; ++k) {
        if (position_ + k >= text_.size() && !Fill()) {
            length = k;
            return !quoted;
        }
        if (k > LongestListRecord) {
            if (quoted) return false;
            throw OverlongListLine{line_};
        }
        const char c = text_[position_ + k];
        if (quoted) {
            if (c == '\n') {
                ++lineBreaks;
            } else if (c == '"') {
                if (position_ + k + 1 >= text_.size()) Fill();
                if (position_ + k + 1 < text_.size() && text_[position_ + k + 1] == '"') {
                    ++k;
                } else {
                    quoted = false;
                }
            }
        } else if (c == '\n') {
            length = k;
            return true;
        } else if (c == '"' && fieldStart) {
            quoted = true;
        } else if (IsSeparator(c)) {
            fieldStart = true;
        } else if (!IsBlank(c, separator_)) {
            fieldStart = false;
        }
    }
}

void ListRecordReader::Take(ListRecord& record, std::size_t length, std::size_t lineBreaks,
                            bool unclosedQuote) {
    std::string_view text(text_.data() + position_, length);
    const bool terminated = position_ + length < text_.size();  // a '\n' stands after it
    std::string_view lineEnd;
    if (terminated) {
        lineEnd = std::string_view(text_.data() + position_ + length, 1);
        if (text.ends_with('\r')) {
            text.remove_suffix(1);
            lineEnd = std::string_view(lineEnd.data() - 1, 2);
        }
    }
    record.text = text;
    record.lineEnd = lineEnd;
    record.line = line_;
    record.unclosedQuote = unclosedQuote;
    line_ += lineBreaks + (terminated ? 1 : 0);
    position_ += length + (terminated ? 1 : 0);
}

bool ListRecordReader::Next(ListRecord& record) {
    if (position_ >= text_.size() && !Fill()) return false;
    // Most records are one line without a quote.
    for (;;) {
        const char* start = text_.data() + position_;
        const std::size_t available = text_.size() - position_;
        const void* lineBreak = std::memchr(start, '\n', available);
        if (lineBreak == nullptr && !ended_ && available <= LongestListRecord) {
            Fill();
            continue;
        }
        const std::size_t length =
            lineBreak == nullptr
                ? available
                : static_cast<std::size_t>(static_cast<const char*>(lineBreak) - start);
        if (length > LongestListRecord) throw OverlongListLine{line_};
        if (std::memchr(start, '"', length) == nullptr) {
            Take(record, length, 0, false);
            return true;
        }
        break;
    }
    std::size_t length = 0;
    std::size_t lineBreaks = 0;
    if (ScanQuoted(length, lineBreaks)) {
        Take(record, length, lineBreaks, false);
        return true;
    }
    // The quote never closes: the record is its first line. ScanQuoted kept it in text_.
    const char* start = text_.data() + position_;
    const void* lineBreak = std::memchr(start, '\n', text_.size() - position_);
    length = lineBreak == nullptr
                 ? text_.size() - position_
                 : static_cast<std::size_t>(static_cast<const char*>(lineBreak) - start);
    if (length > LongestListRecord) throw OverlongListLine{line_};
    Take(record, length, 0, true);
    return true;
}

char DetectSeparator(std::string_view record) {
    bool quoted = false;
    bool fieldStart = true;
    bool semicolon = false, tab = false, comma = false;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const char c = record[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < record.size() && record[i + 1] == '"') {
                    ++i;
                } else {
                    quoted = false;
                }
            }
            continue;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
        } else if (IsAnySeparator(c)) {
            semicolon |= c == ';';
            tab |= c == '\t';
            comma |= c == ',';
            fieldStart = true;
        } else if (c != ' ') {
            fieldStart = false;
        }
    }
    if (semicolon) return ';';
    if (tab) return '\t';
    if (comma) return ',';
    return ';';
}

bool IsBlankRecord(std::string_view record, char separator) {
    for (const char c : record) {
        const bool isSeparator = separator == 0 ? IsAnySeparator(c) : c == separator;
        if (!isSeparator && c != ' ' && c != '\t') return false;
    }
    return true;
}

void SplitListRecord(std::string_view record, char separator, std::vector<std::string>& fields) {
    std::size_t count = 0;
    const auto next = [&]() -> std::string& {
        if (count == fields.size()) fields.emplace_back();
        std::string& field = fields[count++];
        field.clear();
        return field;
    };
    std::size_t i = 0;
    for (;;) {
        while (i < record.size() && IsBlank(record[i], separator)) ++i;
        std::string& field = next();
        if (i < record.size() && record[i] == '"') {
            // Quoted: to the closing quote, doubled quotes single; the rest up to the separator
            // is dropped.
            for (++i; i < record.size(); ++i) {
                if (record[i] == '"') {
                    if (i + 1 < record.size() && record[i + 1] == '"') {
                        field += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    field += record[i];
                }
            }
            const std::size_t end = record.find(separator, i);
            if (end == std::string_view::npos) break;
            i = end + 1;
            continue;
        }
        const std::size_t end = record.find(separator, i);
        std::string_view text = record.substr(i, end == std::string_view::npos ? end : end - i);
        while (!text.empty() && IsBlank(text.back(), separator)) text.remove_suffix(1);
        field.assign(text);
        if (end == std::string_view::npos) break;
        i = end + 1;
    }
    fields.resize(count);
}

void AppendListField(std::string& out, std::string_view text, char separator) {
    const bool plain = std::none_of(text.begin(), text.end(), [separator](char c) {
        return c == separator || c == '"' || c == '\r' || c == '\n';
    });
    if (plain) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"') out += '"';
    }
    out += '"';
}

std::string ListField(std::string_view text, char separator) {
    std::string field;
    AppendListField(field, text, separator);
    return field;
}

std::size_t CountListFields(std::string_view record, char separator) {
    if (record.find('"') == std::string_view::npos) {
        return static_cast<std::size_t>(std::count(record.begin(), record.end(), separator)) + 1;
    }
    std::vector<std::string> fields;
    SplitListRecord(record, separator, fields);
    return fields.size();
}

std::string_view SeparatorName(char separator) {
    switch (separator) {
    case ',': return "przecinkiem";
    case '\t': return "tabulatorem";
    default: return "średnikiem";
    }
}

}  // namespace vistrel::tools
