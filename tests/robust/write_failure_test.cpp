// A report or output file that cannot be written (a full disk) is no normal end: the run says so
// for every file that failed and ends with exit code 13, whether the failure shows while writing
// or only at the close, and the files of those names stay as they were.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/robust/report_parser.h"
#include "tests/robust/scratch.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::RunResult;
using test::ScratchDir;

const std::string kBanner =
    "\nProgram  TAVON_v0.9  kontola dat pro DUV\n" +
    test::cp1250(
        "Data: vestavěná vzorová data, jen na zkoušku (skutečné dodávky kontrolujte s daty kampaně)\n");

// The valid example, and one with a few thousand findings: its report outgrows the writer's
// buffer and the small disk, so the failure shows while the rows are written.
std::string small_document() { return test::read_file(test::repository_root() / "examples/duv-ok.xml"); }
std::string large_document() {
    std::string d = test::document_head();
    for (int i = 0; i < 2000; ++i)
        d += "<neznamy" + std::to_string(i) + ">1</neznamy" + std::to_string(i) + ">\r\n";
    return d + test::document_tail();
}

// A run of belun in a child process whose folder `disk` is a fresh file system of 64 KiB holding
// the files `before`: a disk that fills up. `run.report` lists what the disk holds afterwards
// ("name=content" lines). False when this system lets no test mount one.
bool run_on_small_disk(const ScratchDir& p, const std::string& disk,
                       const std::map<std::string, std::string>& before,
                       const std::vector<std::string>& arguments, RunResult& run) {
    const std::string console_file = p.path("console.txt");
    const pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(77);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(77);
        if (mount("tavon-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0) _exit(77);
        for (const auto& [name, content] : before) p.write_file(disk + "/" + name, content);
        std::vector<std::string_view> args(arguments.begin(), arguments.end());
        std::ostringstream console;
        const int code = cli::run(args, console);
        std::ofstream(console_file, std::ios::binary) << console.str();
        // Whatever the run left on the small disk, for the parent to see.
        {
            std::ofstream listing(p.path("left.txt"), std::ios::binary);
            for (const auto& e : std::filesystem::directory_iterator(disk))
                listing << e.path().filename().string() << "=" << test::read_file(e.path()) << "\n";
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 77) return false;
    run.exit_code = WEXITSTATUS(status);
    run.console = test::read_file(p.path("console.txt"));
    run.report = test::read_file(p.path("left.txt"));
    return true;
}

TEST(WriteFailure, FullDiskKeepsThePreviousReport) {
    ScratchDir p;
    const std::string input = p.path("d.xml"), disk = p.path("disk");
    std::filesystem::create_directory(disk);
    p.write_file(input, large_document());
    for (const char* name : {"r.csv", "r.xml", "r.txt", "r.htm"}) {
        // A report of an earlier run stands there.
        const std::string report = disk + "/" + name;
        const std::string old = "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n";
        RunResult run;
        if (!run_on_small_disk(p, disk, {{name, old}}, {input, report, "-w"}, run))
            GTEST_SKIP() << "no small file system can be mounted here";
        EXPECT_EQ(run.exit_code, 13) << name;
        EXPECT_EQ(run.console, kBanner + " Nelze zapsat do souboru  " + report + "\n Program ukoncen\n " +
                                   test::cp1250("Protokol: disk je plný.\n"))
            << name;
        // The old report is whole, and nothing of the new one is left on the disk.
        EXPECT_EQ(run.report, std::string(name) + "=" + old + "\n") << name;
    }
}

TEST(WriteFailure, BothOutputsFailingAreBothNamed) {
    ScratchDir p;
    const std::string input = p.path("d.xml"), disk = p.path("disk");
    std::filesystem::create_directory(disk);
    p.write_file(input, large_document());
    const std::string report = disk + "/r.htm", copy = disk + "/kopie.xml";
    RunResult run;
    if (!run_on_small_disk(p, disk, {}, {input, report, copy}, run))
        GTEST_SKIP() << "no small file system here";
    EXPECT_EQ(run.exit_code, 13);
    EXPECT_EQ(run.console, kBanner + " Nelze zapsat do souboru  " + report + "\n Nelze zapsat do souboru  " +
                               copy + "\n Program ukoncen\n " +
                               test::cp1250("Protokol: disk je plný.\n Výstupní soubor: disk je plný.\n"));
    EXPECT_EQ(run.report, "");
}

TEST(WriteFailure, SmallOutputFailsAtTheClose) {
    ScratchDir p;
    const std::string input = p.path("d.xml"), disk = p.path("disk");
    std::filesystem::create_directory(disk);
    p.write_file(input, small_document());
    // The disk is nearly full: the small copy, which fits the writer's buffer, fails only at the
    // close. The file it would replace stays, and no backup of it is made.
    const std::string filler((60 << 10) - 100, 'x'), previous = "<DUV/>\r\n";
    const std::string copy = disk + "/kopie.xml";
    RunResult run;
    if (!run_on_small_disk(p, disk, {{"filler", filler}, {"kopie.xml", previous}},
                           {input, p.path("r.csv"), copy}, run))
        GTEST_SKIP() << "no small file system can be mounted here";
    EXPECT_EQ(run.exit_code, 13);
    EXPECT_TRUE(run.console.ends_with(test::cp1250(" Program ukoncen\n Výstupní soubor: disk je plný.\n")))
        << run.console;
    EXPECT_NE(run.report.find("kopie.xml=" + previous + "\n"), std::string::npos);
    EXPECT_EQ(run.report.find("kopie.xml~"), std::string::npos);
    // The report, elsewhere, was not put in place either: the run failed.
    EXPECT_FALSE(std::filesystem::exists(p.path("r.csv")));
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
