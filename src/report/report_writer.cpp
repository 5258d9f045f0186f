#include "report/report_writer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <numeric>

#include "base/format.h"
#include "input/open_error.h"
#include "report/catalogue.h"
#include "report/error_table.h"
#include "report/json_writer.h"
#include "report/text_writer.h"
#include "tavon/cz.h"
#include "tavon/report.h"
#include "tavon/text.h"

namespace tavon {
namespace {

constexpr std::string_view kProgram = "TAVON_v0.9";
constexpr auto kDateTime = cz("Datum a čas: ");
constexpr auto kDocument = cz("Soubor: ");
constexpr auto kHtmlColumns =
    cz("<th>Řádek<th>Chyba</th><th>Zaměstnavatel</th><th>Zaměstnanec</th><th>Prvek</th><th>Hodnota</th>"
       "<th>Očekáváno</th><th>Popis</th>\n");
constexpr auto kHtmlSummary =
    cz("<th width=10%> Chyba </th><th width=0%> Počet </th> <th width=80%> Popis chyby</th> </tr>\n");
constexpr auto kErrorTotal = cz("<p id=\"celkem\"><b>Celkem chyb váhy E: ");
constexpr auto kWarningTotal = cz("</b><br>\nCelkem chyb váhy W: ");
constexpr auto kLeftOut = cz(", z toho ");
constexpr auto kLeftOutOne = cz(" varování nevypsáno (přepínač -w)");
constexpr auto kLeftOutFew = cz(" varování nevypsána (přepínač -w)");
constexpr auto kClean = cz("<p><b>Soubor prošel kontrolou bez chyb a bez varování.</b></p>\n");
constexpr auto kExplanations = cz<512>(
    "<h2 id=\"vysvetlivky\">Vysvětlivky</h2>\n"
    "<p>Ke kódům a prvkům tohoto protokolu: co se kontrolovalo, obvyklé příčiny a co opravit. "
    "Kódy a prvky v tabulkách výše odkazují sem. Všechny kódy a prvky popisuje katalog "
    "katalog.html, který se dodává s programem (ve Windows vedle belun.exe, v Linuxu ve složce "
    "dokumentace, např. /usr/share/doc/belun).</p>\n");

constexpr auto kRowsLeftOut = cz<256>(
    "Protokol uvádí jen prvních 20 000 000 nálezů, další už nevypisuje. Počty chyb E a W na konci jsou "
    "úplné.");

// A name for a report header: converted to Windows-1250 when it came as UTF-8, control characters
// (a line break in a file name, say) shown as "?".
std::string header_name(std::string_view name) {
    std::string text = name_as_windows1250(name);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

// Prvek texts name one field or several ("AA0225 + AA0216", "AA0132; AA0133; AA0218; AA0219;",
// "AA0017/AA0113"); an element name holds none of these bytes.
bool separates_names(char c) { return c == ' ' || c == ';' || c == '+' || c == '/' || c == ','; }

}  // namespace

// A time as the calendar shows it, in local time or in UTC.
static std::tm calendar(std::time_t time, bool utc) {
    std::tm t{};
#if defined(_WIN32)
    utc ? gmtime_s(&t, &time) : localtime_s(&t, &time);
#else
    utc ? gmtime_r(&time, &t) : localtime_r(&time, &t);
#endif
    return t;
}

// The 20-character date and time of a report header, in local time: "06/07/2006  14:03:59".
std::string date_time_text(std::time_t time) {
    const std::tm t = calendar(time, false);
    char b[32];
    std::snprintf(b, sizeof b, "%02d/%02d/20%02d  %02d:%02d:%02d", t.tm_mday % 100, (t.tm_mon + 1) % 100,
                  t.tm_year % 100, t.tm_hour % 100, t.tm_min % 100, t.tm_sec % 100);
    return b;
}

// The date and time of a JSON report, in UTC: "2006-07-06T12:03:59Z".
std::string utc_time_text(std::time_t time) {
    const std::tm t = calendar(time, true);
    char b[48];
    std::snprintf(b, sizeof b, "%04d-%02d-%02dT%02d:%02d:%02dZ", (t.tm_year + 1900) % 10000,
                  (t.tm_mon + 1) % 100, t.tm_mday % 100, t.tm_hour % 100, t.tm_min % 100, t.tm_sec % 100);
    return b;
}

Report::Writer::Writer(ReportFormat format, Output& out, long long max_rows)
    : format_(format),
      output_(out),
      out_(out),
      max_rows_(max_rows),
      rows_per_code_(error_table().size(), 0),
      fields_named_(field_entries().size(), false) {
    if (format == ReportFormat::Json) json_ = std::make_unique<JsonReportWriter>(out_);
}

Report::Writer::~Writer() = default;

namespace {

// A finding's text as its column shows it: right-aligned in its width.
std::string_view padded(const Text& text, std::string& scratch) {
    const std::string_view bytes = text.windows1250();
    if (text.width() <= bytes.size()) return bytes;
    scratch.assign(text.width() - bytes.size(), ' ');
    scratch += bytes;
    return scratch;
}

// The line column: "12"; for one person's records "10,40,70" (", ...... " after the sixth when
// there are more); a field that did not occur " "; the employer as a whole "   ".
std::string_view line_column(const Finding& f, std::string& scratch) {
    char number[24];
    auto append = [&](std::uint64_t n) {
        const auto end = std::to_chars(number, number + sizeof number, n).ptr;
        scratch.append(number, static_cast<std::size_t>(end - number));
    };
    scratch.clear();
    if (!f.lines.empty()) {
        for (std::size_t i = 0; i < f.lines.size(); ++i) {
            if (i > 0) scratch.push_back(',');
            append(f.lines[i]);
        }
        if (f.more_lines) scratch += ", ...... ";
    } else if (f.whole_employer) {
        scratch.assign(3, ' ');
    } else if (f.line == 0) {
        scratch.assign(1, ' ');
    } else {
        append(f.line);
    }
    return scratch;
}

}  // namespace

Report::Writer::Row Report::Writer::row_of(const Finding& f) {
    return {line_column(f, scratch_[0]),     name(f.code),
            padded(f.employer, scratch_[1]), padded(f.employee, scratch_[2]),
            padded(f.field, scratch_[3]),    padded(f.value, scratch_[4]),
            padded(f.expected, scratch_[5]), f.description()};
}

void Report::Writer::finding(const Finding& found) {
    if (rows_ == max_rows_) {
        if (rows_left_out_++ == 0) write_rows_left_out();
        return;
    }
    ++rows_;
    if (json_) return json_->finding(found);
    const Row row = row_of(found);
    switch (format_) {
        case ReportFormat::Csv: write_csv_row(row); break;
        case ReportFormat::Text: write_text_row(row); break;
        case ReportFormat::Xml: write_xml_row(row); break;
        case ReportFormat::Html:
            ++rows_per_code_[static_cast<std::size_t>(found.code)];  // for the summary at the end
            write_html_row(row, found.severity() == Severity::Error);
            break;
        case ReportFormat::Json: break;
    }
}

void Report::Writer::write_csv_row(const Row& f) {
    for (std::string_view s : {f.line, f.code, f.employer, f.employee, f.field, f.value, f.expected}) {
        out_.write_csv(s);
        out_.write_exact(";");
    }
    out_.write_csv(f.description);
    out_.write_exact("\r\n");
}

void Report::Writer::write_text_row(const Row& f) {
    // Each column right-aligned in its width, then the gap before the next.
    struct Cell {
        std::string_view Row::*text;
        int width;
        std::string_view gap;
    };
    static constexpr Cell kCells[] = {
        {&Row::line, 9, "  "},      {&Row::code, 5, " "},
        {&Row::employer, 9, "  "},  {&Row::employee, 9, " "},
        {&Row::field, 7, "  "},     {&Row::value, 10, "  "},
        {&Row::expected, 10, "  "}, {&Row::description, 30, "\r\n"},
    };
    for (const Cell& c : kCells) {
        out_.write_right(f.*c.text, c.width);
        out_.write_exact(c.gap);
    }
}

void Report::Writer::write_xml_row(const Row& f) {
    // Each column as an element: its opening tag (after the previous one's end), then its text.
    static constexpr std::pair<std::string_view, std::string_view Row::*> kColumns[] = {
        {"<Chyba>\r\n<Radek>", &Row::line},
        {"</Radek>\r\n<KodChyby>", &Row::code},
        {"</KodChyby>\r\n<Zamestnavatel>", &Row::employer},
        {"</Zamestnavatel>\r\n<Zamestnanec>", &Row::employee},
        {"</Zamestnanec>\r\n<Prvek>", &Row::field},
        {"</Prvek>\r\n<Hodnota>", &Row::value},
        {"</Hodnota>\r\n<DelkaHodn>", &Row::expected},
        {"</DelkaHodn>\r\n<Popis>", &Row::description},
    };
    for (const auto& [opening, column] : kColumns) {
        out_.write_exact(opening);
        out_.write_xml(f.*column);
    }
    out_.write_exact("</Popis>\r\n</Chyba>\r\n");
}

// An error's code in bold; the code and the fields link to their explanations.
void Report::Writer::write_html_row(const Row& f, bool error) {
    TextWriter& w = out_;
    w.write_exact("<tr>\r\n");
    int column = 0;
    for (std::string_view s :
         {f.line, f.code, f.employer, f.employee, f.field, f.value, f.expected, f.description}) {
        const bool bold = error && column == 1;
        w.write_exact(bold ? "<td><b>&nbsp;" : "<td>&nbsp;");
        if (column == 1)
            write_code_link(s);
        else if (column == 4)
            write_field_links(s);
        else
            w.write_html(s);
        w.write_exact(bold ? "</b></td>\r\n" : "</td>\r\n");
        ++column;
    }
}

void Report::Writer::write_rows_left_out() {
    if (json_) return;  // a member of the report's end says it
    TextWriter& w = out_;
    switch (format_) {
        case ReportFormat::Text: w.write(kRowsLeftOut); break;
        case ReportFormat::Csv:
            w.write(";;;;;;;");
            w.write_csv(kRowsLeftOut);
            break;
        case ReportFormat::Xml:
            w.write("<Poznamka>");
            w.write_xml(kRowsLeftOut);
            w.write("</Poznamka>");
            break;
        case ReportFormat::Html:
            w.write("<tr>\n<td colspan=8>&nbsp;");
            w.write_html(kRowsLeftOut);
            w.write("</td>");
            break;
        case ReportFormat::Json: break;
    }
    w.write("\n");
}

void Report::Writer::header(std::string_view date_time, std::string_view given_name,
                            std::string_view data_set) {
    TextWriter& w = out_;
    const std::string document_name = header_name(given_name);
    switch (format_) {
        case ReportFormat::Text:
            w.write(" ");
            w.write(kDateTime);
            w.write("  ");
            w.write(date_time);
            w.write("  ");
            w.write(kDocument);
            w.write("  ");
            w.write_plain(document_name);
            w.write(" \n");
            w.write("C.radku  Chyba   ICO/Kod Zamestnanec  Prvek      Hodnota Ocekavano   Popis\n\n");
            break;
        case ReportFormat::Csv:
            w.write("Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\n");
            break;
        case ReportFormat::Xml:
            w.write("<?xml version = \"1.0\" encoding = \"Windows-1250\"?>");
            w.write("<DUV_chyby>\n<DatumCas>");
            w.write_xml(date_time);
            w.write("</DatumCas>\n<Soubor>");
            w.write_xml(document_name);
            w.write("</Soubor>\n");
            break;
        case ReportFormat::Html:
            w.write("<html>\n<head>\n");
            w.write("<META http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1250\">\n");
            w.write("<title>DUV - vysledky kontroly dat</title>\n</head>\n<body>\n");
            w.write("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" width=100% >\n");
            w.write("<tr bgcolor=\"lightblue\" valign=\"left\">\n");
            w.write("<th width=15%> ");
            w.write_html(kDateTime);
            w.write(" </th><th width=20%> ");
            w.write_html(date_time);
            w.write(" </th><th width=12%> ");
            w.write_html(kDocument);
            w.write(" </th><th width=38%> ");
            w.write_html(document_name);
            w.write(" </th><th width=15%>&nbsp");
            w.write(kProgram);
            w.write(" </th>\n");
            if (!data_set.empty()) {
                w.write("<tr><td colspan=5>&nbsp;Data: ");
                w.write_html(data_set);
                w.write("</td></tr>\n");
            }
            w.write("</table>\n");
            w.write("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\">\n");
            w.write("<tr bgcolor=\"lightblue\">\n");
            w.write(kHtmlColumns);
            w.write("</tr>\n");
            break;
        case ReportFormat::Json: json_->header(date_time, given_name, data_set); break;
    }
}

void Report::Writer::footer(const Totals& totals) {
    TextWriter& w = out_;
    const long long errors = totals.errors, warnings = totals.warnings;
    switch (format_) {
        case ReportFormat::Text:
            w.write(
                Formatted("\nCelkem chyb vahy E:{:8}\n\nCelkem chyb vahy W:{:8}\n", errors, warnings).text());
            return;
        case ReportFormat::Csv:
            w.write(Formatted("\nCelkem chyb vahy E:;{:8}\n\nCelkem chyb vahy W:;{:8}\n", errors, warnings)
                        .text());
            return;
        case ReportFormat::Xml:
            w.write(Formatted("\n<CelkemchybE>{:8}</CelkemchybE>\n<CelkemchybW>{:8}</CelkemchybW>\n", errors,
                              warnings)
                        .text());
            w.write("</DUV_chyby>\n");
            return;
        case ReportFormat::Html:
            write_html_summary();
            write_html_totals(totals);
            write_html_explanations();
            w.write("</body>\n</html>\n");
            return;
        case ReportFormat::Json: json_->footer(totals, rows_left_out_, kRowsLeftOut); return;
    }
}

// The codes in ascending byte order of their names, the order of the HTML summary.
std::span<const Code> Report::Writer::codes_in_order() {
    static const auto kOrder = [] {
        std::array<Code, kCodeCount> order;
        for (std::size_t i = 0; i < kCodeCount; ++i) order[i] = static_cast<Code>(i);
        std::stable_sort(order.begin(), order.end(), [](Code a, Code b) { return name(a) < name(b); });
        return order;
    }();
    return kOrder;
}

// The rows written per code.
void Report::Writer::write_html_summary() {
    TextWriter& w = out_;
    w.write("</table>\n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" >\n");
    w.write("<tr bgcolor=\"lightblue\">\n");
    w.write(kHtmlSummary);
    for (Code code : codes_in_order()) {
        const int rows = rows_per_code_[static_cast<std::size_t>(code)];
        if (rows <= 0) continue;
        const bool bold = severity(code) == Severity::Error;
        w.write(bold ? "<tr>\n<td><b>&nbsp;" : "<tr>\n<td>&nbsp;");
        write_code_link(name(code));
        w.write(bold ? "</b></td>\n<td>&nbsp;" : "</td>\n<td>&nbsp;");
        w.write_int(rows);
        w.write("</td>\n<td>&nbsp;");
        w.write_html(description(code));
        w.write("</td>\n");
    }
    w.write("</tr>\n</table>\n");
}

// The totals, and that a file without findings passed.
void Report::Writer::write_html_totals(const Totals& totals) {
    TextWriter& w = out_;
    w.write(kErrorTotal);
    w.write_int(totals.errors);
    w.write(kWarningTotal);
    w.write_int(totals.warnings);
    if (const long long left_out = totals.warnings_not_reported; left_out > 0) {
        w.write(kLeftOut);
        w.write_int(left_out);
        // Czech: 2 to 4 "nevypsána", else "nevypsáno".
        w.write(left_out >= 2 && left_out <= 4 ? kLeftOutFew : kLeftOutOne);
    }
    w.write("</p>\n");
    if (totals.errors == 0 && totals.warnings == 0) w.write(kClean);
}

// The explanations of the codes of the summary, in its order, and of the fields named in the rows.
void Report::Writer::write_html_explanations() {
    const auto codes = code_entries();
    const auto fields = field_entries();
    bool any = false;
    for (Code code : codes_in_order())
        if (rows_per_code_[static_cast<std::size_t>(code)] > 0) {
            if (!any) out_.write(kExplanations);
            any = true;
            write_entry(codes[static_cast<std::size_t>(code)].html);
        }
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields_named_[i]) write_entry(fields[i].html);
}

void Report::Writer::write_code_link(std::string_view code) {
    TextWriter& w = out_;
    w.write_exact("<a href=\"#kod-");
    w.write_html(code);
    w.write_exact("\">");
    w.write_html(code);
    w.write_exact("</a>");
}

void Report::Writer::write_field_links(std::string_view text) {
    TextWriter& w = out_;
    while (!text.empty()) {
        std::size_t n = 0;
        const bool separator = separates_names(text[0]);
        while (n < text.size() && separates_names(text[n]) == separator) ++n;
        const std::string_view part = text.substr(0, n);
        const int field = separator ? -1 : field_entry_index(part);
        if (field >= 0) {
            fields_named_[static_cast<std::size_t>(field)] = true;
            w.write_exact("<a href=\"#pole-");
            w.write(part);
            w.write_exact("\">");
            w.write(part);
            w.write_exact("</a>");
        } else {
            w.write_html(part);
        }
        text.remove_prefix(n);
    }
}

void Report::Writer::write_entry(std::string_view html) {
    TextWriter& w = out_;
    // A code or field named in the text links to its entry when this report holds it.
    while (!html.empty()) {
        const auto mark = html.find('\1');
        w.write(html.substr(0, mark));
        if (mark == std::string_view::npos) break;
        const auto end = html.find('\2', mark);
        const std::string_view name = html.substr(mark + 1, end - mark - 1);
        const int code = find_error_code(name);
        const int field = code >= 0 ? -1 : field_entry_index(name);
        const bool held = code >= 0 ? rows_per_code_[static_cast<std::size_t>(code)] > 0
                                    : field >= 0 && fields_named_[static_cast<std::size_t>(field)];
        if (held) {
            w.write(code >= 0 ? "<a href=\"#kod-" : "<a href=\"#pole-");
            w.write(name);
            w.write("\">");
        }
        w.write(name);
        if (held) w.write("</a>");
        html.remove_prefix(end + 1);
    }
}

namespace {

// Whether `text` starts with the header `shape`, in which "{date}" stands for any date and time
// of a header, "{name}" and "{data}" for any text within one line.
bool matches_header(std::string_view text, std::string_view shape) {
    while (!shape.empty()) {
        const std::size_t mark = shape.find('{');
        const std::string_view literal = shape.substr(0, mark);
        if (text.substr(0, literal.size()) != literal) return false;
        text.remove_prefix(literal.size());
        if (mark == std::string_view::npos) return true;
        shape.remove_prefix(literal.size());
        const std::size_t close = shape.find('}');
        const std::string_view marker = shape.substr(0, close + 1);
        shape.remove_prefix(close + 1);
        if (marker == "{date}") {
            if (text.size() < 20) return false;
            for (char c : text.substr(0, 20))
                if (!((c >= '0' && c <= '9') || c == '/' || c == ' ' || c == ':')) return false;
            text.remove_prefix(20);
            continue;
        }
        if (marker == "{utc}") {
            static constexpr std::string_view kUtc = "0000-00-00T00:00:00Z";  // 0: any digit
            if (text.size() < kUtc.size()) return false;
            for (std::size_t i = 0; i < kUtc.size(); ++i)
                if (kUtc[i] == '0' ? text[i] < '0' || text[i] > '9' : text[i] != kUtc[i]) return false;
            text.remove_prefix(kUtc.size());
            continue;
        }
        // Any text up to the next literal part of the shape, within the line.
        const std::string_view next = shape.substr(0, shape.find('{'));
        const std::size_t end = text.find(next);
        if (end == std::string_view::npos ||
            text.substr(0, end).find_first_of("\r\n") != std::string_view::npos)
            return false;
        text.remove_prefix(end);
    }
    return true;
}

std::string header_shape(ReportFormat format, std::string_view data_set) {
    StringOutput out;
    Report::Writer writer(format, out, 0);
    writer.header(format == ReportFormat::Json ? "{utc}" : "{date}", "{name}", data_set);
    writer.flush();
    return out.bytes;
}

}  // namespace

bool is_report_start(std::string_view first_bytes) {
    static const std::string shapes[] = {
        header_shape(ReportFormat::Html, "{data}"), header_shape(ReportFormat::Html, {}),
        header_shape(ReportFormat::Text, {}),       header_shape(ReportFormat::Csv, {}),
        header_shape(ReportFormat::Xml, {}),        header_shape(ReportFormat::Json, "{data}"),
    };
    for (const std::string& shape : shapes)
        if (matches_header(first_bytes, shape)) return true;
    // What an earlier version wrote in place of a report when an input could not be opened.
    static constexpr std::string_view kCannotOpen = " Nelze otevrit soubor  ";
    static constexpr std::string_view kStopped = "\r\n Program ukoncen\r\n";
    return first_bytes.starts_with(kCannotOpen) && first_bytes.ends_with(kStopped) &&
           first_bytes.find_first_of("\r\n") == first_bytes.size() - kStopped.size();
}

Report::Report(ReportFormat format, Output& out, const ReportHeader& header, long long max_rows)
    : writer_(std::make_unique<Writer>(format, out, max_rows)) {
    const bool json = format == ReportFormat::Json;
    writer_->header(json ? utc_time_text(header.time) : date_time_text(header.time), header.document_name,
                    header.data_set);
}

Report::~Report() = default;

void Report::finding(const Finding& f) { writer_->finding(f); }

long long Report::rows_left_out() const { return writer_->rows_left_out(); }

Result<void> Report::finish(const Totals& totals) {
    writer_->footer(totals);
    writer_->flush();
    return writer_->status();
}

class TAVON_INTERNAL Copy::Writer {
  public:
    explicit Writer(Output& out) : out(out), text(out) {}
    Output& out;
    TextWriter text;
};

Copy::Copy(Output& out) : writer_(std::make_unique<Writer>(out)) {}
Copy::~Copy() = default;
void Copy::write(std::string_view text) { writer_->text.write(text); }

Result<void> Copy::finish() {
    writer_->text.write("</DUV>\n");
    writer_->text.flush();
    return writer_->out.status();
}

}  // namespace tavon
