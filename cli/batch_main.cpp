// belun-batch: the belun command run over many documents in one process, several at a time. The
// folder script uses it when it stands beside belun: starting a process costs about as much as
// checking a 5 MB document, and processes do not share the cores as well as threads do.
//
//   belun-batch JOBS < pairs
//
// Standard input: NUL-terminated pairs of names (document, report), relative to the working
// directory. Standard output: per pair, in the order given, one record: belun's exit code, a tab,
// what belun would have written to the console (without NUL bytes), and a NUL byte. A record holds
// no name of its own: the reader tells the pairs apart by their position, so that no file name,
// whatever it holds, can pass for a record. Each run is that of `belun DOCUMENT REPORT` with
// standard output not a terminal, with two differences: the names are taken as they are (any
// length; a leading "-" or "@" is part of the name), and the data folder beside this executable is
// taken as belun takes the one beside itself.
#include <langinfo.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/belun.h"
#include "cli/files.h"

namespace {

// One belun run: its record.
std::string check(const std::string& document, const std::string& report, const std::string& folder,
                  tavon::cli::ConsoleKind kind) {
    std::ostringstream console;
    int code;
    try {
        const std::string_view arguments[] = {document, report};
        code = tavon::cli::run(arguments, console, kind, folder, {.names_only = true});
    } catch (const std::exception& e) {
        console << "belun-batch: " << e.what();
        code = 70;
    }
    std::string text = std::move(console).str();
    std::erase(text, '\0');  // the record's end
    return std::to_string(code) + '\t' + text + '\0';
}

}  // namespace

int main(int argc, char** argv) {
    // Any count of jobs the folder script accepts; more threads than files or than 256 bring nothing.
    char* end = nullptr;
    const long long asked = argc == 2 ? std::strtoll(argv[1], &end, 10) : 0;
    const int jobs = static_cast<int>(std::min(asked, 256LL));
    if (asked < 1 || *end != '\0') {
        std::fprintf(stderr, "usage: belun-batch JOBS < NUL-terminated pairs of document and report\n");
        return 2;
    }
    // The console in the locale's character set, as belun's.
    tavon::cli::ConsoleKind kind;
    if (std::setlocale(LC_CTYPE, "")) kind.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::ios::sync_with_stdio(false);
    const std::string input(std::istreambuf_iterator<char>(std::cin), {});
    std::vector<std::string> names;
    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find('\0', start);
        if (end == std::string::npos) end = input.size();
        names.emplace_back(input, start, end - start);
        start = end + 1;
    }
    if (names.size() % 2 != 0) {
        std::fprintf(stderr, "belun-batch: a document without its report name\n");
        return 2;
    }

    const std::string folder = tavon::cli::program_folder(argv[0]);
    std::vector<std::string> records(names.size() / 2);
    std::size_t printed = 0;
    std::mutex output;
    std::atomic<std::size_t> next{0};
    bool written = true;
    auto worker = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < records.size();) {
            std::string record = check(names[2 * i], names[2 * i + 1], folder, kind);
            // Each record goes out as soon as those before it have: what is done is never lost.
            const std::lock_guard lock(output);
            records[i] = std::move(record);  // never empty: it holds at least the exit code
            for (; printed < records.size() && !records[printed].empty(); ++printed) {
                written &= std::fwrite(records[printed].data(), 1, records[printed].size(), stdout) ==
                           records[printed].size();
                std::string().swap(records[printed]);
            }
            written &= std::fflush(stdout) == 0;
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < jobs && static_cast<std::size_t>(t) < records.size(); ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
    return written ? 0 : 1;
}
