// The validator for the browser page and the Node.js tests: a few C functions over the library.
// The host (web/worker.js in the page, web/test/engine.js under Node.js) pushes the document in
// pieces: it begins a check, writes each piece into the engine's own buffer and feeds it, and
// finishes; findings, codes and report bytes come back through the host's callbacks. Every text
// handed over is Windows-1250 bytes; the host decodes them for display and keeps report bytes as
// they are.
#include <emscripten/emscripten.h>

#include <array>
#include <charconv>
#include <memory>
#include <string>
#include <vector>

#include "tavon/tavon.h"

// The host's side. Module.host is set by the host before a check begins:
//   report(heap, pointer, size)   -> bytes of the report being written
//   finding(heap, pointer)        -> eight (pointer, length) pairs of a finding's texts, as uint32
//   code(heap, code, codeLength, description, descriptionLength, count)
EM_JS(void, host_report, (const char* data, int size), { Module.host.report(HEAPU8, data, size); });
EM_JS(void, host_finding, (const unsigned* texts), { Module.host.finding(HEAPU8, texts); });
EM_JS(void, host_code,
      (const char* code, int code_size, const char* description, int description_size, double count),
      { Module.host.code(HEAPU8, code, code_size, description, description_size, count); });

namespace {

class HostOutput final : public tavon::Output {
  public:
    void write(const char* data, std::size_t size) override { host_report(data, static_cast<int>(size)); }
};

// The eight columns of a finding as the report rows show them (the page's table is compared with
// the CSV report): the line or lines, the code, the texts right-aligned in their widths.
class Row {
  public:
    explicit Row(const tavon::Finding& f) {
        line(f);
        const tavon::Text* texts[] = {&f.employer, &f.employee, &f.field, &f.value, &f.expected};
        for (int i = 0; i < 5; ++i) {
            const std::string_view bytes = texts[i]->windows1250();
            if (texts[i]->width() > bytes.size()) text_[i + 1].assign(texts[i]->width() - bytes.size(), ' ');
            text_[i + 1] += bytes;
        }
        text_[6] = tavon::name(f.code);
        text_[7] = f.description();
    }

    // (pointer, length) pairs in the order line, code, employer, employee, field, value, expected,
    // description; valid as long as the row.
    std::array<unsigned, 16> pairs() const {
        static constexpr int kOrder[] = {0, 6, 1, 2, 3, 4, 5, 7};
        std::array<unsigned, 16> pairs{};
        for (int i = 0; i < 8; ++i) {
            const std::string& s = text_[kOrder[i]];
            pairs[2 * i] = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(s.data()));
            pairs[2 * i + 1] = static_cast<unsigned>(s.size());
        }
        return pairs;
    }

  private:
    // "12"; one person's records "10,40,70" (", ...... " when there are more); a field that did
    // not occur " "; the employer as a whole "   ".
    void line(const tavon::Finding& f) {
        std::string& s = text_[0];
        auto append = [&s](std::uint64_t n) {
            char digits[24];
            s.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
        };
        if (!f.lines.empty()) {
            for (std::size_t i = 0; i < f.lines.size(); ++i) {
                if (i > 0) s += ',';
                append(f.lines[i]);
            }
            if (f.more_lines) s += ", ...... ";
        } else if (f.whole_employer) {
            s = "   ";
        } else if (f.line == 0) {
            s = " ";
        } else {
            append(f.line);
        }
    }

    std::string text_[8];  // line, employer, employee, field, value, expected, code, description
};

// The findings the page shows: the first `limit` rows, and the count of every code.
class ShownFindings final : public tavon::FindingSink {
  public:
    ShownFindings(tavon::FindingSink* report, long long limit) : report_(report), limit_(limit) {}

    void finding(const tavon::Finding& f) override {
        if (report_) report_->finding(f);
        if (limit_ <= 0) return;
        ++counts_[static_cast<std::size_t>(f.code)];
        if (rows_ >= limit_) return;
        ++rows_;
        host_finding(Row(f).pairs().data());
    }

    void send_codes() const {
        for (std::size_t i = 0; i < tavon::kCodeCount; ++i) {
            if (!counts_[i]) continue;
            const auto code = static_cast<tavon::Code>(i);
            const std::string_view name = tavon::name(code), description = tavon::description(code);
            host_code(name.data(), static_cast<int>(name.size()), description.data(),
                      static_cast<int>(description.size()), static_cast<double>(counts_[i]));
        }
    }

  private:
    tavon::FindingSink* report_;
    long long limit_;
    long long rows_ = 0;
    std::array<long long, tavon::kCodeCount> counts_{};
};

// The check in progress: the report it writes (if any) and the findings the page is shown.
struct Run {
    Run(int format, bool report_warnings, const char* document_name, int rows, const tavon::DataSetPtr& data)
        : report(format < 0 ? nullptr
                            : std::make_unique<tavon::Report>(
                                  static_cast<tavon::ReportFormat>(format), output,
                                  tavon::ReportHeader{document_name, tavon::describe_data_set(*data)})),
          shown(report.get(), rows),
          check(shown, {report_warnings, data}) {}

    HostOutput output;
    std::unique_ptr<tavon::Report> report;
    ShownFindings shown;
    tavon::Check check;
};

std::unique_ptr<Run> run_;
// The piece the host writes next; reused from piece to piece, so that a check allocates it once.
std::vector<char> buffer_;
double totals_[3];

// The data set of the runs, and what belun_use_data last found wrong.
tavon::DataSetPtr data_set_ = tavon::built_in_data();
std::string data_line_;
tavon::Error data_problem_;

}  // namespace

extern "C" {

// The data set for the following runs: the data folder `folder` of the engine's file system (the
// host writes the chosen files there first, see web/worker.js), read as the command reads its -d
// folder; the built-in set when `folder` is empty. 0 when it can be used; 1 when a file breaks
// its format: belun_data_problem says which and why, and the set in use stays as it was.
EMSCRIPTEN_KEEPALIVE int belun_use_data(const char* folder) {
    if (!*folder) {
        data_set_ = tavon::built_in_data();
        return 0;
    }
    auto set = tavon::load_data_folder(folder);
    if (!set) {
        data_problem_ = set.error();
        return 1;
    }
    data_set_ = std::move(*set);
    return 0;
}

// The line in Czech (Windows-1250) that names the data set in use, as the command prints it.
EMSCRIPTEN_KEEPALIVE const char* belun_data_line() {
    data_line_ = tavon::describe_data_set(*data_set_);
    return data_line_.c_str();
}

// What belun_use_data found wrong: 0 the file, 1 the reason (Windows-1250); the line number.
EMSCRIPTEN_KEEPALIVE const char* belun_data_problem(int part) {
    return part == 0 ? data_problem_.file.c_str() : data_problem_.reason.c_str();
}
EMSCRIPTEN_KEEPALIVE int belun_data_problem_line() { return data_problem_.line; }

// Begins a check, in place of any unfinished one. `format` 0-4 (tavon::ReportFormat, 4 JSON)
// writes that report through host.report (its header at once), -1 none; `rows` > 0 hands the first
// `rows` findings to host.finding and, at the end, every code with its count to host.code.
// `document_name` is the name the report header shows (Windows-1250).
EMSCRIPTEN_KEEPALIVE void belun_begin(int format, int report_warnings, const char* document_name, int rows) {
    run_.reset();
    run_ = std::make_unique<Run>(format, report_warnings != 0, document_name, rows, data_set_);
}

// Where the host writes the next piece of the document, `size` bytes. Valid until the next call
// of belun_buffer; a larger piece than before moves it.
EMSCRIPTEN_KEEPALIVE char* belun_buffer(int size) {
    if (buffer_.size() < static_cast<std::size_t>(size)) buffer_.resize(static_cast<std::size_t>(size));
    return buffer_.data();
}

// Checks the next piece of the document: the first `size` bytes written into belun_buffer.
EMSCRIPTEN_KEEPALIVE void belun_feed(int size) {
    run_->check.feed(buffer_.data(), static_cast<std::size_t>(size));
}

// The end of the document: the report's end, the codes, and the totals (errors, warnings,
// warnings left out, as three doubles).
EMSCRIPTEN_KEEPALIVE const double* belun_finish() {
    const tavon::Totals totals = run_->check.finish();
    if (run_->report) (void)run_->report->finish(totals);
    run_->shown.send_codes();
    run_.reset();
    totals_[0] = static_cast<double>(totals.errors);
    totals_[1] = static_cast<double>(totals.warnings);
    totals_[2] = static_cast<double>(totals.warnings_not_reported);
    return totals_;
}

// Ends a check that will not be finished (its file could not be read), freeing what it holds.
EMSCRIPTEN_KEEPALIVE void belun_discard() { run_.reset(); }

}  // extern "C"
