// Runs the built belun on every case folder under tests/data/e2e and compares the exit code,
// the console output and every expected file byte for byte.
//
// A case folder holds `args` (the arguments, separated by single spaces), the input files, and
// `expected/` with `exit`, `console` and one file per file the run must write. The date-time
// stamp of report headers is compared as "DD/MM/YYYY  hh:mm:ss"; the console's progress line
// (" Radek" ... "\r") is removed, as its rewriting depends on time. TAVON_E2E_WRAPPER, when set,
// is put before the command, so that belun can run under a checker such as valgrind.
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

std::string precti(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string zamaskuj_cas(std::string text) {
    static const std::regex razitko(R"(\d\d/\d\d/\d\d\d\d  \d\d:\d\d:\d\d)");
    return std::regex_replace(text, razitko, "DD/MM/YYYY  hh:mm:ss");
}

std::string bez_prubehu(const std::string& text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 6, " Radek") == 0) {
            std::size_t cr = text.find('\r', i);
            if (cr != std::string::npos) {
                i = cr + 1;
                continue;
            }
        }
        out.push_back(text[i++]);
    }
    return out;
}

std::string uvozovky(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::vector<std::string> pripady() {
    std::vector<std::string> jmena;
    if (!fs::exists(TAVON_E2E_DIR)) return jmena;
    for (const auto& e : fs::directory_iterator(TAVON_E2E_DIR))
        if (e.is_directory() && fs::exists(e.path() / "args")) jmena.push_back(e.path().filename().string());
    std::sort(jmena.begin(), jmena.end());
    return jmena;
}

class E2E : public ::testing::TestWithParam<std::string> {};

TEST_P(E2E, ReportsAndConsoleMatch) {
    const fs::path pripad = fs::path(TAVON_E2E_DIR) / GetParam();
    // A directory of its own for each run, so that runs at the same time do not meet.
    std::string vzor = (fs::temp_directory_path() / "tavon_e2e_XXXXXX").string();
    ASSERT_NE(mkdtemp(vzor.data()), nullptr);
    const fs::path pracovni = vzor;
    for (const auto& e : fs::directory_iterator(pripad)) {
        std::string jmeno = e.path().filename().string();
        if (jmeno == "expected" || jmeno == "args" || jmeno == "needs") continue;
        fs::copy(e.path(), pracovni / jmeno, fs::copy_options::recursive);
    }

    std::string args = precti(pripad / "args");
    while (!args.empty() && (args.back() == '\n' || args.back() == '\r')) args.pop_back();
    std::string prikaz = "cd " + uvozovky(pracovni.string()) + " && ";
    // A command to run belun under, e.g. "valgrind --error-exitcode=99 --leak-check=full -q".
    if (const char* obal = std::getenv("TAVON_E2E_WRAPPER"); obal && *obal) prikaz += std::string(obal) + " ";
    prikaz += uvozovky(TAVON_BELUN);
    std::istringstream slova(args);
    for (std::string slovo; std::getline(slova, slovo, ' ');)
        if (!slovo.empty()) prikaz += " " + uvozovky(slovo);
    prikaz += " > .console < /dev/null";
    int stav = std::system(prikaz.c_str());
    ASSERT_TRUE(WIFEXITED(stav));

    const fs::path ocekavane = pripad / "expected";
    EXPECT_EQ(std::to_string(WEXITSTATUS(stav)) + "\n", precti(ocekavane / "exit")) << "exit code";
    EXPECT_EQ(precti(ocekavane / "console"), bez_prubehu(precti(pracovni / ".console"))) << "console";
    for (const auto& e : fs::directory_iterator(ocekavane)) {
        std::string jmeno = e.path().filename().string();
        if (jmeno == "exit" || jmeno == "console") continue;
        ASSERT_TRUE(fs::exists(pracovni / jmeno)) << jmeno << " was not written";
        EXPECT_EQ(precti(e.path()), zamaskuj_cas(precti(pracovni / jmeno))) << jmeno;
    }
    fs::remove_all(pracovni);
}

INSTANTIATE_TEST_SUITE_P(Cases, E2E, ::testing::ValuesIn(pripady()), [](const auto& info) {
    std::string n = info.param;
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
});

}  // namespace
