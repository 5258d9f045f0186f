// Reading reports back for the robustness tests: CSV rows with their quoting undone, the XML
// report against its fixed structure (a strict subset of well-formed XML), and the footers.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tavon::test {

// The eight columns of a report row: line, code, employer, employee, field, value, expected,
// description.
using ReportRow = std::array<std::string, 8>;

struct ParsedReport {
    std::vector<ReportRow> rows;
    long errors = -1;        // the E total of the footer
    long warnings = -1;      // the W total of the footer
    std::string input_file;  // the input named in the XML report's header
    std::string problem;     // what is wrong with the report; empty when nothing is
};

// Whether a spreadsheet would take the cell for a formula: it starts with = + - @ tab or CR and is
// not a plain number such as "-5" or "+1,25".
inline bool starts_formula(std::string_view cell) {
    if (cell.empty() || std::string_view("=+-@\t\r").find(cell[0]) == std::string_view::npos) return false;
    if (cell[0] != '+' && cell[0] != '-') return true;
    const std::string_view number = cell.substr(1);
    const std::size_t separator = number.find_first_of(".,");
    const std::string_view whole = number.substr(0, separator);
    const std::string_view part = separator == std::string_view::npos ? "" : number.substr(separator + 1);
    auto digits = [](std::string_view t) {
        return t.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return !(digits(whole) && digits(part) && whole.size() + part.size() > 0);
}

namespace parse_detail {

// Removes `prefix` from the front of `rest`; false (and `rest` unchanged) when it is not there.
inline bool take(std::string_view& rest, std::string_view prefix) {
    if (rest.substr(0, prefix.size()) != prefix) return false;
    rest.remove_prefix(prefix.size());
    return true;
}

// A "%8d" total up to the next `end`; -1 when the text is not one.
inline long total(std::string_view& rest, char end = '\r') {
    const std::size_t k = rest.find(end);
    if (k == std::string_view::npos) return -1;
    const std::string digits(rest.substr(0, k));
    long n = -1;
    char trailing;
    if (std::sscanf(digits.c_str(), "%ld%c", &n, &trailing) != 1) return -1;
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%8ld", n);
    if (digits != formatted) return -1;
    rest.remove_prefix(k);
    return n;
}

}  // namespace parse_detail

// The CSV report: the header line, rows of exactly eight fields (a field holding ; " CR or LF
// is quoted with inner quotes doubled, any other is not; a field a spreadsheet would take for a
// formula is quoted with an apostrophe before it, which the result leaves out), the two totals.
inline ParsedReport parse_csv_report(std::string_view rest) {
    using parse_detail::take;
    ParsedReport r;
    auto fail = [&](std::string what) {
        r.problem = std::move(what) + " at: " + std::string(rest.substr(0, 120));
        return r;
    };
    if (!take(rest, "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n"))
        return fail("no CSV header");
    while (!rest.empty() && rest.substr(0, 2) != "\r\n") {
        ReportRow row;
        for (std::size_t i = 0; i < 8; ++i) {
            std::string& field = row[i];
            if (!rest.empty() && rest[0] == '"') {
                std::size_t j = 1;
                for (;; ++j) {
                    if (j >= rest.size()) return fail("unclosed quote");
                    if (rest[j] != '"') {
                        field.push_back(rest[j]);
                    } else if (j + 1 < rest.size() && rest[j + 1] == '"') {
                        field.push_back('"');
                        ++j;
                    } else {
                        break;
                    }
                }
                const bool formula =
                    field.size() > 1 && field[0] == '\'' && starts_formula(std::string_view(field).substr(1));
                if (formula) field.erase(0, 1);
                if (!formula && field.find_first_of(";\"\r\n") == std::string::npos)
                    return fail("needless quotes");
                rest.remove_prefix(j + 1);
            } else {
                const std::size_t j = rest.find_first_of(";\"\r\n");
                if (j == std::string_view::npos || rest[j] == '"') return fail("stray quote or unended row");
                field = rest.substr(0, j);
                if (starts_formula(field)) return fail("a formula");
                rest.remove_prefix(j);
            }
            if (i < 7 && !take(rest, ";")) return fail("row of " + std::to_string(i + 1) + " fields");
        }
        if (!take(rest, "\r\n")) return fail("row of more than eight fields");
        r.rows.push_back(std::move(row));
    }
    if (!take(rest, "\r\nCelkem chyb vahy E:;") || (r.errors = parse_detail::total(rest)) < 0 ||
        !take(rest, "\r\n\r\nCelkem chyb vahy W:;") || (r.warnings = parse_detail::total(rest)) < 0 ||
        rest != "\r\n")
        return fail("no complete CSV footer");
    return r;
}

// The XML report: prolog, DatumCas, Soubor, the rows as Chyba elements of eight columns, the
// totals and the root's end, each element on a line of its own. Texts may hold no "<", no
// control character but tab, and "&" only in &amp; &lt; &gt; (decoded in the result).
inline ParsedReport parse_xml_report(std::string_view rest) {
    using parse_detail::take;
    ParsedReport r;
    auto fail = [&](std::string what) {
        r.problem = std::move(what) + " at: " + std::string(rest.substr(0, 120));
        return r;
    };
    // The element `name` on a line of its own; its text, decoded, into `text`.
    auto element = [&](std::string_view name, std::string& text) {
        if (!take(rest, "<" + std::string(name) + ">")) return false;
        const std::size_t k = rest.find('<');
        if (k == std::string_view::npos) return false;
        text.clear();
        for (std::size_t i = 0; i < k; ++i) {
            const auto c = static_cast<unsigned char>(rest[i]);
            if (c < 0x20 && c != '\t') return false;
            if (c != '&') {
                text.push_back(static_cast<char>(c));
                continue;
            }
            std::string_view entity = rest.substr(i, k - i);
            if (entity.substr(0, 5) == "&amp;") {
                text.push_back('&');
                i += 4;
            } else if (entity.substr(0, 4) == "&lt;") {
                text.push_back('<');
                i += 3;
            } else if (entity.substr(0, 4) == "&gt;") {
                text.push_back('>');
                i += 3;
            } else {
                return false;
            }
        }
        rest.remove_prefix(k);
        return take(rest, "</" + std::string(name) + ">\r\n");
    };
    std::string text;
    if (!take(rest, "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><DUV_chyby>\r\n"))
        return fail("no prolog");
    if (!element("DatumCas", text) || !element("Soubor", r.input_file)) return fail("header");
    static constexpr std::string_view kColumns[8] = {"Radek", "KodChyby", "Zamestnavatel", "Zamestnanec",
                                                     "Prvek", "Hodnota",  "DelkaHodn",     "Popis"};
    while (take(rest, "<Chyba>\r\n")) {
        ReportRow row;
        for (std::size_t i = 0; i < 8; ++i)
            if (!element(kColumns[i], row[i])) return fail("column " + std::string(kColumns[i]));
        if (!take(rest, "</Chyba>\r\n")) return fail("row end");
        r.rows.push_back(std::move(row));
    }
    if (!take(rest, "\r\n<CelkemchybE>") || (r.errors = parse_detail::total(rest, '<')) < 0 ||
        !take(rest, "</CelkemchybE>\r\n<CelkemchybW>") || (r.warnings = parse_detail::total(rest, '<')) < 0 ||
        rest != "</CelkemchybW>\r\n</DUV_chyby>\r\n")
        return fail("no complete XML footer");
    return r;
}

// The text report ends with both totals.
inline bool has_text_footer(std::string_view report, long errors, long warnings) {
    char footer[96];
    std::snprintf(footer, sizeof footer, "\r\nCelkem chyb vahy E:%8ld\r\n\r\nCelkem chyb vahy W:%8ld\r\n",
                  errors, warnings);
    return report.ends_with(footer);
}

// The HTML report closes its summary, shows both totals (Windows-1250 "á") and ends the page.
inline bool has_html_footer(std::string_view report, long errors, long warnings) {
    char totals[128];
    std::snprintf(totals, sizeof totals,
                  "</tr>\r\n</table>\r\n<p id=\"celkem\"><b>Celkem chyb v\xE1hy E: %ld</b><br>\r\n"
                  "Celkem chyb v\xE1hy W: %ld</p>\r\n",
                  errors, warnings);
    return report.find(totals) != std::string_view::npos && report.ends_with("</body>\r\n</html>\r\n");
}

}  // namespace tavon::test
