// Runs whole validations inside the test process on documents given as strings.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "cli/console.h"

namespace tavon::test {

struct RunResult {
    int exit_code = -1;
    std::string console;  // console output
    std::string report;   // report file, as written (CR LF)
    std::string copy;     // the normalised copy, when one was named
};

// Writes `files` into a fresh directory, runs belun there with `arguments` and reads back the
// report (the second file name of the arguments, else "duve.htm") and the copy (the third).
RunResult run_belun(const std::map<std::string, std::string>& files,
                    const std::vector<std::string>& arguments, cli::ConsoleKind console = {});

// The report's rows without header and footer, for the CSV format: one string per row.
std::vector<std::string> csv_rows(const std::string& report);

// A complete, valid document head (prolog, root, submitter block) and tail, in CR LF.
std::string document_head();
std::string document_tail();

// Windows-1250 bytes of a UTF-8 literal, for expected texts with Czech letters.
std::string cp1250(std::string_view utf8);

}  // namespace tavon::test
