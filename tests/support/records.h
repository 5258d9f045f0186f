// Documents for the rule tests: records built from the valid example's values with single
// fields changed, the line of every field kept, checked in memory and the CSV report read back as
// rows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tavon/check.h"
#include "tavon/report.h"
#include "tests/support/documents.h"
#include "tests/support/run_belun.h"

namespace tavon::test {

// The fields of one record in document order: name and content.
using Fields = std::vector<std::pair<std::string, std::string>>;

// An employee of the valid example (examples/duv-ok.xml): occupation 01011, full time the whole
// period, tariff of scale 1, class 5, grade 3; every rule of the employee and of a single record is
// satisfied.
inline Fields example_employee(std::string_view id = "1001") {
    return {{"AA0126", std::string(id)},
            {"AA0231", "1970"},
            {"AA0211", "1"},
            {"AA0223", "K"},
            {"AA0033", "CZ"},
            {"AA0013", "01011"},
            {"AA0125", "2"},
            {"AA0130", "1"},
            {"AA0131", "40"},
            {"AA0225", "10"},
            {"AA0216", "5"},
            {"AA0132", "900"},
            {"AA0133", "20"},
            {"AA0134", "120"},
            {"AA0135", "80"},
            {"AA0136", "1"},
            {"AA0137", "1"},
            {"AA0127", "5"},
            {"AA0128", "3"},
            {"AA0129", "1"},
            {"AA0138", "7660"},
            {"AA0139", "2000"},
            {"AA0140", "0"},
            {"AA0141", "0"},
            {"AA0142", "0"},
            {"AA0143", "0"},
            {"AA0144", "64960"},
            {"AA0145", "45960"},
            {"AA0146", "12000"},
            {"AA0147", "0"},
            {"AA0148", "0"},
            {"AA0160", "0"},
            {"AA0162", "0"},
            {"AA0150", "3000"},
            {"AA0239", "0"},
            {"AA0240", "0"},
            {"AA0151", "3000"},
            {"AA0152", "0"},
            {"AA0153", "0"},
            {"AA0154", "0"},
            {"AA0155", "0"},
            {"AA0156", "0"},
            {"AA0157", "0"},
            {"AA0163", "0"},
            {"AA0161", "0"},
            {"AA0237", "0"},
            {"AA0238", "0"},
            {"AA0158", "4000"},
            {"AA0159", "3000"},
            {"AA0165", "63.69"},
            {"AA0166", "0"},
            {"AA0167", "2923"},
            {"AA0168", "8120"},
            {"AA0091", "1111"},
            {"AA0210", "5"},
            {"AA0218", "181"},
            {"AA0219", "20"},
            {"AA0690", "CZ0101"}};
}

// An employer whose totals fit `count` employees of the example (salary 64960 each).
inline Fields example_employer(long long count = 1) {
    const std::string n = std::to_string(count);
    return {{"AA0017", "20000006"},
            {"AA0113", ""},
            {"AA0019", "325"},
            {"AA0179", "CZ0101"},
            {"AA0110", "20060630"},
            {"AA0116", n},
            {"AA0123", std::to_string(count * 130000)},
            {"AA0114", n},
            {"AA0115", n},
            {"AA0118", std::to_string(count * 64960)},
            {"AA0119", "0"}};
}

// `fields` with the contents of some fields replaced (every occurrence of each).
inline Fields with(Fields fields,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
    for (const auto& [name, content] : changes) {
        bool found = false;
        for (auto& [field_name, field_content] : fields) {
            if (field_name == name) {
                field_content = content;
                found = true;
            }
        }
        if (!found) ADD_FAILURE() << "no field " << name;
    }
    return fields;
}

// `fields` without a field.
inline Fields without(Fields fields, std::string_view name) {
    std::erase_if(fields, [&](const auto& f) { return f.first == name; });
    return fields;
}

// `fields` with a field given a second time, with the content `second`, right after the first.
inline Fields twice(Fields fields, std::string_view name, std::string_view second) {
    auto it = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == name; });
    if (it == fields.end()) {
        ADD_FAILURE() << "no field " << name;
        return fields;
    }
    fields.insert(it + 1, {std::string(name), std::string(second)});
    return fields;
}

// A document being written, CR LF, remembering the line of every field.
class DocumentBuilder {
  public:
    // The submitter block on one line when `one_line_head`, so that the first records can stand on
    // low lines.
    explicit DocumentBuilder(bool one_line_head = false) {
        std::string head = document_head();
        if (one_line_head) {
            std::erase(head, '\r');
            std::erase(head, '\n');
            head += "\r\n";
        }
        for (char c : head)
            if (c == '\n') ++next_line_;
        text_ += head;
    }

    // Opens an employer with its fields (all on one line when `one_line`).
    DocumentBuilder& employer(const Fields& fields = example_employer(), bool one_line = false) {
        employer_lines_.emplace_back();
        add_record("zamestnavatel", fields, one_line, employer_lines_.back(), false);
        return *this;
    }
    DocumentBuilder& end_employer() {
        add_line("</zamestnavatel>");
        employer_end_lines_.push_back(next_line_ - 1);
        return *this;
    }
    // An employee with its fields and its end tag (all on one line when `one_line`).
    DocumentBuilder& employee(const Fields& fields = example_employee(), bool one_line = false) {
        employee_lines_.emplace_back();
        add_record("zamestnanec", fields, one_line, employee_lines_.back(), true);
        return *this;
    }
    // Empty lines until the next record starts on line `n`.
    DocumentBuilder& skip_to_line(long long n) {
        while (next_line_ < n) add_line("");
        return *this;
    }

    std::string text() const { return text_ + document_tail(); }

    // Line of the last occurrence of a field of the i-th employee (of the document), as report text.
    std::string employee_line(std::size_t i, const std::string& field) const {
        return std::to_string(employee_lines_.at(i).at(field));
    }
    // Line of the end tag of the i-th employee.
    std::string employee_end_line(std::size_t i) const {
        return std::to_string(employee_lines_.at(i).at("/"));
    }
    // Line of a field of the i-th employer and of its end tag.
    std::string employer_line(std::size_t i, const std::string& field) const {
        return std::to_string(employer_lines_.at(i).at(field));
    }
    std::string employer_end_line(std::size_t i) const { return std::to_string(employer_end_lines_.at(i)); }

  private:
    void add_line(std::string_view s) {
        text_ += s;
        text_ += "\r\n";
        ++next_line_;
    }
    // The record element `element` with its fields; `lines` gets the line of every field (and, with
    // `with_end`, of the end tag under the key "/").
    void add_record(std::string_view element, const Fields& fields, bool one_line,
                    std::map<std::string, long long>& lines, bool with_end) {
        std::string line = "<" + std::string(element) + ">";
        if (!one_line) {
            add_line(line);
            line.clear();
        }
        for (const auto& [name, content] : fields) {
            lines[name] = next_line_;
            line += "<" + name + ">" + content + "</" + name + ">";
            if (!one_line) {
                add_line(line);
                line.clear();
            }
        }
        if (with_end) {
            line += "</" + std::string(element) + ">";
            lines["/"] = next_line_;
        }
        if (!line.empty()) add_line(line);
    }

    std::string text_;
    long long next_line_ = 1;  // line that the next text starts on
    std::vector<std::map<std::string, long long>> employee_lines_, employer_lines_;
    std::vector<long long> employer_end_lines_;
};

// The fields of one CSV report row (quoted fields unquoted).
inline std::vector<std::string> csv_fields(std::string_view row) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const char c = row[i];
        if (quoted) {
            if (c == '"' && i + 1 < row.size() && row[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"' && fields.back().empty()) {
            quoted = true;
        } else if (c == ';') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// A report row as compared in the tests: line, code, employer, employee, field, value and
// expected text, joined by "|".
inline std::string row(std::string_view line, std::string_view code, std::string_view employer,
                       std::string_view employee, std::string_view field, std::string_view value,
                       std::string_view expected) {
    std::string r(line);
    for (std::string_view column : {code, employer, employee, field, value, expected}) {
        r += '|';
        r += column;
    }
    return r;
}

// Validates the document with a CSV report; the rows whose code is one of `codes` (all rows
// when `codes` is empty), each as row() writes it.
inline std::vector<std::string> report_rows(const DocumentBuilder& document,
                                            std::vector<std::string_view> codes = {}) {
    const std::string text = document.text();
    StringOutput report_bytes;
    {
        Report report(ReportFormat::Csv, report_bytes, {"duv.xml"});
        EXPECT_TRUE(report.finish(check_bytes(text, report)));
    }
    std::vector<std::string> rows;
    for (const std::string& line : csv_rows(report_bytes.bytes)) {
        std::vector<std::string> f = csv_fields(line);
        EXPECT_EQ(f.size(), 8u) << line;
        f.resize(8);
        if (!codes.empty() && std::find(codes.begin(), codes.end(), f[1]) == codes.end()) continue;
        // A cell quoted as no formula: the apostrophe is the report's, not the value's.
        for (std::string& cell : f)
            if (cell.size() > 1 && cell[0] == '\'' && starts_formula(std::string_view(cell).substr(1)))
                cell.erase(0, 1);
        rows.push_back(row(f[0], f[1], f[2], f[3], f[4], f[5], f[6]));
    }
    return rows;
}

}  // namespace tavon::test
