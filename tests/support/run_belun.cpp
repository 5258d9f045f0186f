#include "tests/support/run_belun.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "cli/belun.h"

namespace tavon::test {
namespace {

std::string read_file(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace

RunResult run_belun(const std::map<std::string, std::string>& files,
                    const std::vector<std::string>& arguments, cli::ConsoleKind console_kind) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/tavon_test_XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) return {};
    fs::path previous_dir = fs::current_path();
    fs::current_path(dir);
    for (const auto& [name, content] : files) {
        if (fs::path(name).has_parent_path()) fs::create_directories(fs::path(name).parent_path());
        std::ofstream(name, std::ios::binary) << content;
    }

    RunResult result;
    std::ostringstream console;
    {
        std::vector<std::string_view> args(arguments.begin(), arguments.end());
        result.exit_code = cli::run(args, console, console_kind);
    }
    result.console = console.str();
    std::vector<std::string> file_names;
    for (const auto& a : arguments)
        if (a.empty() || a[0] != '-') file_names.push_back(a);
    std::string report = file_names.size() >= 2 ? file_names[1] : "duve.htm";
    if (fs::exists(report)) result.report = read_file(report);
    if (file_names.size() >= 3 && fs::exists(file_names[2])) result.copy = read_file(file_names[2]);

    fs::current_path(previous_dir);
    fs::remove_all(dir);
    return result;
}

std::vector<std::string> csv_rows(const std::string& report) {
    std::vector<std::string> rows;
    std::size_t from = 0;
    bool header = true;
    while (from < report.size()) {
        std::size_t end = report.find("\r\n", from);
        if (end == std::string::npos) end = report.size();
        std::string row = report.substr(from, end - from);
        from = end + 2;
        if (header) {
            header = false;
            continue;
        }
        if (row.empty()) break;  // the footer starts with an empty line
        rows.push_back(row);
    }
    return rows;
}

std::string document_head() {
    return "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
           "<DUV verze=\"1.6\" xmlns=\"http://duv.example.org/schemas/2004/DUV/1.6/\">\r\n"
           "<rok>2006</rok>\r\n"
           "<AA0226>1-6</AA0226>\r\n"
           "<ICOpredkladatele>10000003</ICOpredkladatele>\r\n"
           "<predkladatel>Nemocnice Dolni Lhota</predkladatel>\r\n"
           "<autor>Jana Novakova</autor>\r\n"
           "<mail>novakova@nemocnice.cz</mail>\r\n"
           "<telefon>+420123456789</telefon>\r\n"
           "<vytvoreno>2006-07-15T10:20:30</vytvoreno>\r\n";
}

std::string document_tail() { return "</DUV>\r\n"; }

std::string cp1250(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        auto next = [&](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]) & 0x3Fu; };
        char32_t c;
        if (b < 0xE0) {
            c = ((b & 0x1Fu) << 6) | next(1);
            i += 2;
        } else {
            c = ((b & 0x0Fu) << 12) | (next(1) << 6) | next(2);
            i += 3;
        }
        static const std::map<char32_t, unsigned char> kCp1250 = {
            {0xA0, 0xA0}, {U'Á', 0xC1}, {U'á', 0xE1}, {U'Č', 0xC8}, {U'č', 0xE8}, {U'Ď', 0xCF}, {U'ď', 0xEF},
            {U'É', 0xC9}, {U'é', 0xE9}, {U'Ě', 0xCC}, {U'ě', 0xEC}, {U'Í', 0xCD}, {U'í', 0xED}, {U'Ň', 0xD2},
            {U'ň', 0xF2}, {U'Ó', 0xD3}, {U'ó', 0xF3}, {U'Ř', 0xD8}, {U'ř', 0xF8}, {U'Š', 0x8A}, {U'š', 0x9A},
            {U'Ť', 0x8D}, {U'ť', 0x9D}, {U'Ú', 0xDA}, {U'ú', 0xFA}, {U'Ů', 0xD9}, {U'ů', 0xF9}, {U'Ý', 0xDD},
            {U'ý', 0xFD}, {U'Ž', 0x8E}, {U'ž', 0x9E}, {U'„', 0x84}, {U'“', 0x93}, {U'–', 0x96}};
        auto it = kCp1250.find(c);
        out.push_back(it == kCp1250.end() ? '?' : static_cast<char>(it->second));
    }
    return out;
}

}  // namespace tavon::test
