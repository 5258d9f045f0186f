// A scratch directory for whole validations run inside the test process on files written
// there, large ones included; arguments are full names, so the current directory stays.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/belun.h"
#include "tests/support/run_belun.h"

namespace tavon::test {

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// The repository's root, for the documents it holds.
inline std::filesystem::path repository_root() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

// A fresh temporary directory, removed with everything in it at the end of the test.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavon_robust_XXXXXX").string();
        if (mkdtemp(pattern.data())) dir_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The full name of the file `name` in the directory.
    std::string path(std::string_view name) const { return dir_ + "/" + std::string(name); }

    void write_file(const std::string& path, std::string_view content) const {
        std::ofstream(path, std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
    }

    // A run with these arguments; the report (second file name) and the output file (third)
    // are read back and removed, so that the next run starts without them.
    RunResult run_belun(const std::vector<std::string>& arguments) const {
        std::vector<std::string_view> args(arguments.begin(), arguments.end());
        std::ostringstream console;
        RunResult run;
        run.exit_code = cli::run(args, console);
        run.console = console.str();
        std::vector<std::string> file_names;
        for (const auto& a : arguments)
            if (a.empty() || a[0] != '-') file_names.push_back(a);
        // Only regular files: a name may stand for a device such as /dev/full.
        std::error_code ec;
        if (file_names.size() >= 2 && std::filesystem::is_regular_file(file_names[1], ec)) {
            run.report = read_file(file_names[1]);
            std::filesystem::remove(file_names[1], ec);
        }
        if (file_names.size() >= 3 && std::filesystem::is_regular_file(file_names[2], ec)) {
            run.copy = read_file(file_names[2]);
            std::filesystem::remove(file_names[2], ec);
        }
        return run;
    }

  private:
    std::string dir_;
};

}  // namespace tavon::test
