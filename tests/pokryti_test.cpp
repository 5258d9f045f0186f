// Every code of the error table that a document can produce appears in some expected report of
// the end-to-end cases, and every report format is used by several of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "run/report/chyby.h"

namespace fs = std::filesystem;

namespace tavon {
namespace {

TEST(EndToEndCoverage, EveryCodeAppearsAndEveryFormatIsUsed) {
    std::string vse;
    std::map<std::string, int> formaty;
    for (const auto& pripad : fs::directory_iterator(TAVON_E2E_DIR)) {
        const fs::path ocekavane = pripad.path() / "expected";
        if (!fs::exists(ocekavane)) continue;
        for (const auto& f : fs::directory_iterator(ocekavane)) {
            std::string jmeno = f.path().filename().string();
            if (jmeno == "exit" || jmeno == "console") continue;
            std::ifstream in(f.path(), std::ios::binary);
            std::ostringstream obsah;
            obsah << in.rdbuf();
            vse += obsah.str();
            std::string pripona = f.path().extension().string();
            for (char& c : pripona) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            ++formaty[pripona];
        }
    }
    for (const Chyba& ch : chybova_tabulka())
        EXPECT_NE(vse.find(std::string(ch.typ)), std::string::npos) << ch.typ << " is in no expected report";
    for (const char* f : {".htm", ".txt", ".csv", ".xml"}) EXPECT_GE(formaty[f], 3) << f;
}

}  // namespace
}  // namespace tavon
