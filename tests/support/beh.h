// Runs whole validations inside the test process on documents given as strings.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tavon::test {

struct Beh {
    int kod = -1;          // exit code
    std::string konzole;   // console output
    std::string hlaseni;   // report file, as written (CR LF)
    std::string vystup;    // output file, when one was named
};

// Writes `soubory` into a fresh directory, runs belun's validation there with `argumenty`
// and reads back the report (the second file name of the arguments, else "duve.htm") and the
// output file (the third).
Beh spust(const std::map<std::string, std::string>& soubory, const std::vector<std::string>& argumenty);

// The report's rows without header and footer, for the CSV format: one string per row.
std::vector<std::string> radky_csv(const std::string& hlaseni);

// A complete, valid document head (prolog, root, submitter block) and tail, in CR LF.
std::string hlavicka_dokumentu();
std::string konec_dokumentu();

// Windows-1250 bytes of a UTF-8 literal, for expected texts with Czech letters.
std::string cp1250(std::string_view utf8);

}  // namespace tavon::test
