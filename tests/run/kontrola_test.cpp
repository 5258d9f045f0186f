#include "run/kontrola.h"

#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "run/report/hlaseni.h"
#include "tests/support/beh.h"

namespace tavon {
namespace {

using test::cp1250;
using test::radky_csv;
using test::spust;

const std::string kBanner = "\nProgram  TAVON_v0.9  kontola dat pro DUV\n";
const std::string kES308 = ";ES308;;;   ;   ;   ;V souboru nebyl ani jeden zamestnavatel";

// A document without employers: its only finding is ES308 on line 12.
std::string bez_zamestnavatele() { return test::hlavicka_dokumentu() + test::konec_dokumentu(); }

std::string konzole_na_konci(int e, int w) {
    char b[128];
    std::snprintf(b, sizeof b, "Celkem chyb vahy E:%8d\n\nCelkem chyb vahy W:%8d\n", e, w);
    return std::string(77, ' ') + "\r" + b + "\nProgram ukoncen normalne\n";
}

std::string zprava_otevreni(const std::string& jmeno, const char* konec_radku) {
    return std::string(" Nelze otevrit soubor  ") + jmeno + konec_radku + " Program ukoncen" + konec_radku;
}

std::string napoveda() {
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
           "\nvystup   - uplna cesta k vystupmu souboru, max. 60 znaku\n"
           "             neni-li uveden, vystupni  se nevytvari\n"
           "\nprepinac - pripustne hodnoty\n"
           "             -w potlaceni vystupu chyb vahy W\n"
           "             -h tato napoveda\n";
}

TEST(Kontrola, DefaultsReadDuvXmlIntoHtmlReport) {
    auto beh = spust({{"duv.xml", bez_zamestnavatele()}}, {});
    EXPECT_EQ(beh.kod, 0);
    EXPECT_EQ(beh.konzole, kBanner + konzole_na_konci(1, 0));
    EXPECT_EQ(beh.hlaseni.rfind("<html>\r\n<head>\r\n", 0), 0u);
    EXPECT_NE(beh.hlaseni.find("<th width=38%> duv.xml </th>"), std::string::npos);
    EXPECT_NE(beh.hlaseni.find("<td><b>&nbsp;ES308</b></td>"), std::string::npos);
    EXPECT_TRUE(beh.vystup.empty());
}

TEST(Kontrola, ArgumentsOfSixtyCharactersOnly) {
    const std::string n60 = std::string(56, 'a') + ".xml";
    const std::string n61 = std::string(57, 'a') + ".xml";
    auto beh = spust({{n60, bez_zamestnavatele()}}, {n60, "r.csv"});
    EXPECT_EQ(beh.kod, 0);
    EXPECT_EQ(radky_csv(beh.hlaseni), std::vector<std::string>{"12" + kES308});

    beh = spust({{n61, bez_zamestnavatele()}}, {n61, "r.csv"});
    EXPECT_EQ(beh.kod, 13);
    EXPECT_EQ(beh.konzole,
              kBanner + cp1250(" Délka parametru vetsi nez 60  ") + n61 + "\n Program ukoncen\n");
    EXPECT_TRUE(beh.hlaseni.empty());
}

TEST(Kontrola, Switches) {
    const std::string n61(61, 'x');
    const struct {
        std::vector<std::string> args;
        int kod;
        std::string konzole;
    } pripady[] = {
        {{"-x"}, 13, " Chybny parametr -x\n Program ukoncen\n"},
        {{"-wx"}, 13, " Chybny parametr -wx\n Program ukoncen\n"},
        {{"-"}, 13, " Chybny parametr -\n Program ukoncen\n"},
        {{"-WX"}, 13, " Chybny parametr -wX\n Program ukoncen\n"},
        {{"-Hh"}, 13, " Chybny parametr -hh\n Program ukoncen\n"},
        {{"-x", "-h"}, 13, " Chybny parametr -x\n Program ukoncen\n"},
        {{"-h"}, 1, napoveda()},
        {{"-H"}, 1, napoveda()},
        {{"a.xml", "-w", "-h", "-x"}, 1, napoveda()},
        {{"-h", n61}, 1, napoveda()},
    };
    for (const auto& p : pripady) {
        auto beh = spust({}, p.args);
        EXPECT_EQ(beh.kod, p.kod) << p.args[0];
        EXPECT_EQ(beh.konzole, kBanner + p.konzole) << p.args[0];
        EXPECT_TRUE(beh.hlaseni.empty()) << p.args[0];
    }
}

TEST(Kontrola, WarningSwitchInAnyCaseAndPosition) {
    // A root without attributes gives the warning WS102.
    const std::string doc = "<DUV>\r\n" +
                            test::hlavicka_dokumentu().substr(test::hlavicka_dokumentu().find("<rok>")) +
                            test::konec_dokumentu();
    auto beh = spust({{"a.xml", doc}}, {"a.xml", "r.csv"});
    ASSERT_EQ(radky_csv(beh.hlaseni).size(), 2u);
    EXPECT_EQ(radky_csv(beh.hlaseni)[0].substr(0, 8), "1;WS102;");

    for (const char* prepinac : {"-w", "-W"}) {
        beh = spust({{"a.xml", doc}}, {"a.xml", prepinac, "b.csv"});
        EXPECT_EQ(beh.kod, 0);
        EXPECT_EQ(radky_csv(beh.hlaseni), std::vector<std::string>{"11" + kES308}) << prepinac;
        EXPECT_NE(beh.hlaseni.find("\r\nCelkem chyb vahy W:;       1\r\n"), std::string::npos);
        EXPECT_EQ(beh.konzole, kBanner + konzole_na_konci(1, 1));
    }
}

TEST(Kontrola, ThirdAndFurtherFileNames) {
    auto beh = spust({{"a.xml", bez_zamestnavatele()}}, {"a.xml", "r.csv", "o.xml", "d.xml"});
    EXPECT_EQ(beh.kod, 0);
    EXPECT_EQ(beh.konzole, kBanner + konzole_na_konci(1, 0));
    EXPECT_FALSE(beh.vystup.empty());

    beh = spust({{"a.xml", bez_zamestnavatele()}}, {"a.xml", "r.csv", "..."});
    EXPECT_EQ(beh.kod, 0);
    EXPECT_TRUE(beh.vystup.empty());
}

TEST(Kontrola, ReportFormatFromFirstDotOfName) {
    const struct {
        const char* jmeno;
        char format;
    } pripady[] = {
        {"out.txt", 'T'}, {"out.TXT", 'T'}, {"out.TxT", 'T'}, {"r.csv", 'C'},
        {"r.CSV", 'C'},   {"r.xml", 'X'},   {"r.htm", 'H'},   {"out.Html", 'H'},
        {"out.doc", 'H'}, {"out", 'H'},     {"a.b.txt", 'H'}, {"old.dir/report.csv", 'H'},
        {"r.txtx", 'H'},  {"r.", 'H'},      {".csv", 'C'},    {"r.tx", 'H'},
    };
    for (const auto& p : pripady) EXPECT_EQ(format_hlaseni(p.jmeno), p.format) << p.jmeno;

    const struct {
        const char* jmeno;
        std::string zacatek;
    } behy[] = {
        {"out.TXT", cp1250(" Datum a čas:   ")},
        {"out.Html", "<html>\r\n"},
        {"out.doc", "<html>\r\n"},
        {"out", "<html>\r\n"},
        {"r.xml", "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><DUV_chyby>\r\n<DatumCas>"},
        {"r.csv", "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n12;ES308;"},
    };
    for (const auto& b : behy) {
        auto beh = spust({{"a.xml", bez_zamestnavatele()}}, {"a.xml", b.jmeno});
        EXPECT_EQ(beh.hlaseni.rfind(b.zacatek, 0), 0u) << b.jmeno;
    }
}

TEST(Kontrola, FilesThatCannotBeOpened) {
    const auto doc = bez_zamestnavatele();
    auto beh = spust({{"a.xml", doc}}, {"a.xml", "chybi/r.csv"});
    EXPECT_EQ(beh.kod, 13);
    EXPECT_EQ(beh.konzole, kBanner + zprava_otevreni("chybi/r.csv", "\n"));

    // Once the report is open the message also goes into it, ahead of any header.
    const struct {
        std::vector<std::string> args;
        std::string jmeno;
    } pripady[] = {
        {{"a.xml", "r.csv", "chybi/o.xml"}, "chybi/o.xml"},
        {{"chybi.xml", "r.csv"}, "chybi.xml"},
        {{"@seznam.txt", "r.csv"}, "seznam.txt"},
        {{"@prazdny.txt", "r.csv"}, "@prazdny.txt"},
    };
    for (const auto& p : pripady) {
        beh = spust({{"a.xml", doc}, {"prazdny.txt", " \r\n\t"}}, p.args);
        EXPECT_EQ(beh.kod, 13) << p.jmeno;
        EXPECT_EQ(beh.konzole, kBanner + zprava_otevreni(p.jmeno, "\n")) << p.jmeno;
        EXPECT_EQ(beh.hlaseni, zprava_otevreni(p.jmeno, "\r\n")) << p.jmeno;
    }
}

TEST(Kontrola, ListOfInputFilesReadAsOneText) {
    const std::map<std::string, std::string> soubory = {
        {"seznam.txt", "a.xml\r\n  b.xml\r\n"},
        {"a.xml", test::hlavicka_dokumentu()},
        {"b.xml", "<xyz>ab</xyz>\r\n</DUV>\r\n"},
    };
    auto beh = spust(soubory, {"@seznam.txt", "r.csv"});
    EXPECT_EQ(beh.kod, 0);
    EXPECT_EQ(radky_csv(beh.hlaseni),
              (std::vector<std::string>{"11;ES301;;;xyz;ab;2;" + cp1250("Neznamý prvek"), "13" + kES308}));

    beh = spust(soubory, {"@seznam.txt", "r.xml"});
    EXPECT_NE(beh.hlaseni.find("<Soubor>a.xml</Soubor>\r\n"), std::string::npos);

    // Words of the list are not limited to 60 characters.
    const std::string dlouhe = std::string(70, 'd') + ".xml";
    beh = spust({{"s.txt", dlouhe}, {dlouhe, bez_zamestnavatele()}}, {"@s.txt", "r.csv"});
    EXPECT_EQ(beh.kod, 0);
    EXPECT_EQ(radky_csv(beh.hlaseni), std::vector<std::string>{"12" + kES308});
}

TEST(Kontrola, ListEndsAtThreeDots) {
    auto beh = spust(
        {{"s.txt", "a.xml ... b.xml"}, {"a.xml", bez_zamestnavatele()}, {"b.xml", "<zamestnavatel>\r\n"}},
        {"@s.txt", "r.csv"});
    EXPECT_EQ(beh.kod, 0);
    EXPECT_EQ(radky_csv(beh.hlaseni), std::vector<std::string>{"12" + kES308});
}

TEST(Kontrola, ListWithMissingFileStopsTheRun) {
    auto beh =
        spust({{"s.txt", "a.xml chybi.xml"}, {"a.xml", test::hlavicka_dokumentu() + "<xyz>ab</xyz>\r\n"}},
              {"@s.txt", "r.csv"});
    EXPECT_EQ(beh.kod, 13);
    EXPECT_EQ(beh.hlaseni,
              "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n"
              "11;ES301;;;xyz;ab;2;" +
                  cp1250("Neznamý prvek") + "\r\n" + zprava_otevreni("chybi.xml", "\r\n"));
    EXPECT_EQ(beh.konzole, kBanner + std::string(77, ' ') + "\r" + zprava_otevreni("chybi.xml", "\n"));
}

TEST(Kontrola, DateAndTimeStamp) {
    std::tm t{};
    t.tm_mday = 6;
    t.tm_mon = 6;
    t.tm_year = 106;
    t.tm_hour = 14;
    t.tm_min = 3;
    t.tm_sec = 59;
    EXPECT_EQ(datum_cas(t), "06/07/2006  14:03:59");
    t = {};
    t.tm_mday = 31;
    t.tm_mon = 11;
    t.tm_year = 99;
    t.tm_hour = 23;
    EXPECT_EQ(datum_cas(t), "31/12/2099  23:00:00");  // "20" and the year's last two digits

    auto beh = spust({{"a.xml", bez_zamestnavatele()}}, {"a.xml", "r.xml"});
    EXPECT_TRUE(
        std::regex_search(beh.hlaseni, std::regex("<DatumCas>\\d\\d/\\d\\d/20\\d\\d  \\d\\d:\\d\\d:\\d\\d"
                                                  "</DatumCas>\r\n<Soubor>a.xml</Soubor>")));
}

TEST(Kontrola, RunsInOneProcessDoNotShareState) {
    const std::string doc = test::hlavicka_dokumentu() +
                            "<zamestnavatel>\r\n<AA0017>20000006</AA0017>\r\n<AA0113></AA0113>\r\n"
                            "<AA0019>301</AA0019>\r\n</zamestnavatel>\r\n" +
                            test::konec_dokumentu();
    auto prvni = spust({{"a.xml", doc}}, {"a.xml", "r.csv"});
    auto druhy = spust({{"a.xml", doc}}, {"a.xml", "r.csv"});
    EXPECT_EQ(prvni.kod, 0);
    EXPECT_EQ(prvni.hlaseni, druhy.hlaseni);
    EXPECT_EQ(druhy.hlaseni.find("EL074"), std::string::npos);
}

}  // namespace
}  // namespace tavon
