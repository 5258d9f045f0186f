// belun-batch: the belun command run over many documents in one process, several at a time. The
// folder script uses it when it stands beside belun: starting a process costs about as much as
// checking a 5 MB document, and processes do not share the cores as well as threads do. It also
// writes the folder script's overview (cli/dashboard.h).
//
//   belun-batch [--codes] JOBS < pairs
//   belun-batch --dashboard [--no-codes] REPORTS < table
//
// Standard input: NUL-terminated pairs of names (document, report), relative to the working
// directory. Standard output: per pair, in the order given, one record: belun's exit code, a tab,
// what belun would have written to the console (without NUL bytes), and a NUL byte. A record holds
// no name of its own: the reader tells the pairs apart by their position, so that no file name,
// whatever it holds, can pass for a record. Each run is that of `belun DOCUMENT REPORT` with
// standard output not a terminal, with two differences: the names are taken as they are (any
// length; a leading "-" or "@" is part of the name), and the data folder beside this executable is
// taken as belun takes the one beside itself. With --codes a record holds, after the exit code and
// a tab, the number of findings per code ("EL051 3 WL060 1", codes with findings only) and a tab.
// On a terminal (standard error), a progress bar shows the files done and the time left.
//
// --dashboard writes index.html, summary.csv and a copy of the catalogue katalog.html into the
// folder REPORTS. Standard input, NUL-terminated fields: the checked folder as given, then six per
// file: its name as given, its report's name inside REPORTS, E and W (both empty: not checked), why
// it was not checked, and its counts per code as --codes gives them (--no-codes: none known).
#include <langinfo.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/belun.h"
#include "cli/dashboard.h"
#include "cli/files.h"
#include "cli/progress_bar.h"

namespace {

// The findings of one run per code.
class CodeCounter final : public tavon::FindingSink {
  public:
    void finding(const tavon::Finding& f) override { ++counts_[static_cast<std::size_t>(f.code)]; }
    // "EL051 3 WL060 1": the codes with findings, in the order of the error table.
    std::string text() const {
        std::string out;
        for (std::size_t i = 0; i < counts_.size(); ++i)
            if (counts_[i] > 0) {
                if (!out.empty()) out += ' ';
                out.append(tavon::kCodeNames[i]).append(" ").append(std::to_string(counts_[i]));
            }
        return out;
    }

  private:
    tavon::cli::CodeCounts counts_{};
};

// One belun run: its record.
std::string check(const std::string& document, const std::string& report, const std::string& folder,
                  tavon::cli::ConsoleKind kind, bool codes) {
    std::ostringstream console;
    CodeCounter counter;
    int code;
    try {
        const std::string_view arguments[] = {document, report};
        code = tavon::cli::run(arguments, console, kind, folder,
                               {.names_only = true, .findings = codes ? &counter : nullptr});
    } catch (const std::exception& e) {
        console << "belun-batch: " << e.what();
        code = 70;
    }
    std::string text = std::move(console).str();
    std::erase(text, '\0');  // the record's end
    return std::to_string(code) + '\t' + (codes ? counter.text() + '\t' : "") + text + '\0';
}

// Standard input as NUL-terminated fields.
std::vector<std::string> read_fields() {
    std::ios::sync_with_stdio(false);
    const std::string input(std::istreambuf_iterator<char>(std::cin), {});
    std::vector<std::string> fields;
    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find('\0', start);
        if (end == std::string::npos) end = input.size();
        fields.emplace_back(input, start, end - start);
        start = end + 1;
    }
    return fields;
}

std::uint64_t total_size(const std::vector<std::string>& names) {
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < names.size(); i += 2) {
        std::error_code failed;
        const auto size = std::filesystem::file_size(names[i], failed);
        if (!failed) bytes += size;
    }
    return bytes;
}

int check_files(int jobs, bool codes, const char* argv0) {
    // The console in the locale's character set, as belun's.
    tavon::cli::ConsoleKind kind;
    if (std::setlocale(LC_CTYPE, "")) kind.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    const std::vector<std::string> names = read_fields();
    if (names.size() % 2 != 0) {
        std::fprintf(stderr, "belun-batch: a document without its report name\n");
        return 2;
    }

    const std::string folder = tavon::cli::program_folder(argv0);
    std::vector<std::string> records(names.size() / 2);
    tavon::cli::ProgressBar progress(isatty(STDERR_FILENO) ? stderr : nullptr, records.size(),
                                     total_size(names));
    std::size_t printed = 0;
    std::mutex output;
    std::atomic<std::size_t> next{0};
    bool written = true;
    auto worker = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < records.size();) {
            std::string record = check(names[2 * i], names[2 * i + 1], folder, kind, codes);
            std::error_code failed;
            const auto size = std::filesystem::file_size(names[2 * i], failed);
            // Each record goes out as soon as those before it have: what is done is never lost.
            const std::lock_guard lock(output);
            records[i] = std::move(record);  // never empty: it holds at least the exit code
            for (; printed < records.size() && !records[printed].empty(); ++printed) {
                written &= std::fwrite(records[printed].data(), 1, records[printed].size(), stdout) ==
                           records[printed].size();
                std::string().swap(records[printed]);
            }
            written &= std::fflush(stdout) == 0;
            progress.file_done(failed ? 0 : size);
        }
    };
    {
        // The time left counts down while big files are checked.
        std::jthread clock([&](std::stop_token stop) {
            std::mutex idle;
            std::condition_variable_any wake;
            std::unique_lock lock(idle);
            while (!wake.wait_for(lock, stop, std::chrono::milliseconds(250), [] { return false; })) {
                if (stop.stop_requested()) break;
                const std::lock_guard drawing(output);
                progress.tick();
            }
        });
        std::vector<std::jthread> pool;
        for (int t = 1; t < jobs && static_cast<std::size_t>(t) < records.size(); ++t)
            pool.emplace_back(worker);
        worker();
    }
    progress.clear();
    return written ? 0 : 1;
}

// "EL051 3 WL060 1" added to the counts; false when it is not such a text.
bool add_codes(std::string_view text, tavon::cli::CodeCounts& counts) {
    std::istringstream in{std::string(text)};
    std::string code;
    long long n;
    while (in >> code >> n) {
        const auto* at = std::find(std::begin(tavon::kCodeNames), std::end(tavon::kCodeNames), code);
        if (at == std::end(tavon::kCodeNames) || n < 0) return false;
        counts[static_cast<std::size_t>(at - std::begin(tavon::kCodeNames))] += n;
    }
    return in.eof();
}

// The catalogue page of this installation: in the build tree beside the program, installed in the
// documentation folder.
std::string find_catalogue(const std::string& program_folder) {
    for (const char* place : {"/doc/katalog.html", "/../share/doc/belun/katalog.html"}) {
        const std::string path = program_folder + place;
        if (std::filesystem::is_regular_file(path)) return path;
    }
    return {};
}

int write_dashboard(const std::string& reports, bool codes, const char* argv0) {
    const std::vector<std::string> fields = read_fields();
    constexpr std::size_t kPerFile = 6;
    if (fields.empty() || (fields.size() - 1) % kPerFile != 0) {
        std::fprintf(stderr, "belun-batch: the table of files is incomplete\n");
        return 2;
    }
    tavon::cli::Overview overview;
    overview.folder = fields[0];
    overview.time = std::time(nullptr);
    if (codes) overview.codes.emplace();
    for (std::size_t at = 1; at < fields.size(); at += kPerFile) {
        tavon::cli::CheckedFile file;
        file.name = fields[at];
        file.report = fields[at + 1];
        file.checked = !fields[at + 2].empty() && !fields[at + 3].empty();
        if (file.checked) {
            file.errors = std::strtoll(fields[at + 2].c_str(), nullptr, 10);
            file.warnings = std::strtoll(fields[at + 3].c_str(), nullptr, 10);
        }
        file.why = fields[at + 4];
        if (codes && file.checked && !add_codes(fields[at + 5], *overview.codes)) {
            std::fprintf(stderr, "belun-batch: counts per code that are none\n");
            return 2;
        }
        overview.files.push_back(std::move(file));
    }
    const std::string catalogue = find_catalogue(tavon::cli::program_folder(argv0));
    return tavon::cli::write_overview(reports, std::move(overview), catalogue, std::cerr) ? 0 : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: belun-batch [--codes] JOBS < NUL-terminated pairs of document and report\n"
                 "       belun-batch --dashboard [--no-codes] REPORTS < NUL-terminated table of files\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--dashboard") {
        const bool codes = !(args.size() == 3 && args[1] == "--no-codes");
        if (args.size() != (codes ? 2u : 3u)) return usage();
        return write_dashboard(std::string(args.back()), codes, argv[0]);
    }
    const bool codes = !args.empty() && args[0] == "--codes";
    if (args.size() != (codes ? 2u : 1u)) return usage();
    // Any count of jobs the folder script accepts; more threads than files or than 256 bring nothing.
    char* end = nullptr;
    const long long asked = std::strtoll(argv[argc - 1], &end, 10);
    if (asked < 1 || *end != '\0') return usage();
    return check_files(static_cast<int>(std::min(asked, 256LL)), codes, argv[0]);
}
