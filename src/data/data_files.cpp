#include "data/data_files.h"

#include <algorithm>
#include <numeric>

namespace tavon::data {
namespace {

// Calls `line(text, number)` for every data line of the file.
template <typename F>
bool for_each_line(std::string_view bytes, F&& line) {
    int number = 0;
    while (!bytes.empty()) {
        ++number;
        const std::size_t end = bytes.find('\n');
        std::string_view text = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        const auto first = text.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || text[first] == '#') continue;
        const auto last = text.find_last_not_of(" \t\r");
        if (!line(text.substr(first, last - first + 1), number)) return false;
    }
    return true;
}

bool fail(Problem& problem, Problem::Kind kind, int line, std::string_view text) {
    problem = {kind, line, std::string(text)};
    return false;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter_or_digit(char c) { return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// An identification number: 1 to 8 decimal digits.
bool parse_ico(std::string_view text, int line, std::uint32_t& value, Problem& problem) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), is_digit))
        return fail(problem, Problem::NotANumber, line, text);
    const auto significant = std::min(text.find_first_not_of('0'), text.size() - 1);
    if (text.size() - significant > 8) return fail(problem, Problem::NumberTooLong, line, text);
    value = 0;
    for (char c : text) value = value * 10 + static_cast<std::uint32_t>(c - '0');
    return true;
}

// The words of a line separated by blanks.
std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ' && text[j] != '\t') ++j;
        if (j > i) out.push_back(text.substr(i, j - i));
        i = j;
    }
    return out;
}

}  // namespace

bool parse_code_list(std::string_view bytes, const ListFormat& format, std::vector<std::string>& codes,
                     Problem& problem) {
    codes.clear();
    int last_line = 0;
    const bool ok = for_each_line(bytes, [&](std::string_view code, int line) {
        last_line = line;
        const bool characters_ok = format.digits_only
                                       ? std::all_of(code.begin(), code.end(), is_digit)
                                       : std::all_of(code.begin(), code.end(), is_letter_or_digit);
        if (!characters_ok) return fail(problem, Problem::WrongCharacters, line, code);
        if (static_cast<int>(code.size()) < format.min_length ||
            static_cast<int>(code.size()) > format.max_length)
            return fail(problem, Problem::WrongLength, line, code);
        codes.emplace_back(code);
        return true;
    });
    if (!ok) return false;
    if (static_cast<int>(codes.size()) < format.min_entries)
        return fail(problem, Problem::TooFewEntries, last_line, std::to_string(codes.size()));
    return true;
}

bool parse_submitters(std::string_view bytes, std::vector<std::uint32_t>& submitters, Problem& problem) {
    submitters.clear();
    return for_each_line(bytes, [&](std::string_view text, int line) {
        std::uint32_t ico;
        if (!parse_ico(text, line, ico, problem)) return false;
        submitters.push_back(ico);
        return true;
    });
}

bool parse_providers(std::string_view bytes, std::vector<std::uint32_t>& providers,
                     std::vector<std::uint32_t>& their_submitters, Problem& problem) {
    providers.clear();
    their_submitters.clear();
    return for_each_line(bytes, [&](std::string_view text, int line) {
        const auto w = words(text);
        if (w.size() < 2) {
            if (w.size() == 1 && !std::all_of(w[0].begin(), w[0].end(), is_digit))
                return fail(problem, Problem::NotANumber, line, w[0]);
            return fail(problem, Problem::SubmitterMissing, line, text);
        }
        if (w.size() > 2) return fail(problem, Problem::ExtraText, line, text);
        std::uint32_t provider, submitter;
        if (!parse_ico(w[0], line, provider, problem) || !parse_ico(w[1], line, submitter, problem))
            return false;
        providers.push_back(provider);
        their_submitters.push_back(submitter);
        return true;
    });
}

bool parse_scale(std::string_view bytes, Scale& scale, Problem& problem) {
    int classes = 0;
    const bool ok = for_each_line(bytes, [&](std::string_view text, int line) {
        if (classes == kClasses) return fail(problem, Problem::WrongClassCount, line, text);
        int grades = 0;
        std::size_t from = 0;
        for (;;) {
            const std::size_t comma = text.find(',', from);
            const std::string_view value =
                text.substr(from, comma == std::string_view::npos ? comma : comma - from);
            if (grades == kGrades) return fail(problem, Problem::WrongGradeCount, line, text);
            if (value.empty() || value.size() > 9 || !std::all_of(value.begin(), value.end(), is_digit))
                return fail(problem, value.empty() ? Problem::WrongGradeCount : Problem::NotWholeCrowns, line,
                            value.empty() ? text : value);
            double crowns = 0;
            for (char c : value) crowns = crowns * 10 + (c - '0');
            const int at = classes * kGrades + grades;
            if (grades > 0 && crowns <= scale[static_cast<std::size_t>(at - 1)])
                return fail(problem, Problem::NotRising, line, value);
            scale[static_cast<std::size_t>(at)] = crowns;
            ++grades;
            if (comma == std::string_view::npos) break;
            from = comma + 1;
        }
        if (grades != kGrades) return fail(problem, Problem::WrongGradeCount, line, text);
        ++classes;
        return true;
    });
    if (!ok) return false;
    if (classes != kClasses) return fail(problem, Problem::WrongClassCount, classes, std::to_string(classes));
    return true;
}

std::string parse_campaign(std::string_view bytes) {
    std::string name;
    for_each_line(bytes, [&](std::string_view text, int) {
        name.assign(text.substr(0, 200));
        return false;
    });
    return name;
}

template <typename Key>
std::vector<std::int32_t> first_occurrences(std::span<const Key> keys) {
    std::vector<std::int32_t> positions(keys.size());
    std::iota(positions.begin(), positions.end(), 0);
    // A stable sort, and unique() keeping the first of each run of equal keys: the first in the file.
    std::stable_sort(positions.begin(), positions.end(), [&](auto a, auto b) { return keys[a] < keys[b]; });
    const auto end =
        std::unique(positions.begin(), positions.end(), [&](auto a, auto b) { return keys[a] == keys[b]; });
    positions.erase(end, positions.end());
    return positions;
}

template std::vector<std::int32_t> first_occurrences(std::span<const std::string>);
template std::vector<std::int32_t> first_occurrences(std::span<const std::string_view>);
template std::vector<std::int32_t> first_occurrences(std::span<const std::uint32_t>);
template std::vector<std::int32_t> first_occurrences(std::span<const std::uint64_t>);

}  // namespace tavon::data
