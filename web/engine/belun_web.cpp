// The validator for the browser page and the Node.js tests: a few C functions over the library,
// with the bytes pulled from and the results pushed to the JavaScript host (web/worker.js in the
// page, web/test/engine.js under Node.js). Every text handed over is Windows-1250 bytes; the host
// decodes them for display and keeps report bytes as they are.
#include <emscripten/emscripten.h>

#include <ctime>
#include <map>
#include <memory>
#include <string>

#include "tavon/tavon.h"

// The host's side. Module.host is set by the host before a run:
//   read(heap, pointer, capacity) -> bytes copied into heap at pointer, 0 at the end of the file
//   report(heap, pointer, size)   -> bytes of the report being written
//   finding(heap, pointer)        -> eight (pointer, length) pairs of a finding's texts, as uint32
//   code(heap, code, codeLength, description, descriptionLength, count)
EM_JS(int, host_read, (char* buffer, int capacity), { return Module.host.read(HEAPU8, buffer, capacity); });
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

// The findings the page shows: the first `limit` rows, and the count of every code.
class ShownFindings final : public tavon::FindingSink {
  public:
    ShownFindings(tavon::FindingSink* report, long long limit) : report_(report), limit_(limit) {}

    void finding(const tavon::Finding& f) override {
        if (report_) report_->finding(f);
        if (limit_ <= 0) return;
        auto [entry, added] = codes_.try_emplace(std::string(f.code));
        if (added) entry->second.description = f.description;
        ++entry->second.count;
        if (rows_ >= limit_) return;
        ++rows_;
        const std::string_view texts[] = {f.line,  f.code,  f.employer, f.employee,
                                          f.field, f.value, f.expected, f.description};
        unsigned pairs[16];
        for (int i = 0; i < 8; ++i) {
            pairs[2 * i] = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(texts[i].data()));
            pairs[2 * i + 1] = static_cast<unsigned>(texts[i].size());
        }
        host_finding(pairs);
    }

    void send_codes() const {
        for (const auto& [code, entry] : codes_)
            host_code(code.data(), static_cast<int>(code.size()), entry.description.data(),
                      static_cast<int>(entry.description.size()), static_cast<double>(entry.count));
    }

  private:
    struct Code {
        long long count = 0;
        std::string description;
    };
    tavon::FindingSink* report_;
    long long limit_;
    long long rows_ = 0;
    std::map<std::string, Code> codes_;
};

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

// One run over the host's bytes. `format` 0-3 writes that report through host.report (header,
// findings, footer, as the command does), -1 none; `rows` > 0 hands the first `rows` findings to
// host.finding and, at the end, every code with its count to host.code. `document_name` is the
// name the report header shows (Windows-1250). Returns the totals: errors, warnings, warnings left
// out, as three doubles.
EMSCRIPTEN_KEEPALIVE const double* belun_run(int format, int report_warnings, const char* document_name,
                                             int rows) {
    HostOutput output;
    std::unique_ptr<tavon::Report> report;
    if (format >= 0)
        report = std::make_unique<tavon::Report>(
            static_cast<tavon::ReportFormat>(format), output,
            tavon::ReportHeader{document_name, tavon::describe_data_set(*data_set_)});
    ShownFindings shown(report.get(), rows);
    tavon::Check check(shown, {report_warnings != 0, data_set_});
    static char buffer[1 << 18];
    while (const int n = host_read(buffer, sizeof buffer))
        check.feed(std::span<const char>(buffer, static_cast<std::size_t>(n)));
    const tavon::Totals totals = check.finish();
    if (report) (void)report->finish(totals);
    shown.send_codes();
    totals_[0] = static_cast<double>(totals.errors);
    totals_[1] = static_cast<double>(totals.warnings);
    totals_[2] = static_cast<double>(totals.warnings_not_reported);
    return totals_;
}

}  // extern "C"
