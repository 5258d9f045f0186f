#include "report/json_writer.h"

#include <rapidjson/writer.h>

#include <string>

#include "base/text.h"
#include "tavon/text.h"

namespace tavon {
namespace {

constexpr std::string_view kProgram = "TAVON_v0.9";
// Raised when a member changes its meaning or goes away; new members leave it as it is.
constexpr int kReportVersion = 1;

// RapidJSON's output: the report's buffered text, with a line break before each finding and before
// the findings' end (the comma between two findings stays at the end of the line).
class LineStream {
  public:
    using Ch = char;
    explicit LineStream(TextWriter& out) : out_(out) {}
    void Put(char c) {
        if (break_due_ && c != ',') {
            out_.write_exact("\r\n");
            break_due_ = false;
        }
        out_.write_byte(c);
    }
    void Flush() {}  // the report flushes its text when it is finished
    void break_line() { break_due_ = true; }
    void end_line() { out_.write_exact("\r\n"); }

  private:
    TextWriter& out_;
    bool break_due_ = false;
};

}  // namespace

struct JsonReportWriter::State {
    explicit State(TextWriter& out) : stream(out), json(stream) {}

    // A text as a JSON string: Windows-1250 converted to UTF-8 (RapidJSON escapes it).
    void string(std::string_view windows1250) {
        utf8.clear();
        append_utf8(utf8, windows1250);
        json.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    }
    // A member holding a text; none when the text is empty.
    void text(const char* key, const Text& text) {
        if (text.empty()) return;
        json.Key(key);
        string(text.windows1250());
    }
    void number(const char* key, long long n) {
        json.Key(key);
        json.Int64(n);
    }

    LineStream stream;
    rapidjson::Writer<LineStream> json;
    std::string utf8;
};

JsonReportWriter::JsonReportWriter(TextWriter& out) : state_(std::make_unique<State>(out)) {}
JsonReportWriter::~JsonReportWriter() = default;

void JsonReportWriter::header(std::string_view time, std::string_view document_name,
                              std::string_view data_set) {
    auto& json = state_->json;
    json.StartObject();
    json.Key("program");
    json.String(kProgram.data(), static_cast<rapidjson::SizeType>(kProgram.size()));
    state_->number("report_version", kReportVersion);
    json.Key("file");
    // A name that came as UTF-8 keeps every character; any other is read as Windows-1250.
    if (looks_like_utf8(document_name))
        json.String(document_name.data(), static_cast<rapidjson::SizeType>(document_name.size()));
    else
        state_->string(document_name);
    json.Key("data_set");
    state_->string(data_set);
    json.Key("time");
    json.String(time.data(), static_cast<rapidjson::SizeType>(time.size()));
    json.Key("findings");
    json.StartArray();
    state_->stream.break_line();
}

// The members of the line column: the line; for one person's records the line of each (and
// whether there are more); the employer's records as a whole; nothing for a field that did not occur.
void JsonReportWriter::finding(const Finding& f) {
    State& s = *state_;
    auto& json = s.json;
    json.StartObject();
    if (!f.lines.empty()) {
        json.Key("line");
        json.Uint64(f.lines[0]);
        json.Key("lines");
        json.StartArray();
        for (std::uint64_t line : f.lines) json.Uint64(line);
        json.EndArray();
        if (f.more_lines) {
            json.Key("more_lines");
            json.Bool(true);
        }
    } else if (f.whole_employer) {
        json.Key("whole_employer");
        json.Bool(true);
    } else if (f.line != 0) {
        json.Key("line");
        json.Uint64(f.line);
    }
    json.Key("code");
    s.string(name(f.code));
    json.Key("severity");
    json.String(f.severity() == Severity::Error ? "E" : "W");
    s.text("employer", f.employer);
    s.text("employee", f.employee);
    s.text("field", f.field);
    s.text("value", f.value);
    s.text("expected", f.expected);
    json.Key("description");
    s.string(f.description());
    json.EndObject();
    s.stream.break_line();
}

void JsonReportWriter::footer(const Totals& totals, long long rows_left_out, std::string_view note) {
    State& s = *state_;
    auto& json = s.json;
    json.EndArray();
    s.number("findings_left_out", rows_left_out);
    if (rows_left_out > 0) {
        json.Key("note");
        s.string(note);
    }
    json.Key("totals");
    json.StartObject();
    s.number("errors", totals.errors);
    s.number("warnings", totals.warnings);
    s.number("warnings_not_reported", totals.warnings_not_reported);
    json.EndObject();
    json.Key("read_to_end");
    json.Bool(totals.read_to_end);
    json.EndObject();
    s.stream.end_line();
}

}  // namespace tavon
