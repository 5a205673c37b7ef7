#include "tools/debt_list_run.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "rules/calendar_date.h"
#include "tools/debt_list.h"
#include "tools/debt_row.h"
#include "tools/interruption_watch.h"
#include "tools/list_encoding.h"
#include "tools/list_file.h"
#include "tools/list_records.h"
#include "tools/polish_number.h"
#include "tools/rate_page_file.h"
#include "tools/replacing_file.h"
#include "tools/utf8.h"
#include "tools/windows1250.h"

namespace vistrel::tools {

using namespace rules;
namespace {

constexpr std::string_view AddedColumns[] = {"dni", "odsetki", "odsetki zaokrąglone", "uwagi"};

// The result is handed on in pieces of about this size.
constexpr std::size_t OutputChunk = 256 * 1024;

// What a first reading of the whole list finds, before any row is computed.
struct ListShape {
    ListEncoding encoding = ListEncoding::Utf8;
    char separator = ';';
    std::size_t records = 0;  // records that are not blank, a header among them
    std::size_t widest = 0;   // the most fields a record has
    bool strayBytes = false;  // UTF-8 read with bytes of no UTF-8 character among them
};

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

CliOutput Failure(ExitCode code, const std::string& message) {
    return CliOutput{code, {}, "Błąd: " + message + "\n"};
}

std::string Hex(unsigned char byte) {
    constexpr char Digits[] = "0123456789ABCDEF";
    return std::string("0x") + Digits[byte >> 4] + Digits[byte & 0x0F];
}

// A message about a field with line breaks, on one line of standard error.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// Why a record cannot be taken as text in the list's encoding; empty when it can.
std::string EncodingProblem(std::string_view text, ListEncoding encoding) {
    if (encoding == ListEncoding::Utf8 || encoding == ListEncoding::Utf8WithMark) {
        for (std::size_t i = 0; i < text.size();) {
            if (static_cast<unsigned char>(text[i]) < 0x80) {
                ++i;
                continue;
            }
            char32_t code = 0;
            const std::size_t length = DecodeUtf8(text, i, code);
            if (length == 0) {
                return "bajt " + Hex(static_cast<unsigned char>(text[i])) +
                       " nie należy do żadnego znaku UTF-8 (plik odczytano jako " +
                       std::string(EncodingName(encoding)) +
                       ", bo w nim zapisana jest większość jego znaków)";
            }
            i += length;
        }
        return {};
    }
    if ((encoding == ListEncoding::Utf16Le || encoding == ListEncoding::Utf16Be) &&
        text.find("\xEF\xBF\xBD") != std::string_view::npos) {
        return "wiersz ma znak, którego nie da się odczytać w kodowaniu " +
               std::string(EncodingName(encoding));
    }
    return {};
}

// The list's encoding from its first bytes: the one its byte order mark names, if any.
std::optional<ListEncoding> MarkedEncoding(const std::filesystem::path& path) {
    ListFile file(path);
    char bytes[3];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const std::size_t more = file.Read(bytes + got, sizeof bytes - got);
        if (more == 0) break;
        got += more;
    }
    return EncodingOfMark(std::string_view(bytes, got));
}

// The first reading: the encoding, the separator, how many rows and how wide the widest.
ListShape SurveyList(const std::filesystem::path& path, const InterruptionWatch& watch) {
    ListShape shape;
    const std::optional<ListEncoding> marked = MarkedEncoding(path);
    ListFile file(path);
    Utf8Census census;
    ListRecordReader reader(
        [&](char* buffer, std::size_t size) {
            const std::size_t got = file.Read(buffer, size);
            if (!marked || *marked == ListEncoding::Utf8WithMark) {
                census.Add(std::string_view(buffer, got));
            }
            return got;
        },
        marked.value_or(ListEncoding::Utf8));
    ListRecord record;
    bool separatorKnown = false;
    while (reader.Next(record)) {
        if (IsBlankRecord(record.text, separatorKnown ? shape.separator : 0)) continue;
        if (!separatorKnown) {
            shape.separator = DetectSeparator(record.text);
            reader.SetSeparator(shape.separator);
            separatorKnown = true;
        }
        ++shape.records;
        shape.widest = std::max(shape.widest, CountListFields(record.text, shape.separator));
        if (shape.records % ProgressRowStep == 0 && watch.Interrupted()) return shape;
    }
    census.Finish();
    shape.encoding = marked.value_or(census.Verdict());
    shape.strayBytes = census.StrayBytes() > 0;
    return shape;
}

// The result's bytes on their way to the file or to standard output.
class ResultWriter {
public:
    ResultWriter(ListEncoding encoding, ReplacingFile* file, const OutputSink& sink,
                 std::string& gathered)
        : encoding_(encoding), file_(file), sink_(sink), gathered_(gathered) {
        if (file_ != nullptr) buffer_ = ByteOrderMark(encoding);
    }

    void Add(std::string_view utf8) { AppendEncoded(encoding_, utf8, buffer_); }
    void AddSeparators(std::size_t count, char separator) { Add(std::string(count, separator)); }

    // After a whole row; false when the file could not take the bytes.
    bool RowDone() { return buffer_.size() < OutputChunk || Flush(); }

    bool Flush() {
        bool written = true;
        if (file_ != nullptr) {
            written = file_->Write(buffer_);
        } else if (sink_) {
            sink_(buffer_);
        } else {
            gathered_ += buffer_;
        }
        buffer_.clear();
        return written;
    }

private:
    ListEncoding encoding_;
    ReplacingFile* file_;
    const OutputSink& sink_;
    std::string& gathered_;
    std::string buffer_;
};

struct RowCounts {
    std::size_t rows = 0;             // data rows: not blank, not the header
    std::size_t computed = 0;         // rows with figures
    std::size_t refused = 0;          // rows without figures
    std::size_t refusedPayments = 0;  // rows with figures, some of whose payments were refused
    std::size_t paidLate = 0;
};

std::string Summary(const RowCounts& counts, const ListShape& shape) {
    const auto n = [](std::size_t count) { return static_cast<std::int64_t>(count); };
    std::string summary =
        "Odczytano " + PolishCount(n(counts.rows), "wiersz", "wiersze", "wierszy") + " listy (" +
        std::string(EncodingName(shape.encoding)) + ", pola rozdzielone " +
        std::string(SeparatorName(shape.separator)) +
        "): " + PolishCount(n(counts.computed), "obliczony", "obliczone", "obliczonych") + ", " +
        PolishCount(n(counts.refused), "odrzucony", "odrzucone", "odrzuconych");
    if (counts.refusedPayments > 0) {
        summary += "; w " +
                   PolishCount(n(counts.refusedPayments), "wierszu", "wierszach", "wierszach") +
                   " odrzucono wpłatę";
    }
    return summary + ".\n";
}

}  // namespace

CliOutput RunDebtList(const RateSource& rates, const CalculatorOptions& options, std::int32_t now,
                      const ProgressSink& progress, const OutputSink& output) {
    const std::filesystem::path listPath = PathFromUtf8(*options.listPath);
    std::error_code error;
    if (!std::filesystem::is_regular_file(listPath, error) || !ListFile(listPath).IsOpen()) {
        return Failure(ExitUnreadablePage, "Nie można odczytać pliku listy: " + *options.listPath);
    }

    // The result goes to a temporary file beside its target, made before the list is read.
    std::optional<ReplacingFile> resultFile;
    std::optional<std::filesystem::path> resultPath;
    if (options.resultPath) {
        resultPath = PathFromUtf8(*options.resultPath);
        if (std::filesystem::equivalent(listPath, *resultPath, error)) {
            return Failure(ExitBadArguments,
                           "Plik wyniku (--wynik) jest plikiem listy: " + *options.resultPath +
                               "; wynik zapisuje się do innego pliku, by lista została "
                               "nienaruszona.");
        }
        if (std::filesystem::is_directory(*resultPath, error)) {
            return Failure(ExitUnreadablePage, "Nie można zapisać pliku wyniku: " +
                                                   *options.resultPath + " jest folderem.");
        }
        resultFile.emplace(*resultPath);
        if (!resultFile->IsOpen()) {
            return Failure(ExitUnreadablePage,
                           "Nie można zapisać pliku wyniku: " + *options.resultPath);
        }
    }
    const InterruptionWatch watch;
    CliOutput result;
    const auto say = [&](const std::string& line) {
        if (progress) {
            progress(line);
        } else {
            result.err += line;
        }
    };
    const auto interrupted = [&](std::size_t rows) {
        result.exitCode = ExitInterrupted;
        say("Przerwano obliczanie listy po " +
            PolishCount(static_cast<std::int64_t>(rows), "wierszu", "wierszach", "wierszach") +
            (resultPath ? "; plik wyniku " + *options.resultPath + " pozostał bez zmian.\n"
                        : "; wynik na standardowym wyjściu jest niepełny.\n"));
        return result;
    };

    ListShape shape;
    RowCounts counts;
    try {
        shape = SurveyList(listPath, watch);
        if (watch.Interrupted()) return interrupted(0);

        ListFile file(listPath);
        ListRecordReader reader(
            [&file](char* buffer, std::size_t size) { return file.Read(buffer, size); },
            shape.encoding);
        ResultWriter writer(resultFile ? shape.encoding : ListEncoding::Utf8,
                            resultFile ? &*resultFile : nullptr, output, result.out);
        const LocalDateMemo memo;  // the rows share a few thousand dates at most
        std::vector<std::string> fields;
        std::string added;
        ListRecord record;
        bool seenRecord = false;
        std::size_t dataRows = shape.records;
        bool writeFailed = false;
        while (reader.Next(record)) {
            if (watch.Interrupted()) return interrupted(counts.rows);
            if (IsBlankRecord(record.text, seenRecord ? shape.separator : 0)) {
                writer.Add(record.text);
                writer.Add(record.lineEnd);
                if (!writer.RowDone()) {
                    writeFailed = true;
                    break;
                }
                continue;
            }
            SplitListRecord(record.text, shape.separator, fields);
            writer.Add(record.text);
            writer.AddSeparators(shape.widest - std::min(shape.widest, fields.size()),
                                 shape.separator);
            if (!seenRecord) {
                seenRecord = true;
                reader.SetSeparator(shape.separator);
                if (!record.unclosedQuote && IsHeaderRecord(fields)) {
                    --dataRows;
                    for (const std::string_view column : AddedColumns) {
                        writer.AddSeparators(1, shape.separator);
                        writer.Add(column);
                    }
                    writer.Add(record.lineEnd);
                    if (!writer.RowDone()) {
                        writeFailed = true;
                        break;
                    }
                    continue;
                }
            }
            ++counts.rows;
            // A UTF-8 file without stray bytes needs no look at each row's.
            std::string problem = shape.strayBytes || shape.encoding == ListEncoding::Utf16Le ||
                                          shape.encoding == ListEncoding::Utf16Be
                                      ? EncodingProblem(record.text, shape.encoding)
                                      : std::string();
            if (problem.empty() && record.unclosedQuote) {
                problem =
                    "cudzysłów otwarty w tym wierszu nie zamyka się ani do końca pliku, "
                    "ani w obrębie 1 MB";
            }
            DebtRowOutcome outcome;
            if (problem.empty()) {
                outcome = ComputeDebtRow(rates, fields, options, now, shape.separator, added);
            } else {
                outcome.error = problem;
                added = FieldsOfRowError(problem, shape.separator);
            }
            if (outcome.paidLate) ++counts.paidLate;
            if (outcome.computed) {
                ++counts.computed;
                if (!outcome.error.empty()) ++counts.refusedPayments;
            } else {
                ++counts.refused;
            }
            if (!outcome.error.empty()) {
                say("wiersz " + std::to_string(record.line) + ": " + OneLine(outcome.error) + "\n");
            }
            writer.AddSeparators(1, shape.separator);
            writer.Add(added);
            writer.Add(record.lineEnd);
            if (!writer.RowDone()) {
                writeFailed = true;
                break;
            }
            if (progress && dataRows > ProgressRowStep && counts.rows % ProgressRowStep == 0) {
                progress("Obliczono " + FormatPolishCount(static_cast<std::int64_t>(counts.rows)) +
                         " z " + FormatPolishCount(static_cast<std::int64_t>(dataRows)) +
                         " wierszy listy.\n");
            }
        }
        if (watch.Interrupted()) return interrupted(counts.rows);
        if (writeFailed || !writer.Flush() || (resultFile && !resultFile->Commit())) {
            result.exitCode = ExitUnreadablePage;
            say("Błąd: Nie można zapisać pliku wyniku: " + Utf8Of(*resultPath) +
                "; plik pozostał bez zmian.\n");
            return result;
        }
    } catch (const OverlongListLine& overlong) {
        result.exitCode = ExitUnreadablePage;
        say("Błąd: Wiersz " + std::to_string(overlong.line) + " pliku listy " + *options.listPath +
            " jest dłuższy niż 1 MB; to nie jest lista należności.\n");
        return result;
    } catch (const std::runtime_error&) {
        result.exitCode = ExitUnreadablePage;
        say("Błąd: Nie można odczytać pliku listy: " + *options.listPath + "\n");
        return result;
    }

    result.exitCode =
        counts.refused + counts.refusedPayments == 0 ? ExitSuccess : ExitSomeRowsUnread;
    result.rowsPaidLate = counts.paidLate;
    result.err += Summary(counts, shape);
    if (resultPath) {
        result.err +=
            "Zapisano " +
            PolishCount(static_cast<std::int64_t>(counts.rows), "wiersz", "wiersze", "wierszy") +
            " listy do " + *options.resultPath + ".\n";
    }
    return result;
}

}  // namespace vistrel::tools
