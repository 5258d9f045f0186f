// A report or output file that cannot be written (a full disk) is no normal end: the run says so
// and ends with exit code 13, whether the failure shows while writing or only at the close.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/robust/report_parser.h"
#include "tests/robust/scratch.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::ScratchDir;
using test::RunResult;

const std::string kBanner =
    "\nProgram  TAVON_v0.9  kontola dat pro DUV\n" +
    test::cp1250("Data: vestavěná vzorová data, jen na zkoušku (skutečné dodávky kontrolujte s daty kampaně)\n");

// The message, and the line that says which file it is and why.
std::string message(const std::string& name, const std::string& role) {
    return " Nelze zapsat do souboru  " + name + "\n Program ukoncen\n " +
           test::cp1250(role + ": disk je plný.\n");
}

// The whole console of a run whose report or copy cannot be written: the banner and the message
// (no progress line: the console is no terminal here).
void check_console(const std::string& console, const std::string& name, const std::string& role) {
    EXPECT_EQ(console, kBanner + message(name, role));
}

// The valid example, and one with a few hundred findings: its report outgrows the writer's
// buffer, so the failure shows while the rows are written.
std::string small_document() { return test::read_file(test::repository_root() / "examples/duv-ok.xml"); }
std::string large_document() {
    std::string d = test::document_head();
    for (int i = 0; i < 2000; ++i)
        d += "<neznamy" + std::to_string(i) + ">1</neznamy" + std::to_string(i) + ">\r\n";
    return d + test::document_tail();
}

TEST(WriteFailure, FullDiskUnderTheReport) {
    ScratchDir p;
    const std::string input = p.path("d.xml");
    for (const std::string& document : {small_document(), large_document()}) {
        p.write_file(input, document);
        const RunResult run = p.run_belun({input, "/dev/full"});
        EXPECT_EQ(run.exit_code, 13);
        check_console(run.console, "/dev/full", "Protokol");
        // Every format, through a link: the format follows the link's name.
        for (const char* name : {"r.csv", "r.xml", "r.txt", "r.htm"}) {
            const std::string link = p.path(name);
            std::filesystem::create_symlink("/dev/full", link);
            const RunResult b = p.run_belun({input, link, "-w"});
            EXPECT_EQ(b.exit_code, 13) << name;
            check_console(b.console, link, "Protokol");
            std::filesystem::remove(link);
        }
    }
}

TEST(WriteFailure, FullDiskUnderTheOutputFile) {
    ScratchDir p;
    const std::string input = p.path("d.xml");
    for (const std::string& document : {small_document(), large_document()}) {
        p.write_file(input, document);
        const RunResult run = p.run_belun({input, p.path("r.csv"), "/dev/full"});
        EXPECT_EQ(run.exit_code, 13);
        check_console(run.console, "/dev/full", "Výstupní soubor");
        // The report itself was written whole.
        EXPECT_EQ(test::parse_csv_report(run.report).problem, "");
    }
}

TEST(WriteFailure, NothingFailsWithoutAFullDisk) {
    ScratchDir p;
    const std::string input = p.path("d.xml");
    p.write_file(input, large_document());
    const RunResult run = p.run_belun({input, p.path("r.csv"), p.path("o.xml")});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.console.ends_with("\nProgram ukoncen normalne\n"));
    EXPECT_GT(run.report.size(), std::size_t{1} << 16);
    EXPECT_TRUE(run.copy.ends_with("</DUV>\r\n"));
}

}  // namespace
}  // namespace tavon
