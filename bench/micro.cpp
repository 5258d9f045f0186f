// Microbenchmarks of the hot steps, each measured alone: the tokenizer's whole-field read, the
// check of one employee field, and the whole pipeline over a document in memory (clean, and dirty
// with a CSV report). Documents come from the generator, so the figures match bench/run.sh.
//
//   tavon_micro [--benchmark_filter=...]        (TAVON_BENCH_DOCUMENT: a document to use instead)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/reporter.h"
#include "data/data_set.h"
#include "fields/field_checks.h"
#include "reader/tokenizer.h"
#include "tavon/c_api.h"
#include "tavon/check.h"
#include "tavon/report.h"

namespace {

// A generated document: N employers of M employees, faulty share in percent.
std::string document(int employers, int employees, int faulty) {
    if (const char* given = std::getenv("TAVON_BENCH_DOCUMENT"); given && faulty == 0) {
        std::string bytes;
        if (std::FILE* f = std::fopen(given, "rb")) {
            char b[1 << 16];
            for (std::size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;) bytes.append(b, n);
            std::fclose(f);
        }
        return bytes;
    }
    const std::string command = std::string(TAVON_GENERATOR) + " " + std::to_string(employers) + " " +
                                std::to_string(employees) + " " + std::to_string(faulty) + " 1";
    std::string bytes;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        char b[1 << 16];
        for (std::size_t n; (n = std::fread(b, 1, sizeof b, p)) > 0;) bytes.append(b, n);
        pclose(p);
    }
    return bytes;
}

const std::string& clean() {
    static const std::string doc = document(5, 2000, 0);
    return doc;
}
const std::string& dirty() {
    static const std::string doc = document(5, 2000, 100);
    return doc;
}

class NoFindings final : public tavon::FindingSink {
  public:
    void finding(const tavon::Finding&) override { ++count; }
    long long count = 0;
};

class Discard final : public tavon::Output {
  public:
    void write(const char*, std::size_t size) override { bytes += size; }
    std::size_t bytes = 0;
};

class NoReceiver final : public tavon::FindingReceiver {
  public:
    void receive(const tavon::Finding&) override {}
};

// The tokenizer alone: every field element read whole, the rest by the four operations.
void BM_TokenizerFields(benchmark::State& state) {
    const std::string& doc = clean();
    long long fields = 0;
    // The whole document as one piece, with the 16 readable bytes after it that the scans need.
    std::vector<char> bytes(doc.begin(), doc.end());
    bytes.resize(doc.size() + 16);
    for (auto _ : state) {
        tavon::Tokenizer tokenizer;
        tokenizer.set_input(bytes.data(), bytes.data() + doc.size());
        tavon::Token token;
        std::string_view name, content, closing;
        for (;;) {
            if (tokenizer.read_whole_field(name, content, closing)) {
                ++fields;
                benchmark::DoNotOptimize(content.data());
                continue;
            }
            const int r = tokenizer.read_name(token);
            if (r == tavon::Tokenizer::kSuspended) tokenizer.end_input();
            if (r == tavon::Tokenizer::kEnd) break;
        }
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations() * doc.size()));
    state.counters["fields"] = benchmark::Counter(static_cast<double>(fields), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TokenizerFields)->Unit(benchmark::kMillisecond);

// The generic check, actions and all, of the fields of one valid employee record.
void BM_EmployeeFieldChecks(benchmark::State& state) {
    static const std::pair<const char*, const char*> kRecord[] = {
        {"AA0126", "1001"},  {"AA0231", "1970"},   {"AA0211", "1"},     {"AA0223", "K"},
        {"AA0033", "CZ"},    {"AA0013", "01011"},  {"AA0125", "2"},     {"AA0130", "1"},
        {"AA0131", "40"},    {"AA0225", "20"},     {"AA0216", "5"},     {"AA0132", "900"},
        {"AA0133", "0"},     {"AA0134", "120"},    {"AA0135", "120"},   {"AA0136", "1"},
        {"AA0137", "1"},     {"AA0127", "10"},     {"AA0128", "5"},     {"AA0129", "1"},
        {"AA0138", "14930"}, {"AA0139", "2000"},   {"AA0140", "0"},     {"AA0141", "0"},
        {"AA0142", "0"},     {"AA0143", "0"},      {"AA0144", "64960"}, {"AA0145", "0"},
        {"AA0146", "45960"}, {"AA0147", "12000"},  {"AA0148", "0"},     {"AA0160", "0"},
        {"AA0162", "0"},     {"AA0150", "3000"},   {"AA0239", "0"},     {"AA0240", "0"},
        {"AA0151", "3000"},  {"AA0152", "0"},      {"AA0153", "0"},     {"AA0154", "0"},
        {"AA0155", "0"},     {"AA0156", "0"},      {"AA0157", "0"},     {"AA0163", "0"},
        {"AA0161", "0"},     {"AA0237", "0"},      {"AA0238", "0"},     {"AA0158", "4000"},
        {"AA0159", "4000"},  {"AA0165", "63.87"},  {"AA0166", "0"},     {"AA0167", "2923"},
        {"AA0168", "8120"},  {"AA0091", "1111"},   {"AA0210", "0"},     {"AA0218", "181"},
        {"AA0219", "15"},    {"AA0690", "CZ0101"},
    };
    NoReceiver receiver;
    tavon::LineCounter line;
    tavon::Reporter reporter(receiver, line);
    tavon::FieldChecks checks(*tavon::DataSet::built_in(), reporter);
    for (auto _ : state) {
        checks.start_employee();
        for (const auto& [name, content] : kRecord)
            benchmark::DoNotOptimize(checks.employee_field(name, content));
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations() * std::size(kRecord)));
}
BENCHMARK(BM_EmployeeFieldChecks);

// The whole pipeline on a document in memory.
void BM_ValidateClean(benchmark::State& state) {
    const std::string& doc = clean();
    for (auto _ : state) {
        NoFindings sink;
        benchmark::DoNotOptimize(tavon::check_bytes(doc, sink).errors);
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations() * doc.size()));
}
BENCHMARK(BM_ValidateClean)->Unit(benchmark::kMillisecond);

// The pipeline and a CSV report, on a document where every record has about ten findings.
void BM_ValidateDirtyCsv(benchmark::State& state) {
    const std::string& doc = dirty();
    long long rows = 0;
    for (auto _ : state) {
        Discard out;
        tavon::Report report(tavon::ReportFormat::Csv, out, {"dirty.xml"});
        const tavon::Totals totals = tavon::check_bytes(doc, report);
        (void)report.finish(totals);
        rows += totals.errors + totals.warnings;
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations() * doc.size()));
    state.counters["rows"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ValidateDirtyCsv)->Unit(benchmark::kMillisecond);

// The cost of a finding through the C interface: the dirty document's findings counted by a C++
// sink, and the same findings converted to UTF-8 and handed to a C callback. The difference in time
// per finding ("ns_per_finding" of the two) is what the C interface adds.
void BM_DirtyFindingsCpp(benchmark::State& state) {
    const std::string& doc = dirty();
    long long findings = 0;
    for (auto _ : state) {
        NoFindings sink;
        tavon::check_bytes(doc, sink);
        findings += sink.count;
    }
    state.counters["ns_per_finding"] = benchmark::Counter(
        static_cast<double>(findings) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DirtyFindingsCpp)->Unit(benchmark::kMillisecond);

int count_finding(void* context, const tavon_finding* f) {
    benchmark::DoNotOptimize(f->value);
    ++*static_cast<long long*>(context);
    return 0;
}

void BM_DirtyFindingsCallback(benchmark::State& state) {
    const std::string& doc = dirty();
    long long findings = 0;
    tavon_options options = tavon_default_options();
    options.on_finding = count_finding;
    options.context = &findings;
    for (auto _ : state) {
        tavon_check* check = nullptr;
        tavon_check_new(&options, &check, nullptr);
        tavon_check_feed(check, doc.data(), doc.size(), nullptr);
        tavon_check_finish(check, nullptr, nullptr);
        tavon_check_free(check);
    }
    state.counters["ns_per_finding"] = benchmark::Counter(
        static_cast<double>(findings) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DirtyFindingsCallback)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
