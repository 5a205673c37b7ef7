// Lists of debts: the CSV round trip in Windows-1250 with a bad row, UTF-8 to standard output,
// the progress of a long list, and the encodings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "tools/calculator_cli.h"
#include "tools/debt_list.h"
#include "tools/windows1250.h"

namespace vistrel::tools {
namespace {

// A file of the test's, removed again after it.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& name, const std::string& bytes = {})
        : path_(std::filesystem::temp_directory_path() / ("vistrel-" + name)) {
        if (!bytes.empty()) std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~TemporaryFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::string Path() const { return path_.string(); }
    std::string Bytes() const {
        std::ifstream file(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path path_;
};

// Windows-1250 bytes: ż 0xBF, ś 0x9C, ć 0xE6, ł 0xB3, ą 0xB9, ę 0xEA.
// Row 2: 10 days at 16.5% on 10 000 zł = 45.205...; row 3 has no amount; row 4 (dates in the
// DD.MM.RRRR form, the reduced rate, Friday 20 January 2023) 10 days at 50% of 16.5% on
// 1 000 zł = 2.260..., not charged; row 5 falls on Saturday 2023-04-08 and moves to Tuesday
// 2023-04-11: 10 days to 2023-04-21 on "2 000,00" = 9.041... Rows without the kind's column get
// it empty, so that the figures stand under their names.
TEST(DebtList, WritesTheFiguresBesideEachRowInTheListsOwnEncoding) {
    const TemporaryFile list("lista.csv",
                             "Nale\xBF no\x9C\xE6;Zap\xB3\x61ta;Kwota;Stawka\r\n"
                             "2023-01-10;2023-01-20;10 000,00\r\n"
                             "2023-01-10;2023-01-20;abc\r\n"
                             "20.01.2023;30.01.2023;1000;obnizona\r\n"
                             "2023-04-08;2023-04-21;\"2 000,00\"\r\n");
    const TemporaryFile result("wynik.csv");
    const CliOutput output = RunCalculatorCli(
        {"--teraz=2026-12-08T12:00:00", "--lista=" + list.Path(), "--wynik=" + result.Path()});
    EXPECT_EQ(output.exitCode, ExitSomeRowsUnread);
    EXPECT_EQ(output.out, "");
    EXPECT_NE(output.err.find("wiersz 3: kwota „abc” nie jest liczbą"), std::string::npos)
        << output.err;
    EXPECT_NE(output.err.find("Zapisano 4 wierszy listy do "), std::string::npos) << output.err;
    EXPECT_EQ(result.Bytes(),
              "Nale\xBF no\x9C\xE6;Zap\xB3\x61ta;Kwota;Stawka;dni;odsetki;odsetki zaokr\xB9glone;"
              "uwagi\r\n"
              "2023-01-10;2023-01-20;10 000,00;;10;45,21;45;\r\n"
              "2023-01-10;2023-01-20;abc;;;;;b\xB3\xB9\x64: kwota \x84\x61\x62\x63\x94 nie jest "
              "liczb\xB9 (na przyk\xB3\x61\x64 1234,56 albo 1234.56)\r\n"
              // Any correction in the 7 days before the payment falls under art. 56a: 50%.
              "20.01.2023;30.01.2023;1000;obnizona;10;2,26;0;\"dnia z\xB3o\xBF"
              "enia korekty nie podano; przyj\xEAto korekt\xEA z\xB3o\xBFon\xB9 w ci\xB9gu 7 "
              "dni przed zap\xB3"
              "at\xB9 (ka\xBF"
              "dy z tych dni daje ten sam przepis); odsetek "
              "nie nalicza si\xEA, do zap\xB3"
              "aty 0 z\xB3 (nie przekraczaj\xB9 8,70 z\xB3)\"\r\n"
              "2023-04-08;2023-04-21;\"2 000,00\";;10;9,04;9;termin przesuni\xEAty z 2023-04-08 "
              "(sobota) na 2023-04-11\r\n");
}

TEST(DebtList, WritesUtf8ToStandardOutputWithoutAHeaderRow) {
    const TemporaryFile list("lista-utf8.csv", "2023-01-10;2023-01-20;10000\n");
    const CliOutput output =
        RunCalculatorCli({"--teraz=2026-12-08T12:00:00", "--lista=" + list.Path()});
    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(output.out, "2023-01-10;2023-01-20;10000;10;45,21;45;\n");
    EXPECT_EQ(output.err, "");
}

TEST(DebtList, ReportsItsProgressOverTenThousandRows) {
    std::string rows;
    for (int i = 0; i < 10'001; ++i) rows += "2023-01-10;2023-01-20;1000\n";
    const TemporaryFile list("lista-dluga.csv", rows);
    std::vector<std::string> progress;
    const CliOutput output =
        RunCalculatorCli({"--teraz=2026-12-08T12:00:00", "--lista=" + list.Path()},
                         [&progress](const std::string& line) { progress.push_back(line); });
    EXPECT_EQ(output.exitCode, ExitSuccess) << output.err;
    EXPECT_EQ(progress, std::vector<std::string>{"Obliczono 10 000 z 10 001 wierszy listy.\n"});
}

TEST(DebtList, RefusesValuesBesideTheListAndAMissingFile) {
    EXPECT_EQ(RunCalculatorCli({"--lista=x.csv", "2023-01-10"}).exitCode, ExitBadArguments);
    EXPECT_EQ(RunCalculatorCli({"--wynik=x.csv", "2023-01-10", "2023-01-20", "1"}).exitCode,
              ExitBadArguments);
    const CliOutput missing = RunCalculatorCli({"--lista=/nie/ma/takiej/listy.csv"});
    EXPECT_EQ(missing.exitCode, ExitUnreadablePage);
    EXPECT_NE(missing.err.find("Nie można odczytać pliku listy"), std::string::npos);
}

TEST(ListFields, SplitAtSemicolonsOutsideQuotes) {
    EXPECT_EQ(SplitListLine("a; \"b;c\" ;\"d\"\"e\";"),
              (std::vector<std::string>{"a", "b;c", "d\"e", ""}));
    EXPECT_EQ(ListField("a;b"), "\"a;b\"");
    EXPECT_EQ(ListField("ab"), "ab");
}

TEST(ListDates, ReadBothFormsAndNothingElse) {
    using namespace std::chrono_literals;
    EXPECT_EQ(ParseListDate("2023-01-10"), 2023y / 1 / 10);
    EXPECT_EQ(ParseListDate("10.01.2023"), 2023y / 1 / 10);
    EXPECT_EQ(ParseListDate("5.1.2023"), 2023y / 1 / 5);
    EXPECT_FALSE(ParseListDate("31.02.2023"));
    EXPECT_FALSE(ParseListDate("10.01.23"));
    EXPECT_FALSE(ParseListDate("Data"));
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
