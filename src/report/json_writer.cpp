#include "report/json_writer.h"

#include <charconv>
#include <string>

#include "base/text.h"
#include "tavon/text.h"

namespace tavon {
namespace {

constexpr std::string_view kProgram = "TAVON_v0.9";
// Raised when a member changes its meaning or goes away; new members leave it as it is.
constexpr std::string_view kReportVersion = "1";

// The bytes a JSON string cannot hold as they are: the quote, the backslash, control characters.
constexpr bool needs_escape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

}  // namespace

JsonReportWriter::JsonReportWriter(TextWriter& out) : out_(out) {}

void JsonReportWriter::utf8_string(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out_.write_exact("\"");
    std::size_t from = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (!needs_escape(c)) continue;
        out_.write_exact(utf8.substr(from, i - from));
        from = i + 1;
        switch (c) {
            case '"': out_.write_exact("\\\""); break;
            case '\\': out_.write_exact("\\\\"); break;
            case '\n': out_.write_exact("\\n"); break;
            case '\r': out_.write_exact("\\r"); break;
            case '\t': out_.write_exact("\\t"); break;
            default: {
                const char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
                out_.write_exact({escaped, sizeof escaped});
            }
        }
    }
    out_.write_exact(utf8.substr(from));
    out_.write_exact("\"");
}

void JsonReportWriter::string(std::string_view windows1250) {
    utf8_.clear();
    append_utf8(utf8_, windows1250);
    utf8_string(utf8_);
}

void JsonReportWriter::key(std::string_view name) {
    out_.write_exact(first_member_ ? "\"" : ",\"");
    first_member_ = false;
    out_.write_exact(name);
    out_.write_exact("\":");
}

void JsonReportWriter::number(std::uint64_t n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out_.write_exact({digits, static_cast<std::size_t>(end - digits)});
}

void JsonReportWriter::text(std::string_view name, const Text& text) {
    if (text.empty()) return;
    key(name);
    string(text.windows1250());
}

void JsonReportWriter::header(std::string_view time, std::string_view document_name,
                              std::string_view data_set) {
    out_.write_exact("{\"program\":\"");
    out_.write_exact(kProgram);
    out_.write_exact("\",\"report_version\":");
    out_.write_exact(kReportVersion);
    out_.write_exact(",\"file\":");
    // A name that came as UTF-8 keeps every character; any other is read as Windows-1250.
    if (looks_like_utf8(document_name))
        utf8_string(document_name);
    else
        string(document_name);
    out_.write_exact(",\"data_set\":");
    string(data_set);
    out_.write_exact(",\"time\":");
    utf8_string(time);
    out_.write_exact(",\"findings\":[");
}

// The members of the line column: the line; for one person's records the line of each (and
// whether there are more); the employer's records as a whole; nothing for a field that did not occur.
void JsonReportWriter::finding(const Finding& f) {
    out_.write_exact(findings_ == 0 ? "\r\n{" : ",\r\n{");
    ++findings_;
    first_member_ = true;
    if (!f.lines.empty()) {
        key("line");
        number(f.lines[0]);
        key("lines");
        for (std::size_t i = 0; i < f.lines.size(); ++i) {
            out_.write_exact(i == 0 ? "[" : ",");
            number(f.lines[i]);
        }
        out_.write_exact("]");
        if (f.more_lines) {
            key("more_lines");
            out_.write_exact("true");
        }
    } else if (f.whole_employer) {
        key("whole_employer");
        out_.write_exact("true");
    } else if (f.line != 0) {
        key("line");
        number(f.line);
    }
    key("code");
    utf8_string(name(f.code));
    key("severity");
    out_.write_exact(f.severity() == Severity::Error ? "\"E\"" : "\"W\"");
    text("employer", f.employer);
    text("employee", f.employee);
    text("field", f.field);
    text("value", f.value);
    text("expected", f.expected);
    key("description");
    string(f.description());
    out_.write_exact("}");
}

void JsonReportWriter::footer(const Totals& totals, long long rows_left_out, std::string_view note) {
    out_.write_exact("\r\n],\"findings_left_out\":");
    out_.write_int(rows_left_out);
    if (rows_left_out > 0) {
        out_.write_exact(",\"note\":");
        string(note);
    }
    out_.write_exact(",\"totals\":{\"errors\":");
    out_.write_int(totals.errors);
    out_.write_exact(",\"warnings\":");
    out_.write_int(totals.warnings);
    out_.write_exact(",\"warnings_not_reported\":");
    out_.write_int(totals.warnings_not_reported);
    out_.write_exact(totals.read_to_end ? "},\"read_to_end\":true}\r\n" : "},\"read_to_end\":false}\r\n");
}

}  // namespace tavon
