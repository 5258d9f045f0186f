// Small documents for the field-check tests: the valid submitter block, an employer with
// chosen field values, one employee, and the CSV report's rows to compare with.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/robust/report_parser.h"
#include "tests/support/run_belun.h"

namespace tavon::test {

// `text` with the first occurrence of `from` replaced by `to`; a test failure when there is none.
inline std::string replace_first(std::string text, std::string_view from, std::string_view to) {
    auto pos = text.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    if (pos != std::string::npos) text.replace(pos, from.size(), to);
    return text;
}

// Lines 1-10: prolog, root and the submitter fields (ICOpredkladatele on line 5), with the first
// `from` replaced by `to`; line 11 starts what follows.
inline std::string document_head_with(std::string_view from = "", std::string_view to = "") {
    return from.empty() ? document_head() : replace_first(document_head(), from, to);
}

// The fields of a valid employer, name and content, in document order.
inline const std::pair<std::string, std::string> kEmployerFields[] = {
    {"AA0017", "20000006"}, {"AA0113", ""},       {"AA0019", "301"},    {"AA0179", "CZ0101"},
    {"AA0110", "20060630"}, {"AA0116", "10"},     {"AA0123", "800000"}, {"AA0114", "10"},
    {"AA0115", "10"},       {"AA0118", "400000"}, {"AA0119", "0"},
};

// An employer on lines 11-23 (its fields on lines 12-22) when it follows the submitter block:
// the valid fields with the contents of `changes` (by field name), then the text `employees`.
inline std::string employer_element(const std::map<std::string, std::string>& changes = {},
                                    const std::string& employees = "") {
    std::string s = "<zamestnavatel>\r\n";
    for (const auto& [name, content] : kEmployerFields) {
        auto change = changes.find(name);
        s += "<" + name + ">" + (change == changes.end() ? content : change->second) + "</" + name + ">\r\n";
    }
    return s + employees + "</zamestnavatel>\r\n";
}

// A valid employer with one employee: AA0126 "A1" on line 24, `fields` from line 25 on.
inline std::string document_with_employee(const std::string& fields) {
    return document_head() +
           employer_element({}, "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n" + fields + "</zamestnanec>\r\n") +
           document_tail();
}

// The rows of the CSV report of a document.
inline std::vector<std::string> report_rows(const std::string& document) {
    return csv_rows(run_belun({{"in.xml", document}}, {"in.xml", "r.csv"}).report);
}

// The rows whose error code (the second column) is `code`.
inline std::vector<std::string> rows_with_code(const std::vector<std::string>& rows, std::string_view code) {
    std::vector<std::string> selected;
    for (const auto& row : rows) {
        auto s = row.find(';');
        if (s != std::string::npos && row.compare(s + 1, code.size() + 1, std::string(code) + ";") == 0)
            selected.push_back(row);
    }
    return selected;
}

// A text as a CSV report's cell: quoted when it holds ; " CR or LF (inner quotes doubled), quoted
// with an apostrophe before it when a spreadsheet would take it for a formula.
inline std::string csv_cell(std::string_view text) {
    const bool formula = starts_formula(text);
    if (!formula && text.find_first_of(";\"\r\n") == std::string_view::npos) return std::string(text);
    std::string cell = formula ? "\"'" : "\"";
    for (char c : text) (cell += c) += c == '"' ? "\"" : "";
    return cell + '"';
}

// A CSV row; the description is given in UTF-8.
inline std::string csv_row(std::string_view line, std::string_view code, std::string_view employer,
                           std::string_view employee, std::string_view field, std::string_view value,
                           std::string_view expected, std::string_view description) {
    std::string row;
    for (std::string_view s : {line, code, employer, employee, field, value, expected})
        (row += csv_cell(s)) += ';';
    return row + cp1250(description);
}

}  // namespace tavon::test
