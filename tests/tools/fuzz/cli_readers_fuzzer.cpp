// The command-line calculator's readers on arbitrary bytes: the Latin-2 decoding, the amount,
// date and moment readers, the option reader (the input's lines as the arguments) and the list's
// reader (the input as a list file in each encoding, in chunks of every size). Each either
// answers with a value that keeps its promise or refuses with a message.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "engine/amount_text.h"
#include "tools/calculator_options.h"
#include "rules/calendar_date.h"
#include "tools/debt_list.h"
#include "tools/latin2.h"
#include "tools/windows1250.h"
#include "tools/list_encoding.h"
#include "tools/list_records.h"

namespace {

using namespace vistrel::tools;
using namespace vistrel::rules;

void Require(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
        lines.emplace_back(text.substr(start, end - start));
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

struct ReadRecord {
    std::string text;
    std::string lineEnd;
    std::size_t line;
    bool unclosedQuote;
    bool operator==(const ReadRecord&) const = default;
};

// The bytes as a list file in `encoding`, handed over `chunk` bytes at a time.
std::vector<ReadRecord> ReadRecords(std::string_view bytes, ListEncoding encoding,
                                    std::size_t chunk) {
    std::size_t offset = 0;
    ListRecordReader reader(
        [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min({size, chunk, bytes.size() - offset});
            std::copy_n(bytes.data() + offset, n, buffer);
            offset += n;
            return n;
        },
        encoding);
    std::vector<ReadRecord> records;
    ListRecord record;
    bool separatorSet = false;
    while (reader.Next(record)) {
        records.push_back({std::string(record.text), std::string(record.lineEnd), record.line,
                           record.unclosedQuote});
        if (!separatorSet && !IsBlankRecord(record.text, 0)) {
            reader.SetSeparator(DetectSeparator(record.text));
            separatorSet = true;
        }
    }
    return records;
}

// Every line of the list is in exactly one record, whatever the chunks; the lines count up; the
// fields split and counted alike; a field written for the list reads back as itself.
void CheckList(std::string_view bytes) {
    for (const ListEncoding encoding : {ListEncoding::Utf8, ListEncoding::Windows1250,
                                        ListEncoding::Utf16Le, ListEncoding::Utf16Be}) {
        std::string decoded;
        ListDecoder decoder(encoding);
        decoder.Decode(bytes, decoded);
        decoder.Finish(decoded);
        const std::vector<ReadRecord> whole = ReadRecords(bytes, encoding, bytes.size() + 1);
        Require(ReadRecords(bytes, encoding, 1) == whole);
        Require(ReadRecords(bytes, encoding, 7) == whole);
        std::string joined;
        std::size_t line = 0;
        for (const ReadRecord& record : whole) {
            joined += record.text + record.lineEnd;
            Require(record.line > line);
            line = record.line;
        }
        Require(joined == decoded);
        if (encoding == ListEncoding::Utf8) Require(decoded == bytes);
    }
    Utf8Census census;
    census.Add(bytes);
    census.Finish();
    Utf8Census byBytes;
    for (const char byte : bytes) byBytes.Add(std::string_view(&byte, 1));
    byBytes.Finish();
    Require(census.StrayBytes() == byBytes.StrayBytes());
    Require(census.WideCharacters() == byBytes.WideCharacters());
    if (IsUtf8(bytes)) Require(census.StrayBytes() == 0 && census.Verdict() == ListEncoding::Utf8);

    const char separator = DetectSeparator(bytes);
    Require(separator == ';' || separator == ',' || separator == '\t');
    std::vector<std::string> fields;
    SplitListRecord(bytes, separator, fields);
    Require(fields.size() == CountListFields(bytes, separator));
    IsHeaderRecord(fields);
    for (const std::string& field : fields) {
        if (const auto date = ParseListDate(field)) Require(date->ok());
    }
    const auto blank = [separator](char c) { return c == ' ' || (c == '\t' && separator != '\t'); };
    if (!bytes.empty() && !blank(bytes.front()) && !blank(bytes.back())) {
        SplitListRecord(ListField(bytes, separator), separator, fields);
        Require(fields.size() == 1 && fields[0] == bytes);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "Europe/Warsaw", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // One character per byte; below 0xA0 each keeps its value, above it none is a control.
    const std::u16string decoded = DecodeLatin2(text);
    Require(decoded.size() == text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0xA0)
            Require(decoded[i] == byte);
        else
            Require(decoded[i] >= 0xA0);
    }

    // The amount as the command line reads it: taken only from 0 to 10^13 zł, with a message
    // whenever it is refused.
    std::string amountError;
    if (const auto amount = ReadAmountText(text, amountError)) {
        Require(*amount >= 0.0 && *amount <= vistrel::LargestEnteredAmount);
        Require(amountError.empty());
    } else {
        Require(!amountError.empty());
    }

    if (const auto date = ParseCalendarDate(text)) {
        Require(date->ok());
        Require(FormatCalendarDate(*date) == text);
    }
    if (const auto moment = ParseMoment(text)) Require(*moment >= 0);

    CheckList(text);

    const OptionsOutcome outcome = ParseCalculatorOptions(Lines(text));
    Require(outcome.options.has_value() != !outcome.error.empty());
    if (outcome.options && !outcome.options->help) {
        const CalculatorOptions& options = *outcome.options;
        Require(std::isfinite(options.amount) && options.amount >= 0.0);
        // A list brings its own dates and amounts; a debt paid in parts has no payment date.
        if (!options.listPath) {
            Require(IsAcceptedDate(options.due));
            if (!options.PaidInParts()) Require(IsAcceptedDate(options.payment));
        }
        for (const auto& [date, amount] : options.payments) {
            Require(IsAcceptedDate(date) && amount >= 0.0 &&
                    amount <= vistrel::LargestEnteredAmount);
        }
    }
    return 0;
}
