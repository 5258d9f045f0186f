// The built-in code lists and registers: their contents, and lookups that answer exactly as a scan
// from the first entry of the data file would.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_set.h"

namespace tavon {
namespace {

using data::List;

const DataSet& built_in() { return *DataSet::built_in(); }
const CodeList& list(List which) { return built_in().list(which); }
int state(std::string_view code) { return built_in().states().position(code); }

// What the lookups must equal: a scan from the first entry that stops at the first equal one.
template <typename T>
std::size_t first_match(std::span<const T> entries, const T& wanted) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == wanted) return i;
    return entries.size();
}

// Every entry and texts next to it: shorter, longer, last byte changed, lower case, empty.
std::vector<std::string> texts_to_try(std::span<const std::string_view> entries) {
    std::vector<std::string> texts{"", " ", "0", "Z", "\xC8"};
    for (std::string_view entry : entries) {
        std::string text(entry);
        texts.push_back(text);
        texts.push_back(text + "0");
        texts.push_back(text + " ");
        texts.push_back(text.substr(0, text.size() - 1));
        texts.push_back(text.substr(0, text.size() - 1) + static_cast<char>(text.back() + 1));
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::uint32_t> numbers_to_try(std::span<const std::uint32_t> entries) {
    std::vector<std::uint32_t> numbers{0, 1, std::numeric_limits<std::uint32_t>::max()};
    for (std::uint32_t ico : entries) numbers.insert(numbers.end(), {ico - 1, ico, ico + 1});
    return numbers;
}

TEST(CodeLists, EntryCounts) {
    EXPECT_EQ(built_in().states().size(), 718);
    EXPECT_EQ(list(List::LegalForms).size(), 39);
    EXPECT_EQ(list(List::EmploymentStatuses).size(), 8);
    EXPECT_EQ(list(List::EmploymentKinds).size(), 4);
    EXPECT_EQ(list(List::Nuts).size(), 91);
    EXPECT_EQ(list(List::Education).size(), 14);
    EXPECT_EQ(built_in().providers().providers().size(), built_in().providers().submitters().size());
}

TEST(CodeLists, StatePositions) {
    const char* home[] = {"CZ", "CZE", "203", "SK", "SVK", "703"};
    for (int i = 0; i < DataSet::kHomeStates; ++i) EXPECT_EQ(state(home[i]), i);
    EXPECT_EQ(state("004"), 6);
    EXPECT_EQ(state("999"), 240);
    EXPECT_EQ(state("ABW"), 241);
    EXPECT_EQ(state("CH"), state("HUN") + 1);
    EXPECT_EQ(state("IDN"), state("CHN") + 2);
    // The last 12 slots repeat WSM..ZWE; the first copy is the one found.
    EXPECT_EQ(built_in().states().at(706), "WSM");
    EXPECT_EQ(built_in().states().at(717), "ZWE");
    EXPECT_EQ(state("WSM"), 694);
    EXPECT_EQ(state("ZWE"), 705);
    EXPECT_EQ(built_in().states().at(0), "CZ");
    EXPECT_EQ(built_in().states().at(718), "");
    EXPECT_EQ(built_in().states().at(-1), "");
}

TEST(CodeLists, StatesCompareWholeTextsByteByByte) {
    for (const char* code : {"XX", "", "cz", "C", "CZ ", " CZ", "CZEC", "2030", "03"})
        EXPECT_EQ(state(code), 718) << code;
    EXPECT_EQ(state(std::string_view("CZ\0", 3)), 718);
}

TEST(CodeLists, FixedLists) {
    EXPECT_EQ(list(List::LegalForms).entries().front(), "301");
    EXPECT_EQ(list(List::LegalForms).entries()[37], "921");
    EXPECT_EQ(list(List::LegalForms).entries()[38], "921");
    EXPECT_FALSE(list(List::LegalForms).contains("922"));
    EXPECT_TRUE(list(List::Nuts).contains("CZ010A"));
    EXPECT_TRUE(list(List::Nuts).contains("CZ0806"));
    EXPECT_FALSE(list(List::Nuts).contains("CZ0100"));
    EXPECT_FALSE(list(List::Nuts).contains("CZ010G"));
    EXPECT_FALSE(list(List::Nuts).contains("CZ020D"));
    EXPECT_EQ(list(List::Nuts).entries().front(), "CZ0101");
    EXPECT_EQ(list(List::Nuts).entries().back(), "CZ0806");
    EXPECT_TRUE(list(List::EmploymentStatuses).contains("1320"));
    EXPECT_FALSE(list(List::EmploymentStatuses).contains("1314"));
    EXPECT_TRUE(list(List::EmploymentKinds).contains("7"));
    EXPECT_FALSE(list(List::EmploymentKinds).contains("4"));
    EXPECT_TRUE(list(List::Education).contains("V"));
    EXPECT_FALSE(list(List::Education).contains("F"));
}

TEST(CodeLists, OccupationCodes) {
    const CodeList& occupations = list(List::Occupations);
    EXPECT_TRUE(occupations.contains("01010"));
    EXPECT_TRUE(occupations.contains("01011"));
    EXPECT_TRUE(occupations.contains("93399"));
    EXPECT_FALSE(occupations.contains("01018"));
    EXPECT_FALSE(occupations.contains("1010"));
    if (built_in().is_sample()) {
        EXPECT_EQ(occupations.size(), 5);
    }
}

TEST(CodeLists, SampleRegister) {
    if (!built_in().is_sample()) GTEST_SKIP() << "registers taken from TAVON_DATA_DIR";
    const SubmitterRegister& submitters = built_in().submitters();
    const ProviderRegister& providers = built_in().providers();
    EXPECT_EQ(submitters.entries().size(), 3u);
    EXPECT_EQ(providers.providers().size(), 5u);
    for (std::uint32_t ico : {10000003u, 10000011u, 10000020u}) EXPECT_TRUE(submitters.contains(ico));
    EXPECT_FALSE(submitters.contains(40000001u));
    EXPECT_EQ(providers.submitter_of(20000006u), 10000003u);
    EXPECT_EQ(providers.submitter_of(20000031u), 10000020u);
    EXPECT_EQ(providers.submitter_of(30000009u), 40000001u);
    EXPECT_EQ(providers.submitter_of(10000003u), std::nullopt);
}

TEST(CodeLists, FastLookupAsAScanFromTheFirstEntry) {
    const auto states = built_in().states().entries();
    for (const std::string& text : texts_to_try(states))
        EXPECT_EQ(state(text), static_cast<int>(first_match(states, std::string_view(text)))) << text;
    for (List which : {List::Occupations, List::LegalForms, List::EmploymentStatuses, List::EmploymentKinds,
                       List::Nuts, List::Education}) {
        const auto entries = list(which).entries();
        for (const std::string& text : texts_to_try(entries))
            EXPECT_EQ(list(which).contains(text),
                      first_match(entries, std::string_view(text)) < entries.size())
                << text;
    }

    const auto submitters = built_in().submitters().entries();
    for (std::uint32_t ico : numbers_to_try(submitters))
        EXPECT_EQ(built_in().submitters().contains(ico), first_match(submitters, ico) < submitters.size())
            << ico;
    const auto providers = built_in().providers().providers();
    for (std::uint32_t ico : numbers_to_try(providers)) {
        const std::size_t i = first_match(providers, ico);
        const auto expected =
            i < providers.size() ? std::optional(built_in().providers().submitters()[i]) : std::nullopt;
        EXPECT_EQ(built_in().providers().submitter_of(ico), expected) << ico;
    }
}

}  // namespace
}  // namespace tavon
