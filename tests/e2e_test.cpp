// Runs the built belun on every case folder under tests/data/e2e and compares the exit code,
// the console output and every expected file byte for byte.
//
// A case folder holds `args` (the arguments, separated by single spaces), the input files, and
// `expected/` with `exit`, `console` and one file per file the run must write (in folders as the
// run writes them). The date-time stamp of report headers is compared as "DD/MM/YYYY  hh:mm:ss",
// that of JSON reports as "YYYY-MM-DDThh:mm:ssZ".
// The console is a file here, not a terminal, so it has no progress line; it is in Windows-1250
// (the C locale) unless the case holds a file `locale` naming another (C.UTF-8, say). Every file
// the run leaves in its folder is an input or an expected file: a run leaves nothing else behind.
// TAVON_E2E_WRAPPER, when set, is put before the command, so that belun can run under a checker such as
// valgrind.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string read(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string mask_time(std::string text) {
    static const std::regex stamp(R"(\d\d/\d\d/\d\d\d\d  \d\d:\d\d:\d\d)");
    static const std::regex utc(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)");  // JSON reports
    return std::regex_replace(std::regex_replace(text, stamp, "DD/MM/YYYY  hh:mm:ss"), utc,
                              "YYYY-MM-DDThh:mm:ssZ");
}

std::string shell_quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::vector<std::string> cases() {
    std::vector<std::string> names;
    if (!fs::exists(TAVON_E2E_DIR)) return names;
    for (const auto& e : fs::directory_iterator(TAVON_E2E_DIR))
        if (e.is_directory() && fs::exists(e.path() / "args")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class E2E : public ::testing::TestWithParam<std::string> {};

TEST_P(E2E, ReportsAndConsoleMatch) {
    const fs::path case_dir = fs::path(TAVON_E2E_DIR) / GetParam();
    // A directory of its own for each run, so that runs at the same time do not meet.
    std::string pattern = (fs::temp_directory_path() / "tavon_e2e_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path work = pattern;
    for (const auto& e : fs::directory_iterator(case_dir)) {
        std::string name = e.path().filename().string();
        if (name == "expected" || name == "args" || name == "needs" || name == "locale") continue;
        fs::copy(e.path(), work / name, fs::copy_options::recursive);
    }

    std::string args = read(case_dir / "args");
    while (!args.empty() && (args.back() == '\n' || args.back() == '\r')) args.pop_back();
    // The console speaks the locale's character set: Windows-1250 unless the case names a locale.
    std::string locale = fs::exists(case_dir / "locale") ? read(case_dir / "locale") : "C";
    while (!locale.empty() && (locale.back() == '\n' || locale.back() == '\r')) locale.pop_back();
    std::string command =
        "cd " + shell_quoted(work.string()) + " && export LC_ALL=" + shell_quoted(locale) + " && ";
    // A command to run belun under, e.g. "valgrind --error-exitcode=99 --leak-check=full -q".
    if (const char* wrapper = std::getenv("TAVON_E2E_WRAPPER"); wrapper && *wrapper)
        command += std::string(wrapper) + " ";
    command += shell_quoted(TAVON_BELUN);
    std::istringstream words(args);
    for (std::string word; std::getline(words, word, ' ');)
        if (!word.empty()) command += " " + shell_quoted(word);
    command += " > .console < /dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));

    const fs::path expected = case_dir / "expected";
    EXPECT_EQ(std::to_string(WEXITSTATUS(status)) + "\n", read(expected / "exit")) << "exit code";
    EXPECT_EQ(read(expected / "console"), read(work / ".console")) << "console";
    // Every file under expected/, in folders too, against the file of that path in the run's folder.
    for (const auto& e : fs::recursive_directory_iterator(expected)) {
        if (!e.is_regular_file()) continue;
        const fs::path name = fs::relative(e.path(), expected);
        if (name == "exit" || name == "console") continue;
        ASSERT_TRUE(fs::exists(work / name)) << name << " was not written";
        EXPECT_EQ(read(e.path()), mask_time(read(work / name))) << name;
    }
    for (const auto& e : fs::recursive_directory_iterator(work)) {
        const fs::path name = fs::relative(e.path(), work);
        if (!e.is_regular_file() || name == ".console") continue;
        EXPECT_TRUE(fs::exists(case_dir / name) || fs::exists(expected / name)) << name << " was left behind";
    }
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Cases, E2E, ::testing::ValuesIn(cases()), [](const auto& info) {
    std::string n = info.param;
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
});

}  // namespace
