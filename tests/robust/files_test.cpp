// No slip destroys a file and no input makes a run wait or read without end: a report replaces
// only an empty file or a report of ours, a copy keeps the file it replaces as NAME~, pipes,
// devices and endless lists are refused at once, and a refused run creates nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tavon/report.h"
#include "tests/robust/scratch.h"
#include "tests/support/documents.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

namespace fs = std::filesystem;
using test::cp1250;
using test::ScratchDir;

std::string valid_document() { return test::read_file(test::repository_root() / "examples/duv-ok.xml"); }

// The run's console, exit code and the files left in the folder afterwards (name=content).
struct Outcome {
    int exit_code;
    std::string console;
};

Outcome run(const std::vector<std::string>& arguments) {
    const std::vector<std::string_view> args(arguments.begin(), arguments.end());
    std::ostringstream console;
    const int code = cli::run(args, console);
    return {code, console.str()};
}

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Files, ReportReplacesOnlyAnEmptyFileOrAReportOfOurs) {
    ScratchDir dir;
    const std::string input = dir.path("a.xml");
    dir.write_file(input, valid_document());
    for (const char* format : {"htm", "txt", "csv", "xml", "json"}) {
        const std::string report = dir.path(std::string("r.") + format);
        // A report of an earlier run, of each format, is replaced on a rerun.
        ASSERT_EQ(run({input, report}).exit_code, 0) << format;
        ASSERT_EQ(run({input, report}).exit_code, 0) << format;
        // A user's files are not, however much they look like one.
        const std::string header = test::read_file(report).substr(0, 60);
        for (const std::string& foreign : {std::string("R"), std::string("<html>\r\n<body>Moje</body>"),
                                           std::string("{\"program\":\"TAVON_v0.9\",\"findings\":[]}"),
                                           header.substr(0, header.size() - 1)}) {
            dir.write_file(report, foreign);
            const Outcome refused = run({input, report});
            EXPECT_EQ(refused.exit_code, 13) << format << ": " << foreign;
            EXPECT_EQ(test::read_file(report), foreign) << format;
        }
        dir.write_file(report, "");
        EXPECT_EQ(run({input, report}).exit_code, 0) << format;
    }
}

TEST(Files, CopyKeepsTheFileItReplaces) {
    ScratchDir dir;
    const std::string input = dir.path("a.xml"), other = dir.path("b.xml");
    dir.write_file(input, valid_document());
    dir.write_file(other, "another delivery");
    // The copy named after another delivery: the delivery is kept as b.xml~, also on a rerun.
    ASSERT_EQ(run({input, dir.path("r.htm"), other}).exit_code, 0);
    EXPECT_EQ(test::read_file(other + "~"), "another delivery");
    const std::string first_copy = test::read_file(other);
    EXPECT_TRUE(first_copy.ends_with("</DUV>\r\n"));
    ASSERT_EQ(run({input, dir.path("r.htm"), other}).exit_code, 0);
    EXPECT_EQ(test::read_file(other + "~"), first_copy);
    // A backup would replace the document checked, or the report: refused, nothing changed.
    dir.write_file(dir.path("c.xml~"), valid_document());
    const Outcome refused = run({dir.path("c.xml~"), dir.path("r.htm"), dir.path("c.xml")});
    EXPECT_EQ(refused.exit_code, 13);
    EXPECT_NE(refused.console.find(cp1250("by přepsala kontrolovaný soubor")), std::string::npos)
        << refused.console;
    EXPECT_FALSE(fs::exists(dir.path("c.xml")));
    EXPECT_EQ(run({input, other + "~", other}).exit_code, 13);
}

// A finished output has no name of its own until commit() renames it into place: between the two
// (the other output being committed) a killed run leaves nothing behind.
TEST(Files, AFinishedOutputStaysNamelessUntilItsCommit) {
    ScratchDir dir;
    dir.write_file(dir.path("r.csv"), "");
    FileOutput file;
    ASSERT_TRUE(file.open(dir.path("r.csv")));
    file.write("new", 3);
    ASSERT_TRUE(file.finish());
    EXPECT_EQ(files_in(dir.path("")), std::vector<std::string>{"r.csv"});
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(files_in(dir.path("")), std::vector<std::string>{"r.csv"});
    EXPECT_EQ(test::read_file(dir.path("r.csv")), "new");
}

// The new file's own temporary name stays within the system's 255 bytes, however long the name
// it replaces (here 250 bytes, Czech letters on the cut).
TEST(Files, AnOutputMayHaveTheLongestNameTheSystemAllows) {
    ScratchDir dir;
    std::string name;
    for (int i = 0; i < 120; ++i) name += "\xc5\xbe";  // ž
    name += "xxxxxx.csv";
    FileOutput file;
    ASSERT_TRUE(file.open(dir.path(name)));
    file.write("new", 3);
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(files_in(dir.path("")), std::vector<std::string>{name});
}

TEST(Files, PipesDevicesAndEndlessInputsAreRefusedAtOnce) {
    ScratchDir dir;
    const std::string input = dir.path("a.xml"), fifo = dir.path("fifo");
    dir.write_file(input, valid_document());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A list that is a sparse file of 5 GB, a list with one name of 5000 characters.
    {
        const int fd = ::open(dir.path("huge.txt").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, 5LL << 30), 0);
        ::close(fd);
    }
    dir.write_file(dir.path("long.txt"), std::string(5000, 'x'));
    fs::create_directory(dir.path("data"));
    fs::create_symlink("/dev/zero", dir.path("data/kzam.txt"));
    const std::string not_regular = cp1250("není to obyčejný soubor.\n");
    const struct {
        std::vector<std::string> arguments;
        std::string why;
    } cases[] = {
        {{fifo, dir.path("r.htm")}, cp1250(" Kontrolovaný soubor: ") + not_regular},
        {{"/dev/zero", dir.path("r.htm")}, cp1250(" Kontrolovaný soubor: ") + not_regular},
        {{"@/dev/zero", dir.path("r.htm")}, cp1250(" Seznam souborů: ") + not_regular},
        {{"@" + fifo, dir.path("r.htm")}, cp1250(" Seznam souborů: ") + not_regular},
        {{"@" + dir.path("huge.txt"), dir.path("r.htm")},
         cp1250(" Seznam souborů: je větší než 16 MiB, takový seznam souborů neexistuje.\n")},
        {{"@" + dir.path("long.txt"), dir.path("r.htm")},
         cp1250(" Seznam souborů: uvádí název souboru delší než 4096 znaků.\n")},
        {{input, fifo}, " Protokol: " + not_regular},
        {{input, dir.path("r.htm"), fifo}, cp1250(" Výstupní soubor: ") + not_regular},
        {{input, dir.path("r.htm"), "-d", dir.path("data")},
         cp1250("/kzam.txt: není to obyčejný soubor\n Program ukoncen\n")},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const Outcome o = run(c.arguments);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.arguments[0];
        EXPECT_EQ(o.exit_code, 13) << c.arguments[0];
        EXPECT_TRUE(o.console.ends_with(c.why)) << o.console;
        EXPECT_EQ(files_in(dir.path("")),
                  (std::vector<std::string>{"a.xml", "data", "fifo", "huge.txt", "long.txt"}));
    }
}

}  // namespace
}  // namespace tavon
