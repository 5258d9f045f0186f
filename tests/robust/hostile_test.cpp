// Inputs that no sane document has: cut off anywhere, damaged bytes, NUL bytes, names and
// contents of a megabyte, millions of lines, thousands of employers, a huge employer. Every run
// must end normally with a complete report whose totals match its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/robust/report_parser.h"
#include "tests/robust/scratch.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::ParsedReport;
using test::RunResult;
using test::ScratchDir;

std::string valid_example() { return test::read_file(test::repository_root() / "examples/duv-ok.xml"); }

std::map<std::string, int> code_counts(const ParsedReport& r) {
    std::map<std::string, int> m;
    for (const auto& row : r.rows) ++m[row[1]];
    return m;
}

// The document validated into all four report formats: each complete, the same rows in CSV
// and XML (control characters shown as "?" there), totals equal to the rows everywhere.
void check_four_formats(const ScratchDir& dir, const std::string& input, const std::string& description) {
    SCOPED_TRACE(description);
    const RunResult csv = dir.run_belun({input, dir.path("r.csv")});
    ASSERT_EQ(csv.exit_code, 0);
    ASSERT_TRUE(csv.console.ends_with("\nProgram ukoncen normalne\n"));
    const ParsedReport c = test::parse_csv_report(csv.report);
    ASSERT_EQ(c.problem, "");
    EXPECT_EQ(c.errors + c.warnings, static_cast<long>(c.rows.size()));

    const RunResult xml = dir.run_belun({input, dir.path("r.xml")});
    ASSERT_EQ(xml.exit_code, 0);
    const ParsedReport x = test::parse_xml_report(xml.report);
    ASSERT_EQ(x.problem, "");
    EXPECT_EQ(x.errors, c.errors);
    EXPECT_EQ(x.warnings, c.warnings);
    ASSERT_EQ(x.rows.size(), c.rows.size());
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        test::ReportRow expected = c.rows[i];
        for (auto& field : expected)
            for (char& byte : field)
                if (static_cast<unsigned char>(byte) < 0x20 && byte != '\t') byte = '?';
        ASSERT_EQ(x.rows[i], expected) << "row " << i + 1;
    }

    const RunResult txt = dir.run_belun({input, dir.path("r.txt")});
    ASSERT_EQ(txt.exit_code, 0);
    EXPECT_TRUE(test::has_text_footer(txt.report, c.errors, c.warnings));
    const RunResult htm = dir.run_belun({input, dir.path("r.htm")});
    ASSERT_EQ(htm.exit_code, 0);
    EXPECT_TRUE(test::has_html_footer(htm.report, c.errors, c.warnings));
}

TEST(Hostile, EveryPrefixOfAValidDocumentEndsWithACompleteReport) {
    const std::string doc = valid_example();
    ASSERT_GT(doc.size(), 1000u);
    const std::size_t root_end = doc.find("</DUV>") + 6;
    ScratchDir dir;
    const std::string input = dir.path("d.xml"), csv = dir.path("r.csv");
    for (std::size_t n = 0; n <= doc.size(); ++n) {
        dir.write_file(input, std::string_view(doc).substr(0, n));
        const RunResult run = dir.run_belun({input, csv});
        ASSERT_EQ(run.exit_code, 0) << n << " bytes";
        const ParsedReport r = test::parse_csv_report(run.report);
        ASSERT_EQ(r.problem, "") << n << " bytes";
        ASSERT_EQ(r.errors + r.warnings, static_cast<long>(r.rows.size())) << n << " bytes";
        // Until the root's end tag is whole, the document is reported as not being one.
        ASSERT_EQ(code_counts(r).count("ES306"), n < root_end ? 1u : 0u) << n << " bytes";
        if (n == doc.size()) {
            EXPECT_TRUE(r.rows.empty());
        }
    }
}

TEST(Hostile, RandomlyDamagedBytesKeepEveryReportWhole) {
    const std::string doc = valid_example();
    std::mt19937 rng(20060630);
    constexpr std::string_view kHostileBytes("<>/&;\"\0\r\n!-?", 12);
    ScratchDir dir;
    const std::string input = dir.path("d.xml");
    for (int attempt = 0; attempt < 150; ++attempt) {
        std::string damaged = doc;
        const int changes = 1 + static_cast<int>(rng() % 12);
        for (int i = 0; i < changes; ++i) {
            char& byte = damaged[rng() % damaged.size()];
            switch (rng() % 3) {
                case 0: byte = static_cast<char>(rng() % 256); break;
                case 1: byte = static_cast<char>(byte ^ (1 << (rng() % 8))); break;
                default: byte = kHostileBytes[rng() % kHostileBytes.size()]; break;
            }
        }
        dir.write_file(input, damaged);
        check_four_formats(dir, input, "damaged copy " + std::to_string(attempt));
        if (HasFatalFailure()) return;
    }
}

TEST(Hostile, NulBytesEndTextsAndNeverReachTheReport) {
    const std::string head = test::document_head(), tail = test::document_tail();
    auto document_with = [&](std::string_view from, std::string_view to) {
        std::string doc = head;
        doc.replace(doc.find(from), from.size(), to);
        return doc + tail;
    };
    using namespace std::string_literals;
    ScratchDir dir;
    const std::string input = dir.path("d.xml"), csv = dir.path("r.csv");

    // A content ends at its NUL: the year "20" is reported, not its hidden rest.
    dir.write_file(input, document_with("<rok>2006</rok>",
                                        "<rok>20\0"s
                                        "06</rok>"));
    RunResult run = dir.run_belun({input, csv});
    ParsedReport r = test::parse_csv_report(run.report);
    ASSERT_EQ(r.problem, "");
    ASSERT_FALSE(r.rows.empty());
    EXPECT_EQ(r.rows[0][1], "ER209");
    EXPECT_EQ(r.rows[0][5], "20");

    // So does a name: the element "au" is unknown and does not match its closing tag.
    dir.write_file(input, document_with("<autor>", "<au\0tor>"s));
    run = dir.run_belun({input, csv});
    r = test::parse_csv_report(run.report);
    ASSERT_EQ(r.problem, "");
    EXPECT_EQ(code_counts(r)["ES301"], 1);
    EXPECT_EQ(code_counts(r)["ES302"], 1);
    for (const auto& row : r.rows) {
        if (row[1] == "ES301") {
            EXPECT_EQ(row[4], "au");
        }
    }

    // A file of nothing but NUL bytes is no document, reported on its only line.
    dir.write_file(input, std::string(1 << 16, '\0'));
    run = dir.run_belun({input, csv});
    r = test::parse_csv_report(run.report);
    ASSERT_EQ(r.problem, "");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0], "1");
    EXPECT_EQ(r.rows[0][1], "ES306");

    // NUL bytes in tags, between elements and in closing names, in every format.
    dir.write_file(input, document_with("<rok>2006</rok>", "<rok>2006</rok\0>\0\0<x\0y>1\0</x\0y>\0"s));
    check_four_formats(dir, input, "NUL bytes in tags");
    for (const char* name : {"r.csv", "r.xml", "r.txt", "r.htm"}) {
        run = dir.run_belun({input, dir.path(name), dir.path("o.xml")});
        EXPECT_EQ(run.report.find('\0'), std::string::npos) << name;
        EXPECT_EQ(run.copy.find('\0'), std::string::npos) << name;
    }
}

TEST(Hostile, MegabyteNamesContentsAndAttributesKeepTheirFirst300Characters) {
    const std::string head = test::document_head(), tail = test::document_tail();
    const std::size_t megabyte = 1 << 20;
    ScratchDir dir;
    const std::string input = dir.path("d.xml"), csv = dir.path("r.csv");
    auto run_document = [&](const std::string& document) {
        dir.write_file(input, document);
        const RunResult run = dir.run_belun({input, csv});
        EXPECT_EQ(run.exit_code, 0);
        ParsedReport r = test::parse_csv_report(run.report);
        EXPECT_EQ(r.problem, "");
        return r;
    };
    auto with_year = [&](const std::string& year_element) {
        std::string doc = head;
        doc.replace(doc.find("<rok>2006</rok>"), 15, year_element);
        return doc + tail;
    };

    ParsedReport r = run_document(with_year("<rok>" + std::string(megabyte, '7') + "</rok>"));
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0][1], "ER209");
    EXPECT_EQ(r.rows[0][5], std::string(300, '7'));

    r = run_document(head + "<" + std::string(megabyte, 'q') + ">1</" + std::string(megabyte, 'q') + ">\r\n" +
                     tail);
    ASSERT_EQ(code_counts(r)["ES301"], 1);
    for (const auto& row : r.rows) {
        if (row[1] == "ES301") {
            EXPECT_EQ(row[4], std::string(300, 'q'));
        }
    }
    EXPECT_EQ(r.rows.back()[0], "13");  // the lines after the names are still counted

    std::string doc = head;
    doc.replace(doc.find("<DUV "), 5, "<DUV " + std::string(megabyte, 'a') + " ");
    r = run_document(doc + tail);
    ASSERT_FALSE(r.rows.empty());
    EXPECT_EQ(r.rows[0][1], "WS102");
    EXPECT_EQ(r.rows[0][5], std::string(300, 'a'));

    // A megabyte of attributes on a field: the tag's rest is skipped and its content still read.
    r = run_document(with_year("<rok " + std::string(megabyte, 'b') + ">2006</rok>"));
    EXPECT_EQ(code_counts(r), (std::map<std::string, int>{{"ES308", 1}}));

    // A comment of a megabyte among the fields is skipped whole, lines and all.
    r = run_document(head + "<!-- " + std::string(megabyte, 'c') + "\r\n -->\r\n" + tail);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][1], "ES308");
    EXPECT_EQ(r.rows[0][0], "14");
}

TEST(Hostile, LineNumberAfterTenMillionLineBreaksIsShownInFull) {
    ScratchDir dir;
    const std::string input = dir.path("d.xml");
    {
        std::ofstream f(input, std::ios::binary);
        f << test::document_head();  // ten lines
        const std::string line_feeds(1'000'000, '\n');
        for (int i = 0; i < 10; ++i) f << line_feeds;
        f << "<xyz>1</xyz>\r\n" << test::document_tail();
    }
    const RunResult csv = dir.run_belun({input, dir.path("r.csv")});
    const ParsedReport r = test::parse_csv_report(csv.report);
    ASSERT_EQ(r.problem, "");
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0][0], "10000011");
    EXPECT_EQ(r.rows[0][1], "ES301");
    EXPECT_EQ(r.rows[1][0], "10000013");
    EXPECT_EQ(r.rows[1][1], "ES308");

    const RunResult txt = dir.run_belun({input, dir.path("r.txt")});
    EXPECT_NE(txt.report.find("\r\n 10000011  ES301"), std::string::npos);
    EXPECT_TRUE(test::has_text_footer(txt.report, 2, 0));
}

// An eight-digit identification number with a valid check digit.
std::string ico(int base) {
    std::string s = std::to_string(base);
    int sum = 0;
    for (int i = 0; i < 7; ++i) sum += (8 - i) * (s[static_cast<std::size_t>(i)] - '0');
    const int check_digit = (11 - sum % 11) % 10;
    return s + static_cast<char>('0' + check_digit);
}

TEST(Hostile, TenThousandEmployersInOneFile) {
    const std::string doc = valid_example();
    const std::size_t from = doc.find("<zamestnavatel>"), to = doc.find("</DUV>");
    const std::string employer = doc.substr(from, to - from);
    const std::string kIcoElement = "<AA0017>20000006</AA0017>";
    ASSERT_NE(employer.find(kIcoElement), std::string::npos);
    auto with_ico = [&](const std::string& number) {
        std::string text = employer;
        text.replace(text.find(kIcoElement), kIcoElement.size(), "<AA0017>" + number + "</AA0017>");
        return text;
    };
    ScratchDir dir;
    const std::string input = dir.path("d.xml");
    {
        std::ofstream f(input, std::ios::binary);
        f << doc.substr(0, from);
        for (int i = 0; i < 10'000; ++i) f << with_ico(ico(5'100'000 + i));
        f << with_ico(ico(5'100'000));  // the first employer once more, after the table is full
        f << doc.substr(to);
    }
    const RunResult run = dir.run_belun({input, dir.path("r.csv")});
    ASSERT_EQ(run.exit_code, 0);
    const ParsedReport r = test::parse_csv_report(run.report);
    ASSERT_EQ(r.problem, "");
    // Only the register warnings, the full table of identities once, and the repeated employer.
    EXPECT_EQ(code_counts(r), (std::map<std::string, int>{{"WR204", 10'001}, {"WL901", 1}, {"EL074", 1}}));
    EXPECT_EQ(r.errors, 1);
    EXPECT_EQ(r.warnings, 10'002);
    EXPECT_EQ(r.rows.back()[2], ico(5'100'000));
}

TEST(Hostile, EmployerWithHundredThousandEmployees) {
    const std::string doc = valid_example();
    const std::size_t from = doc.find("<zamestnanec>");
    const std::size_t to = doc.find("</zamestnanec>", from) + 14;
    std::string employee;
    for (char byte : doc.substr(from, to - from))
        if (byte != '\r' && byte != '\n') employee.push_back(byte);
    const std::string kIdElement = "<AA0126>1001</AA0126>";
    ASSERT_NE(employee.find(kIdElement), std::string::npos);
    constexpr int kCount = 100'000;
    ScratchDir dir;
    const std::string input = dir.path("d.xml");
    {
        std::ofstream f(input, std::ios::binary);
        f << doc.substr(0, from);
        for (int i = 0; i < kCount; ++i) {
            std::string record = employee;
            // The last record is the first person again, born a year later.
            const int id = i + 1 == kCount ? 1'000'000 : 1'000'000 + i;
            record.replace(record.find(kIdElement), kIdElement.size(),
                           "<AA0126>" + std::to_string(id) + "</AA0126>");
            if (i + 1 == kCount) record.replace(record.find("<AA0231>1970"), 12, "<AA0231>1971");
            f << record << "\r\n";
        }
        f << doc.substr(doc.find("</zamestnavatel>"));
    }
    const RunResult run = dir.run_belun({input, dir.path("r.csv")});
    ASSERT_EQ(run.exit_code, 0);
    const ParsedReport r = test::parse_csv_report(run.report);
    ASSERT_EQ(r.problem, "");
    std::map<std::string, test::ReportRow> by_code;
    for (const auto& row : r.rows) by_code[row[1]] = row;
    // The first and the last record are compared although 99,998 lie between them.
    ASSERT_EQ(by_code.count("EL003"), 1u);
    const long first_line = 1 + std::count(doc.begin(), doc.begin() + static_cast<long>(from), '\n');
    EXPECT_EQ(by_code["EL003"][0],
              std::to_string(first_line) + "," + std::to_string(first_line + kCount - 1));
    EXPECT_EQ(by_code["EL003"][3], "1000000");
    EXPECT_EQ(by_code["EL003"][5], "1970");
    EXPECT_EQ(by_code["EL003"][6], "1971");
    // Every record counts in the employer's sums: 100,000 full-time records, 99,999 persons.
    ASSERT_EQ(by_code.count("EL020"), 1u);
    EXPECT_EQ(by_code["EL020"][6], "100000.0000");
    ASSERT_EQ(by_code.count("EL021"), 1u);
    EXPECT_EQ(by_code["EL021"][6], "     99999");
    ASSERT_EQ(by_code.count("EL022"), 1u);
    EXPECT_EQ(by_code["EL022"][6], std::to_string(64960LL * kCount));
}

TEST(Hostile, SavedFuzzFindingsEndNormally) {
    const auto fuzz_dir = test::repository_root() / "tests/data/fuzz-regressions";
    ASSERT_TRUE(std::filesystem::is_directory(fuzz_dir));
    ScratchDir dir;
    const std::string input = dir.path("d.xml");
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(fuzz_dir)) {
        if (!e.is_regular_file()) continue;
        dir.write_file(input, test::read_file(e.path()));
        check_four_formats(dir, input, e.path().filename().string());
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace tavon
