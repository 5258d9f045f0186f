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

std::string zprava(const std::string& jmeno) {
    return " Nelze zapsat do souboru  " + jmeno + "\n Program ukoncen\n";
}

// The console up to the message: the banner and the progress lines, which end in "\r".
void over_konzoli(const std::string& konzole, const std::string& jmeno) {
    ASSERT_EQ(konzole.rfind(kBanner, 0), 0u) << konzole;
    ASSERT_TRUE(test::konci(konzole, zprava(jmeno))) << konzole;
    const std::string mezi =
        konzole.substr(kBanner.size(), konzole.size() - kBanner.size() - zprava(jmeno).size());
    EXPECT_TRUE(mezi.empty() || (mezi.rfind(" Radek", 0) == 0 && mezi.back() == '\r')) << mezi;
    EXPECT_EQ(konzole.find("Celkem chyb"), std::string::npos);
    EXPECT_EQ(konzole.find("normalne"), std::string::npos);
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
        over_konzoli(beh.console, "/dev/full");
        // Every format, through a link: the format follows the link's name.
        for (const char* jmeno : {"r.csv", "r.xml", "r.txt", "r.htm"}) {
            const std::string odkaz = p.cesta(jmeno);
            std::filesystem::create_symlink("/dev/full", odkaz);
            const RunResult b = p.run_belun({vstup, odkaz, "-w"});
            EXPECT_EQ(b.exit_code, 13) << jmeno;
            over_konzoli(b.console, odkaz);
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
        over_konzoli(beh.console, "/dev/full");
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
