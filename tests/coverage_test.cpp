// Every code of the error table that a document can produce appears in some expected report of
// the end-to-end cases, and every report format is used by several of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "report/error_table.h"

namespace fs = std::filesystem;

namespace tavon {
namespace {

TEST(EndToEndCoverage, EveryCodeAppearsAndEveryFormatIsUsed) {
    std::string all;
    std::map<std::string, int> formats;
    for (const auto& c : fs::directory_iterator(TAVON_E2E_DIR)) {
        const fs::path expected = c.path() / "expected";
        if (!fs::exists(expected)) continue;
        for (const auto& f : fs::directory_iterator(expected)) {
            std::string name = f.path().filename().string();
            if (name == "exit" || name == "console") continue;
            std::ifstream in(f.path(), std::ios::binary);
            std::ostringstream content;
            content << in.rdbuf();
            all += content.str();
            std::string extension = f.path().extension().string();
            for (char& ch : extension) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            ++formats[extension];
        }
    }
    for (const ErrorCode& e : error_table())
        EXPECT_NE(all.find(std::string(e.code)), std::string::npos) << e.code << " is in no expected report";
    for (const char* f : {".htm", ".txt", ".csv", ".xml"}) EXPECT_GE(formats[f], 3) << f;
}

}  // namespace
}  // namespace tavon
