// The C interface: the input's bytes fed in pieces of sizes the input chooses through
// tavon_check_feed, with a report (of the format the input chooses) to a write callback and the
// findings to a finding callback. What must hold: every finding's texts are NUL-terminated UTF-8,
// its severity is its code's first letter and its lines are consistent; the findings and totals are
// those of the C++ API's check of the whole input at once; the report ends as reports end. When the
// input asks, the finding callback stops the check at its n-th finding: the check then says
// TAVON_STOPPED to that feed and to every later call, and frees everything (AddressSanitizer's leak
// check runs at the end).
//
// Layout of an input: its last byte steers (bits 0-2 the report format, bit 3 warnings left out,
// bits 4-7 the finding to stop at, 0 for none); the byte before it seeds the piece sizes. The rest
// is the document.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/failure.h"
#include "tavon/c_api.h"
#include "tavon/check.h"
#include "tavon/text.h"

namespace {

using tavon::fuzz::fail;

struct Seen {
    std::vector<std::string> findings;  // code, lines and texts, joined
    std::size_t stop_at = 0;            // 0: never
};

bool valid_utf8_or_ascii(const char* text) {
    const std::size_t size = std::strlen(text);
    return size == 0 || tavon::looks_like_utf8({text, size}) ||
           tavon::to_windows1250({text, size}) == std::string(text, size);  // plain ASCII
}

int on_finding(void* context, const tavon_finding* f) {
    auto& seen = *static_cast<Seen*>(context);
    if (!f || !f->code || std::strlen(f->code) != 5) fail("a finding without its code");
    if (f->severity != f->code[0]) fail("severity is not the code's first letter", f->code);
    if ((f->line_count == 0) != (f->lines == nullptr) || f->line_count > 6 ||
        (f->more_lines && f->line_count != 6))
        fail("inconsistent lines", f->code);
    std::string row = std::string(f->code) + "|" + std::to_string(f->line);
    for (std::size_t i = 0; i < f->line_count; ++i) row += "," + std::to_string(f->lines[i]);
    for (const char* text : {f->employer, f->employee, f->field, f->value, f->expected, f->description}) {
        if (!text || !valid_utf8_or_ascii(text)) fail("a text that is no UTF-8", row);
        row += "|" + std::string(text);
    }
    seen.findings.push_back(row);
    return seen.findings.size() == seen.stop_at ? 1 : 0;
}

int on_report(void* context, const char* bytes, std::size_t size) {
    static_cast<std::string*>(context)->append(bytes, size);
    return 0;
}

// The same document through the C++ API, whole: the findings as on_finding joins them.
class Reference : public tavon::FindingSink {
  public:
    void finding(const tavon::Finding& f) override {
        std::string row = std::string(tavon::name(f.code)) + "|" + std::to_string(f.line);
        for (std::uint64_t line : f.lines) row += "," + std::to_string(line);
        for (const tavon::Text* text : {&f.employer, &f.employee, &f.field, &f.value, &f.expected}) {
            std::string utf8 = text->utf8();
            std::replace(utf8.begin(), utf8.end(), '\0', '?');  // as the C strings show a NUL byte
            row += "|" + utf8;
        }
        findings.push_back(row + "|" + f.description_utf8());
    }
    std::vector<std::string> findings;
};

void expect(tavon_status got, tavon_status wanted, const char* what) {
    if (got != wanted) fail(what, "status " + std::to_string(got) + ", expected " + std::to_string(wanted));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t steer = data[size - 1];
    std::uint32_t seed = data[size - 2];
    const char* document = reinterpret_cast<const char*>(data);
    const std::size_t length = size - 2;
    const auto format = static_cast<tavon_report_format>((steer & 7) % 5);

    Seen seen;
    seen.stop_at = steer >> 4;
    std::string report;
    tavon_options options = tavon_default_options();
    options.report_warnings = (steer & 8) ? 0 : 1;
    options.on_finding = on_finding;
    options.context = &seen;
    tavon_check* check = nullptr;
    tavon_error error;
    expect(tavon_check_new(&options, &check, &error), TAVON_OK, "tavon_check_new");
    expect(tavon_check_add_report_callback(check, format, on_report, &report, "fuzz.xml", &error), TAVON_OK,
           "tavon_check_add_report_callback");

    tavon_status status = TAVON_OK;
    for (std::size_t at = 0; at < length && status == TAVON_OK;) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t piece = std::min<std::size_t>(length - at, 1 + (seed >> 16) % 97);
        status = tavon_check_feed(check, document + at, piece, &error);
        at += piece;
    }
    tavon_totals totals{};
    if (status == TAVON_OK) status = tavon_check_finish(check, &totals, &error);
    const bool stopped = seen.stop_at > 0 && seen.findings.size() == seen.stop_at;
    expect(status, stopped ? TAVON_STOPPED : TAVON_OK, "the check's status");
    if (stopped) {
        expect(tavon_check_feed(check, "<", 1, &error), TAVON_STOPPED, "a feed after the stop");
        expect(tavon_check_finish(check, &totals, &error), TAVON_STOPPED, "the finish after the stop");
        if (totals.read_to_end) fail("a stopped check read to the end");
    }
    tavon_check_free(check);

    Reference reference;
    tavon::Options whole;
    whole.report_warnings = options.report_warnings != 0;
    const tavon::Totals expected = tavon::check_bytes({document, length}, reference, whole);
    if (stopped) {
        reference.findings.resize(seen.stop_at);
    } else if (totals.errors != expected.errors || totals.warnings != expected.warnings ||
               totals.warnings_not_reported != expected.warnings_not_reported || !totals.read_to_end) {
        fail("the totals differ from the C++ API's");
    }
    if (seen.findings != reference.findings) {
        std::size_t i = 0;
        while (i < seen.findings.size() && i < reference.findings.size() &&
               seen.findings[i] == reference.findings[i])
            ++i;
        fail("the findings differ from the C++ API's",
             "finding " + std::to_string(i) + ": " +
                 (i < seen.findings.size() ? seen.findings[i] : "(none)") + " against " +
                 (i < reference.findings.size() ? reference.findings[i] : "(none)"));
    }
    if (!stopped && format == TAVON_REPORT_JSON &&
        (report.empty() || report.substr(report.size() - 3) != "}\r\n"))
        fail("the JSON report does not end as a report",
             report.substr(report.size() > 40 ? report.size() - 40 : 0));
    return 0;
}
