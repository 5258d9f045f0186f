#include "cli/dashboard.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "tavon/cz.h"
#include "tavon/report.h"
#include "tavon/text.h"

namespace tavon::cli {
namespace {

// The start of every index.html of ours: only such a file is replaced.
constexpr std::string_view kHtmlStart =
    "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<meta name=\"generator\" content=\"belun-folder\">\n";
// The header line of summary.csv (Windows-1250), by which an earlier one is known.
constexpr auto kCsvHeader = cz("Soubor;E;W;Protokol;Poznámka\r\n");
constexpr std::size_t kChartCodes = 15;

// No script or style from elsewhere, nothing loaded: the page is whole in itself.
constexpr std::string_view kHead =
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
    "style-src 'unsafe-inline'; script-src 'unsafe-inline'\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
    "<title>Přehled kontroly souborů DUV</title>\n"
    "<style>\n"
    "body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; }\n"
    "ul.pocty { display: flex; gap: 1em; padding: 0; list-style: none; flex-wrap: wrap; }\n"
    "ul.pocty li { padding: 0.5em 1em; border-radius: 4px; min-width: 8em; }\n"
    "ul.pocty b { display: block; font-size: 2em; }\n"
    ".ok { background: #dff0d8; } .varovani { background: #fcf3cf; }\n"
    ".chyby { background: #f8d7da; } .nezkontrolovano { background: #e2e3e5; }\n"
    "table { border-collapse: collapse; width: 100%; }\n"
    "th, td { border-bottom: 1px solid #ccc; padding: 0.2em 0.5em; text-align: left; }\n"
    "td.cislo { text-align: right; } th { white-space: nowrap; }\n"
    "td.proc { font-size: 0.85em; color: #444; max-width: 30em; }\n"
    "th button { font: inherit; font-weight: bold; border: 0; background: none; cursor: pointer; padding: 0; "
    "}\n"
    "th[aria-sort=ascending] button::after { content: ' \\25B2'; }\n"
    "th[aria-sort=descending] button::after { content: ' \\25BC'; }\n"
    "svg a:hover rect { opacity: 0.7; } svg text { font-size: 13px; }\n"
    "</style>\n</head>\n<body>\n";

// Sorting by a click on a column's header: counts as numbers, most first at the first click; files
// not checked stay at the end.
constexpr std::string_view kScript = R"(<script>
(function () {
  'use strict';
  var table = document.getElementById('soubory');
  var body = table.tBodies[0];
  var headers = Array.from(table.tHead.rows[0].cells);
  headers.forEach(function (th, column) {
    th.querySelector('button').addEventListener('click', function () {
      var numeric = th.dataset.typ === 'cislo';
      var now = th.getAttribute('aria-sort');
      var ascending = now ? now === 'descending' : !numeric;
      var key = function (row) {
        var text = row.cells[column].textContent;
        return numeric ? (text === '' ? null : Number(text)) : text;
      };
      var rows = Array.from(body.rows);
      rows.sort(function (a, b) {
        var x = key(a), y = key(b);
        if (x === null || y === null) return (x === null) - (y === null);
        var order = numeric ? x - y : x.localeCompare(y, 'cs');
        return ascending ? order : -order;
      });
      headers.forEach(function (h) { h.removeAttribute('aria-sort'); });
      th.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
      rows.forEach(function (row) { body.appendChild(row); });
    });
  });
})();
</script>
)";

// The length of the valid UTF-8 sequence at the start of `s`, 0 when there is none.
std::size_t utf8_length(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char first = byte(0);
    std::size_t n = first < 0x80                     ? 1
                    : first >= 0xC2 && first <= 0xDF ? 2
                    : first >= 0xE0 && first <= 0xEF ? 3
                    : first >= 0xF0 && first <= 0xF4 ? 4
                                                     : 0;
    if (n == 0 || n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    // No overlong forms, no surrogates, nothing beyond U+10FFFF.
    if (first == 0xE0 && byte(1) < 0xA0) return 0;
    if (first == 0xED && byte(1) > 0x9F) return 0;
    if (first == 0xF0 && byte(1) < 0x90) return 0;
    if (first == 0xF4 && byte(1) > 0x8F) return 0;
    return n;
}

// A text of belun's console (the locale's character set) as UTF-8.
std::string console_text_utf8(std::string_view text) {
    return looks_like_utf8(text) ? std::string(text) : to_utf8(text);
}

struct Tally {
    long long passed = 0, warnings_only = 0, with_errors = 0, not_checked = 0;
};

Tally tally(const std::vector<CheckedFile>& files) {
    Tally t;
    for (const CheckedFile& f : files) {
        if (!f.checked)
            ++t.not_checked;
        else if (f.errors > 0)
            ++t.with_errors;
        else if (f.warnings > 0)
            ++t.warnings_only;
        else
            ++t.passed;
    }
    return t;
}

std::string local_time_text(std::time_t time) {
    std::tm t{};
#if defined(_WIN32)
    localtime_s(&t, &time);
#else
    localtime_r(&time, &t);
#endif
    char b[48];
    std::strftime(b, sizeof b, "%d. %m. %Y %H:%M", &t);
    return b;
}

// "1 soubor", "3 soubory", "7 souborů".
std::string files_text(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " soubor" : n >= 2 && n <= 4 ? " soubory" : " souborů");
}

void write_counts(std::string& out, const Overview& overview) {
    const Tally t = tally(overview.files);
    out += "<h1>Přehled kontroly souborů DUV</h1>\n<p>Složka <b>" + html_text(overview.folder) + "</b>, " +
           files_text(overview.files.size()) + ", " + local_time_text(overview.time) + "</p>\n";
    out += "<ul class=\"pocty\">\n";
    const auto item = [&](std::string_view kind, long long n, std::string_view what) {
        out += "<li class=\"" + std::string(kind) + "\"><b id=\"pocet-" + std::string(kind) + "\">" +
               std::to_string(n) + "</b>" + std::string(what) + "</li>\n";
    };
    item("ok", t.passed, "bez chyb a varování");
    item("varovani", t.warnings_only, "jen s varováními (W)");
    item("chyby", t.with_errors, "s chybami (E)");
    item("nezkontrolovano", t.not_checked, "nezkontrolováno");
    out += "</ul>\n";
}

// The bar chart of the most frequent codes: each bar and its code link to the code's catalogue entry.
void write_chart(std::string& out, const Overview& overview) {
    out += "<h2>Nejčastější kódy</h2>\n";
    if (!overview.codes) {
        out += "<p>Četnost kódů zjišťuje jen kontrola přes belun-batch.</p>\n";
        return;
    }
    const std::vector<Code> top = most_frequent(*overview.codes, kChartCodes);
    if (top.empty()) {
        out += "<p>Žádný soubor nemá chybu ani varování.</p>\n";
        return;
    }
    const long long most = (*overview.codes)[static_cast<std::size_t>(top[0])];
    constexpr int kRow = 24, kBarStart = 64, kBarMax = 480;
    out += "<svg id=\"kody\" width=\"640\" height=\"" + std::to_string(top.size() * kRow + 4) +
           "\" role=\"img\" aria-label=\"Nejčastější kódy\">\n";
    for (std::size_t i = 0; i < top.size(); ++i) {
        const long long n = (*overview.codes)[static_cast<std::size_t>(top[i])];
        const std::string code(name(top[i]));
        const int width = static_cast<int>(std::max(1LL, n * kBarMax / most));
        const std::string y = std::to_string(i * kRow);
        out += overview.catalogue ? "<a href=\"katalog.html#kod-" + code + "\">" : std::string("<g>");
        out += "<title>" + code + ": " + html_text(to_utf8(description(top[i]))) + "</title>";
        out += "<text x=\"0\" y=\"" + std::to_string(i * kRow + 17) + "\">" + code + "</text>";
        out += "<rect x=\"" + std::to_string(kBarStart) + "\" y=\"" + y + "\" width=\"" +
               std::to_string(width) + "\" height=\"" + std::to_string(kRow - 4) + "\" fill=\"" +
               (severity(top[i]) == Severity::Error ? "#c0392b" : "#e0a800") + "\"/>";
        out += "<text class=\"pocet\" x=\"" + std::to_string(kBarStart + width + 6) + "\" y=\"" +
               std::to_string(i * kRow + 17) + "\">" + std::to_string(n) + "</text>";
        out += overview.catalogue ? "</a>\n" : "</g>\n";
    }
    out += "</svg>\n";
    if (overview.catalogue) out += "<p>Kód vede do katalogu kódů (katalog.html).</p>\n";
}

void write_table(std::string& out, const Overview& overview) {
    out +=
        "<h2>Soubory</h2>\n<table id=\"soubory\">\n<thead><tr>"
        "<th data-typ=\"text\"><button type=\"button\">Soubor</button></th>"
        "<th data-typ=\"cislo\"><button type=\"button\">E</button></th>"
        "<th data-typ=\"cislo\"><button type=\"button\">W</button></th>"
        "<th data-typ=\"text\"><button type=\"button\">Protokol</button></th></tr></thead>\n<tbody>\n";
    for (const CheckedFile& f : overview.files) {
        const char* kind = !f.checked       ? "nezkontrolovano"
                           : f.errors > 0   ? "chyby"
                           : f.warnings > 0 ? "varovani"
                                            : "ok";
        out += "<tr class=\"" + std::string(kind) + "\"><td>" + html_text(f.name) + "</td>";
        if (f.checked) {
            out += "<td class=\"cislo\">" + std::to_string(f.errors) + "</td><td class=\"cislo\">" +
                   std::to_string(f.warnings) + "</td><td><a href=\"" + percent_encoded(f.report) + "\">" +
                   html_text(f.report) + "</a></td></tr>\n";
        } else {
            out += "<td class=\"cislo\"></td><td class=\"cislo\"></td><td class=\"proc\">nezkontrolován: " +
                   html_text(console_text_utf8(f.why)) + "</td></tr>\n";
        }
    }
    out += "</tbody>\n</table>\n";
}

// The first bytes of a file (fewer when it is shorter; none when it cannot be read).
std::string first_bytes(const std::string& path, std::size_t n) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(n, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(n));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// A path for a message on the terminal: its control characters as "?".
std::string shown_path(std::string path) {
    for (char& c : path)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return path;
}

bool exists(const std::string& path) { return static_cast<bool>(std::ifstream(path, std::ios::binary)); }

// Writes `content` as the file `path`, whole or not at all, unless a file there does not start with
// `ours` (then it is left as it is).
bool replace_own_file(const std::string& path, std::string_view ours, std::string_view content,
                      std::ostream& messages) {
    if (exists(path) && first_bytes(path, ours.size()) != ours) {
        messages << "belun-folder: " << shown_path(path) << " neni z belun-folder, nechavam jej, jak je\n";
        return false;
    }
    FileOutput file;
    Result<void> done = file.open(path);
    if (done) file.write(content.data(), content.size());
    if (done) done = file.commit();
    if (!done) messages << "belun-folder: nelze zapsat " << shown_path(path) << "\n";
    return static_cast<bool>(done);
}

}  // namespace

std::string percent_encoded(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || c == '-' ||
            c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

std::string html_text(std::string_view bytes) {
    std::string out;
    while (!bytes.empty()) {
        const std::size_t n = utf8_length(bytes);
        const auto first = static_cast<unsigned char>(bytes[0]);
        if (n == 0)
            out += "\xEF\xBF\xBD";  // U+FFFD
        else if (first < 0x20 || first == 0x7F)
            out += '?';
        else if (first == '&')
            out += "&amp;";
        else if (first == '<')
            out += "&lt;";
        else if (first == '>')
            out += "&gt;";
        else if (first == '"')
            out += "&quot;";
        else if (first == '\'')
            out += "&#39;";
        else
            out.append(bytes.substr(0, n));
        bytes.remove_prefix(std::max<std::size_t>(n, 1));
    }
    return out;
}

std::vector<Code> most_frequent(const CodeCounts& counts, std::size_t limit) {
    std::vector<Code> codes;
    for (std::size_t i = 0; i < counts.size(); ++i)
        if (counts[i] > 0) codes.push_back(static_cast<Code>(i));
    std::sort(codes.begin(), codes.end(), [&](Code a, Code b) {
        const long long x = counts[static_cast<std::size_t>(a)], y = counts[static_cast<std::size_t>(b)];
        return x != y ? x > y : name(a) < name(b);
    });
    if (codes.size() > limit) codes.resize(limit);
    return codes;
}

std::string overview_html(const Overview& overview) {
    std::string out(kHtmlStart);
    out += kHead;
    write_counts(out, overview);
    write_chart(out, overview);
    write_table(out, overview);
    out += kScript;
    out += "</body>\n</html>\n";
    return out;
}

std::string overview_csv(const Overview& overview) {
    std::string out(kCsvHeader.view());
    for (const CheckedFile& f : overview.files) {
        out += csv_cell(name_as_windows1250(f.name)) + ';';
        if (f.checked)
            out += std::to_string(f.errors) + ';' + std::to_string(f.warnings) + ';' +
                   csv_cell(name_as_windows1250(f.report)) + ";\r\n";
        else
            out += ";;;" + csv_cell(to_windows1250(console_text_utf8(f.why))) + "\r\n";
    }
    return out;
}

bool write_overview(const std::string& folder, Overview overview, const std::string& catalogue,
                    std::ostream& messages) {
    bool all = true;
    if (!catalogue.empty()) {
        // A copy beside the page, so that the folder can be moved or handed on with working links.
        std::ifstream in(catalogue, std::ios::binary);
        const std::string page((std::istreambuf_iterator<char>(in)), {});
        const std::string target = folder + "/katalog.html";
        overview.catalogue =
            !page.empty() && replace_own_file(target, std::string_view(page).substr(0, 512), page, messages);
        all &= overview.catalogue;
    }
    all &= replace_own_file(folder + "/index.html", kHtmlStart, overview_html(overview), messages);
    all &= replace_own_file(folder + "/summary.csv", kCsvHeader.view(), overview_csv(overview), messages);
    return all;
}

}  // namespace tavon::cli
