// Document structure: the state handlers run through whole validations of small documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/documents.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::cp1250;
using test::csv_row;
using test::csv_rows;
using test::replace_first;
using test::report_rows;
using test::rows_with_code;

const std::string kProlog = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n";
const std::string kUri = "http://duv.example.org/schemas/2004/DUV/1.6/";

// The eight submitter fields, lines 3 to 10 of a document that starts with prolog and root.
std::string submitter_fields() {
    const std::string h = test::document_head();
    return h.substr(h.find("<rok>"));
}

// The eleven fields of a valid employer.
std::string employer_fields() {
    std::string s;
    for (const auto& [name, content] : test::kEmployerFields)
        s += "<" + name + ">" + content + "</" + name + ">\r\n";
    return s;
}

test::RunResult run_csv(const std::string& doc) {
    return test::run_belun({{"in.xml", doc}}, {"in.xml", "r.csv"});
}

std::string end_of_run_row(std::string_view line, std::string_view code) {
    return csv_row(
        line, code, "", "", "   ", "   ", "   ",
        code == "ES306" ? "Kontrolovaný soubor není DUV" : "V souboru nebyl ani jeden zamestnavatel");
}

const char* const kES302 = "Nesouhlasi zacatek a konec prvku";
const char* const kES312 = "Hodnota prvku obsahuje nepovolený řídicí znak";
const char* const kES313 = "Za koncem dokumentu (</DUV>) je další obsah";
const char* const kES301 = "Neznamý prvek";
const char* const kES303 = "Prvkek nebyl uveden";
const char* const kES304 = "Vícenásobný výskyt prvku      .";

bool report_is_complete(const test::RunResult& run) {
    const auto pos = run.report.rfind("\r\nCelkem chyb vahy W:;");
    return run.exit_code == 0 && pos != std::string::npos && run.report.size() == pos + 32;
}

TEST(DocumentReader, AttributesOnFieldElement) {
    const auto doc =
        replace_first(test::document_head(), "<rok>", "<rok a = \"1\"  b=\"2\">") + test::document_tail();
    EXPECT_EQ(report_rows(doc), (std::vector<std::string>{"3;ES300;;;rok;\"a=\"\"1\"\"b=\"\"2\"\"\";  ;" +
                                                              cp1250("Chyba syntaxe XML"),
                                                          end_of_run_row("12", "ES308")}));
}

TEST(DocumentReader, ClosingTagThatDoesNotMatch) {
    auto doc = replace_first(test::document_head(), "</autor>", "</autorx>") + test::document_tail();
    EXPECT_EQ(report_rows(doc),
              (std::vector<std::string>{csv_row("7", "ES302", "", "", "autor", "/autorx", "  ", kES302),
                                        end_of_run_row("12", "ES308")}));

    // A missing closing tag: the next tag is taken for it and every later element shifts.
    doc = replace_first(test::document_head(), "</autor>", "") + test::document_tail();
    EXPECT_EQ(report_rows(doc), (std::vector<std::string>{
                                    csv_row("8", "ES302", "", "", "autor", "mail", "  ", kES302),
                                    csv_row("9", "ES302", "", "", "/mail", "telefon", "  ", kES302),
                                    csv_row("9", "ES301", "", "", "/mail", "", "0", kES301),
                                    csv_row("10", "ES302", "", "", "/telefon", "vytvoreno", "  ", kES302),
                                    csv_row("10", "ES301", "", "", "/telefon", "", "0", kES301),
                                    csv_row("11", "ES302", "", "", "/vytvoreno", "/DUV", "  ", kES302),
                                    csv_row("11", "ES301", "", "", "/vytvoreno", "", "0", kES301),
                                    end_of_run_row("12", "ES306"),
                                    end_of_run_row("12", "ES308"),
                                }));
}

TEST(DocumentReader, SubmitterPresenceAtEveryEmployerAndAtRootEnd) {
    auto head = replace_first(test::document_head(), "<autor>Jana Novakova</autor>\r\n", "");
    head = replace_first(head, "<rok>2006</rok>\r\n", "<rok>2006</rok>\r\n<rok>2006</rok>\r\n");
    const std::string empty_employer = "<zamestnavatel>\r\n</zamestnavatel>\r\n";
    const auto rows =
        report_rows(head + empty_employer + empty_employer + empty_employer + test::document_tail());
    // Only the submitter's fields: the employers' own fields have their checks too.
    std::vector<std::string> selected;
    for (const auto& r : rows_with_code(rows, "ES303"))
        if (r.find(";autor;") != std::string::npos) selected.push_back(r);
    for (const auto& r : rows_with_code(rows, "ES304"))
        if (r.find(";rok;") != std::string::npos) selected.push_back(r);
    // The employee column becomes three spaces only after the first employer's check.
    EXPECT_EQ(selected, (std::vector<std::string>{
                            csv_row("11", "ES303", "", "", "autor", " ", "0", kES303),
                            csv_row("13", "ES303", "", "   ", "autor", " ", "0", kES303),
                            csv_row("15", "ES303", "", "   ", "autor", " ", "0", kES303),
                            csv_row("17", "ES303", "", "   ", "autor", "   ", "autor", kES303),
                            csv_row("11", "ES304", "", "", "rok", " ", "2", kES304),
                            csv_row("13", "ES304", "", "   ", "rok", " ", "2", kES304),
                            csv_row("15", "ES304", "", "   ", "rok", " ", "2", kES304),
                            csv_row("17", "ES304", "", "   ", "rok", "   ", "2", kES304),
                        }));
    // Within one check, table order and ES303 before ES304 of the same row: rok comes first.
    EXPECT_EQ(rows[std::find(rows.begin(), rows.end(), selected[4]) - rows.begin() + 1], selected[0]);
}

TEST(DocumentReader, EmployerPresenceAtFirstEmployeeOnly) {
    auto fields = replace_first(employer_fields(), "<AA0113></AA0113>\r\n", "");
    fields =
        replace_first(fields, "<AA0019>301</AA0019>\r\n", "<AA0019>301</AA0019>\r\n<AA0019>301</AA0019>\r\n");
    // Employer fields on lines 12-22, the employees' start tags on lines 23 and 26.
    const auto doc = test::document_head() + "<zamestnavatel>\r\n" + fields +
                     "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n</zamestnanec>\r\n"
                     "<zamestnanec>\r\n<AA0126>A2</AA0126>\r\n</zamestnanec>\r\n</zamestnavatel>\r\n" +
                     test::document_tail();
    std::vector<std::string> selected;
    for (const auto& r : report_rows(doc))
        if (r.rfind("23;ES30", 0) == 0 || r.rfind("26;ES30", 0) == 0) selected.push_back(r);
    EXPECT_EQ(selected, (std::vector<std::string>{
                            csv_row("23", "ES303", "20000006", "   ", "AA0113", " ", "0", kES303),
                            csv_row("23", "ES304", "20000006", "   ", "AA0019", " ", "2", kES304),
                        }));
}

TEST(DocumentReader, RootVersionAndNamespace) {
    const std::string expected = "\"verze=\"\"1.6\"\" xmlns=\"\"" + kUri + "\"\"\"";
    const std::string description =
        "\"" + cp1250("Element <DUV> by měl obsahovat atributy verze=\"\"1.6\"\" a xmlns=\"\"") + kUri +
        "\"\"\"";
    const struct {
        std::string root;
        std::string row;  // the WS102 row, empty when none
    } cases[] = {
        {"<DUV>", "2;WS102;;;DUV;DUV;" + expected + ";" + description},
        {"<DUV verze='1.6' xmlns=\"" + kUri + "\">",
         "2;WS102;;;DUV;\"verze='1.6' xmlns=\"\"" + kUri + "\"\"\";" + expected + ";" + description},
        {"<DUV xmlns=\"" + kUri + "\">",
         "2;WS102;;;DUV;\"xmlns=\"\"" + kUri + "\"\"\";" + expected + ";" + description},
        {"<DUV verze=\"1.6\" xmlns=\"http://duv.example.com/schemas/2004/DUV/1.6/\">",
         "2;WS102;;;DUV;\"verze=\"\"1.6\"\" xmlns=\"\"http://duv.example.com/schemas/2004/DUV/1.6/\"\"\";" +
             expected + ";" + description},
        {"<duv:DUV verze=\"1.6\" xmlns:duv=\"" + kUri + "\">", ""},
        {"<DUV xmlns=\"" + kUri + "\"\r\n verze=\"1.6\">", ""},
        {"<DUVX verze=\"1.6\" xmlns=\"" + kUri + "\">", ""},
    };
    for (const auto& c : cases) {
        const auto selected = rows_with_code(
            report_rows(kProlog + c.root + "\r\n" + submitter_fields() + "</duv:DUV>\r\n"), "WS102");
        if (c.row.empty())
            EXPECT_TRUE(selected.empty()) << c.root;
        else
            EXPECT_EQ(selected, std::vector<std::string>{c.row}) << c.root;
    }
}

TEST(DocumentReader, EchoIntoOutputFile) {
    const std::string doc =
        kProlog + "<!DOCTYPE DUV>\r\n<duv:DUV verze=\"1.6\" xmlns:duv=\"" + kUri + "\">\r\n" +
        submitter_fields() + "<!-- poznamka <rok>1</rok> -->\r\n<zamestnavatel id=\"1\">\r\n" +
        replace_first(replace_first(employer_fields(), "<AA0113></AA0113>", "<AA0113/>"), "<AA0179>",
                      "<!-- x -->\r\n<AA0179>") +
        "<duv:zamestnanec>\r\n<AA0126>  A1</AA0126>\r\n<AA0231/>\r\n<AA0211 />\r\n<AA0223></AA0223>\r\n"
        "<!-- y "
        "-->\r\n<duv:AA0033>CZ</duv:AA0033>\r\n</duv:zamestnanec>\r\n</zamestnavatel>\r\n</duv:DUV>\r\n";
    auto run = test::run_belun({{"in.xml", doc}}, {"in.xml", "r.csv", "out.xml"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.copy,
              kProlog + "<DUV verze=\"1.6\" xmlns=\"" + kUri + "\"> \r\n" + submitter_fields() +
                  "<zamestnavatel>\r\n" + employer_fields() +
                  "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n<AA0223></AA0223>\r\n<AA0033>CZ</AA0033>\r\n"
                  "</zamestnanec>\r\n</zamestnavatel>\r\n</DUV>\r\n");
}

TEST(DocumentReader, CommentsInsideTheDocument) {
    auto doc =
        replace_first(test::document_head(), "<AA0226>", "<!--\r\n <rok>2007</rok> --\r\n>\r\n<AA0226>") +
        test::document_tail();
    EXPECT_EQ(report_rows(doc), std::vector<std::string>{end_of_run_row("15", "ES308")});

    // A comment whose name runs on is a field element.
    doc = test::document_head() + "<!--x-->\r\n" + test::document_tail();
    EXPECT_EQ(report_rows(doc), (std::vector<std::string>{
                                    csv_row("12", "ES302", "", "", "!--x--", "/DUV", "  ", kES302),
                                    csv_row("12", "ES301", "", "", "!--x--", "", "0", kES301),
                                    end_of_run_row("13", "ES306"),
                                    end_of_run_row("13", "ES308"),
                                }));
}

TEST(DocumentReader, EmployerEndInsideEmployee) {
    const auto doc = test::document_head() + "<zamestnavatel>\r\n" + employer_fields() +
                     "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n</zamestnavatel>\r\n" + test::document_tail();
    auto run = test::run_belun({{"in.xml", doc}}, {"in.xml", "r.csv", "out.xml"});
    const auto rows = csv_rows(run.report);
    // Neither the employee's nor the employer's end checks run, and the root ends normally.
    for (const char* code : {"ES303", "ES304", "ES306", "ES308", "ES309"})
        EXPECT_TRUE(rows_with_code(rows, code).empty()) << code;
    EXPECT_NE(run.copy.find("<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n</zamestnavatel>\r\n</DUV>\r\n"),
              std::string::npos);
}

TEST(DocumentReader, EndOfRunFindings) {
    {
        auto run = test::run_belun({{"in.xml", ""}}, {"in.xml", "r.txt"});
        EXPECT_EQ(run.exit_code, 0);
        const std::string footer = "\r\nCelkem chyb vahy E:       1\r\n\r\nCelkem chyb vahy W:       0\r\n";
        ASSERT_GT(run.report.size(), footer.size());
        EXPECT_EQ(run.report.substr(run.report.size() - footer.size()), footer);
        EXPECT_EQ(report_rows(""), std::vector<std::string>{end_of_run_row("1", "ES306")});
    }
    // No root element at all.
    EXPECT_EQ(report_rows(kProlog + "<koren>\r\n<rok>2006</rok>\r\n"),
              std::vector<std::string>{end_of_run_row("4", "ES306")});
    // The root started, but neither an employer nor its end followed.
    EXPECT_EQ(report_rows(test::document_head()),
              (std::vector<std::string>{end_of_run_row("11", "ES306"), end_of_run_row("11", "ES308")}));
    // The input ends inside an employee.
    const auto rows = report_rows(test::document_head() + "<zamestnavatel>\r\n" + employer_fields() +
                                  "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n");
    EXPECT_EQ(rows_with_code(rows, "ES306"),
              std::vector<std::string>{csv_row("25", "ES306", "20000006", "A1", "   ", "   ", "   ",
                                               "Kontrolovaný soubor není DUV")});
    EXPECT_TRUE(rows_with_code(rows, "ES308").empty());
}

TEST(DocumentReader, BadInputEndsWithCompleteReport) {
    std::mt19937 gen(2006);
    std::string random_bytes(1 << 16, '\0');
    for (char& c : random_bytes) c = static_cast<char>(gen() & 0xFF);

    std::string one_line = test::document_head() + "<xyz>1</xyz>" + test::document_tail();
    std::erase(one_line, '\r');
    std::erase(one_line, '\n');

    const std::string with_nuls =
        replace_first(replace_first(test::document_head(), "Jana", std::string("Ja\0na", 5)), "<mail>",
                      std::string("<ma\0il>", 7)) +
        std::string("<\0>\0\0</\0>", 9) + test::document_tail();

    for (const auto& doc : {std::string(), random_bytes, test::document_head() + random_bytes, with_nuls,
                            kProlog + "<DUV " + std::string(5000, 'a') + "\r\n" + random_bytes, one_line}) {
        auto run = run_csv(doc);
        EXPECT_TRUE(report_is_complete(run)) << doc.size();
    }
    EXPECT_EQ(report_rows(one_line),
              (std::vector<std::string>{csv_row("1", "ES301", "", "", "xyz", "1", "1", kES301),
                                        end_of_run_row("1", "ES308")}));
}

TEST(DocumentReader, NameOf300CharactersAndItsClosingTag) {
    const std::string n300(300, 'n');
    EXPECT_EQ(
        report_rows(test::document_head() + "<" + n300 + ">1</" + n300 + ">\r\n" + test::document_tail()),
        (std::vector<std::string>{
            csv_row("11", "ES302", "", "", n300, "/" + std::string(299, 'n'), "  ", kES302),
            csv_row("11", "ES301", "", "", n300, "1", "1", kES301),
            end_of_run_row("13", "ES308"),
        }));
}

TEST(DocumentReader, FieldsAcrossReadBlocks) {
    // Spaces before the second submitter field move the end of the first read block (256 KiB)
    // through every byte of the fields that follow.
    const std::string head = test::document_head();
    const std::size_t from = head.find("<AA0226>");
    for (std::size_t k = 0; k < head.size() - from; k += k < 80 ? 1 : 3) {
        const std::string doc = head.substr(0, from) + std::string((1u << 18) - from - k, ' ') +
                                head.substr(from) + test::document_tail();
        ASSERT_EQ(report_rows(doc), std::vector<std::string>{end_of_run_row("12", "ES308")}) << k;
    }
}

TEST(DocumentReader, OverlongNameAndContent) {
    const std::string x1000(1000, 'x');
    auto run =
        run_csv(test::document_head() + "<" + x1000 + ">1</" + x1000 + ">\r\n" + test::document_tail());
    EXPECT_TRUE(report_is_complete(run));
    EXPECT_EQ(
        csv_rows(run.report),
        (std::vector<std::string>{
            csv_row("11", "ES302", "", "", std::string(300, 'x'), "/" + std::string(299, 'x'), "  ", kES302),
            csv_row("11", "ES301", "", "", std::string(300, 'x'), "1", "1", kES301),
            end_of_run_row("13", "ES308"),
        }));

    run = run_csv(replace_first(test::document_head(), "Nemocnice Dolni Lhota", std::string(10000, 'N')) +
                  test::document_tail());
    EXPECT_TRUE(report_is_complete(run));
    EXPECT_EQ(csv_rows(run.report), (std::vector<std::string>{
                                        csv_row("6", "ESPRE", "", "", "predkladatel", std::string(300, 'N'),
                                                cp1250("délka 1 - 50"), "Chybná hodnota nebo délka"),
                                        end_of_run_row("12", "ES308"),
                                    }));
}

TEST(DocumentReader, ControlCharactersInValues) {
    // Every byte 0x00-0x1F but tab, line feed and carriage return, in a short field of the common
    // form and after 15 bytes of a longer text: ES312 once per field. The value shown ends at a
    // NUL, as every text does.
    for (int byte = 0; byte < 0x20; ++byte) {
        const char c = static_cast<char>(byte);
        const std::string name = std::string("Nemocnice Dolni") + c + " Lhota";
        const std::string code = std::string("1") + c + c + "2";
        const std::string doc = test::document_head_with("Nemocnice Dolni Lhota", name) + "<AA9999>" + code +
                                "</AA9999>\r\n" + test::document_tail();
        const auto rows = rows_with_code(report_rows(doc), "ES312");
        if (c == '\t' || c == '\n' || c == '\r') {
            EXPECT_TRUE(rows.empty()) << byte;
            continue;
        }
        EXPECT_EQ(
            rows,
            (std::vector<std::string>{
                csv_row("6", "ES312", "", "", "predkladatel", c ? name : "Nemocnice Dolni", "   ", kES312),
                csv_row("11", "ES312", "", "", "AA9999", c ? code : "1", "   ", kES312)}))
            << byte;
    }
    // XML allows DEL.
    const auto doc = test::document_head_with("Lhota", "Lhota\x7f") + test::document_tail();
    EXPECT_TRUE(rows_with_code(report_rows(doc), "ES312").empty());
}

TEST(DocumentReader, ContentAfterTheRootEndAcrossReadBlocks) {
    // The end of the first read block (256 KiB) moves through the root's end tag and the text after it.
    const std::string head = test::document_head();
    for (std::size_t k = 0; k <= 10; ++k) {
        const std::string doc = head + std::string((1u << 18) - head.size() - k, ' ') + "</DUV>\r\nx\r\n";
        EXPECT_EQ(report_rows(doc),
                  (std::vector<std::string>{csv_row("12", "ES313", "", "", "   ", "   ", "   ", kES313),
                                            end_of_run_row("13", "ES308")}))
            << k;
    }
}

}  // namespace
}  // namespace tavon
