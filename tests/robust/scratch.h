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

inline std::string precti_soubor(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// The repository's root, for the documents it holds.
inline std::filesystem::path koren() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

class Pokus {
  public:
    Pokus() {
        std::string vzor = (std::filesystem::temp_directory_path() / "tavon_robust_XXXXXX").string();
        if (mkdtemp(vzor.data())) adresar_ = vzor;
    }
    ~Pokus() {
        std::error_code ec;
        if (!adresar_.empty()) std::filesystem::remove_all(adresar_, ec);
    }
    Pokus(const Pokus&) = delete;
    Pokus& operator=(const Pokus&) = delete;

    std::string cesta(std::string_view jmeno) const { return adresar_ + "/" + std::string(jmeno); }

    void zapis(const std::string& jmeno, std::string_view obsah) const {
        std::ofstream(jmeno, std::ios::binary)
            .write(obsah.data(), static_cast<std::streamsize>(obsah.size()));
    }

    // A run with these arguments; the report (second file name) and the output file (third)
    // are read back and removed, so that the next run starts without them.
    RunResult run_belun(const std::vector<std::string>& argumenty) const {
        std::vector<std::string_view> args(argumenty.begin(), argumenty.end());
        std::ostringstream konzole;
        RunResult beh;
        beh.exit_code = cli::run(args, konzole);
        beh.console = konzole.str();
        std::vector<std::string> jmena;
        for (const auto& a : argumenty)
            if (a.empty() || a[0] != '-') jmena.push_back(a);
        // Only regular files: a name may stand for a device such as /dev/full.
        std::error_code ec;
        if (jmena.size() >= 2 && std::filesystem::is_regular_file(jmena[1], ec)) {
            beh.report = precti_soubor(jmena[1]);
            std::filesystem::remove(jmena[1], ec);
        }
        if (jmena.size() >= 3 && std::filesystem::is_regular_file(jmena[2], ec)) {
            beh.copy = precti_soubor(jmena[2]);
            std::filesystem::remove(jmena[2], ec);
        }
        return beh;
    }

  private:
    std::string adresar_;
};

}  // namespace tavon::test
