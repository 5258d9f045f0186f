// Document structure: the state handlers run through whole validations of small documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::cp1250;
using test::csv_rows;

const std::string kProlog = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n";
const std::string kUri = "http://duv.example.org/schemas/2004/DUV/1.6/";

// The eight submitter fields, lines 3 to 10 of a document that starts with prolog and root.
std::string predkladatel() {
    const std::string h = test::document_head();
    return h.substr(h.find("<rok>"));
}

// The eleven fields of a valid employer.
std::string pole_zamestnavatele() {
    return "<AA0017>20000006</AA0017>\r\n<AA0113></AA0113>\r\n<AA0019>301</AA0019>\r\n"
           "<AA0179>CZ0101</AA0179>\r\n<AA0110>20060630</AA0110>\r\n<AA0116>10</AA0116>\r\n"
           "<AA0123>800000</AA0123>\r\n<AA0114>10</AA0114>\r\n<AA0115>10</AA0115>\r\n"
           "<AA0118>400000</AA0118>\r\n<AA0119>0</AA0119>\r\n";
}

std::string nahrad(std::string text, std::string_view co, std::string_view cim) {
    auto p = text.find(co);
    EXPECT_NE(p, std::string::npos) << co;
    if (p != std::string::npos) text.replace(p, co.size(), cim);
    return text;
}

test::RunResult spust_csv(const std::string& doc) {
    return test::run_belun({{"in.xml", doc}}, {"in.xml", "r.csv"});
}

std::vector<std::string> radky(const std::string& doc) { return csv_rows(spust_csv(doc).report); }

std::vector<std::string> s_kodem(const std::vector<std::string>& vse, std::string_view kod) {
    std::vector<std::string> vyber;
    for (const auto& r : vse) {
        auto s = r.find(';');
        if (s != std::string::npos &&
            std::string_view(r).substr(s + 1, kod.size() + 1) == std::string(kod) + ";")
            vyber.push_back(r);
    }
    return vyber;
}

std::string radek(std::string_view line, std::string_view kod, std::string_view tel, std::string_view nec,
                  std::string_view prvek, std::string_view hodnota, std::string_view cek,
                  std::string_view popis) {
    std::string r;
    for (std::string_view s : {line, kod, tel, nec, prvek, hodnota, cek}) (r += s) += ';';
    return r + cp1250(popis);
}

std::string konec_behu(std::string_view line, std::string_view kod) {
    return radek(line, kod, "", "", "   ", "   ", "   ",
                 kod == "ES306" ? "Kontrolovaný soubor není DUV" : "V souboru nebyl ani jeden zamestnavatel");
}

const char* const kES302 = "Nesouhlasi zacatek a konec prvku";
const char* const kES301 = "Neznamý prvek";
const char* const kES303 = "Prvkek nebyl uveden";
const char* const kES304 = "Vícenásobný výskyt prvku      .";

bool uplne_hlaseni(const test::RunResult& beh) {
    const auto p = beh.report.rfind("\r\nCelkem chyb vahy W:;");
    return beh.exit_code == 0 && p != std::string::npos && beh.report.size() == p + 32;
}

TEST(Stavy, AttributesOnFieldElement) {
    const auto doc =
        nahrad(test::document_head(), "<rok>", "<rok a = \"1\"  b=\"2\">") + test::document_tail();
    EXPECT_EQ(radky(doc), (std::vector<std::string>{
                              "3;ES300;;;rok;\"a=\"\"1\"\"b=\"\"2\"\"\";  ;" + cp1250("Chyba syntaxe XML"),
                              konec_behu("12", "ES308")}));
}

TEST(Stavy, ClosingTagThatDoesNotMatch) {
    auto doc = nahrad(test::document_head(), "</autor>", "</autorx>") + test::document_tail();
    EXPECT_EQ(radky(doc),
              (std::vector<std::string>{radek("7", "ES302", "", "", "autor", "/autorx", "  ", kES302),
                                        konec_behu("12", "ES308")}));

    // A missing closing tag: the next tag is taken for it and every later element shifts.
    doc = nahrad(test::document_head(), "</autor>", "") + test::document_tail();
    EXPECT_EQ(radky(doc), (std::vector<std::string>{
                              radek("8", "ES302", "", "", "autor", "mail", "  ", kES302),
                              radek("9", "ES302", "", "", "/mail", "telefon", "  ", kES302),
                              radek("9", "ES301", "", "", "/mail", "", "0", kES301),
                              radek("10", "ES302", "", "", "/telefon", "vytvoreno", "  ", kES302),
                              radek("10", "ES301", "", "", "/telefon", "", "0", kES301),
                              radek("11", "ES302", "", "", "/vytvoreno", "/DUV", "  ", kES302),
                              radek("11", "ES301", "", "", "/vytvoreno", "", "0", kES301),
                              konec_behu("12", "ES306"),
                              konec_behu("12", "ES308"),
                          }));
}

TEST(Stavy, SubmitterPresenceAtEveryEmployerAndAtRootEnd) {
    auto hlava = nahrad(test::document_head(), "<autor>Jana Novakova</autor>\r\n", "");
    hlava = nahrad(hlava, "<rok>2006</rok>\r\n", "<rok>2006</rok>\r\n<rok>2006</rok>\r\n");
    const std::string zam = "<zamestnavatel>\r\n</zamestnavatel>\r\n";
    const auto vse = radky(hlava + zam + zam + zam + test::document_tail());
    // Only the submitter's fields: the employers' own fields have their checks too.
    std::vector<std::string> vyber;
    for (const auto& r : s_kodem(vse, "ES303"))
        if (r.find(";autor;") != std::string::npos) vyber.push_back(r);
    for (const auto& r : s_kodem(vse, "ES304"))
        if (r.find(";rok;") != std::string::npos) vyber.push_back(r);
    // identnec is set to three spaces only after the first employer's check.
    EXPECT_EQ(vyber, (std::vector<std::string>{
                         radek("11", "ES303", "", "", "autor", " ", "0", kES303),
                         radek("13", "ES303", "", "   ", "autor", " ", "0", kES303),
                         radek("15", "ES303", "", "   ", "autor", " ", "0", kES303),
                         radek("17", "ES303", "", "   ", "autor", "   ", "autor", kES303),
                         radek("11", "ES304", "", "", "rok", " ", "2", kES304),
                         radek("13", "ES304", "", "   ", "rok", " ", "2", kES304),
                         radek("15", "ES304", "", "   ", "rok", " ", "2", kES304),
                         radek("17", "ES304", "", "   ", "rok", "   ", "2", kES304),
                     }));
    // Within one check, table order and ES303 before ES304 of the same row: rok comes first.
    EXPECT_EQ(vse[std::find(vse.begin(), vse.end(), vyber[4]) - vse.begin() + 1], vyber[0]);
}

TEST(Stavy, EmployerPresenceAtFirstEmployeeOnly) {
    auto pole = nahrad(pole_zamestnavatele(), "<AA0113></AA0113>\r\n", "");
    pole = nahrad(pole, "<AA0019>301</AA0019>\r\n", "<AA0019>301</AA0019>\r\n<AA0019>301</AA0019>\r\n");
    // Employer fields on lines 12-22, the employees' start tags on lines 23 and 26.
    const auto doc = test::document_head() + "<zamestnavatel>\r\n" + pole +
                     "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n</zamestnanec>\r\n"
                     "<zamestnanec>\r\n<AA0126>A2</AA0126>\r\n</zamestnanec>\r\n</zamestnavatel>\r\n" +
                     test::document_tail();
    std::vector<std::string> vyber;
    for (const auto& r : radky(doc))
        if (r.rfind("23;ES30", 0) == 0 || r.rfind("26;ES30", 0) == 0) vyber.push_back(r);
    EXPECT_EQ(vyber, (std::vector<std::string>{
                         radek("23", "ES303", "20000006", "   ", "AA0113", " ", "0", kES303),
                         radek("23", "ES304", "20000006", "   ", "AA0019", " ", "2", kES304),
                     }));
}

TEST(Stavy, RootVersionAndNamespace) {
    const std::string ocekavano = "\"verze=\"\"1.6\"\" xmlns=\"\"" + kUri + "\"\"\"";
    const std::string popis =
        "\"" + cp1250("Element <DUV> by měl obsahovat atributy verze=\"\"1.6\"\" a xmlns=\"\"") + kUri +
        "\"\"\"";
    const struct {
        std::string koren;
        std::string radek;  // the WS102 row, empty when none
    } pripady[] = {
        {"<DUV>", "2;WS102;;;DUV;DUV;" + ocekavano + ";" + popis},
        {"<DUV verze='1.6' xmlns=\"" + kUri + "\">",
         "2;WS102;;;DUV;\"verze='1.6' xmlns=\"\"" + kUri + "\"\"\";" + ocekavano + ";" + popis},
        {"<DUV xmlns=\"" + kUri + "\">",
         "2;WS102;;;DUV;\"xmlns=\"\"" + kUri + "\"\"\";" + ocekavano + ";" + popis},
        {"<DUV verze=\"1.6\" xmlns=\"http://duv.example.com/schemas/2004/DUV/1.6/\">",
         "2;WS102;;;DUV;\"verze=\"\"1.6\"\" xmlns=\"\"http://duv.example.com/schemas/2004/DUV/1.6/\"\"\";" +
             ocekavano + ";" + popis},
        {"<duv:DUV verze=\"1.6\" xmlns:duv=\"" + kUri + "\">", ""},
        {"<DUV xmlns=\"" + kUri + "\"\r\n verze=\"1.6\">", ""},
        {"<DUVX verze=\"1.6\" xmlns=\"" + kUri + "\">", ""},
    };
    for (const auto& p : pripady) {
        const auto vyber =
            s_kodem(radky(kProlog + p.koren + "\r\n" + predkladatel() + "</duv:DUV>\r\n"), "WS102");
        if (p.radek.empty())
            EXPECT_TRUE(vyber.empty()) << p.koren;
        else
            EXPECT_EQ(vyber, std::vector<std::string>{p.radek}) << p.koren;
    }
}

TEST(Stavy, EchoIntoOutputFile) {
    const std::string doc =
        kProlog + "<!DOCTYPE DUV>\r\n<duv:DUV verze=\"1.6\" xmlns:duv=\"" + kUri + "\">\r\n" +
        predkladatel() + "<!-- poznamka <rok>1</rok> -->\r\n<zamestnavatel id=\"1\">\r\n" +
        nahrad(nahrad(pole_zamestnavatele(), "<AA0113></AA0113>", "<AA0113/>"), "<AA0179>",
               "<!-- x -->\r\n<AA0179>") +
        "<duv:zamestnanec>\r\n<AA0126>  A1</AA0126>\r\n<AA0231/>\r\n<AA0211 />\r\n<AA0223></AA0223>\r\n"
        "<!-- y "
        "-->\r\n<duv:AA0033>CZ</duv:AA0033>\r\n</duv:zamestnanec>\r\n</zamestnavatel>\r\n</duv:DUV>\r\n";
    auto beh = test::run_belun({{"in.xml", doc}}, {"in.xml", "r.csv", "out.xml"});
    EXPECT_EQ(beh.exit_code, 0);
    EXPECT_EQ(beh.copy,
              kProlog + "<DUV verze=\"1.6\" xmlns=\"" + kUri + "\"> \r\n" + predkladatel() +
                  "<zamestnavatel>\r\n" + pole_zamestnavatele() +
                  "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n<AA0223></AA0223>\r\n<AA0033>CZ</AA0033>\r\n"
                  "</zamestnanec>\r\n</zamestnavatel>\r\n</DUV>\r\n");
}

TEST(Stavy, CommentsInsideTheDocument) {
    auto doc = nahrad(test::document_head(), "<AA0226>", "<!--\r\n <rok>2007</rok> --\r\n>\r\n<AA0226>") +
               test::document_tail();
    EXPECT_EQ(radky(doc), std::vector<std::string>{konec_behu("15", "ES308")});

    // A comment whose name runs on is a field element.
    doc = test::document_head() + "<!--x-->\r\n" + test::document_tail();
    EXPECT_EQ(radky(doc), (std::vector<std::string>{
                              radek("12", "ES302", "", "", "!--x--", "/DUV", "  ", kES302),
                              radek("12", "ES301", "", "", "!--x--", "", "0", kES301),
                              konec_behu("13", "ES306"),
                              konec_behu("13", "ES308"),
                          }));
}

TEST(Stavy, EmployerEndInsideEmployee) {
    const auto doc = test::document_head() + "<zamestnavatel>\r\n" + pole_zamestnavatele() +
                     "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n</zamestnavatel>\r\n" + test::document_tail();
    auto beh = test::run_belun({{"in.xml", doc}}, {"in.xml", "r.csv", "out.xml"});
    const auto vse = csv_rows(beh.report);
    // Neither the employee's nor the employer's end checks run, and the root ends normally.
    for (const char* kod : {"ES303", "ES304", "ES306", "ES308", "ES309"})
        EXPECT_TRUE(s_kodem(vse, kod).empty()) << kod;
    EXPECT_NE(beh.copy.find("<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n</zamestnavatel>\r\n</DUV>\r\n"),
              std::string::npos);
}

TEST(Stavy, EndOfRunFindings) {
    {
        auto beh = test::run_belun({{"in.xml", ""}}, {"in.xml", "r.txt"});
        EXPECT_EQ(beh.exit_code, 0);
        const std::string paticka = "\r\nCelkem chyb vahy E:       1\r\n\r\nCelkem chyb vahy W:       0\r\n";
        ASSERT_GT(beh.report.size(), paticka.size());
        EXPECT_EQ(beh.report.substr(beh.report.size() - paticka.size()), paticka);
        EXPECT_EQ(radky(""), std::vector<std::string>{konec_behu("1", "ES306")});
    }
    // No root element at all.
    EXPECT_EQ(radky(kProlog + "<koren>\r\n<rok>2006</rok>\r\n"),
              std::vector<std::string>{konec_behu("4", "ES306")});
    // The root started, but neither an employer nor its end followed.
    EXPECT_EQ(radky(test::document_head()),
              (std::vector<std::string>{konec_behu("11", "ES306"), konec_behu("11", "ES308")}));
    // The input ends inside an employee.
    const auto vse = radky(test::document_head() + "<zamestnavatel>\r\n" + pole_zamestnavatele() +
                           "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n");
    EXPECT_EQ(s_kodem(vse, "ES306"),
              std::vector<std::string>{radek("25", "ES306", "20000006", "A1", "   ", "   ", "   ",
                                             "Kontrolovaný soubor není DUV")});
    EXPECT_TRUE(s_kodem(vse, "ES308").empty());
}

TEST(Stavy, BadInputEndsWithCompleteReport) {
    std::mt19937 gen(2006);
    std::string nahodne(1 << 16, '\0');
    for (char& c : nahodne) c = static_cast<char>(gen() & 0xFF);

    std::string jeden_radek = test::document_head() + "<xyz>1</xyz>" + test::document_tail();
    std::erase(jeden_radek, '\r');
    std::erase(jeden_radek, '\n');

    const std::string s_nulami = nahrad(nahrad(test::document_head(), "Jana", std::string("Ja\0na", 5)),
                                        "<mail>", std::string("<ma\0il>", 7)) +
                                 std::string("<\0>\0\0</\0>", 9) + test::document_tail();

    for (const auto& doc : {std::string(), nahodne, test::document_head() + nahodne, s_nulami,
                            kProlog + "<DUV " + std::string(5000, 'a') + "\r\n" + nahodne, jeden_radek}) {
        auto beh = spust_csv(doc);
        EXPECT_TRUE(uplne_hlaseni(beh)) << doc.size();
    }
    EXPECT_EQ(radky(jeden_radek),
              (std::vector<std::string>{radek("1", "ES301", "", "", "xyz", "1", "1", kES301),
                                        konec_behu("1", "ES308")}));
}

TEST(Stavy, NameOf300CharactersAndItsClosingTag) {
    const std::string n300(300, 'n');
    EXPECT_EQ(radky(test::document_head() + "<" + n300 + ">1</" + n300 + ">\r\n" + test::document_tail()),
              (std::vector<std::string>{
                  radek("11", "ES302", "", "", n300, "/" + std::string(299, 'n'), "  ", kES302),
                  radek("11", "ES301", "", "", n300, "1", "1", kES301),
                  konec_behu("13", "ES308"),
              }));
}

TEST(Stavy, FieldsAcrossReadBlocks) {
    // Spaces before the second submitter field move the end of the first read block (256 KiB)
    // through every byte of the fields that follow.
    const std::string hlava = test::document_head();
    const std::size_t od = hlava.find("<AA0226>");
    for (std::size_t k = 0; k < hlava.size() - od; k += k < 80 ? 1 : 3) {
        const std::string doc = hlava.substr(0, od) + std::string((1u << 18) - od - k, ' ') +
                                hlava.substr(od) + test::document_tail();
        ASSERT_EQ(radky(doc), std::vector<std::string>{konec_behu("12", "ES308")}) << k;
    }
}

TEST(Stavy, OverlongNameAndContent) {
    const std::string x1000(1000, 'x');
    auto beh =
        spust_csv(test::document_head() + "<" + x1000 + ">1</" + x1000 + ">\r\n" + test::document_tail());
    EXPECT_TRUE(uplne_hlaseni(beh));
    EXPECT_EQ(
        csv_rows(beh.report),
        (std::vector<std::string>{
            radek("11", "ES302", "", "", std::string(300, 'x'), "/" + std::string(299, 'x'), "  ", kES302),
            radek("11", "ES301", "", "", std::string(300, 'x'), "1", "1", kES301),
            konec_behu("13", "ES308"),
        }));

    beh = spust_csv(nahrad(test::document_head(), "Nemocnice Dolni Lhota", std::string(10000, 'N')) +
                    test::document_tail());
    EXPECT_TRUE(uplne_hlaseni(beh));
    EXPECT_EQ(csv_rows(beh.report), (std::vector<std::string>{
                                        radek("6", "ESPRE", "", "", "predkladatel", std::string(300, 'N'),
                                              cp1250("délka 1 - 50"), "Chybná hodnota nebo délka"),
                                        konec_behu("12", "ES308"),
                                    }));
}

}  // namespace
}  // namespace tavon
