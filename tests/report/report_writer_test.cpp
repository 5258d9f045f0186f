// The report writer in its four formats, fed through the findings sink of the pipeline, which
// completes each finding from the error table and counts it.
#include "report/report_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "report/findings.h"
#include "tavon/report.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::cp1250;

// A report written into memory through the findings sink and a report writer.
class TestReport {
  public:
    explicit TestReport(ReportFormat format, bool warnings = true, long long max_rows = kMaxReportRows)
        : writer_(format, out_, max_rows), sink_(writer_), findings(sink_, warnings) {}

    // One finding given by its report texts: the line ("12", one person's "10,40,70", " " or "   "
    // for none), the code's name, and the texts as the rules write them ("?": the code's own
    // expected text). Whether a row was written for it.
    bool finding(std::string_view line, std::string_view code, std::string_view field, std::string_view value,
                 std::string_view expected, std::string_view employer = "", std::string_view employee = "") {
        Finding f;
        f.code = code_named(code);
        lines_.clear();
        for (std::size_t at = 0; line.find_first_of("0123456789") == 0 && at <= line.size();) {
            const std::size_t comma = std::min(line.find(',', at), line.size());
            lines_.push_back(std::stoull(std::string(line.substr(at, comma - at))));
            at = comma + 1;
        }
        f.line = lines_.empty() ? 0 : lines_[0];
        if (lines_.size() > 1) f.lines = lines_;
        f.whole_employer = line == "   ";
        f.employer = aligned(employer);
        f.employee = aligned(employee);
        f.field = aligned(field);
        f.value = aligned(value);
        f.expected = expected == "?" ? Text(table_expected(f.code)) : aligned(expected);
        const long long left_out = findings.totals.warnings_not_reported;
        findings.receive(f);
        return findings.totals.warnings_not_reported == left_out;
    }
    static Code code_named(std::string_view code) {
        for (std::size_t i = 0; i < kCodeCount; ++i)
            if (name(static_cast<Code>(i)) == code) return static_cast<Code>(i);
        ADD_FAILURE() << "no code " << code;
        return Code{};
    }
    void header(std::string_view date_time, std::string_view name, std::string_view data_set = {}) {
        writer_.header(date_time, name, data_set);
    }
    void footer() { writer_.footer(findings.totals); }
    long long rows_left_out() const { return writer_.rows_left_out(); }
    std::string text() {
        writer_.flush();
        return out_.bytes;
    }

  private:
    // The writer as a sink of findings.
    struct Sink : FindingSink {
        explicit Sink(Report::Writer& writer) : writer(writer) {}
        void finding(const Finding& f) override { writer.finding(f); }
        Report::Writer& writer;
    };
    StringOutput out_;
    Report::Writer writer_;
    Sink sink_;
    std::vector<std::uint64_t> lines_;

  public:
    Findings findings;
};

std::string crlf(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

const std::string kUnknown = cp1250("Neznamý prvek");

TEST(ReportWriter, CsvRow) {
    TestReport r(ReportFormat::Csv);
    EXPECT_TRUE(r.finding("12", "ES301", "xyz", "abc", "3", "20000006", "A1"));
    EXPECT_TRUE(r.finding("5", "WL054", "AA0113", "k,1", "   ", "20000006/k,1", "   "));
    EXPECT_EQ(r.text(), "12;ES301;20000006;A1;xyz;abc;3;" + kUnknown + "\r\n" +
                            "5;WL054;20000006/k,1;   ;AA0113;k,1;   ;" +
                            cp1250("Kód zařízení se používá jen u organizací nemající vlastní IČO, jinak se "
                                   "nechává prázdné.") +
                            "\r\n");
    EXPECT_EQ(r.findings.totals.errors, 1);
    EXPECT_EQ(r.findings.totals.warnings, 1);
}

TEST(ReportWriter, TextRowIsRightAlignedAndNeverCut) {
    TestReport r(ReportFormat::Text);
    r.finding("12", "ES301", "xyz", "   ", "  ");
    r.finding("1234567890", "ES301", "AA0017xyz", "12345678901", "x", "20000006/kod", "A1");
    const std::string text = r.text();
    EXPECT_EQ(text.substr(0, 16), "       12  ES301");

    auto row = [](const char* a, const char* b, const char* c, const char* d, const char* e, const char* f,
                  const char* g, const std::string& h) {
        char buf[512];
        std::snprintf(buf, sizeof buf, "%9s  %5s %9s  %9s %7s  %10s  %10s  %30s\n", a, b, c, d, e, f, g,
                      h.c_str());
        return crlf(buf);
    };
    EXPECT_EQ(text, row("12", "ES301", "", "", "xyz", "   ", "  ", kUnknown) +
                        row("1234567890", "ES301", "20000006/kod", "A1", "AA0017xyz", "12345678901", "x",
                            kUnknown));
}

TEST(ReportWriter, HtmlRowsShowErrorCodesInBoldAndLinkCodesAndFields) {
    TestReport r(ReportFormat::Html);
    r.finding("7", "ES301", "xyz", "abc", "3", "20000006", "A1");
    r.finding("8", "WL054", "AA0113", "k", "   ", "20000006/k", "   ");
    EXPECT_EQ(
        r.text(),
        crlf("<tr>\n<td>&nbsp;7</td>\n<td><b>&nbsp;<a href=\"#kod-ES301\">ES301</a></b></td>\n"
             "<td>&nbsp;20000006</td>\n"
             "<td>&nbsp;A1</td>\n<td>&nbsp;xyz</td>\n<td>&nbsp;abc</td>\n<td>&nbsp;3</td>\n"
             "<td>&nbsp;" +
             kUnknown +
             "</td>\n"
             "<tr>\n<td>&nbsp;8</td>\n<td>&nbsp;<a href=\"#kod-WL054\">WL054</a></td>\n"
             "<td>&nbsp;20000006/k</td>\n<td>&nbsp;   </td>\n"
             "<td>&nbsp;<a href=\"#pole-AA0113\">AA0113</a></td>\n<td>&nbsp;k</td>\n<td>&nbsp;   </td>\n"
             "<td>&nbsp;" +
             cp1250("Kód zařízení se používá jen u organizací nemající vlastní IČO, jinak se "
                    "nechává prázdné.") +
             "</td>\n"));
}

TEST(ReportWriter, XmlRow) {
    TestReport r(ReportFormat::Xml);
    r.finding("7", "ES301", "xyz", "abc", "3", "20000006", "A1");
    EXPECT_EQ(r.text(), crlf("<Chyba>\n<Radek>7</Radek>\n<KodChyby>ES301</KodChyby>\n"
                             "<Zamestnavatel>20000006</Zamestnavatel>\n<Zamestnanec>A1</Zamestnanec>\n"
                             "<Prvek>xyz</Prvek>\n<Hodnota>abc</Hodnota>\n"
                             "<DelkaHodn>3</DelkaHodn>\n<Popis>" +
                             kUnknown + "</Popis>\n</Chyba>\n"));
}

TEST(ReportWriter, ExpectedTextFromTheTable) {
    TestReport r(ReportFormat::Csv);
    r.finding("1", "ES131", "AA0131", "81", "?");
    r.finding("2", "ES133", "AA0133", "x", "?");
    r.finding("3", "WL033", "AA0033", "DE", "?");
    const std::string wrong = cp1250("Chybná hodnota nebo délka");
    EXPECT_EQ(r.text(), "1;ES131;;;AA0131;81;0 - 42.5;" +
                            cp1250("Chybná hodnota týdeního fondu pracovní doby") +
                            "\r\n2;ES133;;;AA0133;x;;" + wrong + "\r\n3;WL033;;;AA0033;DE;CZ, SK;" +
                            cp1250("Jiný stát než Česká, nebo Slovenská republika") + "\r\n");
    EXPECT_EQ(r.findings.totals.errors, 2);
    EXPECT_EQ(r.findings.totals.warnings, 1);
}

TEST(ReportWriter, SuppressedWarningsStillCountInTotals) {
    TestReport r(ReportFormat::Csv, false);
    EXPECT_FALSE(r.finding("1", "WL033", "AA0033", "DE", "?"));
    EXPECT_TRUE(r.finding("2", "EL047", "AA0033", "XX", "   "));
    EXPECT_FALSE(r.finding("3", "WL033", "AA0033", "DE", "?"));
    EXPECT_EQ(r.findings.totals.warnings, 2);
    EXPECT_EQ(r.findings.totals.errors, 1);
    r.footer();
    EXPECT_EQ(r.text(), "2;EL047;;;AA0033;XX;   ;" + cp1250("Neznámý kód státu") +
                            "\r\n\r\nCelkem chyb vahy E:;       1\r\n\r\nCelkem chyb vahy W:;       2\r\n");
}

TEST(ReportWriter, HtmlSummaryInCodeOrder) {
    TestReport r(ReportFormat::Html);
    r.finding("1", "WL025", "a", "b", "c");
    r.finding("2", "ESAUT", "a", "b", "c");
    r.finding("3", "EL050", "a", "b", "c");
    r.finding("4", "WL025", "a", "b", "c");
    r.finding("5", "ES309", "a", "b", "c");
    r.finding("6", "ER212", "a", "b", "c");
    r.footer();
    const std::string text = r.text();
    const auto from = text.find("</table>");
    ASSERT_NE(from, std::string::npos);

    auto row = [](std::string_view code, int n, std::string_view description) {
        const bool e = code[0] == 'E';
        const std::string c(code);
        return std::string("<tr>\r\n<td>") + (e ? "<b>" : "") + "&nbsp;<a href=\"#kod-" + c + "\">" + c +
               "</a>" + (e ? "</b>" : "") + "</td>\r\n<td>&nbsp;" + std::to_string(n) +
               "</td>\r\n<td>&nbsp;" + cp1250(description) + "</td>\r\n";
    };
    const auto to = text.find("<p id=\"celkem\">");
    ASSERT_NE(to, std::string::npos);
    EXPECT_EQ(
        text.substr(from, to - from),
        "</table>\r\n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" >\r\n"
        "<tr bgcolor=\"lightblue\">\r\n" +
            cp1250("<th width=10%> Chyba </th><th width=0%> Počet </th> <th width=80%> Popis chyby</th> "
                   "</tr>\r\n") +
            row("EL050", 1, "Neplatné datum - den neodpovídá měsíci") +
            row("ER212", 1,
                "IČO předkladatele nebylo nalezeno v seznamu předkladatelů pro vyhlášenou kampaň.") +
            row("ES309", 1, "Zamestnavatel nemá ani jednoho zamestnance") +
            row("ESAUT", 1, "Chybná hodnota nebo délka") +
            row("WL025", 2, "Odvod na veřejné zdravotní pojištění neodpovídá vyplaceným platům") +
            "</tr>\r\n</table>\r\n");
}

TEST(ReportWriter, HtmlSummaryWithoutSuppressedWarnings) {
    TestReport r(ReportFormat::Html, false);
    r.finding("1", "WL025", "a", "b", "c");
    r.finding("2", "EL050", "a", "b", "c");
    r.footer();
    const std::string text = r.text();
    EXPECT_EQ(text.find("WL025"), std::string::npos);
    EXPECT_NE(
        text.find("<tr>\r\n<td><b>&nbsp;<a href=\"#kod-EL050\">EL050</a></b></td>\r\n<td>&nbsp;1</td>\r\n"),
        std::string::npos);
    EXPECT_EQ(r.findings.totals.warnings, 1);
}

TEST(ReportWriter, FootersWithTotals) {
    const struct {
        ReportFormat format;
        std::string_view footer;
    } cases[] = {
        {ReportFormat::Text, "\r\nCelkem chyb vahy E:       2\r\n\r\nCelkem chyb vahy W:       1\r\n"},
        {ReportFormat::Csv, "\r\nCelkem chyb vahy E:;       2\r\n\r\nCelkem chyb vahy W:;       1\r\n"},
        {ReportFormat::Xml,
         "\r\n<CelkemchybE>       2</CelkemchybE>\r\n<CelkemchybW>       "
         "1</CelkemchybW>\r\n</DUV_chyby>\r\n"},
    };
    for (const auto& c : cases) {
        TestReport r(c.format, false);
        r.finding("1", "EL050", "a", "b", "c");
        r.finding("1", "ES301", "a", "b", "c");
        r.finding("1", "WL025", "a", "b", "c");
        r.footer();
        const std::string text = r.text();
        ASSERT_GE(text.size(), c.footer.size());
        EXPECT_EQ(text.substr(text.size() - c.footer.size()), c.footer) << static_cast<int>(c.format);
    }
}

// The HTML report ends with both totals; with -w it says how many warnings it left out; of a file
// without findings it says that it passed.
TEST(ReportWriter, HtmlTotalsAndTheCleanFile) {
    auto ending = [](TestReport& r) {
        r.footer();
        const std::string text = r.text();
        const auto totals = text.find("<p id=\"celkem\">");
        return totals == std::string::npos ? text : text.substr(totals);
    };
    const std::string totals = cp1250("<p id=\"celkem\"><b>Celkem chyb váhy E: ");
    const std::string warnings = cp1250("</b><br>\r\nCelkem chyb váhy W: ");
    {
        TestReport r(ReportFormat::Html);
        EXPECT_EQ(ending(r),
                  totals + "0" + warnings + "0</p>\r\n" +
                      cp1250("<p><b>Soubor prošel kontrolou bez chyb a bez varování.</b></p>\r\n") +
                      "</body>\r\n</html>\r\n");
    }
    {
        TestReport r(ReportFormat::Html);
        r.finding("1", "EL050", "AA0110", "20060231", "");
        r.finding("2", "WL025", "AA0167", "1", "0");
        const std::string expected = totals + "1" + warnings + "1</p>\r\n<h2 id=\"vysvetlivky\">";
        EXPECT_EQ(ending(r).substr(0, expected.size()), expected);
    }
    const struct {
        int left_out;
        const char* words;
    } suppressed[] = {{1, "nevypsáno"}, {3, "nevypsána"}, {5, "nevypsáno"}};
    for (const auto& c : suppressed) {
        TestReport r(ReportFormat::Html, false);
        for (int i = 0; i < c.left_out; ++i) r.finding("1", "WL025", "AA0167", "1", "0");
        const std::string w = std::to_string(c.left_out);
        EXPECT_EQ(ending(r), totals + "0" + warnings + w + ", z toho " + w + cp1250(" varování ") +
                                 cp1250(c.words) + cp1250(" (přepínač -w)") +
                                 "</p>\r\n</body>\r\n</html>\r\n");
    }
}

// Every link of the HTML report leads to an explanation in the report itself: the codes of the rows
// and of the summary, each field named in a Prvek text. A name that is no field stays text, and the
// explanations are those of the codes and fields the rows name, no others.
TEST(ReportWriter, HtmlLinksLeadToTheExplanationsOfTheReport) {
    TestReport r(ReportFormat::Html);
    r.finding("5", "EL006", "AA0225 + AA0216", "0.00", "0.49");
    r.finding("9", "EL080", "AA0132; AA0133; AA0218; AA0219;", "1040.00 ; 0.00 ; 181 ; 60 ;", "");
    r.finding("3", "ER209", "rok", "2007", "2006");
    r.finding("4", "ES301", "AA0017x", "1", "1");
    r.footer();
    const std::string text = r.text();

    auto all = [&](const std::regex& pattern) {
        std::set<std::string> found;
        for (std::sregex_iterator i(text.begin(), text.end(), pattern), end; i != end; ++i)
            found.insert((*i)[1]);
        return found;
    };
    const std::set<std::string> ids = all(std::regex("id=\"([^\"]+)\""));
    EXPECT_EQ(ids, (std::set<std::string>{"celkem", "vysvetlivky", "kod-EL006", "kod-EL080", "kod-ER209",
                                          "kod-ES301", "pole-AA0225", "pole-AA0216", "pole-AA0132",
                                          "pole-AA0133", "pole-AA0218", "pole-AA0219", "pole-rok"}));
    for (const auto& target : all(std::regex("href=\"#([^\"]+)\"")))
        EXPECT_TRUE(ids.count(target)) << "a link to #" << target << ", which the report does not hold";

    EXPECT_NE(
        text.find("<td>&nbsp;<a href=\"#pole-AA0225\">AA0225</a> + <a href=\"#pole-AA0216\">AA0216</a></td>"),
        std::string::npos);
    EXPECT_NE(text.find("<td>&nbsp;<a href=\"#pole-AA0132\">AA0132</a>; <a href=\"#pole-AA0133\">AA0133</a>; "
                        "<a href=\"#pole-AA0218\">AA0218</a>; <a href=\"#pole-AA0219\">AA0219</a>;</td>"),
              std::string::npos);
    EXPECT_NE(text.find("<td>&nbsp;AA0017x</td>"), std::string::npos);
    // In an explanation, a code or field the report explains is a link, another is text: the entry
    // of ER209 names WR202.
    const std::string explanations = text.substr(text.find("id=\"vysvetlivky\""));
    EXPECT_NE(explanations.find("<a href=\"#pole-AA0218\">AA0218</a>"), std::string::npos);
    EXPECT_NE(explanations.find("WR202"), std::string::npos);
}

TEST(ReportWriter, Headers) {
    const std::string dt = "06/07/2006  14:03:59";
    {
        TestReport r(ReportFormat::Text);
        r.header(dt, "duv.xml");
        EXPECT_EQ(r.text(),
                  cp1250(" Datum a čas:   06/07/2006  14:03:59  Soubor:   duv.xml \r\n") +
                      "C.radku  Chyba   ICO/Kod Zamestnanec  Prvek      Hodnota Ocekavano   Popis\r\n\r\n");
    }
    {
        TestReport r(ReportFormat::Csv);
        r.header(dt, "duv.xml");
        EXPECT_EQ(r.text(), "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n");
    }
    {
        TestReport r(ReportFormat::Xml);
        r.header(dt, "duv.xml");
        EXPECT_EQ(r.text(),
                  "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><DUV_chyby>\r\n"
                  "<DatumCas>06/07/2006  14:03:59</DatumCas>\r\n<Soubor>duv.xml</Soubor>\r\n");
    }
    {
        TestReport r(ReportFormat::Html);
        r.header(dt, "duv.xml");
        EXPECT_EQ(
            r.text(),
            crlf("<html>\n<head>\n"
                 "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1250\">\n"
                 "<title>DUV - vysledky kontroly dat</title>\n</head>\n<body>\n"
                 "<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" width=100% >\n"
                 "<tr bgcolor=\"lightblue\" valign=\"left\">\n" +
                 cp1250("<th width=15%> Datum a čas:  </th><th width=20%> 06/07/2006  14:03:59 </th>"
                        "<th width=12%> Soubor:  </th><th width=38%> duv.xml </th>"
                        "<th width=15%>&nbspTAVON_v0.9 </th>\n") +
                 "</table>\n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\">\n"
                 "<tr bgcolor=\"lightblue\">\n" +
                 cp1250("<th>Řádek<th>Chyba</th><th>Zaměstnavatel</th><th>Zaměstnanec</th><th>Prvek</th>"
                        "<th>Hodnota</th><th>Očekáváno</th><th>Popis</th>\n") +
                 "</tr>\n"));
    }
}

TEST(ReportWriter, HtmlAndXmlEscapeCellTexts) {
    {
        TestReport r(ReportFormat::Html);
        r.finding("1", "WS102", "D&<", "<script>&x", ">", "a<b", "c>d");
        r.footer();
        const std::string text = r.text();
        EXPECT_NE(text.find(crlf("<tr>\n<td>&nbsp;1</td>\n<td>&nbsp;<a href=\"#kod-WS102\">WS102</a></td>\n"
                                 "<td>&nbsp;a&lt;b</td>\n"
                                 "<td>&nbsp;c&gt;d</td>\n<td>&nbsp;D&amp;&lt;</td>\n"
                                 "<td>&nbsp;&lt;script&gt;&amp;x</td>\n<td>&nbsp;&gt;</td>\n"
                                 "<td>&nbsp;" +
                                 cp1250("Element &lt;DUV&gt; by měl obsahovat"))),
                  std::string::npos);
        EXPECT_EQ(text.find("<script>"), std::string::npos);
        EXPECT_EQ(text.find("<DUV>"), std::string::npos);
    }
    {
        TestReport r(ReportFormat::Xml);
        r.finding("1", "WS102", "D&<", "<script>&x", ">", "a<b", "c>d");
        EXPECT_EQ(r.text(), crlf("<Chyba>\n<Radek>1</Radek>\n<KodChyby>WS102</KodChyby>\n"
                                 "<Zamestnavatel>a&lt;b</Zamestnavatel>\n<Zamestnanec>c&gt;d</Zamestnanec>\n"
                                 "<Prvek>D&amp;&lt;</Prvek>\n<Hodnota>&lt;script&gt;&amp;x</Hodnota>\n"
                                 "<DelkaHodn>&gt;</DelkaHodn>\n<Popis>" +
                                 cp1250("Element &lt;DUV&gt; by měl obsahovat atributy verze=\"1.6\" a "
                                        "xmlns=\"http://duv.example.org/schemas/2004/DUV/1.6/\"") +
                                 "</Popis>\n</Chyba>\n"));
    }
    {
        TestReport r(ReportFormat::Xml);
        r.header("06/07/2006  14:03:59", "a<b>&c.xml");
        EXPECT_NE(r.text().find("<Soubor>a&lt;b&gt;&amp;c.xml</Soubor>\r\n"), std::string::npos);
    }
    {
        TestReport r(ReportFormat::Html);
        r.header("06/07/2006  14:03:59", "a<b>&c.xml");
        EXPECT_NE(r.text().find("<th width=38%> a&lt;b&gt;&amp;c.xml </th>"), std::string::npos);
    }
    {
        // The text report writes every text as it stands.
        TestReport r(ReportFormat::Text);
        r.finding("1", "ES301", "a&b", "<x>", "3");
        EXPECT_NE(r.text().find("    a&b" + std::string(2 + 7, ' ') + "<x>"), std::string::npos);
    }
}

TEST(ReportWriter, CsvQuotesFieldsWithSeparatorOrQuote) {
    TestReport r(ReportFormat::Csv);
    r.finding("1", "ES300", "rok", "a=\"1\";b", "  ", "x;y", "p,q");
    r.finding("2", "WS102", "DUV", "DUV", "v\rw");
    EXPECT_EQ(r.text(), "1;ES300;\"x;y\";p,q;rok;\"a=\"\"1\"\";b\";  ;" + cp1250("Chyba syntaxe XML") +
                            "\r\n2;WS102;;;DUV;DUV;\"v\rw\";\"" +
                            cp1250("Element <DUV> by měl obsahovat atributy verze=\"\"1.6\"\" a "
                                   "xmlns=\"\"http://duv.example.org/schemas/2004/DUV/1.6/\"\"") +
                            "\"\r\n");
}

}  // namespace
}  // namespace tavon

namespace tavon {
namespace {

// A broken export cannot fill a disk: after the last row a report holds, one line says that the
// rest is left out, in the layout of each format; the totals count every finding.
TEST(ReportWriter, RowsStopAtTheLimitWithOneLineSayingSo) {
    const std::string note = cp1250(
        "Protokol uvádí jen prvních 20 000 000 nálezů, další už nevypisuje. Počty chyb E a W na konci jsou "
        "úplné.");
    const struct {
        ReportFormat format;
        std::string line;
    } cases[] = {
        {ReportFormat::Text, note + "\r\n"},
        {ReportFormat::Csv, ";;;;;;;" + note + "\r\n"},
        {ReportFormat::Xml, "<Poznamka>" + note + "</Poznamka>\r\n"},
        {ReportFormat::Html, "<tr>\r\n<td colspan=8>&nbsp;" + note + "</td>\r\n"},
    };
    for (const auto& c : cases) {
        TestReport r(c.format, true, 2);
        for (int i = 0; i < 5; ++i) r.finding(std::to_string(i + 1), i % 2 ? "WL025" : "ES301", "x", "1", "");
        r.footer();
        const std::string text = r.text();
        EXPECT_EQ(r.rows_left_out(), 3);
        EXPECT_EQ(r.findings.totals.errors, 3);
        EXPECT_EQ(r.findings.totals.warnings, 2);
        const std::size_t at = text.find(c.line);
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_EQ(text.find(c.line, at + 1), std::string::npos);
        // The rows of lines 1 and 2 before it, none of line 3 (the HTML summary after it names the
        // codes again).
        EXPECT_NE(text.substr(0, at).find("WL025"), std::string::npos);
        if (c.format == ReportFormat::Html) {
            EXPECT_EQ(text.find("&nbsp;3</td>"), std::string::npos);
        } else {
            EXPECT_EQ(text.find("ES301", at), std::string::npos);
        }
    }
}

// JSON: a finding per line holding the columns of its row as data: lines as numbers, texts without
// the spaces that align them, empty ones left out; the findings left out and the totals at the end.
TEST(ReportWriter, JsonFindingsAsData) {
    TestReport r(ReportFormat::Json, true, 4);
    r.header("2006-07-06T12:03:59Z", "duv.xml", cp1250("vestavěná data"));
    r.finding("12", "ES301", "xyz", "     43.00", "   ", "20000006", "A1");
    r.finding("   ", "ES309", "   ", "   ", "   ", "20000006/A1");
    r.finding(" ", "ES303", "AA0138", "", "");
    const std::uint64_t lines[] = {10, 40, 70, 100, 130, 160};
    Finding person;
    person.code = Code::EL051;
    person.line = 10;
    person.lines = lines;
    person.more_lines = true;
    person.employer = Text("20000006");
    person.employee = Text("7");
    person.field = Text("AA0144");
    person.value = Text("1");
    person.expected = Text("2");
    r.findings.receive(person);
    r.finding("9", "WL025", "x", "1", "");
    r.footer();
    EXPECT_EQ(
        r.text(),
        "{\"program\":\"TAVON_v0.9\",\"report_version\":1,\"file\":\"duv.xml\","
        "\"data_set\":\"vestavěná data\",\"time\":\"2006-07-06T12:03:59Z\",\"findings\":[\r\n"
        "{\"line\":12,\"code\":\"ES301\",\"severity\":\"E\",\"employer\":\"20000006\","
        "\"employee\":\"A1\",\"field\":\"xyz\",\"value\":\"43.00\",\"description\":\"Neznamý prvek\"},\r\n"
        "{\"whole_employer\":true,\"code\":\"ES309\",\"severity\":\"E\",\"employer\":\"20000006/A1\","
        "\"description\":\"Zamestnavatel nemá ani jednoho zamestnance\"},\r\n"
        "{\"code\":\"ES303\",\"severity\":\"E\",\"field\":\"AA0138\","
        "\"description\":\"Prvkek nebyl uveden\"},\r\n"
        "{\"line\":10,\"lines\":[10,40,70,100,130,160],\"more_lines\":true,\"code\":\"EL051\","
        "\"severity\":\"E\",\"employer\":\"20000006\",\"employee\":\"7\",\"field\":\"AA0144\","
        "\"value\":\"1\",\"expected\":\"2\","
        "\"description\":\"Nesouhlasí výše platového tarifu - pro tabulku platových tarifů.\"}\r\n"
        "],\"findings_left_out\":1,\"note\":\"Protokol uvádí jen prvních 20 000 000 nálezů, další už "
        "nevypisuje. Počty chyb E a W na konci jsou úplné.\",\"totals\":{\"errors\":4,\"warnings\":1,"
        "\"warnings_not_reported\":0},\"read_to_end\":false}\r\n");
}

// Whatever a document or a file name holds comes out as a JSON string: quotes, backslashes and
// control characters escaped, Windows-1250 as UTF-8, its undefined bytes as "?". A name that is
// UTF-8 keeps every character, one that is not is read as Windows-1250.
TEST(ReportWriter, JsonEscapesAndConvertsEveryText) {
    TestReport r(ReportFormat::Json);
    r.header("2006-07-06T12:03:59Z", "nový\n\"soubor\"\\日本.xml");
    r.finding("7", "ES301", "<a\"b\\c>", "</script>\x01\t\r\n\x7f\x81" + cp1250("Ž"), "");
    EXPECT_EQ(
        r.text(),
        "{\"program\":\"TAVON_v0.9\",\"report_version\":1,\"file\":\"nový\\n\\\"soubor\\\"\\\\日本.xml\","
        "\"data_set\":\"\",\"time\":\"2006-07-06T12:03:59Z\",\"findings\":[\r\n"
        "{\"line\":7,\"code\":\"ES301\",\"severity\":\"E\",\"field\":\"<a\\\"b\\\\c>\","
        "\"value\":\"</script>\\u0001\\t\\r\\n\x7f?Ž\",\"description\":\"Neznamý prvek\"}");

    TestReport windows1250(ReportFormat::Json);
    windows1250.header("2006-07-06T12:03:59Z", "\x8akoda\x90.xml");
    EXPECT_NE(windows1250.text().find(",\"file\":\"Škoda?.xml\","), std::string::npos);
}

}  // namespace
}  // namespace tavon
