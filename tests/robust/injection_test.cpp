// Texts from the input reach every text column of a report: element names, contents, attribute
// text, the employer number, the employee identifier, a value expected from another record, and
// the input's file name. Whatever they hold, they stay text: no markup in the HTML or XML
// report, no extra column in the CSV report.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/robust/report_parser.h"
#include "tests/robust/scratch.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::Pokus;
using test::Rozbor;
using test::RunResult;

// Every tag of the HTML report is one of the report's own.
std::string cizi_znacka(const std::string& html) {
    static const std::set<std::string> kVlastni = {
        "html",   "/html", "head", "/head", "META", "title", "/title", "body", "/body", "table",
        "/table", "tr",    "/tr",  "th",    "/th",  "td",    "/td",    "b",    "/b"};
    for (std::size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i + 1)) {
        const std::size_t k = html.find_first_of(" >\r\n<", i + 1);
        const std::string jmeno = html.substr(i + 1, k == std::string::npos ? std::string::npos : k - i - 1);
        if (!kVlastni.count(jmeno)) return html.substr(i, 60);
    }
    return "";
}

std::string html_text(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

// Validates `dokument` (saved under `jmeno`) into CSV, XML, HTML and text reports; a row with
// code `kod` must carry `text` unchanged in column `sloupec` of the CSV and XML reports, and
// the HTML report must show it escaped and hold no tag of its own.
void over(const std::string& dokument, const std::string& kod, std::size_t sloupec, const std::string& text,
          const std::string& jmeno = "d.xml") {
    SCOPED_TRACE("column " + std::to_string(sloupec + 1) + " text " + text);
    Pokus p;
    const std::string vstup = p.cesta(jmeno);
    p.zapis(vstup, dokument);
    auto nese = [&](const Rozbor& r) {
        for (const auto& radek : r.radky)
            if (radek[1] == kod && radek[sloupec] == text) return true;
        return false;
    };

    const RunResult csv = p.run_belun({vstup, p.cesta("r.csv")});
    ASSERT_EQ(csv.exit_code, 0);
    const Rozbor c = test::rozeber_csv(csv.report);
    ASSERT_EQ(c.vada, "");
    EXPECT_TRUE(nese(c)) << csv.report;

    const RunResult xml = p.run_belun({vstup, p.cesta("r.xml")});
    const Rozbor x = test::rozeber_xml(xml.report);
    ASSERT_EQ(x.vada, "");
    EXPECT_EQ(x.radky, c.radky);
    EXPECT_EQ(x.soubor, vstup);
    EXPECT_TRUE(nese(x));

    const RunResult htm = p.run_belun({vstup, p.cesta("r.htm")});
    EXPECT_EQ(cizi_znacka(htm.report), "");
    EXPECT_NE(htm.report.find("&nbsp;" + html_text(text) + "</"), std::string::npos);
    EXPECT_NE(htm.report.find("<th width=38%> " + html_text(vstup) + " </th>"), std::string::npos);
    EXPECT_TRUE(test::ma_paticku_htm(htm.report));

    const RunResult txt = p.run_belun({vstup, p.cesta("r.txt")});
    EXPECT_TRUE(test::ma_paticku_txt(txt.report, c.chybE, c.chybW));
}

std::string s_polem(const std::string& pole) {
    return test::document_head() + pole + "\r\n" + test::document_tail();
}

std::string nahrad(std::string text, const std::string& co, const std::string& cim) {
    const std::size_t i = text.find(co);
    if (i != std::string::npos) text.replace(i, co.size(), cim);
    return text;
}

// A name ends at a space or ">", a content at "<", attribute text at ">": each column gets the
// hostile texts that can reach it.
const std::vector<std::string> kDoJmena = {"<script", "a<b", "&", "&amp;", "\"", ";", "x;y\"z&w<v"};
const std::vector<std::string> kDoObsahu = {
    "script>alert(1)/script>", "&", "&lt;script&gt;", "\"", ";", "a;b\"c&d>e", "\"\";;"};
const std::vector<std::string> kDoAtributu = {"x=\"<script\"", "&", "\"", ";", "a=\"1;2\"b='&amp;'<c"};

TEST(Injection, ElementNames) {
    for (const auto& t : kDoJmena) over(s_polem("<" + t + ">1</" + t + ">"), "ES301", 4, t);
}

TEST(Injection, ContentsAndAttributeTexts) {
    for (const auto& t : kDoObsahu) over(nahrad(s_polem(""), "<rok>2006<", "<rok>" + t + "<"), "ER209", 5, t);
    for (const auto& t : kDoAtributu) {
        over(nahrad(s_polem(""), "<rok>", "<rok " + t + ">"), "ES300", 5, t);
        over(nahrad(s_polem(""), "<DUV verze=\"1.6\"", "<DUV " + t), "WS102", 5,
             t + " xmlns=\"http://duv.example.org/schemas/2004/DUV/1.6/\"");
    }
}

TEST(Injection, EmployerNumberAndEmployeeIdentifier) {
    for (const auto& t : kDoObsahu) {
        over(s_polem("<zamestnavatel>\r\n<AA0017>" + t + "</AA0017>\r\n</zamestnavatel>"), "ES309", 2, t);
        over(s_polem("<zamestnavatel>\r\n<AA0017>20000006</AA0017>\r\n<zamestnanec>\r\n<AA0126>" + t +
                     "</AA0126>\r\n</zamestnanec>\r\n</zamestnavatel>"),
             "ES303", 3, t);
    }
}

TEST(Injection, ValueExpectedFromAnotherRecordOfThePerson) {
    const std::string doc = test::precti_soubor(test::koren() / "examples/duv-ok.xml");
    const std::size_t od = doc.find("<zamestnanec>");
    const std::size_t po = doc.find("</zamestnanec>", od) + 14;
    const std::string zaznam = doc.substr(od, po - od);
    // The same person twice, the second time with a state code that no list holds.
    for (const auto& t : kDoObsahu) {
        const std::string druhy = nahrad(zaznam, "<AA0033>CZ</AA0033>", "<AA0033>" + t + "</AA0033>");
        over(doc.substr(0, po) + "\r\n" + druhy + doc.substr(po), "EL003", 6, t);
    }
}

TEST(Injection, InputFileName) {
    for (const std::string jmeno : {"<script>alert(1)<", "a&b;c\"d.xml", "&amp;>x"})
        over(s_polem("<xyz>1</xyz>"), "ES301", 4, "xyz", jmeno);
}

TEST(Injection, LineBreaksInsideTextsAreDroppedNotWritten) {
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    p.zapis(vstup, nahrad(s_polem(""), "<rok>2006<", "<rok>a;\r\n\"b\r\n\r\n<"));
    const RunResult beh = p.run_belun({vstup, p.cesta("r.csv")});
    const Rozbor r = test::rozeber_csv(beh.report);
    ASSERT_EQ(r.vada, "");
    ASSERT_FALSE(r.radky.empty());
    EXPECT_EQ(r.radky[0][1], "ER209");
    EXPECT_EQ(r.radky[0][5], "a;\"b");
    EXPECT_EQ(r.radky[0][0], "6");  // the lines inside the content still count
}

}  // namespace
}  // namespace tavon
