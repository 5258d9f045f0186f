// A data folder given with -d: every kind of broken file is refused with the file, the line and the
// reason before any file is written, and the report names the data set in use.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::cp1250;

std::string valid_document() { return test::document_head() + test::document_tail(); }

TEST(DataFolder, BrokenFilesAreRefusedBeforeAnythingIsWritten) {
    const std::string scale = "5120,5330,5540,5750,5980,6210,6460,6700,6980,7250,7530,7830\n";
    std::string scale16;
    for (int c = 0; c < 16; ++c) scale16 += scale;
    const struct {
        const char* file;
        std::string content;
        const char* message;  // after " Nelze použít data  d/"
    } cases[] = {
        {"kzam.txt", "01010\n0101\n", "kzam.txt, řádek 2: kód nemá délku 5 znaků („0101“)"},
        {"nuts.txt", "# NUTS\nCZ0101\nCZ-101\n",
         "nuts.txt, řádek 3: kód obsahuje nepovolené znaky („CZ-101“)"},
        {"staty.txt", "CZ\nCZE\n",
         "staty.txt, řádek 2: seznam je příliš krátký (položek: 2, potřeba nejméně 6)"},
        {"predkladatele.txt", "10000003\n1000000A\n",
         "predkladatele.txt, řádek 2: není to IČO (jen číslice) („1000000A“)"},
        {"predkladatele.txt", "123456789\n",
         "predkladatele.txt, řádek 1: IČO má víc než 8 číslic („123456789“)"},
        {"poskytovatele.txt", "20000006\n",
         "poskytovatele.txt, řádek 1: u poskytovatele chybí IČO jeho předkladatele („20000006“)"},
        {"scale2.csv", scale16.substr(0, scale16.size() - scale.size()),
         "scale2.csv, řádek 15: stupnice nemá 16 řádků (platových tříd), ale 15"},
        {"scale3.csv", "5120,5330\n" + scale16,
         "scale3.csv, řádek 1: řádek nemá 12 tarifů (platových stupňů) oddělených čárkou („5120,5330“)"},
        {"scale5.csv", "5120,5330,5540,5750,5980,6210,6460,6700,6980,7250,7530,7530\n" + scale16,
         "scale5.csv, řádek 1: tarif neroste s platovým stupněm („7530“)"},
        {"scale1.csv", "5120,5330,5540,5750,5980,6210,6460,6700,6980,7250,7530,78x0\n",
         "scale1.csv, řádek 1: tarif není celé číslo korun („78x0“)"},
    };
    for (const auto& c : cases) {
        const auto run =
            test::run_belun({{"a.xml", valid_document()}, {std::string("d/") + c.file, c.content}},
                            {"a.xml", "r.csv", "o.xml", "-d", "d"});
        EXPECT_EQ(run.exit_code, 13) << c.file;
        EXPECT_EQ(run.console,
                  "\nProgram  TAVON_v0.9  kontola dat pro DUV\n" +
                      cp1250(std::string(" Nelze použít data  d/") + c.message + "\n Program ukoncen\n"))
            << c.file;
        EXPECT_TRUE(run.report.empty() && run.copy.empty()) << c.file;
    }
    // A folder that does not exist.
    const auto missing = test::run_belun({{"a.xml", valid_document()}}, {"-d", "nic", "a.xml", "r.csv"});
    EXPECT_EQ(missing.exit_code, 13);
    EXPECT_NE(missing.console.find(cp1250(" Nelze použít data  nic: složka neexistuje\n")),
              std::string::npos);
}

TEST(DataFolder, ReportAndConsoleNameTheDataSet) {
    const auto run = test::run_belun({{"a.xml", valid_document()},
                                      {"d/campaign.txt", cp1250("# name and date\nDUV 2006 <ověřeno>\n")},
                                      {"d/kzam.txt", "01011\n"}},
                                     {"a.xml", "r.htm", "-d", "d"});
    EXPECT_EQ(run.exit_code, 0);
    // Only the occupation list is the campaign's: the registers are still samples.
    const std::string name =
        cp1250("DUV 2006 <ověřeno> (d); registry nebo kódy zaměstnání jsou vzorové, jen na zkoušku");
    EXPECT_NE(run.console.find("\nData: " + name + "\n"), std::string::npos) << run.console;
    EXPECT_NE(run.report.find(
                  cp1250("<tr><td colspan=5>&nbsp;Data: DUV 2006 &lt;ověřeno&gt; (d); registry nebo kódy")),
              std::string::npos);
}

}  // namespace
}  // namespace tavon
