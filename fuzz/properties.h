// Whole validations run inside the fuzzing process, and the properties that every report must
// have whatever the input: exit code 0, a complete footer, totals that match the rows, CSV rows
// of eight fields, a well-formed XML report, a JSON report in valid UTF-8, and the same rows in all
// five formats.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/failure.h"

namespace tavon::fuzz {

struct RunResult {
    int exit_code = -1;
    std::string console;
    std::string report;
    std::string copy;
};

using Row = std::array<std::string, 8>;

// The rows of a report with its totals of errors and warnings.
struct ReportContents {
    std::vector<Row> rows;
    long errors = 0;
    long warnings = 0;
};

// Creates a scratch directory (in /dev/shm when it can), removed at exit. The fuzzer's own
// files stay relative to the current directory, so the runs use full names.
void prepare_scratch_dir();
// The full name of a file in the scratch directory (short enough for a command-line argument).
std::string scratch_path(std::string_view name);

void write_file(const std::string& name, std::string_view contents);

// One validation with the given arguments; the report and output file are read back.
RunResult run_belun(const std::vector<std::string>& arguments, const std::string& report,
                    const std::string& output);

// Each checks one report format completely and returns its rows and totals.
ReportContents check_csv(std::string_view report);
ReportContents check_xml(std::string_view report);
// The rows of a JSON report with its texts in UTF-8; `warnings_left_out`: the warnings it must count
// as not reported (-w).
ReportContents check_json(std::string_view report, long warnings_left_out);
// The text and HTML reports are checked against the rows of the CSV report of the same input.
void check_txt(std::string_view report, const ReportContents& csv);
void check_htm(std::string_view report, const ReportContents& csv);
// Console of a normal end with the given totals.
void check_console(std::string_view console, const ReportContents& contents);

void check_same(const ReportContents& a, const ReportContents& b, std::string_view what);

// The validation of `input` (the full name of a file in the scratch directory) in all five formats, each
// with an output file, and once more with warnings suppressed in the format chosen by `variant`; every
// property is checked. The CSV contents are returned, and the output file through `copy`.
ReportContents check_all_formats(const std::string& input, unsigned variant, std::string* copy);

}  // namespace tavon::fuzz
