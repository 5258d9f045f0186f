// Whole validations run inside the fuzzing process, and the properties that every report must
// have whatever the input: exit code 0, a complete footer, totals that match the rows, CSV rows
// of eight fields, a well-formed XML report, and the same rows in all four formats.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tavon::fuzz {

struct RunResult {
    int exit_code = -1;
    std::string console;
    std::string report;
    std::string copy;
};

using Radek = std::array<std::string, 8>;

// The rows of a report with its totals of errors and warnings.
struct Obsah {
    std::vector<Radek> radky;
    long chybE = 0;
    long chybW = 0;
};

// Creates a scratch directory (in /dev/shm when it can), removed at exit. The fuzzer's own
// files stay relative to the current directory, so the runs use full names.
void priprav_adresar();
// The full name of a file in the scratch directory (short enough for a command-line argument).
std::string cesta(std::string_view jmeno);

void zapis(const std::string& jmeno, std::string_view obsah);

// One validation with the given arguments; the report and output file are read back.
RunResult run_belun(const std::vector<std::string>& argumenty, const std::string& hlaseni,
                    const std::string& vystup);

// Reports a broken property and aborts, so that the fuzzer keeps the input.
[[noreturn]] void selhani(std::string_view co, std::string_view podrobnosti = {});

// Each checks one report format completely and returns its rows and totals.
Obsah over_csv(std::string_view hlaseni);
Obsah over_xml(std::string_view hlaseni);
// The text and HTML reports are checked against the rows of the CSV report of the same input.
void over_txt(std::string_view hlaseni, const Obsah& csv);
void over_htm(std::string_view hlaseni, const Obsah& csv);
// Console of a normal end with the given totals.
void over_konzoli(std::string_view konzole, const Obsah& obsah);

void over_stejne(const Obsah& a, const Obsah& b, std::string_view co);

// The validation of `vstup` (the full name of a file in the scratch directory) in all four formats, each with
// an output file, and once more with warnings suppressed in the format chosen by `sw`; every property is
// checked. The CSV contents and the output file are returned.
Obsah over_vse(const std::string& vstup, unsigned sw, std::string* vystup);

}  // namespace tavon::fuzz
