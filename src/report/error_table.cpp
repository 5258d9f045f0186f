#include "report/error_table.h"

#include <algorithm>
#include <array>

#include "tavon/codes.h"
#include "tavon/cz.h"

#ifndef TAVON_NS_HOST
#define TAVON_NS_HOST "duv.example.org"
#endif

namespace tavon {
namespace {

struct Row {
    std::string_view code;
    CzText<192> description;
    CzText<48> expected;
};

// The error table of tavon/codes.h, its texts in Windows-1250.
constexpr Row kRows[] = {
#define TAVON_ERROR_ROW(code, description, expected) {#code, cz<192>(description), cz<48>(expected)},
    TAVON_ERROR_TABLE(TAVON_ERROR_ROW)
#undef TAVON_ERROR_ROW
};

constexpr std::size_t kCount = std::size(kRows);
static_assert(kCount == kCodeCount);

struct Table {
    std::array<ErrorCode, kCount> rows{};
    // Row numbers sorted by code, for a binary search that finds the same row as a scan.
    std::array<short, kCount> sorted{};
    // The rows of codes with three digits ("ES301"), by kind, group and number; -1 for none.
    std::array<short, 2 * 3 * 1000> by_number{};
};

// Index of a code of the form [EW][SLR] and three digits in `by_number`, or -1.
constexpr int number_key(std::string_view k) {
    if (k.size() != 5) return -1;
    int kind = k[0] == 'E' ? 0 : k[0] == 'W' ? 1 : -1;
    int group = k[1] == 'S' ? 0 : k[1] == 'L' ? 1 : k[1] == 'R' ? 2 : -1;
    if (kind < 0 || group < 0) return -1;
    int n = 0;
    for (int i = 2; i < 5; ++i) {
        if (k[i] < '0' || k[i] > '9') return -1;
        n = n * 10 + (k[i] - '0');
    }
    return (kind * 3 + group) * 1000 + n;
}

constexpr Table build() {
    Table t;
    for (std::size_t i = 0; i < kCount; ++i) {
        t.rows[i] = {kRows[i].code, kRows[i].description.view(), kRows[i].expected.view()};
        t.sorted[i] = static_cast<short>(i);
    }
    t.by_number.fill(-1);
    for (std::size_t i = kCount; i-- > 0;)
        if (int k = number_key(t.rows[i].code); k >= 0) t.by_number[k] = static_cast<short>(i);
    std::sort(t.sorted.begin(), t.sorted.end(),
              [&](short a, short b) { return t.rows[a].code < t.rows[b].code; });
    return t;
}

constexpr Table kTable = build();

}  // namespace

std::span<const ErrorCode> error_table() { return kTable.rows; }

std::string_view description(Code code) { return kTable.rows[static_cast<std::size_t>(code)].description; }

std::string_view table_expected(Code code) { return kTable.rows[static_cast<std::size_t>(code)].expected; }

int find_error_code(std::string_view code) {
    if (int k = number_key(code); k >= 0) return kTable.by_number[k];
    auto it = std::lower_bound(kTable.sorted.begin(), kTable.sorted.end(), code,
                               [](short r, std::string_view k) { return kTable.rows[r].code < k; });
    if (it == kTable.sorted.end() || kTable.rows[*it].code != code) return -1;
    return *it;
}

}  // namespace tavon
