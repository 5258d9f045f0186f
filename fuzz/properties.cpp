#include "fuzz/properties.h"

#include <expat.h>
#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string_view>

#include "base/text.h"
#include "cli/belun.h"
#include "report/error_table.h"
#include "tavon/text.h"
#include "tests/robust/report_parser.h"

namespace tavon::fuzz {
namespace {

std::string g_scratch_dir;

void remove_scratch_dir() {
    if (g_scratch_dir.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(g_scratch_dir, ec);
}

std::string read_file(const std::string& name) {
    std::string contents;
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return contents;
    char b[1 << 14];
    for (std::size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;) contents.append(b, n);
    std::fclose(f);
    return contents;
}

std::string format_number(const char* format, long n) {
    char b[64];
    std::snprintf(b, sizeof b, format, n);
    return b;
}

// A text as XML cells show it: control characters other than tab and line ends as "?".
std::string as_xml_cell(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') c = '?';
    return out;
}

std::string html_escaped(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out.push_back(c);
        }
    }
    return out;
}

// Reads `what` at the front of `text` and moves past it.
bool take(std::string_view& text, std::string_view what) {
    if (text.substr(0, what.size()) != what) return false;
    text.remove_prefix(what.size());
    return true;
}

// "%8d" read back: the number, and the exact text must be what printf makes of it.
long read_number_back(std::string_view text, const char* format, std::string_view what) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t j = i;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (i == j || j != text.size() || j - i > 10) fail(what, text);
    long n = std::strtol(std::string(text.substr(i)).c_str(), nullptr, 10);
    if (format_number(format, n) != text) fail(what, text);
    return n;
}

void check_codes(const ReportContents& o) {
    long e = 0, w = 0;
    for (const Row& r : o.rows) {
        if (r[1].empty() || (r[1][0] != 'E' && r[1][0] != 'W')) fail("code neither E nor W", r[1]);
        if (find_error_code(r[1]) < 0) fail("code missing from the error table", r[1]);
        (r[1][0] == 'E' ? e : w)++;
    }
    if (e != o.errors || w != o.warnings)
        fail("totals differ from the rows written", std::to_string(e) + "/" + std::to_string(w) +
                                                        " rows, totals " + std::to_string(o.errors) + "/" +
                                                        std::to_string(o.warnings));
}

// ---- XML, read with expat --------------------------------------------------------------------

constexpr std::string_view kXmlColumns[8] = {"Radek", "KodChyby", "Zamestnavatel", "Zamestnanec",
                                             "Prvek", "Hodnota",  "DelkaHodn",     "Popis"};

struct XmlReading {
    std::vector<std::string> open;  // open elements
    std::string text;
    ReportContents contents;
    Row row;
    int column = 0;
    int header_seen = 0;  // DatumCas, Soubor seen
    int totals_seen = 0;  // CelkemchybE, CelkemchybW seen
    std::string error;

    void wrong(std::string what) {
        if (error.empty()) error = std::move(what);
    }
};

// Expat hands texts over in UTF-8; the report was read as ISO-8859-1, so each code point is one
// byte of the report.
std::string report_bytes(const XML_Char* s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (i + 1 < n) {
            out.push_back(
                static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F)));
            ++i;
        }
    }
    return out;
}

void XMLCALL xml_start(void* u, const XML_Char* name_text, const XML_Char** attributes) {
    auto& x = *static_cast<XmlReading*>(u);
    std::string_view name = name_text;
    if (attributes[0]) x.wrong("attribute in " + std::string(name));
    const std::size_t depth = x.open.size();
    if (depth == 0) {
        if (name != "DUV_chyby") x.wrong("root " + std::string(name));
    } else if (depth == 1) {
        if (name == "DatumCas" || name == "Soubor") {
            if (x.header_seen != (name == "DatumCas" ? 0 : 1) || !x.contents.rows.empty())
                x.wrong("header " + std::string(name));
            ++x.header_seen;
        } else if (name == "Chyba") {
            if (x.header_seen != 2 || x.totals_seen != 0) x.wrong("row outside the body");
            x.column = 0;
        } else if (name == "CelkemchybE" || name == "CelkemchybW") {
            if (x.totals_seen != (name == "CelkemchybE" ? 0 : 1)) x.wrong("totals order");
            ++x.totals_seen;
        } else {
            x.wrong("element " + std::string(name));
        }
    } else if (depth == 2 && x.open[1] == "Chyba") {
        if (x.column >= 8 || name != kXmlColumns[x.column]) x.wrong("column " + std::string(name));
    } else {
        x.wrong("nested " + std::string(name));
    }
    x.open.emplace_back(name);
    x.text.clear();
}

void XMLCALL xml_end(void* u, const XML_Char* name_text) {
    auto& x = *static_cast<XmlReading*>(u);
    std::string_view name = name_text;
    if (x.open.size() == 3 && x.column < 8) {
        x.row[static_cast<std::size_t>(x.column++)] = x.text;
    } else if (x.open.size() == 2 && name == "Chyba") {
        if (x.column != 8) x.wrong("row of " + std::to_string(x.column) + " columns");
        x.contents.rows.push_back(x.row);
    } else if (x.open.size() == 2 && (name == "CelkemchybE" || name == "CelkemchybW")) {
        long n = read_number_back(x.text, "%8ld", "XML total");
        (name == "CelkemchybE" ? x.contents.errors : x.contents.warnings) = n;
    }
    x.open.pop_back();
    x.text.clear();
}

void XMLCALL xml_text(void* u, const XML_Char* s, int n) {
    auto& x = *static_cast<XmlReading*>(u);
    std::string t = report_bytes(s, n);
    if (x.open.size() == 3 || (x.open.size() == 2 && x.open[1] != "Chyba")) {
        x.text += t;
    } else if (t.find_first_not_of(" \r\n") != std::string::npos) {
        x.wrong("text between elements: " + printable(t));
    }
}

ReportContents as_xml_cells(ReportContents o) {
    for (Row& r : o.rows)
        for (std::string& t : r) t = as_xml_cell(t);
    return o;
}

// ---- JSON, read with RapidJSON ----------------------------------------------------------------

// The texts of CSV rows as JSON holds them: in UTF-8, without the spaces that align them.
ReportContents as_json_cells(ReportContents o) {
    for (Row& r : o.rows)
        for (std::size_t i = 2; i < r.size(); ++i) r[i] = to_utf8(trim_leading_spaces(r[i]));
    return o;
}

// A member of the type asked for (RapidJSON's getters must not meet another).
const rapidjson::Value& member(const rapidjson::Value& object, const char* key, rapidjson::Type type) {
    const auto m = object.FindMember(key);
    if (m == object.MemberEnd()) fail("JSON member missing", key);
    const bool boolean = type == rapidjson::kTrueType || type == rapidjson::kFalseType;
    if (boolean ? !m->value.IsBool() : m->value.GetType() != type) fail("JSON member of another type", key);
    return m->value;
}

std::uint64_t line_number(const rapidjson::Value& v) {
    if (!v.IsUint64() || v.GetUint64() == 0) fail("JSON line is no positive whole number");
    return v.GetUint64();
}

long count(const rapidjson::Value& totals, const char* key) {
    const rapidjson::Value& v = member(totals, key, rapidjson::kNumberType);
    if (!v.IsInt64() || v.GetInt64() < 0) fail("JSON total is no count", key);
    return static_cast<long>(v.GetInt64());
}

// A text member; empty when it is absent (never when it is there).
std::string json_text(const rapidjson::Value& finding, const char* key) {
    if (!finding.HasMember(key)) return {};
    const rapidjson::Value& v = member(finding, key, rapidjson::kStringType);
    if (v.GetStringLength() == 0) fail("JSON text empty", key);
    return {v.GetString(), v.GetStringLength()};
}

// The line column of a CSV row as the finding's members give it.
std::string json_line_column(const rapidjson::Value& f) {
    if (f.HasMember("lines")) {
        std::string column;
        for (const auto& line : member(f, "lines", rapidjson::kArrayType).GetArray())
            column += (column.empty() ? "" : ",") + std::to_string(line_number(line));
        if (column.empty() || column.substr(0, column.find(',')) !=
                                  std::to_string(line_number(member(f, "line", rapidjson::kNumberType))))
            fail("JSON line is not the first of lines", column);
        return column + (f.HasMember("more_lines") ? ", ...... " : "");
    }
    if (f.HasMember("whole_employer")) return "   ";
    return f.HasMember("line") ? std::to_string(line_number(member(f, "line", rapidjson::kNumberType))) : " ";
}

}  // namespace

// The rows and totals of a JSON report, its texts in UTF-8; it must be valid UTF-8 and JSON, read to
// the end of the input, with `warnings_left_out` warnings counted but not listed.
ReportContents check_json(std::string_view h, long warnings_left_out) {
    rapidjson::Document d;
    d.Parse<rapidjson::kParseValidateEncodingFlag>(h.data(), h.size());
    if (d.HasParseError())
        fail("JSON report", std::string(rapidjson::GetParseError_En(d.GetParseError())) + " at byte " +
                                std::to_string(d.GetErrorOffset()));
    if (!h.ends_with("}\r\n") || !d.IsObject()) fail("JSON report end", h);
    const rapidjson::Value& totals = member(d, "totals", rapidjson::kObjectType);
    ReportContents o;
    o.errors = count(totals, "errors");
    o.warnings = count(totals, "warnings");
    if (count(totals, "warnings_not_reported") != warnings_left_out ||
        !member(d, "read_to_end", rapidjson::kTrueType).GetBool())
        fail("JSON report totals", h.substr(h.rfind("],")));
    for (const auto& f : member(d, "findings", rapidjson::kArrayType).GetArray()) {
        if (!f.IsObject()) fail("JSON finding is no object");
        const std::string code = json_text(f, "code");
        if (json_text(f, "severity") != code.substr(0, 1)) fail("JSON severity", code);
        o.rows.push_back({json_line_column(f), code, json_text(f, "employer"), json_text(f, "employee"),
                          json_text(f, "field"), json_text(f, "value"), json_text(f, "expected"),
                          json_text(f, "description")});
    }
    return o;
}

void prepare_scratch_dir() {
    if (!g_scratch_dir.empty()) return;
    char in_memory[] = "/dev/shm/tavon_fuzz_XXXXXX";
    char on_disk[] = "/tmp/tavon_fuzz_XXXXXX";
    const char* dir = mkdtemp(in_memory);
    if (!dir) dir = mkdtemp(on_disk);
    if (!dir) fail("no scratch directory");
    g_scratch_dir = dir;
    std::atexit(remove_scratch_dir);
}

std::string scratch_path(std::string_view name) { return g_scratch_dir + "/" + std::string(name); }

void write_file(const std::string& name, std::string_view contents) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) fail("cannot write", name);
    if (!contents.empty()) std::fwrite(contents.data(), 1, contents.size(), f);
    std::fclose(f);
}

RunResult run_belun(const std::vector<std::string>& arguments, const std::string& report,
                    const std::string& output) {
    std::remove(report.c_str());
    if (!output.empty()) std::remove(output.c_str());
    std::vector<std::string_view> args(arguments.begin(), arguments.end());
    std::ostringstream console;
    RunResult run;
    run.exit_code = cli::run(args, console);
    run.console = console.str();
    run.report = read_file(report);
    if (!output.empty()) run.copy = read_file(output);
    if (run.exit_code != 0) fail("exit code " + std::to_string(run.exit_code), run.console);
    return run;
}

// The CSV report as the tests read it back: rows of eight fields, each quoted exactly when it must
// be (a separator, a quote, a line break, or what a spreadsheet would take for a formula), and the
// totals.
ReportContents check_csv(std::string_view h) {
    const test::ParsedReport parsed = test::parse_csv_report(h);
    if (!parsed.problem.empty()) fail("CSV report", parsed.problem);
    ReportContents o;
    for (const test::ReportRow& row : parsed.rows) o.rows.push_back(row);
    o.errors = parsed.errors;
    o.warnings = parsed.warnings;
    return o;
}

ReportContents check_xml(std::string_view h) {
    constexpr std::string_view kProlog =
        "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><DUV_chyby>\r\n";
    if (h.substr(0, kProlog.size()) != kProlog) fail("XML prolog", h);
    constexpr std::string_view kEnd = "</DUV_chyby>\r\n";
    if (h.size() < kEnd.size() || h.substr(h.size() - kEnd.size()) != kEnd) fail("XML end", h);

    XmlReading x;
    XML_Parser p = XML_ParserCreate("ISO-8859-1");
    XML_SetUserData(p, &x);
    XML_SetElementHandler(p, xml_start, xml_end);
    XML_SetCharacterDataHandler(p, xml_text);
    const bool parsed = XML_Parse(p, h.data(), static_cast<int>(h.size()), 1) == XML_STATUS_OK;
    std::string why;
    if (!parsed) {
        std::size_t at = static_cast<std::size_t>(XML_GetCurrentByteIndex(p));
        why = std::string(XML_ErrorString(XML_GetErrorCode(p))) + " at byte " + std::to_string(at) + ": " +
              printable(h.substr(at > 80 ? at - 80 : 0, 160));
    }
    XML_ParserFree(p);
    if (!parsed) fail("XML report not well-formed", why);
    if (!x.error.empty()) fail("XML report structure", x.error);
    if (x.totals_seen != 2) fail("XML totals missing");
    return x.contents;
}

void check_txt(std::string_view h, const ReportContents& csv) {
    std::size_t k = h.find("\r\n");
    if (k == std::string_view::npos || h[0] != ' ' ||
        h.substr(0, k).find_first_of("\r\n") != std::string_view::npos)
        fail("text header", h);
    h.remove_prefix(k + 2);
    if (!take(h, "C.radku  Chyba   ICO/Kod Zamestnanec  Prvek      Hodnota Ocekavano   Popis\r\n\r\n"))
        fail("text column header", h);
    constexpr int kWidths[8] = {9, 5, 9, 9, 7, 10, 10, 30};
    constexpr std::string_view kGaps[8] = {"", "  ", " ", "  ", " ", "  ", "  ", "  "};
    for (const Row& r : csv.rows) {
        std::string expected;
        for (std::size_t i = 0; i < 8; ++i) {
            expected += kGaps[i];
            if (static_cast<int>(r[i].size()) < kWidths[i])
                expected.append(static_cast<std::size_t>(kWidths[i]) - r[i].size(), ' ');
            expected += r[i];
        }
        expected += "\r\n";
        if (!take(h, expected))
            fail("text row differs from the CSV row", expected + " | " + std::string(h.substr(0, 200)));
    }
    const std::string footer = format_number("\r\nCelkem chyb vahy E:%8ld\r\n", csv.errors) +
                               format_number("\r\nCelkem chyb vahy W:%8ld\r\n", csv.warnings);
    if (h != footer) fail("text footer", h);
}

// An HTML cell without the links the report puts on codes and field names: <a href="#kod-X">X</a>
// and <a href="#pole-X">X</a>. The targets are collected, to be found among the report's ids.
std::string without_links(std::string_view html, std::set<std::string>& targets) {
    constexpr std::string_view kLink = "<a href=\"#";
    std::string out;
    for (;;) {
        const std::size_t at = html.find(kLink);
        out.append(html.substr(0, at));
        if (at == std::string_view::npos) return out;
        html.remove_prefix(at + kLink.size());
        const std::size_t quote = html.find("\">");
        const std::size_t end = html.find("</a>");
        if (quote == std::string_view::npos || end == std::string_view::npos || end < quote)
            fail("HTML link", html.substr(0, 200));
        const std::string target(html.substr(0, quote));
        const std::string text(html.substr(quote + 2, end - quote - 2));
        if (target != "kod-" + text && target != "pole-" + text)
            fail("HTML link to another name", target + " | " + text);
        targets.insert(target);
        out += text;
        html.remove_prefix(end + 4);
    }
}

// The next cell of a row, "</td>\r\n" included, without its links.
std::string next_cell(std::string_view& h, std::set<std::string>& targets) {
    const std::size_t k = h.find("</td>\r\n");
    if (k == std::string_view::npos) fail("HTML cell end", h.substr(0, 200));
    const std::string cell = without_links(h.substr(0, k + 7), targets);
    h.remove_prefix(k + 7);
    return cell;
}

void check_htm(std::string_view h, const ReportContents& csv) {
    if (!take(h, "<html>\r\n<head>\r\n")) fail("HTML start", h);
    constexpr std::string_view kHeaderEnd = "<th>Popis</th>\r\n</tr>\r\n";
    std::size_t k = h.find(kHeaderEnd);
    if (k == std::string_view::npos) fail("HTML column header", h);
    h.remove_prefix(k + kHeaderEnd.size());

    std::set<std::string> targets;
    std::map<std::string, long> counts;
    std::map<std::string, std::string> descriptions;
    long warning_rows = 0;
    for (const Row& r : csv.rows) {
        if (!take(h, "<tr>\r\n")) fail("HTML row start", h);
        for (std::size_t i = 0; i < 8; ++i) {
            const bool bold = i == 1 && r[1][0] == 'E';
            const std::string cell = std::string(bold ? "<td><b>&nbsp;" : "<td>&nbsp;") + html_escaped(r[i]) +
                                     (bold ? "</b></td>\r\n" : "</td>\r\n");
            const std::string shown = next_cell(h, targets);
            if (shown != cell) fail("HTML cell differs from the CSV field", cell + " | " + shown);
        }
        ++counts[r[1]];
        descriptions[r[1]] = r[7];
        warning_rows += r[1][0] == 'W';
    }
    if (!take(h,
              "</table>\r\n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" >\r\n<tr "
              "bgcolor=\"lightblue\">\r\n"))
        fail("HTML summary start", h);
    k = h.find("</tr>\r\n");
    if (k == std::string_view::npos) fail("HTML summary header", h);
    h.remove_prefix(k + 7);
    // The summary: one row per code written, ascending by code, with the count of its rows.
    for (const auto& [code, count] : counts) {
        const bool bold = code[0] == 'E';
        const std::string row = std::string(bold ? "<tr>\r\n<td><b>&nbsp;" : "<tr>\r\n<td>&nbsp;") + code +
                                (bold ? "</b></td>\r\n<td>&nbsp;" : "</td>\r\n<td>&nbsp;") +
                                std::to_string(count) + "</td>\r\n<td>&nbsp;" +
                                html_escaped(descriptions[code]) + "</td>\r\n";
        if (!take(h, "<tr>\r\n")) fail("HTML summary row start", h.substr(0, 200));
        std::string shown = "<tr>\r\n";
        for (int i = 0; i < 3; ++i) shown += next_cell(h, targets);
        if (shown != row) fail("HTML summary row", row + " | " + shown);
    }
    // The totals (Windows-1250 "á"); how many warnings -w left out; the sentence of a clean file.
    std::string totals =
        "</tr>\r\n</table>\r\n<p id=\"celkem\"><b>Celkem chyb v\xE1hy E: " + std::to_string(csv.errors) +
        "</b><br>\r\nCelkem chyb v\xE1hy W: " + std::to_string(csv.warnings);
    if (const long left_out = csv.warnings - warning_rows; left_out > 0)
        totals += ", z toho " + std::to_string(left_out) + " varov\xE1n\xED " +
                  (left_out >= 2 && left_out <= 4 ? "nevyps\xE1na" : "nevyps\xE1no") +
                  " (p\xF8"
                  "ep\xEDna\xE8 -w)";
    totals += "</p>\r\n";
    if (csv.errors == 0 && csv.warnings == 0)
        totals +=
            "<p><b>Soubor pro\x9A"
            "el kontrolou bez chyb a bez varov\xE1n\xED.</b></p>\r\n";
    if (!take(h, totals)) fail("HTML totals", totals + " | " + std::string(h.substr(0, 200)));
    constexpr std::string_view kEnd = "</body>\r\n</html>\r\n";
    if (h.size() < kEnd.size() || h.substr(h.size() - kEnd.size()) != kEnd) fail("HTML end", h);
    // The explanations: one for each code and field linked, and each link in them leads to one.
    if (csv.rows.empty() != h.starts_with("</body>"))
        fail("HTML explanations without rows, or rows without", h);
    for (std::size_t at = h.find("href=\"#"); at != std::string_view::npos; at = h.find("href=\"#", at + 1))
        targets.insert(std::string(h.substr(at + 7, h.find('"', at + 7) - at - 7)));
    for (const auto& target : targets)
        if (h.find("id=\"" + target + "\"") == std::string_view::npos)
            fail("HTML link without its explanation", target);
}

// The console, which is no terminal here, so without a progress line: the totals, the line that
// names the report (Windows-1250 "á"), and the normal end.
void check_console(std::string_view console, const ReportContents& o) {
    const std::string totals = format_number("Celkem chyb vahy E:%8ld\n", o.errors) +
                               format_number("\nCelkem chyb vahy W:%8ld\n", o.warnings) +
                               "\nProtokol o chyb\xE1"
                               "ch: ";
    constexpr std::string_view kEnd = "\nProgram ukoncen normalne\n";
    const std::size_t at = console.rfind(totals);
    const std::string_view rest =
        at == std::string_view::npos ? std::string_view() : console.substr(at + totals.size());
    if (at == std::string_view::npos || !rest.ends_with(kEnd) ||
        rest.find('\n') != rest.size() - kEnd.size() || console.find('\r') != std::string_view::npos)
        fail("console end", console.substr(console.size() > 300 ? console.size() - 300 : 0));
}

void check_same(const ReportContents& a, const ReportContents& b, std::string_view what) {
    if (a.errors != b.errors || a.warnings != b.warnings) fail(std::string(what) + ": totals differ");
    if (a.rows.size() != b.rows.size())
        fail(std::string(what) + ": " + std::to_string(a.rows.size()) + " rows against " +
             std::to_string(b.rows.size()));
    for (std::size_t i = 0; i < a.rows.size(); ++i)
        for (std::size_t j = 0; j < 8; ++j)
            if (a.rows[i][j] != b.rows[i][j])
                fail(
                    std::string(what) + ": row " + std::to_string(i + 1) + " column " + std::to_string(j + 1),
                    a.rows[i][j] + " | " + b.rows[i][j]);
}

ReportContents check_all_formats(const std::string& input, unsigned variant, std::string* copy) {
    const std::string out = scratch_path("o.xml");
    const RunResult csv = run_belun({input, scratch_path("r.csv"), out}, scratch_path("r.csv"), out);
    const ReportContents o = check_csv(csv.report);
    check_codes(o);
    check_console(csv.console, o);
    constexpr std::string_view kCopyEnd = "</DUV>\r\n";
    if (csv.copy.size() < kCopyEnd.size() || csv.copy.substr(csv.copy.size() - kCopyEnd.size()) != kCopyEnd)
        fail("output file end", csv.copy);

    const RunResult xml = run_belun({input, scratch_path("r.xml"), out}, scratch_path("r.xml"), out);
    check_same(as_xml_cells(o), check_xml(xml.report), "XML against CSV");
    if (xml.copy != csv.copy) fail("output file depends on the report format");

    const RunResult txt = run_belun({input, scratch_path("r.txt"), out}, scratch_path("r.txt"), out);
    check_txt(txt.report, o);
    const RunResult htm = run_belun({input, scratch_path("r.htm"), out}, scratch_path("r.htm"), out);
    check_htm(htm.report, o);
    const RunResult json = run_belun({input, scratch_path("r.json"), out}, scratch_path("r.json"), out);
    check_same(as_json_cells(o), check_json(json.report, 0), "JSON against CSV");
    if (txt.copy != csv.copy || htm.copy != csv.copy || json.copy != csv.copy)
        fail("output file depends on the report format");

    // Warnings suppressed: the same totals, the rows without the warnings.
    ReportContents errors_only = o;
    std::erase_if(errors_only.rows, [](const Row& r) { return r[1][0] == 'W'; });
    static constexpr const char* kNames[5] = {"w.csv", "w.xml", "w.txt", "w.htm", "w.json"};
    const std::string report = scratch_path(kNames[variant % 5]);
    const RunResult w = run_belun({input, "-w", report, out}, report, out);
    switch (variant % 5) {
        case 0: check_same(errors_only, check_csv(w.report), "CSV with -w"); break;
        case 1: check_same(as_xml_cells(errors_only), check_xml(w.report), "XML with -w"); break;
        case 2: check_txt(w.report, errors_only); break;
        case 3: check_htm(w.report, errors_only); break;
        default:
            check_same(as_json_cells(errors_only), check_json(w.report, o.warnings), "JSON with -w");
            break;
    }
    check_console(w.console, o);
    if (w.copy != csv.copy) fail("output file depends on -w");
    if (copy) *copy = csv.copy;
    return o;
}

}  // namespace tavon::fuzz
