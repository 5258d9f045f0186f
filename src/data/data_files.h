// The text formats of the data files: code lists, registers of submitters and providers, and the
// salary tariff scales. Used when the program is built (for the built-in set) and when a data
// folder is read at run time, so that both accept exactly the same files.
//
// Every file: one entry a line; blank lines and lines beginning with "#" are ignored; blanks
// around an entry (and the CR of CR LF files) are dropped.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavon::data {

// The code lists, in the order a data folder's files are read.
enum class List { States, LegalForms, EmploymentStatuses, EmploymentKinds, Nuts, Education, Occupations };
inline constexpr int kListCount = 7;

struct ListFormat {
    const char* file;  // its name in a data folder
    int min_length;    // of every code, in characters
    int max_length;
    bool digits_only;  // else letters and digits
    int min_entries;   // the states list must hold at least the six home-state codes
};

inline constexpr std::array<ListFormat, kListCount> kListFormats = {{
    {"staty.txt", 2, 3, false, 6},
    {"pravni_formy.txt", 3, 3, true, 1},
    {"postaveni.txt", 4, 4, true, 1},
    {"dppv.txt", 1, 1, true, 1},
    {"nuts.txt", 6, 6, false, 1},
    {"vzdelani.txt", 1, 1, false, 1},
    {"kzam.txt", 5, 5, true, 1},
}};

inline constexpr const char* kSubmittersFile = "predkladatele.txt";
inline constexpr const char* kProvidersFile = "poskytovatele.txt";
inline constexpr std::array<const char*, 4> kScaleFiles = {"scale1.csv", "scale2.csv", "scale3.csv",
                                                           "scale5.csv"};
inline constexpr const char* kCampaignFile = "campaign.txt";

inline constexpr int kClasses = 16;  // salary classes of a scale, one line each
inline constexpr int kGrades = 12;   // salary grades of a class, comma-separated
using Scale = std::array<double, kClasses * kGrades>;

// What is wrong with a data file, at which line (1-based), and the text found there.
struct Problem {
    enum Kind {
        None,
        CannotRead,        // the file cannot be read
        WrongCharacters,   // a code holds characters it may not (text: the code)
        WrongLength,       // a code of the wrong length (text: the code)
        TooFewEntries,     // fewer entries than the list needs
        NotANumber,        // a register entry that is no identification number (text: the entry)
        NumberTooLong,     // more than 8 digits (text: the entry)
        SubmitterMissing,  // a provider line without its submitter (text: the line)
        ExtraText,         // more words on a line than its format has (text: the line)
        WrongClassCount,   // a scale without exactly 16 lines (line: their count)
        WrongGradeCount,   // a tariff line without exactly 12 grades (text: the line)
        NotWholeCrowns,    // a tariff that is not a whole number of crowns (text: the value)
        NotRising,         // a tariff not above the one of the grade before it (text: the value)
    } kind = None;
    int line = 0;
    std::string text;
};

// Each parser reads a whole file's bytes; false, with the first problem, when the file breaks its
// format.
bool parse_code_list(std::string_view bytes, const ListFormat& format, std::vector<std::string>& codes,
                     Problem& problem);
bool parse_submitters(std::string_view bytes, std::vector<std::uint32_t>& submitters, Problem& problem);
bool parse_providers(std::string_view bytes, std::vector<std::uint32_t>& providers,
                     std::vector<std::uint32_t>& their_submitters, Problem& problem);
bool parse_scale(std::string_view bytes, Scale& scale, Problem& problem);
// The data set's name: the first data line of campaign.txt (at most 200 characters kept).
std::string parse_campaign(std::string_view bytes);

// Positions of the first entry of each distinct key, in ascending key order: a binary search over
// them answers exactly as a scan from the first entry would.
template <typename Key>
std::vector<std::int32_t> first_occurrences(std::span<const Key> keys);

}  // namespace tavon::data
