// Documents for the rule tests: records built from the valid example's values with single
// fields changed, the line of every field kept, and the CSV report read back as rows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/run_belun.h"

namespace tavon::test {

// The fields of one record in document order: name and content.
using Pole = std::vector<std::pair<std::string, std::string>>;

// An employee of the valid example (examples/duv-ok.xml): occupation 01011, full time the whole
// period, tariff of scale 1, class 5, grade 3; every rule of the employee and of a single record is
// satisfied.
inline Pole zamestnanec(std::string_view id = "1001") {
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

// An employer whose totals fit `pocet` employees of the example (salary 64960 each).
inline Pole zamestnavatel(long long pocet = 1) {
    const std::string n = std::to_string(pocet);
    return {{"AA0017", "20000006"},
            {"AA0113", ""},
            {"AA0019", "325"},
            {"AA0179", "CZ0101"},
            {"AA0110", "20060630"},
            {"AA0116", n},
            {"AA0123", std::to_string(pocet * 130000)},
            {"AA0114", n},
            {"AA0115", n},
            {"AA0118", std::to_string(pocet * 64960)},
            {"AA0119", "0"}};
}

// `p` with the contents of some fields replaced (every occurrence of each).
inline Pole s(Pole p, std::initializer_list<std::pair<std::string_view, std::string_view>> zmeny) {
    for (const auto& [jmeno, obsah] : zmeny) {
        bool nalezeno = false;
        for (auto& [j, o] : p) {
            if (j == jmeno) {
                o = obsah;
                nalezeno = true;
            }
        }
        if (!nalezeno) ADD_FAILURE() << "no field " << jmeno;
    }
    return p;
}

// `p` without a field.
inline Pole bez(Pole p, std::string_view jmeno) {
    std::erase_if(p, [&](const auto& f) { return f.first == jmeno; });
    return p;
}

// `p` with a field given a second time right after the first.
inline Pole dvakrat(Pole p, std::string_view jmeno, std::string_view druhy) {
    auto it = std::find_if(p.begin(), p.end(), [&](const auto& f) { return f.first == jmeno; });
    if (it == p.end()) {
        ADD_FAILURE() << "no field " << jmeno;
        return p;
    }
    p.insert(it + 1, {std::string(jmeno), std::string(druhy)});
    return p;
}

// A document being written, CR LF, remembering the line of every field.
class Doklad {
  public:
    // The submitter block on one line when `kratka`, so that the first records can stand on low lines.
    explicit Doklad(bool kratka = false) {
        std::string h = document_head();
        if (kratka) {
            std::erase(h, '\r');
            std::erase(h, '\n');
            h += "\r\n";
        }
        for (char c : h)
            if (c == '\n') ++radek_;
        t_ += h;
    }

    // Opens an employer with its fields.
    Doklad& zamestnavatel(const Pole& p = test::zamestnavatel(), bool jeden_radek = false) {
        tel_.emplace_back();
        zaznam("zamestnavatel", p, jeden_radek, tel_.back(), false);
        return *this;
    }
    Doklad& konec_zamestnavatele() {
        radek("</zamestnavatel>");
        konec_tel_.push_back(radek_ - 1);
        return *this;
    }
    Doklad& zamestnanec(const Pole& p = test::zamestnanec(), bool jeden_radek = false) {
        nec_.emplace_back();
        zaznam("zamestnanec", p, jeden_radek, nec_.back(), true);
        return *this;
    }
    // Empty lines until the next record starts on line `n`.
    Doklad& na_radek(long long n) {
        while (radek_ < n) radek("");
        return *this;
    }

    std::string text() const { return t_ + document_tail(); }

    // Line of the last occurrence of a field of the i-th employee (of the document), as report text.
    std::string r(std::size_t i, const std::string& pole) const {
        return std::to_string(nec_.at(i).at(pole));
    }
    // Line of the end tag of the i-th employee.
    std::string konec(std::size_t i) const { return std::to_string(nec_.at(i).at("/")); }
    // Line of a field of the i-th employer and of its end tag.
    std::string r_tel(std::size_t i, const std::string& pole) const {
        return std::to_string(tel_.at(i).at(pole));
    }
    std::string konec_tel(std::size_t i) const { return std::to_string(konec_tel_.at(i)); }

  private:
    void radek(std::string_view s) {
        t_ += s;
        t_ += "\r\n";
        ++radek_;
    }
    void zaznam(std::string_view jmeno, const Pole& p, bool jeden_radek,
                std::map<std::string, long long>& radky, bool s_koncem) {
        std::string r = "<" + std::string(jmeno) + ">";
        if (!jeden_radek) {
            radek(r);
            r.clear();
        }
        for (const auto& [j, o] : p) {
            radky[j] = radek_;
            r += "<" + j + ">" + o + "</" + j + ">";
            if (!jeden_radek) {
                radek(r);
                r.clear();
            }
        }
        if (s_koncem) {
            r += "</" + std::string(jmeno) + ">";
            radky["/"] = radek_;
        }
        if (!r.empty()) radek(r);
    }

    std::string t_;
    long long radek_ = 1;  // line that the next text starts on
    std::vector<std::map<std::string, long long>> nec_, tel_;
    std::vector<long long> konec_tel_;
};

// The fields of one CSV report row (quoted fields unquoted).
inline std::vector<std::string> pole_csv(std::string_view radek) {
    std::vector<std::string> pole(1);
    bool uvozovky = false;
    for (std::size_t i = 0; i < radek.size(); ++i) {
        const char c = radek[i];
        if (uvozovky) {
            if (c == '"' && i + 1 < radek.size() && radek[i + 1] == '"') {
                pole.back() += '"';
                ++i;
            } else if (c == '"') {
                uvozovky = false;
            } else {
                pole.back() += c;
            }
        } else if (c == '"' && pole.back().empty()) {
            uvozovky = true;
        } else if (c == ';') {
            pole.emplace_back();
        } else {
            pole.back() += c;
        }
    }
    return pole;
}

// A report row as compared in the tests: line, code, employer, employee, element, value and
// expected text, joined by "|".
inline std::string R(std::string_view radek, std::string_view kod, std::string_view zam, std::string_view nec,
                     std::string_view prvek, std::string_view hodnota, std::string_view ocekavano) {
    std::string r(radek);
    for (std::string_view p : {kod, zam, nec, prvek, hodnota, ocekavano}) {
        r += '|';
        r += p;
    }
    return r;
}

// Validates the document with a CSV report; the rows whose code is one of `kody` (all rows
// when `kody` is empty), each as R() writes it.
inline std::vector<std::string> radky(const Doklad& d, std::vector<std::string_view> kody = {}) {
    RunResult b = run_belun({{"duv.xml", d.text()}}, {"duv.xml", "duve.csv"});
    EXPECT_EQ(b.exit_code, 0);
    std::vector<std::string> vysledek;
    for (const std::string& radek : csv_rows(b.report)) {
        std::vector<std::string> p = pole_csv(radek);
        EXPECT_EQ(p.size(), 8u) << radek;
        p.resize(8);
        if (!kody.empty() && std::find(kody.begin(), kody.end(), p[1]) == kody.end()) continue;
        vysledek.push_back(R(p[0], p[1], p[2], p[3], p[4], p[5], p[6]));
    }
    return vysledek;
}

}  // namespace tavon::test
