// A check fed in pieces finds exactly what it finds in the whole document, however the bytes are
// split: every report byte for byte, for every split.
#include "tavon/check.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tavon/report.h"
#include "tests/robust/scratch.h"

namespace tavon {
namespace {

namespace fs = std::filesystem;

// The documents of a list, fed with next_document() between them, each cut at `cuts`.
std::string report_of(const std::vector<std::string>& documents, ReportFormat format,
                      const std::vector<std::vector<std::size_t>>& cuts) {
    StringOutput out;
    {
        Report report(format, out, {"d.xml", "", 0});
        Check check(report);
        for (std::size_t d = 0; d < documents.size(); ++d) {
            if (d > 0) check.next_document();
            std::size_t from = 0;
            for (std::size_t cut : cuts[d]) {
                check.feed(documents[d].data() + from, cut - from);
                from = cut;
            }
            check.feed(documents[d].data() + from, documents[d].size() - from);
        }
        EXPECT_TRUE(report.finish(check.finish()));
    }
    return out.bytes;
}

std::vector<std::string> test_documents() {
    std::vector<std::string> documents;
    for (const auto& c : fs::directory_iterator(TAVON_E2E_DIR))
        for (const auto& f : fs::directory_iterator(c.path()))
            if (f.path().extension() == ".xml") documents.push_back(test::read_file(f.path()));
    documents.push_back(test::read_file(test::repository_root() / "examples/duv-chyby.xml"));
    return documents;
}

TEST(Check, RandomSplitsFindWhatTheWholeFinds) {
    std::mt19937 random(2006);
    for (const std::string& document : test_documents()) {
        const std::string whole = report_of({document}, ReportFormat::Csv, {{}});
        for (int round = 0; round < 4; ++round) {
            // Pieces of one byte to a few hundred, and now and then an empty one.
            std::vector<std::size_t> cuts;
            std::uniform_int_distribution<std::size_t> piece(0, round == 0 ? 2 : 400);
            for (std::size_t at = piece(random); at < document.size(); at += piece(random))
                cuts.push_back(at);
            ASSERT_EQ(report_of({document}, ReportFormat::Csv, {cuts}), whole) << document.substr(0, 200);
        }
    }
}

// The rows of a CSV report but those that judge each file of a list on its own (its encoding, what
// follows its root's end).
std::vector<std::string> rows_but_per_file(const std::string& csv) {
    std::vector<std::string> rows;
    for (std::size_t at = csv.find("\r\n") + 2, end; (end = csv.find("\r\n", at)) != at; at = end + 2) {
        const std::string row = csv.substr(at, end - at);
        if (row.find(";ES310;") == std::string::npos && row.find(";ES313;") == std::string::npos)
            rows.push_back(row);
    }
    return rows;
}

TEST(Check, ADocumentSplitOverSeveralFilesIsReadAsOneText) {
    const std::string doc = test::read_file(test::repository_root() / "examples/duv-chyby.xml");
    const auto whole = rows_but_per_file(report_of({doc}, ReportFormat::Csv, {{}}));
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> at(0, doc.size());
    for (int round = 0; round < 20; ++round) {
        std::size_t a = at(random), b = at(random);
        if (a > b) std::swap(a, b);
        const std::vector<std::string> files = {doc.substr(0, a), doc.substr(a, b - a), doc.substr(b)};
        EXPECT_EQ(rows_but_per_file(report_of(files, ReportFormat::Csv, {{a / 2}, {}, {1}})), whole)
            << a << " " << b;
    }
}

// The JSON report of a check given up halfway (finished with the totals so far) says that the input
// was not read to its end, that of the whole says it was; both read by Python's json and Node's
// JSON.parse and valid against the schema.
TEST(Check, JsonReportSaysWhetherTheInputWasReadToItsEnd) {
    const std::string doc = test::read_file(test::repository_root() / "examples/duv-chyby.xml");
    test::ScratchDir dir;
    std::string files;
    for (const bool whole : {false, true}) {
        StringOutput out;
        Report report(ReportFormat::Json, out, {"duv-chyby.xml", "", 0});
        Check check(report);
        check.feed(doc.data(), whole ? doc.size() : doc.size() / 2);
        ASSERT_TRUE(report.finish(whole ? check.finish() : check.totals()));
        EXPECT_TRUE(
            out.bytes.ends_with(whole ? ",\"read_to_end\":true}\r\n" : ",\"read_to_end\":false}\r\n"));
        const std::string name = dir.path(whole ? "whole.json" : "half.json");
        dir.write_file(name, out.bytes);
        files += " '" + name + "'";
    }
    if (std::string_view(TAVON_PYTHON3).empty()) GTEST_SKIP() << "no python3";
    const std::string command = std::string(TAVON_PYTHON3) + " '" +
                                (test::repository_root() / "tests/report/json_reports.py").string() +
                                "' check '" + (test::repository_root() / "docs/report.schema.json").string() +
                                "'" + files;
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no Node.js or python3-jsonschema";
    EXPECT_EQ(WEXITSTATUS(status), 0) << command;
}

}  // namespace
}  // namespace tavon
