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
#include "tests/support/documents.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::ParsedReport;
using test::RunResult;
using test::ScratchDir;

// Every tag of the HTML report is one of the report's own; its only links lead to its explanations.
std::string foreign_tag(const std::string& html) {
    static const std::set<std::string> kOwnTags = {
        "html",  "/html",  "head", "/head", "META", "title", "/title", "body", "/body",
        "table", "/table", "tr",   "/tr",   "th",   "/th",   "td",     "/td",  "b",
        "/b",    "/a",     "p",    "/p",    "br",   "h2",    "/h2",    "h3",   "/h3"};
    for (std::size_t i = html.find('<'); i != std::string::npos; i = html.find('<', i + 1)) {
        const std::size_t k = html.find_first_of(" >\r\n<", i + 1);
        const std::string name = html.substr(i + 1, k == std::string::npos ? std::string::npos : k - i - 1);
        bool own_link = false;
        for (std::string_view link : {"<a href=\"#kod-E", "<a href=\"#kod-W", "<a href=\"#pole-"})
            own_link = own_link || html.compare(i, link.size(), link) == 0;
        if (!kOwnTags.count(name) && !own_link) return html.substr(i, 60);
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

// Validates `document` (saved under `name`) into CSV, XML, HTML and text reports; a row with
// code `code` must carry `text` unchanged in column `column` of the CSV and XML reports, and
// the HTML report must show it escaped and hold no tag of its own.
void check_text_in_reports(const std::string& document, const std::string& code, std::size_t column,
                           const std::string& text, const std::string& name = "d.xml") {
    SCOPED_TRACE("column " + std::to_string(column + 1) + " text " + text);
    ScratchDir dir;
    const std::string input = dir.path(name);
    dir.write_file(input, document);
    auto carries = [&](const ParsedReport& r) {
        for (const auto& row : r.rows)
            if (row[1] == code && row[column] == text) return true;
        return false;
    };

    const RunResult csv = dir.run_belun({input, dir.path("r.csv")});
    ASSERT_EQ(csv.exit_code, 0);
    const ParsedReport c = test::parse_csv_report(csv.report);
    ASSERT_EQ(c.problem, "");
    EXPECT_TRUE(carries(c)) << csv.report;

    const RunResult xml = dir.run_belun({input, dir.path("r.xml")});
    const ParsedReport x = test::parse_xml_report(xml.report);
    ASSERT_EQ(x.problem, "");
    EXPECT_EQ(x.rows, c.rows);
    EXPECT_EQ(x.input_file, input);
    EXPECT_TRUE(carries(x));

    const RunResult htm = dir.run_belun({input, dir.path("r.htm")});
    EXPECT_EQ(foreign_tag(htm.report), "");
    EXPECT_NE(htm.report.find("&nbsp;" + html_text(text) + "</"), std::string::npos);
    EXPECT_NE(htm.report.find("<th width=38%> " + html_text(input) + " </th>"), std::string::npos);
    EXPECT_TRUE(test::has_html_footer(htm.report, c.errors, c.warnings));

    const RunResult txt = dir.run_belun({input, dir.path("r.txt")});
    EXPECT_TRUE(test::has_text_footer(txt.report, c.errors, c.warnings));
}

// The valid document head, then `field` on a line of its own, then the root's end.
std::string document_with(const std::string& field) {
    return test::document_head() + field + "\r\n" + test::document_tail();
}

// A name ends at a space or ">", a content at "<", attribute text at ">": each column gets the
// hostile texts that can reach it.
const std::vector<std::string> kIntoNames = {"<script", "a<b", "&", "&amp;", "\"", ";", "x;y\"z&w<v"};
const std::vector<std::string> kIntoContents = {
    "script>alert(1)/script>", "&", "&lt;script&gt;", "\"", ";", "a;b\"c&d>e", "\"\";;"};
const std::vector<std::string> kIntoAttributes = {"x=\"<script\"", "&", "\"", ";", "a=\"1;2\"b='&amp;'<c"};

TEST(Injection, ElementNames) {
    for (const auto& t : kIntoNames)
        check_text_in_reports(document_with("<" + t + ">1</" + t + ">"), "ES301", 4, t);
}

TEST(Injection, ContentsAndAttributeTexts) {
    for (const auto& t : kIntoContents)
        check_text_in_reports(test::replace_first(document_with(""), "<rok>2006<", "<rok>" + t + "<"),
                              "ER209", 5, t);
    for (const auto& t : kIntoAttributes) {
        check_text_in_reports(test::replace_first(document_with(""), "<rok>", "<rok " + t + ">"), "ES300", 5,
                              t);
        check_text_in_reports(test::replace_first(document_with(""), "<DUV verze=\"1.6\"", "<DUV " + t),
                              "WS102", 5, t + " xmlns=\"http://duv.example.org/schemas/2004/DUV/1.6/\"");
    }
}

TEST(Injection, EmployerNumberAndEmployeeIdentifier) {
    for (const auto& t : kIntoContents) {
        check_text_in_reports(
            document_with("<zamestnavatel>\r\n<AA0017>" + t + "</AA0017>\r\n</zamestnavatel>"), "ES309", 2,
            t);
        check_text_in_reports(
            document_with("<zamestnavatel>\r\n<AA0017>20000006</AA0017>\r\n<zamestnanec>\r\n<AA0126>" + t +
                          "</AA0126>\r\n</zamestnanec>\r\n</zamestnavatel>"),
            "ES303", 3, t);
    }
}

TEST(Injection, ValueExpectedFromAnotherRecordOfThePerson) {
    const std::string doc = test::read_file(test::repository_root() / "examples/duv-ok.xml");
    const std::size_t from = doc.find("<zamestnanec>");
    const std::size_t to = doc.find("</zamestnanec>", from) + 14;
    const std::string record = doc.substr(from, to - from);
    // The same person twice, the second time with a state code that no list holds.
    for (const auto& t : kIntoContents) {
        const std::string second =
            test::replace_first(record, "<AA0033>CZ</AA0033>", "<AA0033>" + t + "</AA0033>");
        check_text_in_reports(doc.substr(0, to) + "\r\n" + second + doc.substr(to), "EL003", 6, t);
    }
}

TEST(Injection, InputFileName) {
    for (const std::string name : {"<script>alert(1)<", "a&b;c\"d.xml", "&amp;>x"})
        check_text_in_reports(document_with("<xyz>1</xyz>"), "ES301", 4, "xyz", name);
}

TEST(Injection, LineBreaksInsideTextsAreDroppedNotWritten) {
    ScratchDir dir;
    const std::string input = dir.path("d.xml");
    dir.write_file(input, test::replace_first(document_with(""), "<rok>2006<", "<rok>a;\r\n\"b\r\n\r\n<"));
    const RunResult run = dir.run_belun({input, dir.path("r.csv")});
    const ParsedReport r = test::parse_csv_report(run.report);
    ASSERT_EQ(r.problem, "");
    ASSERT_FALSE(r.rows.empty());
    EXPECT_EQ(r.rows[0][1], "ER209");
    EXPECT_EQ(r.rows[0][5], "a;\"b");
    EXPECT_EQ(r.rows[0][0], "6");  // the lines inside the content still count
}

}  // namespace
}  // namespace tavon
