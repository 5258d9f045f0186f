// Small documents for the field-check tests: the valid submitter block, an employer with
// chosen field values, one employee, and the CSV report's rows to compare with.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/run_belun.h"

namespace tavon::test {

inline std::string nahrad(std::string text, std::string_view co, std::string_view cim) {
    auto p = text.find(co);
    EXPECT_NE(p, std::string::npos) << co;
    if (p != std::string::npos) text.replace(p, co.size(), cim);
    return text;
}

// Lines 1-10: prolog, root and the submitter fields (ICOpredkladatele on line 5); line 11 starts
// what follows.
inline std::string hlavicka(std::string_view co = "", std::string_view cim = "") {
    return co.empty() ? document_head() : nahrad(document_head(), co, cim);
}

inline const std::pair<std::string, std::string> kZamestnavatel[] = {
    {"AA0017", "20000006"}, {"AA0113", ""},       {"AA0019", "301"},    {"AA0179", "CZ0101"},
    {"AA0110", "20060630"}, {"AA0116", "10"},     {"AA0123", "800000"}, {"AA0114", "10"},
    {"AA0115", "10"},       {"AA0118", "400000"}, {"AA0119", "0"},
};

// An employer on lines 11-23 (its fields on lines 12-22) when it follows the submitter block.
inline std::string zamestnavatel(const std::map<std::string, std::string>& zmeny = {},
                                 const std::string& zamestnanci = "") {
    std::string s = "<zamestnavatel>\r\n";
    for (const auto& [jmeno, hodnota] : kZamestnavatel) {
        auto z = zmeny.find(jmeno);
        s += "<" + jmeno + ">" + (z == zmeny.end() ? hodnota : z->second) + "</" + jmeno + ">\r\n";
    }
    return s + zamestnanci + "</zamestnavatel>\r\n";
}

// A valid employer with one employee: AA0126 "A1" on line 24, `pole` from line 25 on.
inline std::string se_zamestnancem(const std::string& pole) {
    return hlavicka() +
           zamestnavatel({}, "<zamestnanec>\r\n<AA0126>A1</AA0126>\r\n" + pole + "</zamestnanec>\r\n") +
           document_tail();
}

// The rows of the CSV report of a document.
inline std::vector<std::string> radky(const std::string& doc) {
    return csv_rows(run_belun({{"in.xml", doc}}, {"in.xml", "r.csv"}).report);
}

inline std::vector<std::string> s_kodem(const std::vector<std::string>& vse, std::string_view kod) {
    std::vector<std::string> vyber;
    for (const auto& r : vse) {
        auto s = r.find(';');
        if (s != std::string::npos && r.compare(s + 1, kod.size() + 1, std::string(kod) + ";") == 0)
            vyber.push_back(r);
    }
    return vyber;
}

// A CSV row; the description is given in UTF-8.
inline std::string radek(std::string_view line, std::string_view kod, std::string_view tel,
                         std::string_view nec, std::string_view prvek, std::string_view hodnota,
                         std::string_view cek, std::string_view popis) {
    std::string r;
    for (std::string_view s : {line, kod, tel, nec, prvek, hodnota, cek}) (r += s) += ';';
    return r + cp1250(popis);
}

}  // namespace tavon::test
