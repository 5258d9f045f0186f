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

using test::Pokus;
using test::RunResult;

const std::string kBanner = "\nProgram  TAVON_v0.9  kontola dat pro DUV\n";

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
std::string maly() { return test::precti_soubor(test::koren() / "examples/duv-ok.xml"); }
std::string velky() {
    std::string d = test::document_head();
    for (int i = 0; i < 2000; ++i)
        d += "<neznamy" + std::to_string(i) + ">1</neznamy" + std::to_string(i) + ">\r\n";
    return d + test::document_tail();
}

TEST(Zapis, FullDiskUnderTheReport) {
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    for (const std::string& dokument : {maly(), velky()}) {
        p.zapis(vstup, dokument);
        const RunResult beh = p.run_belun({vstup, "/dev/full"});
        EXPECT_EQ(beh.exit_code, 13);
        check_console(beh.console, "/dev/full", "Protokol");
        // Every format, through a link: the format follows the link's name.
        for (const char* jmeno : {"r.csv", "r.xml", "r.txt", "r.htm"}) {
            const std::string odkaz = p.cesta(jmeno);
            std::filesystem::create_symlink("/dev/full", odkaz);
            const RunResult b = p.run_belun({vstup, odkaz, "-w"});
            EXPECT_EQ(b.exit_code, 13) << jmeno;
            check_console(b.console, odkaz, "Protokol");
            std::filesystem::remove(odkaz);
        }
    }
}

TEST(Zapis, FullDiskUnderTheOutputFile) {
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    for (const std::string& dokument : {maly(), velky()}) {
        p.zapis(vstup, dokument);
        const RunResult beh = p.run_belun({vstup, p.cesta("r.csv"), "/dev/full"});
        EXPECT_EQ(beh.exit_code, 13);
        check_console(beh.console, "/dev/full", "Výstupní soubor");
        // The report itself was written whole.
        const test::Rozbor r = test::rozeber_csv(beh.report);
        EXPECT_EQ(r.vada, "");
    }
}

TEST(Zapis, NothingFailsWithoutAFullDisk) {
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    p.zapis(vstup, velky());
    const RunResult beh = p.run_belun({vstup, p.cesta("r.csv"), p.cesta("o.xml")});
    EXPECT_EQ(beh.exit_code, 0);
    EXPECT_TRUE(test::konci(beh.console, "\nProgram ukoncen normalne\n"));
    EXPECT_GT(beh.report.size(), std::size_t{1} << 16);
    EXPECT_TRUE(test::konci(beh.copy, "</DUV>\r\n"));
}

}  // namespace
}  // namespace tavon
