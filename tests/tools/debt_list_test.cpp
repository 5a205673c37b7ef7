// Lists of debts: the file shapes spreadsheets save (separators, quoting, encodings, byte order
// marks, a header or none, bad rows, no final line end) each with the rows it must yield; the
// result file either old or complete; the progress of a long list; the list's dates; and the
// Polish count words of the messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "platform/unique_resource.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "tools/calculator_cli.h"
#include "tools/debt_list.h"
#include "tools/list_encoding.h"
#include "tools/list_records.h"
#include "tools/polish_number.h"
#include "tools/windows1250.h"

namespace vistrel::tools {
namespace {

#ifdef _WIN32
unsigned long ProcessNumber() { return static_cast<unsigned long>(_getpid()); }
#else
unsigned long ProcessNumber() { return static_cast<unsigned long>(getpid()); }
#endif

// A folder of the test's own (other runs may share the temporary folder), removed after it.
class TemporaryFolder {
public:
    TemporaryFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("vistrel-lista-" + std::to_string(ProcessNumber()))) {
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path Write(const std::string& name, std::string_view bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return path_ / name;
    }
    std::string Read(const std::string& name) const {
        std::ifstream file(path_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    // The names of the folder's files, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

// UTF-16 bytes of a test's text, written out here rather than by the program's encoder.
std::string Utf16(std::u16string_view text, bool littleEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

// The line numbers of the "wiersz N: ..." lines of standard error.
std::vector<std::size_t> NamedLines(const std::string& err) {
    std::vector<std::size_t> lines;
    for (std::size_t start = 0; start < err.size();) {
        const std::size_t end = err.find('\n', start);
        const std::string line = err.substr(start, end - start);
        if (line.starts_with("wiersz ")) lines.push_back(std::stoul(line.substr(7)));
        start = end == std::string::npos ? err.size() : end + 1;
    }
    return lines;
}

constexpr const char* Now = "--teraz=2026-12-08T12:00:00";

// Two debts worked out by hand over the published rates. A: 10 days (2023-01-11 to 2023-01-20)
// at 16.5% on 10 000 zł = 45.205... zł, rounded 45. B: the same days at the increased rate
// (arrears from 2023: 150% of 16.5% = 24.75%) on 1 000 zł = 6.780... zł, not charged (at most
// 8,70 zł): 0 to pay.
struct FileShape {
    const char* name;
    std::string list;
    std::string result;  // the --wynik file
    int exitCode;
    std::vector<std::size_t> namedLines;  // the lines named on standard error
    const char* summary;                  // the summary line, or its beginning
};

const std::string NotChargedUtf8 =
    "odsetek nie nalicza się, do zapłaty 0 zł (nie przekraczają 8,70 zł)";
const std::string BadFirstDate =
    "błąd: data należności „2024-02-30” nie jest datą (RRRR-MM-DD albo DD.MM.RRRR)";

std::vector<FileShape> FileShapes() {
    return {
        {"semicolons, UTF-8, no header, no final line end",
         "2023-01-10;2023-01-20;10000",
         "2023-01-10;2023-01-20;10000;10;45,21;45;",
         0,
         {},
         "Odczytano 1 wiersz listy (UTF-8, pola rozdzielone średnikiem): 1 obliczony, 0 "
         "odrzuconych.\n"},
        {"commas, a quoted decimal comma, a header, CRLF",
         "Termin,Zapłata,Kwota\r\n2023-01-10,2023-01-20,\"10 000,00\"\r\n",
         "Termin,Zapłata,Kwota,dni,odsetki,odsetki zaokrąglone,uwagi\r\n"
         "2023-01-10,2023-01-20,\"10 000,00\",10,\"45,21\",45,\r\n",
         0,
         {},
         "Odczytano 1 wiersz listy (UTF-8, pola rozdzielone przecinkiem): 1 obliczony, 0 "
         "odrzuconych."},
        {"tabs, one row",
         "2023-01-10\t2023-01-20\t10000\n",
         "2023-01-10\t2023-01-20\t10000\t10\t45,21\t45\t\n",
         0,
         {},
         "Odczytano 1 wiersz listy (UTF-8, pola rozdzielone tabulatorem): 1 obliczony, 0 "
         "odrzuconych."},
        {"Unicode text: UTF-16 LE with its mark, tabs, a header",
         Utf16(u"\uFEFFNależność\tZapłata\tKwota\r\n20.01.2023\t30.01.2023\t1000\tpodwyzszona\r\n"
               u"2023-01-10\t2023-01-20\t10000\r\n",
               true),
         Utf16(u"\uFEFFNależność\tZapłata\tKwota\t\tdni\todsetki\todsetki zaokrąglone\tuwagi\r\n"
               u"20.01.2023\t30.01.2023\t1000\tpodwyzszona\t10\t6,78\t0\todsetek nie nalicza się, "
               u"do zapłaty 0 zł (nie przekraczają 8,70 "
               u"zł)\r\n2023-01-10\t2023-01-20\t10000\t\t10\t45,21\t45\t\r\n",
               true),
         0,
         {},
         "Odczytano 2 wiersze listy (UTF-16 LE, pola rozdzielone tabulatorem): 2 obliczone, 0 "
         "odrzuconych."},
        {"UTF-16 BE with its mark, a bad last row",
         Utf16(u"\uFEFF2023-01-10;2023-01-20;10000\n2023-01-10;2023-01-20;ż\n", false),
         Utf16(u"\uFEFF2023-01-10;2023-01-20;10000;10;45,21;45;\n2023-01-10;2023-01-20;ż;;;;błąd: "
               u"kwota „ż” nie jest liczbą (na przykład 1234,56 albo 1234.56)\n",
               false),
         5,
         {2},
         "Odczytano 2 wiersze listy (UTF-16 BE, pola rozdzielone średnikiem): 1 obliczony, 1 "
         "odrzucony."},
        {"UTF-8 with its mark, a header in capitals without Polish letters",
         "\xEF\xBB\xBFNALEZNOSC;ZAPLATA;KWOTA\n2023-01-10;2023-01-20;10000\n",
         "\xEF\xBB\xBFNALEZNOSC;ZAPLATA;KWOTA;dni;odsetki;odsetki zaokrąglone;uwagi\n"
         "2023-01-10;2023-01-20;10000;10;45,21;45;\n",
         0,
         {},
         "Odczytano 1 wiersz listy (UTF-8 ze znacznikiem BOM, pola rozdzielone średnikiem): 1 "
         "obliczony, 0 odrzuconych."},
        {"Windows-1250, the remark written back in it",
         "20.01.2023;30.01.2023;1000;obni\xBF ona\n"
         "20.01.2023;30.01.2023;1000;podwyzszona\n",
         "20.01.2023;30.01.2023;1000;obni\xBF ona;;;;b\xB3\xB9\x64: rodzaj stawki \x84obni\xBF "
         "ona\x94 to nie podstawowa, obnizona ani podwyzszona\n"
         "20.01.2023;30.01.2023;1000;podwyzszona;10;6,78;0;odsetek nie nalicza si\xEA, do zap\xB3"
         "aty 0 z\xB3 (nie "
         "przekraczaj\xB9 8,70 z\xB3)\n",
         5,
         {1},
         "Odczytano 2 wiersze listy (Windows-1250, pola rozdzielone średnikiem): 1 obliczony, 1 "
         "odrzucony."},
        {"UTF-8 with one Windows-1250 byte: that row is named, the rest stays UTF-8",
         "Należność;Zapłata;Kwota;Stawka\n2023-01-10;2023-01-20;10000;obni\xBFona\n"
         "20.01.2023;30.01.2023;1000;podwyzszona\n",
         "Należność;Zapłata;Kwota;Stawka;dni;odsetki;odsetki zaokrąglone;uwagi\n"
         "2023-01-10;2023-01-20;10000;obni\xBFona;;;;błąd: bajt 0xBF nie należy do żadnego "
         "znaku UTF-8 (plik odczytano jako UTF-8, bo w nim zapisana jest większość jego "
         "znaków)\n"
         "20.01.2023;30.01.2023;1000;podwyzszona;10;6,78;0;" +
             NotChargedUtf8 + "\n",
         5,
         {2},
         "Odczytano 2 wiersze listy (UTF-8, pola rozdzielone średnikiem): 1 obliczony, 1 "
         "odrzucony."},
        {"a quoted field with doubled quotes and a line break; lines counted past it",
         "2023-01-10;2023-01-20;10000;;;;\"uwaga \"\"pilne\"\"\nciąg dalszy\"\n"
         "2024-3-16;2024-03-20;100\n",
         "2023-01-10;2023-01-20;10000;;;;\"uwaga \"\"pilne\"\"\nciąg dalszy\";10;45,21;45;\n"
         "2024-3-16;2024-03-20;100;;;;;;;;błąd: data należności „2024-3-16” nie jest datą "
         "(RRRR-MM-DD albo DD.MM.RRRR)\n",
         5,
         {3},
         "Odczytano 2 wiersze listy (UTF-8, pola rozdzielone średnikiem): 1 obliczony, 1 "
         "odrzucony."},
        {"a bad first row is a row, not a header",
         "2024-02-30;2024-03-20;100\n2023-01-10;2023-01-20;10000\n",
         "2024-02-30;2024-03-20;100;;;;" + BadFirstDate +
             "\n2023-01-10;2023-01-20;10000;10;45,21;45;\n",
         5,
         {1},
         "Odczytano 2 wiersze listy (UTF-8, pola rozdzielone średnikiem): 1 obliczony, 1 "
         "odrzucony."},
        {"a first row of words that name no column is a row",
         "abc;def;ghi\n",
         "abc;def;ghi;;;;błąd: data należności „abc” nie jest datą (RRRR-MM-DD albo "
         "DD.MM.RRRR)\n",
         5,
         {1},
         "Odczytano 1 wiersz listy (UTF-8, pola rozdzielone średnikiem): 0 obliczonych, 1 "
         "odrzucony."},
        {"a bad last row without a final line end, blank lines kept",
         "2023-01-10;2023-01-20;10000\n;;\n\n2023-01-10;2023-01-20;abc",
         "2023-01-10;2023-01-20;10000;10;45,21;45;\n;;\n\n2023-01-10;2023-01-20;abc;;;;błąd: kwota "
         "„abc” nie jest liczbą (na przykład 1234,56 albo 1234.56)",
         5,
         {4},
         "Odczytano 2 wiersze listy (UTF-8, pola rozdzielone średnikiem): 1 obliczony, 1 "
         "odrzucony."},
        {"a quote that never closes takes its own line only",
         "2023-01-10;2023-01-20;\"10000\n2023-01-10;2023-01-20;10000\n",
         "2023-01-10;2023-01-20;\"10000;;;;błąd: cudzysłów otwarty w tym wierszu nie zamyka się "
         "ani do końca pliku, ani w obrębie 1 MB\n2023-01-10;2023-01-20;10000;10;45,21;45;\n",
         5,
         {1},
         "Odczytano 2 wiersze listy (UTF-8, pola rozdzielone średnikiem): 1 obliczony, 1 "
         "odrzucony."},
        {"the sixth column: the corrected return's date, empty or a date",
         "2023-01-10;2023-01-20;10000;;;2023-02-01\n2023-01-10;2023-01-20;10000;;;\n"
         "2023-01-10;2023-01-20;10000;;;1.2.23\n",
         "2023-01-10;2023-01-20;10000;;;2023-02-01;10;45,21;45;\n"
         "2023-01-10;2023-01-20;10000;;;;10;45,21;45;\n"
         "2023-01-10;2023-01-20;10000;;;1.2.23;;;;błąd: data korekty „1.2.23” nie jest datą "
         "(RRRR-MM-DD albo DD.MM.RRRR)\n",
         5,
         {3},
         "Odczytano 3 wiersze listy (UTF-8, pola rozdzielone średnikiem): 2 obliczone, 1 "
         "odrzucony."},
        // Windows-1250 bytes: ż 0xBF, ś 0x9C, ć 0xE6, ł 0xB3, ą 0xB9, ę 0xEA. Row 4 in the
        // DD.MM.RRRR form at the increased rate (B); row 5 falls on Saturday 2023-04-08 and moves
        // to Tuesday 2023-04-11: 10 days to 2023-04-21 on "2 000,00" = 9.041... Rows without
        // the kind's column get it empty, so that the figures stand under their names.
        {"Windows-1250, a header, CRLF, a bad row, a due date moved off a Saturday",
         "Nale\xBF no\x9C\xE6;Zap\xB3\x61ta;Kwota;Stawka\r\n"
         "2023-01-10;2023-01-20;10 000,00\r\n"
         "2023-01-10;2023-01-20;abc\r\n"
         "20.01.2023;30.01.2023;1000;podwyzszona\r\n"
         "2023-04-08;2023-04-21;\"2 000,00\"\r\n",
         "Nale\xBF no\x9C\xE6;Zap\xB3\x61ta;Kwota;Stawka;dni;odsetki;odsetki zaokr\xB9glone;"
         "uwagi\r\n"
         "2023-01-10;2023-01-20;10 000,00;;10;45,21;45;\r\n"
         "2023-01-10;2023-01-20;abc;;;;;b\xB3\xB9\x64: kwota \x84\x61\x62\x63\x94 nie jest "
         "liczb\xB9 (na przyk\xB3\x61\x64 1234,56 albo 1234.56)\r\n"
         "20.01.2023;30.01.2023;1000;podwyzszona;10;6,78;0;odsetek nie nalicza si\xEA, do "
         "zap\xB3"
         "aty 0 z\xB3 (nie przekraczaj\xB9 8,70 z\xB3)\r\n"
         "2023-04-08;2023-04-21;\"2 000,00\";;10;9,04;9;termin przesuni\xEAty z 2023-04-08 "
         "(sobota) na 2023-04-11\r\n",
         5,
         {3},
         "Odczytano 4 wiersze listy (Windows-1250, pola rozdzielone średnikiem): 3 obliczone, 1 "
         "odrzucony.\nZapisano 4 wiersze listy do "},
        {"a header alone",
         "Termin;Zapłata;Kwota\n",
         "Termin;Zapłata;Kwota;dni;odsetki;odsetki zaokrąglone;uwagi\n",
         0,
         {},
         "Odczytano 0 wierszy listy (UTF-8, pola rozdzielone średnikiem): 0 obliczonych, 0 "
         "odrzuconych."},
        {"an empty file",
         "",
         "",
         0,
         {},
         "Odczytano 0 wierszy listy (UTF-8, pola rozdzielone średnikiem): 0 obliczonych, 0 "
         "odrzuconych."},
    };
}

TEST(DebtList, EachFileShapeYieldsEveryRowWithItsFiguresOrItsError) {
    const TemporaryFolder folder;
    for (const FileShape& shape : FileShapes()) {
        SCOPED_TRACE(shape.name);
        folder.Write("lista.csv", shape.list);
        const CliOutput output = RunCalculatorCli(
            {Now, "--lista=" + folder.Path("lista.csv"), "--wynik=" + folder.Path("wynik.csv")});
        EXPECT_EQ(output.exitCode, shape.exitCode) << output.err;
        EXPECT_EQ(folder.Read("wynik.csv"), shape.result);
        EXPECT_EQ(NamedLines(output.err), shape.namedLines) << output.err;
        EXPECT_NE(output.err.find(shape.summary), std::string::npos) << output.err;
        EXPECT_EQ(folder.Files(), (std::vector<std::string>{"lista.csv", "wynik.csv"}));
    }
}

// The records do not depend on where the file's chunks end: a UTF-16 pair, a CRLF, a doubled
// quote or a UTF-8 letter cut in two reads as whole.
TEST(ListRecords, AreTheSameWhateverTheChunksTheFileArrivesIn) {
    for (const FileShape& shape : FileShapes()) {
        SCOPED_TRACE(shape.name);
        const ListEncoding encoding =
            EncodingOfMark(shape.list)
                .value_or(IsUtf8(shape.list) ? ListEncoding::Utf8 : ListEncoding::Windows1250);
        std::vector<std::vector<std::string>> expected;
        for (const std::size_t chunk : {std::size_t{1 << 20}, std::size_t{1}, std::size_t{2},
                                        std::size_t{3}, std::size_t{5}}) {
            std::size_t offset = 0;
            ListRecordReader reader(
                [&](char* buffer, std::size_t size) {
                    const std::size_t n = std::min({size, chunk, shape.list.size() - offset});
                    std::copy_n(shape.list.data() + offset, n, buffer);
                    offset += n;
                    return n;
                },
                encoding);
            std::vector<std::vector<std::string>> records;
            ListRecord record;
            while (reader.Next(record)) {
                records.push_back({std::string(record.text), std::string(record.lineEnd),
                                   std::to_string(record.line),
                                   record.unclosedQuote ? "open" : ""});
            }
            if (chunk == (1 << 20)) {
                expected = records;
                // Every line of the file is in a record, with its line end.
                std::string text;
                for (const auto& r : records) text += r[0] + r[1];
                std::string decoded;
                ListDecoder decoder(encoding);
                decoder.Decode(shape.list, decoded);
                decoder.Finish(decoded);
                EXPECT_EQ(text, decoded);
            } else {
                EXPECT_EQ(records, expected) << "chunks of " << chunk;
            }
        }
    }
}

TEST(DebtList, WritesUtf8ToStandardOutputAndTheSummaryToStandardError) {
    const TemporaryFolder folder;
    folder.Write("lista.csv", "Nale\xBFno\x9C\xE6;Kwota\n2023-01-10;2023-01-20;10000\n");
    std::string streamed;
    const CliOutput output =
        RunCalculatorCli({Now, "--lista=" + folder.Path("lista.csv")}, {},
                         [&streamed](std::string_view text) { streamed += text; });
    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(streamed,
              "Należność;Kwota;;dni;odsetki;odsetki zaokrąglone;uwagi\n"
              "2023-01-10;2023-01-20;10000;10;45,21;45;\n");
    EXPECT_EQ(output.err,
              "Odczytano 1 wiersz listy (Windows-1250, pola rozdzielone średnikiem): 1 "
              "obliczony, 0 odrzuconych.\n");
}

TEST(DebtList, ReportsItsProgressOverTenThousandRows) {
    const TemporaryFolder folder;
    std::string rows;
    for (int i = 0; i < 10'001; ++i) rows += "2023-01-10;2023-01-20;1000\n";
    folder.Write("lista.csv", rows);
    std::vector<std::string> progress;
    const CliOutput output =
        RunCalculatorCli({Now, "--lista=" + folder.Path("lista.csv")},
                         [&progress](const std::string& line) { progress.push_back(line); });
    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(progress, std::vector<std::string>{"Obliczono 10 000 z 10 001 wierszy listy.\n"});
}

// Nothing is read or written when the result would land on the list, or cannot be written.
TEST(DebtList, RefusesAResultThatIsTheListAndAMissingFile) {
    const TemporaryFolder folder;
    const std::string list = "2023-01-10;2023-01-20;10000\n";
    folder.Write("lista.csv", list);
    const std::string sameByAnotherPath =
        (std::filesystem::path(folder.Path("lista.csv")).parent_path() / "." / "lista.csv")
            .string();
    for (const std::string& result : {folder.Path("lista.csv"), sameByAnotherPath}) {
        const CliOutput output =
            RunCalculatorCli({Now, "--lista=" + folder.Path("lista.csv"), "--wynik=" + result});
        EXPECT_EQ(output.exitCode, ExitBadArguments) << result;
        EXPECT_NE(output.err.find("Plik wyniku (--wynik) jest plikiem listy"), std::string::npos);
        EXPECT_EQ(folder.Read("lista.csv"), list);
    }
    const CliOutput noFolder = RunCalculatorCli(
        {Now, "--lista=" + folder.Path("lista.csv"), "--wynik=" + folder.Path("nie/ma.csv")});
    EXPECT_EQ(noFolder.exitCode, ExitUnreadablePage);
    EXPECT_NE(noFolder.err.find("Nie można zapisać pliku wyniku"), std::string::npos);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"lista.csv"});

    EXPECT_EQ(RunCalculatorCli({"--lista=x.csv", "2023-01-10"}).exitCode, ExitBadArguments);
    EXPECT_EQ(RunCalculatorCli({"--wynik=x.csv", "2023-01-10", "2023-01-20", "1"}).exitCode,
              ExitBadArguments);
    const CliOutput missing = RunCalculatorCli({"--lista=" + folder.Path("nie-ma.csv")});
    EXPECT_EQ(missing.exitCode, ExitUnreadablePage);
    EXPECT_NE(missing.err.find("Nie można odczytać pliku listy"), std::string::npos);
}

// A line over the longest record a list may have ends the run before anything is written.
TEST(DebtList, RefusesAFileWithAnOverlongLineAndKeepsTheOldResult) {
    const TemporaryFolder folder;
    folder.Write("lista.csv",
                 "2023-01-10;2023-01-20;10000\n" + std::string(LongestListRecord + 1, 'x') + "\n");
    folder.Write("wynik.csv", "stary wynik\n");
    const CliOutput output = RunCalculatorCli(
        {Now, "--lista=" + folder.Path("lista.csv"), "--wynik=" + folder.Path("wynik.csv")});
    EXPECT_EQ(output.exitCode, ExitUnreadablePage);
    EXPECT_NE(output.err.find("Wiersz 2 pliku listy"), std::string::npos) << output.err;
    EXPECT_EQ(folder.Read("wynik.csv"), "stary wynik\n");
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"lista.csv", "wynik.csv"}));
}

#ifndef _WIN32

// The program on a long list, stopped once it has begun computing: by Ctrl+C (SIGINT) or
// SIGTERM it stops between rows, removes its temporary file and leaves the old result; killed
// outright (SIGKILL) it cannot clean up, but the old result stays whole all the same.
TEST(DebtListRun, StoppedHalfWayLeavesTheOldResult) {
    const TemporaryFolder folder;
    std::string rows;
    for (int i = 0; i < 400'000; ++i) rows += "2023-01-10;2023-01-20;" + std::to_string(i) + "\n";
    folder.Write("lista.csv", rows);
    struct Stop {
        int signal;
        bool cleansUp;
    };
    for (const Stop stop : {Stop{SIGINT, true}, Stop{SIGTERM, true}, Stop{SIGKILL, false}}) {
        SCOPED_TRACE(stop.signal);
        folder.Write("wynik.csv", "stary wynik\n");
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const std::string list = "--lista=" + folder.Path("lista.csv");
        const std::string result = "--wynik=" + folder.Path("wynik.csv");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            dup2(pipeEnds[1], STDERR_FILENO);
            close(pipeEnds[0]);
            execl(VISTREL_CALCULATOR_PROGRAM, VISTREL_CALCULATOR_PROGRAM, Now, list.c_str(),
                  result.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        // Once the first progress line is out, the rows are being computed and written.
        std::string err;
        char buffer[4096];
        ssize_t got = 0;
        while (err.find("Obliczono ") == std::string::npos &&
               (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
            err.append(buffer, static_cast<std::size_t>(got));
        }
        EXPECT_NE(err.find("Obliczono 10 000 z 400 000 wierszy listy."), std::string::npos) << err;
        kill(child, stop.signal);
        while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
            err.append(buffer, static_cast<std::size_t>(got));
        }
        close(pipeEnds[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(folder.Read("wynik.csv"), "stary wynik\n");
        if (stop.cleansUp) {
            ASSERT_TRUE(WIFEXITED(status)) << status;
            EXPECT_EQ(WEXITSTATUS(status), ExitInterrupted) << err;
            EXPECT_NE(err.find("plik wyniku " + folder.Path("wynik.csv") + " pozostał bez zmian"),
                      std::string::npos)
                << err;
            EXPECT_EQ(folder.Files(), (std::vector<std::string>{"lista.csv", "wynik.csv"}));
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
            for (const std::string& name : folder.Files()) {
                if (name != "lista.csv" && name != "wynik.csv") {
                    EXPECT_TRUE(name.starts_with("wynik.csv.") && name.ends_with(".tmp")) << name;
                    std::filesystem::remove(folder.Path(name));
                }
            }
        }
    }
    // Left alone, the same run replaces the old result with the whole new one (the program
    // again, which memcheck, running this test, leaves at its own speed).
    const std::string list = "--lista=" + folder.Path("lista.csv");
    const std::string result = "--wynik=" + folder.Path("wynik.csv");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::freopen("/dev/null", "w", stderr);  // its progress lines
        execl(VISTREL_CALCULATOR_PROGRAM, VISTREL_CALCULATOR_PROGRAM, Now, list.c_str(),
              result.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == ExitSuccess) << status;
    const std::string written = folder.Read("wynik.csv");
    EXPECT_EQ(static_cast<std::size_t>(std::count(written.begin(), written.end(), '\n')), 400'000u);
    EXPECT_TRUE(written.ends_with("2023-01-10;2023-01-20;399999;10;1808,21;1808;\n"));
}

#else

// Rows written to a redirected standard output keep their own line ends, as in a result file: a
// CR LF row stays CR LF (a text-mode stream would make it CR CR LF) and an LF row stays LF.
TEST(DebtListRun, RowsOnRedirectedStandardOutputKeepTheirLineEnds) {
    const TemporaryFolder folder;
    folder.Write("lista.csv", "2023-01-10;2023-01-20;10000\r\n2023-01-10;2023-01-20;399999\n");
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    UniqueHandle out(CreateFileW(std::filesystem::path(folder.Path("wyjscie.csv")).c_str(),
                                 GENERIC_WRITE, 0, &inherited, CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(out.get(), INVALID_HANDLE_VALUE);
    const std::wstring program = std::filesystem::path(VISTREL_CALCULATOR_PROGRAM).wstring();
    std::wstring command = L"\"" + program + L"\" " + std::filesystem::path(Now).wstring() +
                           L" \"--lista=" +
                           std::filesystem::path(folder.Path("lista.csv")).wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    // Detached from any console: Wine would hand a new console its own standard handles.
    ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE,
                               DETACHED_PROCESS, nullptr, nullptr, &startup, &started));
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    ASSERT_EQ(WaitForSingleObject(process.get(), 60'000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ASSERT_TRUE(GetExitCodeProcess(process.get(), &exitCode));
    EXPECT_EQ(exitCode, static_cast<DWORD>(ExitSuccess));
    out.reset();
    // 10 days at 16.5 %: 45.205... zł and 1808.21... zł.
    EXPECT_EQ(folder.Read("wyjscie.csv"),
              "2023-01-10;2023-01-20;10000;10;45,21;45;\r\n"
              "2023-01-10;2023-01-20;399999;10;1808,21;1808;\n");
}

#endif

TEST(ListDates, ReadBothFormsAndNothingElse) {
    using namespace std::chrono_literals;
    EXPECT_EQ(ParseListDate("2023-01-10"), 2023y / 1 / 10);
    EXPECT_EQ(ParseListDate("10.01.2023"), 2023y / 1 / 10);
    EXPECT_EQ(ParseListDate("5.1.2023"), 2023y / 1 / 5);
    EXPECT_FALSE(ParseListDate("31.02.2023"));
    EXPECT_FALSE(ParseListDate("10.01.23"));
    EXPECT_FALSE(ParseListDate("2024-3-16"));
    EXPECT_FALSE(ParseListDate("Data"));
}

TEST(PolishCounts, TakeTheNounFormTheNumberCalls) {
    struct Case {
        std::int64_t n;
        const char* text;
    };
    for (const Case c :
         {Case{0, "0 wierszy"}, Case{1, "1 wiersz"}, Case{2, "2 wiersze"}, Case{4, "4 wiersze"},
          Case{5, "5 wierszy"}, Case{11, "11 wierszy"}, Case{12, "12 wierszy"},
          Case{14, "14 wierszy"}, Case{21, "21 wierszy"}, Case{22, "22 wiersze"},
          Case{104, "104 wiersze"}, Case{112, "112 wierszy"}, Case{1001, "1 001 wierszy"},
          Case{10'002, "10 002 wiersze"}, Case{-1, "-1 wiersz"}, Case{-3, "-3 wiersze"}}) {
        EXPECT_EQ(PolishCount(c.n, "wiersz", "wiersze", "wierszy"), c.text);
    }
}

TEST(Windows1250, CarriesThePolishLettersBothWays) {
    const std::string utf8 = "zażółć gęślą jaźń ŁÓDŹ „x” €";
    const std::string bytes = Utf8ToWindows1250(utf8);
    EXPECT_EQ(bytes,
              "za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xA3\xD3\x44\x8F \x84x\x94 \x80");
    EXPECT_EQ(Windows1250ToUtf8(bytes), utf8);
    EXPECT_FALSE(IsUtf8(bytes));
    EXPECT_TRUE(IsUtf8(utf8));
    EXPECT_EQ(Utf8ToWindows1250("日"), "?");
}

}  // namespace
}  // namespace vistrel::tools
