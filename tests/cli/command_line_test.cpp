#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/belun.h"
#include "cli/files.h"
#include "tavon/report.h"
#include "tests/robust/scratch.h"
#include "tests/support/documents.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::cp1250;
using test::csv_rows;
using test::run_belun;

const std::string kBanner = "\nProgram  TAVON_v0.9  kontola dat pro DUV\n";
// The line after the banner of a run that gets past its arguments: the built-in data set.
const std::string kData =
    cp1250("Data: vestavěná vzorová data, jen na zkoušku (skutečné dodávky kontrolujte s daty kampaně)\n");
const std::string kES308 = ";ES308;;;   ;   ;   ;V souboru nebyl ani jeden zamestnavatel";

// A document without employers: its only finding is ES308 on line 12.
std::string without_employer() { return test::document_head() + test::document_tail(); }

// The end of a normal run, on a console that is no terminal: the totals and the report's name.
std::string console_end(int e, int w, const std::string& report) {
    char b[128];
    std::snprintf(b, sizeof b, "Celkem chyb vahy E:%8d\n\nCelkem chyb vahy W:%8d\n", e, w);
    return b + cp1250("\nProtokol o chybách: ") + report + "\nProgram ukoncen normalne\n";
}

std::string cannot_open(const std::string& name, const char* line_end) {
    return std::string(" Nelze otevrit soubor  ") + name + line_end + " Program ukoncen" + line_end;
}

std::string help_text() {
    return "Volani programu:\n\nBELUN vstup chyby vystup -prepinac\n\n"
           "\nvstup    - uplna cesta ke vstupnimu souboru, max. 60 znaku\n"
           "             neni-li uveden hleda se duv.xml \n"
           "             je-li prni znak @, jedna se o seznam souboru\n"
           "\nchyby    - uplna cesta k chybovemu souboru, max. 60 znaku\n"
           "             neni-li uveden zapisuje se do  duve.htm\n"
           "             pripona urcuje typ .htm - html\n"
           "             pripona urcuje typ .txt - textovy\n"
           "                                .csv - (Excel)\n"
           "                                .xml          \n"
           "                                .json - (JSON, UTF-8)\n"
           "\nvystup   - uplna cesta k vystupmu souboru, max. 60 znaku\n"
           "             neni-li uveden, vystupni  se nevytvari\n"
           "\nprepinac - pripustne hodnoty\n"
           "             -w potlaceni vystupu chyb vahy W\n"
           "             -h tato napoveda\n"
           "             -d slozka  data kampane (ciselniky, registry, tarify) ze slozky;\n"
           "                bez -d se pouzije slozka data vedle programu, neni-li, vestavena data\n" +
           cp1250(
               "\nVšechny kódy chyb a prvky vysvětluje katalog.html vedle programu (v Linuxu\n"
               "např. v /usr/share/doc/belun); protokol HTML vysvětluje ty, které uvádí.\n") +
           "\n" + kData;
}

TEST(CommandLine, DefaultsReadDuvXmlIntoHtmlReport) {
    auto run = run_belun({{"duv.xml", without_employer()}}, {});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.console, kBanner + kData + console_end(1, 0, "duve.htm (HTML)"));
    EXPECT_EQ(run.report.rfind("<html>\r\n<head>\r\n", 0), 0u);
    EXPECT_NE(run.report.find("<th width=38%> duv.xml </th>"), std::string::npos);
    EXPECT_NE(run.report.find("<td><b>&nbsp;<a href=\"#kod-ES308\">ES308</a></b></td>"), std::string::npos);
    EXPECT_TRUE(run.copy.empty());
}

TEST(CommandLine, ArgumentsOfSixtyCharactersOnly) {
    const std::string n60 = std::string(56, 'a') + ".xml";
    const std::string n61 = std::string(57, 'a') + ".xml";
    auto run = run_belun({{n60, without_employer()}}, {n60, "r.csv"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(csv_rows(run.report), std::vector<std::string>{"12" + kES308});

    run = run_belun({{n61, without_employer()}}, {n61, "r.csv"});
    EXPECT_EQ(run.exit_code, 13);
    EXPECT_EQ(run.console,
              kBanner + cp1250(" Délka parametru vetsi nez 60  ") + n61 + "\n Program ukoncen\n");
    EXPECT_TRUE(run.report.empty());
}

TEST(CommandLine, Switches) {
    const std::string n61(61, 'x');
    const struct {
        std::vector<std::string> args;
        int exit_code;
        std::string console;
    } cases[] = {
        {{"-x"}, 13, " Chybny parametr -x\n Program ukoncen\n"},
        {{"-wx"}, 13, " Chybny parametr -wx\n Program ukoncen\n"},
        {{"-"}, 13, " Chybny parametr -\n Program ukoncen\n"},
        {{"-WX"}, 13, " Chybny parametr -wX\n Program ukoncen\n"},
        {{"-Hh"}, 13, " Chybny parametr -hh\n Program ukoncen\n"},
        {{"-x", "-h"}, 13, " Chybny parametr -x\n Program ukoncen\n"},
        {{"-h"}, 1, help_text()},
        {{"-H"}, 1, help_text()},
        {{"a.xml", "-w", "-h", "-x"}, 1, help_text()},
        {{"-h", n61}, 1, help_text()},
        {{"a.xml", "-d"}, 13, " Chybny parametr -d\n Program ukoncen\n"},
        {{"-D"}, 13, " Chybny parametr -d\n Program ukoncen\n"},
    };
    for (const auto& c : cases) {
        auto run = run_belun({}, c.args);
        EXPECT_EQ(run.exit_code, c.exit_code) << c.args[0];
        EXPECT_EQ(run.console, kBanner + c.console) << c.args[0];
        EXPECT_TRUE(run.report.empty()) << c.args[0];
    }
}

TEST(CommandLine, WarningSwitchInAnyCaseAndPosition) {
    // A root without attributes gives the warning WS102.
    const std::string doc = "<DUV>\r\n" + test::document_head().substr(test::document_head().find("<rok>")) +
                            test::document_tail();
    auto run = run_belun({{"a.xml", doc}}, {"a.xml", "r.csv"});
    ASSERT_EQ(csv_rows(run.report).size(), 2u);
    EXPECT_EQ(csv_rows(run.report)[0].substr(0, 8), "1;WS102;");

    for (const char* warnings_switch : {"-w", "-W"}) {
        run = run_belun({{"a.xml", doc}}, {"a.xml", warnings_switch, "b.csv"});
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(csv_rows(run.report), std::vector<std::string>{"11" + kES308}) << warnings_switch;
        EXPECT_NE(run.report.find("\r\nCelkem chyb vahy W:;       1\r\n"), std::string::npos);
        EXPECT_EQ(run.console, kBanner + kData + console_end(1, 1, "b.csv (CSV)"));
    }
}

TEST(CommandLine, ThirdAndFurtherFileNames) {
    auto run = run_belun({{"a.xml", without_employer()}}, {"a.xml", "r.csv", "o.xml", "d.xml"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.console,
              kBanner + kData + console_end(1, 0, "r.csv (CSV)" + cp1250(", upravená kopie: o.xml")));
    EXPECT_FALSE(run.copy.empty());

    run = run_belun({{"a.xml", without_employer()}}, {"a.xml", "r.csv", "..."});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.copy.empty());
}

TEST(CommandLine, ReportFormatFromTheFileOwnName) {
    const struct {
        const char* name;
        ReportFormat format;
    } cases[] = {
        {"out.txt", ReportFormat::Text},
        {"out.TXT", ReportFormat::Text},
        {"out.TxT", ReportFormat::Text},
        {"r.csv", ReportFormat::Csv},
        {"r.CSV", ReportFormat::Csv},
        {"r.xml", ReportFormat::Xml},
        {"r.json", ReportFormat::Json},
        {"R.JSON", ReportFormat::Json},
        {"r.jsonl", ReportFormat::Html},
        {"r.htm", ReportFormat::Html},
        {"out.Html", ReportFormat::Html},
        {"out.doc", ReportFormat::Html},
        {"out", ReportFormat::Html},
        {"r.txtx", ReportFormat::Html},
        {"r.", ReportFormat::Html},
        {".csv", ReportFormat::Csv},
        {"r.tx", ReportFormat::Html},
        // The last dot of the name after the last "/" or "\\" decides.
        {"a.b.txt", ReportFormat::Text},
        {"chyby.2006.csv", ReportFormat::Csv},
        {"./chyby.csv", ReportFormat::Csv},
        {"../out/chyby.csv", ReportFormat::Csv},
        {"out.d/chyby.csv", ReportFormat::Csv},
        {"C:\\Users\\jana.novak\\chyby.csv", ReportFormat::Csv},
        {"out.d/chyby", ReportFormat::Html},
        {"C:\\data.2006\\chyby", ReportFormat::Html},
        {"chyby.csv.htm", ReportFormat::Html},
    };
    for (const auto& c : cases) EXPECT_EQ(cli::report_format_for(c.name), c.format) << c.name;

    const struct {
        const char* name;
        std::string start;
    } runs[] = {
        {"out.TXT", cp1250(" Datum a čas:   ")},
        {"out.Html", "<html>\r\n"},
        {"out.doc", "<html>\r\n"},
        {"out", "<html>\r\n"},
        {"r.xml", "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><DUV_chyby>\r\n<DatumCas>"},
        {"r.csv", "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n12;ES308;"},
        {"r.Json", "{\"program\":\"TAVON_v0.9\",\"report_version\":1,\"file\":\"a.xml\","},
    };
    for (const auto& r : runs) {
        auto run = run_belun({{"a.xml", without_employer()}}, {"a.xml", r.name});
        EXPECT_EQ(run.report.rfind(r.start, 0), 0u) << r.name;
    }
}

TEST(CommandLine, FilesThatCannotBeOpened) {
    const auto doc = without_employer();
    auto run = run_belun({{"a.xml", doc}}, {"a.xml", "chybi/r.csv"});
    EXPECT_EQ(run.exit_code, 13);
    EXPECT_EQ(run.console,
              kBanner + kData + cannot_open("chybi/r.csv", "\n") + cp1250(" Protokol: složka neexistuje.\n"));

    // The console says which file it is and why; a failed run leaves no report behind.
    const struct {
        std::vector<std::string> args;
        std::string name;
        std::string why;
    } cases[] = {
        {{"a.xml", "r.csv", "chybi/o.xml"}, "chybi/o.xml", " Výstupní soubor: složka neexistuje.\n"},
        {{"chybi.xml", "r.csv"}, "chybi.xml", " Kontrolovaný soubor: soubor neexistuje.\n"},
        {{"chybi/a.xml", "r.csv"}, "chybi/a.xml", " Kontrolovaný soubor: složka neexistuje.\n"},
        {{"slozka", "r.csv"}, "slozka", " Kontrolovaný soubor: je to složka, ne soubor.\n"},
        {{"@seznam.txt", "r.csv"}, "seznam.txt", " Seznam souborů: soubor neexistuje.\n"},
        {{"@slozka", "r.csv"}, "slozka", " Seznam souborů: je to složka, ne soubor.\n"},
        {{"@prazdny.txt", "r.csv"}, "@prazdny.txt", " Seznam souborů: neobsahuje žádný soubor.\n"},
    };
    for (const auto& c : cases) {
        run = run_belun({{"a.xml", doc}, {"prazdny.txt", " \r\n\t"}, {"slozka/x.xml", doc}}, c.args);
        EXPECT_EQ(run.exit_code, 13) << c.name;
        EXPECT_EQ(run.console, kBanner + kData + cannot_open(c.name, "\n") + cp1250(c.why)) << c.name;
        EXPECT_EQ(run.report, "") << c.name;
    }
}

TEST(CommandLine, ListOfInputFilesReadAsOneText) {
    const std::map<std::string, std::string> files = {
        {"seznam.txt", "a.xml\r\n  b.xml\r\n"},
        {"a.xml", test::document_head()},
        {"b.xml", "<xyz>ab</xyz>\r\n</DUV>\r\n"},
    };
    auto run = run_belun(files, {"@seznam.txt", "r.csv"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(csv_rows(run.report),
              (std::vector<std::string>{"11;ES301;;;xyz;ab;2;" + cp1250("Neznamý prvek"), "13" + kES308}));

    run = run_belun(files, {"@seznam.txt", "r.xml"});
    EXPECT_NE(run.report.find("<Soubor>a.xml</Soubor>\r\n"), std::string::npos);

    // Words of the list are not limited to 60 characters.
    const std::string long_name = std::string(70, 'd') + ".xml";
    run = run_belun({{"s.txt", long_name}, {long_name, without_employer()}}, {"@s.txt", "r.csv"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(csv_rows(run.report), std::vector<std::string>{"12" + kES308});
}

TEST(CommandLine, ListEndsAtThreeDots) {
    auto run = run_belun(
        {{"s.txt", "a.xml ... b.xml"}, {"a.xml", without_employer()}, {"b.xml", "<zamestnavatel>\r\n"}},
        {"@s.txt", "r.csv"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(csv_rows(run.report), std::vector<std::string>{"12" + kES308});
}

TEST(CommandLine, ListWithMissingFileStopsTheRun) {
    auto run =
        run_belun({{"s.txt", "a.xml chybi.xml"}, {"a.xml", test::document_head() + "<xyz>ab</xyz>\r\n"}},
                  {"@s.txt", "r.csv"});
    EXPECT_EQ(run.exit_code, 13);
    EXPECT_EQ(run.report, "");  // what was checked before is not left as a cut report
    EXPECT_EQ(run.console, kBanner + kData + cannot_open("chybi.xml", "\n") +
                               cp1250(" Soubor ze seznamu: soubor neexistuje.\n"));
}

TEST(CommandLine, DateAndTimeStamp) {
    // The local time of the check, whatever the time zone: "20" and the year's last two digits.
    auto stamp = [](int year, int month, int day, int hour, int minute, int second) {
        std::tm t{};
        t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
        t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second, t.tm_isdst = -1;
        StringOutput out;
        Report report(ReportFormat::Xml, out, {"a.xml", "", std::mktime(&t)});
        (void)report.finish({});
        return out.bytes.substr(out.bytes.find("<DatumCas>") + 10, 20);
    };
    EXPECT_EQ(stamp(2006, 7, 6, 14, 3, 59), "06/07/2006  14:03:59");
    EXPECT_EQ(stamp(2099, 12, 31, 23, 0, 0), "31/12/2099  23:00:00");

    auto run = run_belun({{"a.xml", without_employer()}}, {"a.xml", "r.xml"});
    EXPECT_TRUE(
        std::regex_search(run.report, std::regex("<DatumCas>\\d\\d/\\d\\d/20\\d\\d  \\d\\d:\\d\\d:\\d\\d"
                                                 "</DatumCas>\r\n<Soubor>a.xml</Soubor>")));
}

TEST(CommandLine, RunsInOneProcessDoNotShareState) {
    const std::string doc = test::document_head() +
                            "<zamestnavatel>\r\n<AA0017>20000006</AA0017>\r\n<AA0113></AA0113>\r\n"
                            "<AA0019>301</AA0019>\r\n</zamestnavatel>\r\n" +
                            test::document_tail();
    auto first = run_belun({{"a.xml", doc}}, {"a.xml", "r.csv"});
    auto second = run_belun({{"a.xml", doc}}, {"a.xml", "r.csv"});
    EXPECT_EQ(first.exit_code, 0);
    EXPECT_EQ(first.report, second.report);
    EXPECT_EQ(second.report.find("EL074"), std::string::npos);
}

}  // namespace
}  // namespace tavon

namespace tavon {
namespace {

using test::cp1250;
using test::run_belun;

// On a terminal the progress line is written (at the end of the first employee, line 82, at once)
// and cleared before the totals; in a log it is left out, with its carriage returns and padding.
TEST(Console, ProgressLineOnlyOnATerminal) {
    const std::string doc = test::read_file(test::repository_root() / "examples/duv-ok.xml");
    const std::string progress = " Radek      82 pro zamestnance       1001 zamestnavatel   20000006\r";
    const std::string clear = std::string(77, ' ') + "\r";
    const auto on_terminal = run_belun({{"a.xml", doc}}, {"a.xml", "r.csv"}, {true, false});
    EXPECT_NE(on_terminal.console.find(progress), std::string::npos) << on_terminal.console;
    EXPECT_NE(on_terminal.console.find(clear + "Celkem chyb vahy E:"), std::string::npos);
    const auto in_log = run_belun({{"a.xml", doc}}, {"a.xml", "r.csv"});
    EXPECT_EQ(in_log.console.find('\r'), std::string::npos) << in_log.console;
    // The failure of a later file of a list is preceded by the clearing on a terminal only.
    const std::map<std::string, std::string> list = {{"s.txt", "a.xml missing.xml"}, {"a.xml", doc}};
    EXPECT_NE(run_belun(list, {"@s.txt", "r.csv"}, {true, false})
                  .console.find(clear + " Nelze otevrit soubor  missing.xml"),
              std::string::npos);
    EXPECT_EQ(run_belun(list, {"@s.txt", "r.csv"}).console.find('\r'), std::string::npos);
}

// Nothing a document or a file name holds drives the terminal: an escape sequence in the employee
// identifier (shown by the progress line) or in a name reaches the console with "?" for its
// control characters.
TEST(Console, NoEscapeSequenceFromADocumentOrName) {
    std::string doc = test::read_file(test::repository_root() / "examples/duv-ok.xml");
    doc = test::replace_first(doc, "<AA0126>1001</AA0126>", "<AA0126>\x1b]0;X\x07\x1b[2J</AA0126>");
    const std::string name = "\x1b[31m.xml";
    for (const bool utf8 : {false, true}) {
        const auto run = run_belun({{name, doc}, {"s.txt", "a.xml"}}, {name, "r.csv"}, {true, utf8});
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.console.find('\x1b'), std::string::npos) << run.console;
        EXPECT_NE(run.console.find("?]0;X??[2J zamestnavatel"), std::string::npos) << run.console;
        const auto missing = run_belun({}, {"\x1b]0;X\x07.xml", "r.csv"}, {true, utf8});
        EXPECT_NE(missing.console.find(" Nelze otevrit soubor  ?]0;X?.xml\n"), std::string::npos)
            << missing.console;
    }
    // A right-to-left override would show "faktura\u202Elmx.exe" as "fakturaexe.xml".
    const auto spoof = run_belun({}, {"faktura\xE2\x80\xAElmx.exe", "r.csv"}, {true, true});
    EXPECT_NE(spoof.console.find(" Nelze otevrit soubor  faktura?lmx.exe\n"), std::string::npos)
        << spoof.console;
}

// Program texts are converted for a UTF-8 terminal; file names are shown as given.
TEST(Console, CzechTextsOnAUtf8Terminal) {
    const std::string name = std::string(57, 'a') + "\xC3\xA1.xml";  // 61 bytes, a UTF-8 name
    const auto utf8 = run_belun({}, {name}, {true, true});
    EXPECT_EQ(utf8.console,
              "\nProgram  TAVON_v0.9  kontola dat pro DUV\n D\xC3\xA9lka parametru vetsi nez 60  " + name +
                  "\n Program ukoncen\n");
    const auto log = run_belun({}, {name});
    EXPECT_NE(log.console.find(cp1250(" Délka parametru")), std::string::npos);
}

// Two spellings of one file, a symbolic link and a hard link are the same file: neither the report
// nor the copy may overwrite an input, whatever the names, nor a document named by a list.
TEST(Console, InputsAreComparedByIdentity) {
    test::ScratchDir dir;
    const std::string doc = test::read_file(test::repository_root() / "examples/duv-ok.xml");
    const std::string input = dir.path("a.xml");
    dir.write_file(input, doc);
    std::filesystem::create_symlink(input, dir.path("link.xml"));
    std::filesystem::create_hard_link(input, dir.path("hard.xml"));
    std::filesystem::create_directory(dir.path("sub"));
    dir.write_file(dir.path("s.txt"), dir.path("sub/../hard.xml") + "\n");
    const std::string list = "@" + dir.path("s.txt");
    const std::vector<std::vector<std::string>> refused = {
        {input, dir.path("link.xml")},     {input, dir.path("hard.xml")},
        {input, dir.path("sub/../a.xml")}, {input, dir.path("r.csv"), dir.path("link.xml")},
        {list, dir.path("link.xml")},      {dir.path("link.xml"), dir.path("r.csv"), input},
    };
    for (const auto& arguments : refused) {
        const std::vector<std::string_view> args(arguments.begin(), arguments.end());
        std::ostringstream console;
        EXPECT_EQ(cli::run(args, console), 13) << arguments[1];
        EXPECT_NE(console.str().find(cp1250(": jde o tentýž soubor.")), std::string::npos) << console.str();
        EXPECT_EQ(test::read_file(input), doc) << arguments[1];
    }
}

}  // namespace
}  // namespace tavon
