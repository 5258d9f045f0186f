// The overview that belun-folder leaves in the reports folder beside the reports: index.html, a page
// for a person (how many files passed, a sortable table of the files with links to their reports, a
// chart of the most frequent codes linked to the catalogue), and summary.csv, the same table for a
// spreadsheet. Names are data: escaped for HTML, percent-encoded in links, quoted in CSV.
#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tavon/codes.h"

namespace tavon::cli {

struct CheckedFile {
    std::string name;    // as the user gave it: bytes from the file system, any of them
    std::string report;  // the report's file name inside the reports folder
    bool checked = false;
    long long errors = 0, warnings = 0;
    std::string why;  // why it was not checked (a line of belun-folder's summary)
};

using CodeCounts = std::array<long long, kCodeCount>;

struct Overview {
    std::string folder;  // the checked folder as the user gave it
    std::time_t time = 0;
    std::vector<CheckedFile> files;
    // The findings of all files per code; none where they are not known (a belun process per file).
    std::optional<CodeCounts> codes;
    bool catalogue = false;  // katalog.html stands beside index.html: the codes link to it
};

// The two files' contents: index.html in UTF-8, summary.csv in Windows-1250 as the CSV report.
std::string overview_html(const Overview& overview);
std::string overview_csv(const Overview& overview);

// Writes index.html and summary.csv into `folder`, each whole or not at all, and copies the
// catalogue page `catalogue` there (empty: none known). A file of another kind under one of these
// names is left as it is, and a line on `messages` says so. False when a file was not written.
bool write_overview(const std::string& folder, Overview overview, const std::string& catalogue,
                    std::ostream& messages);

// The parts, for the tests.
// Every byte but A-Z a-z 0-9 - . _ ~ as %XX: a relative link to a file of that name, whatever it holds.
std::string percent_encoded(std::string_view name);
// Bytes as HTML text in UTF-8: markup characters as entities, control characters as "?", a byte that
// is no part of valid UTF-8 as U+FFFD.
std::string html_text(std::string_view bytes);
// The codes with findings, most findings first (equal counts in alphabetical order of the codes), at
// most `limit`.
std::vector<Code> most_frequent(const CodeCounts& counts, std::size_t limit);

}  // namespace tavon::cli
