#include "fields/attribute_tables.h"

#include <cstring>

namespace tavon {
namespace {

// Field codes are "AA" and four digits: index the rows of each table by those digits.
template <std::size_t N>
constexpr std::array<std::int8_t, 10000> index_by_code(const std::array<FieldDefinition, N>& table) {
    std::array<std::int8_t, 10000> idx{};
    idx.fill(-1);
    for (std::size_t i = 0; i + 1 < N; ++i) {
        std::string_view e = table[i].name;
        if (e.size() == 6 && e[0] == 'A' && e[1] == 'A') {
            int k = (e[2] - '0') * 1000 + (e[3] - '0') * 100 + (e[4] - '0') * 10 + (e[5] - '0');
            if (idx[k] < 0) idx[k] = static_cast<std::int8_t>(i);
        }
    }
    return idx;
}

constexpr auto kSubmitterIndex = index_by_code(kSubmitterFields);
constexpr auto kEmployerIndex = index_by_code(kEmployerFields);
constexpr auto kEmployeeIndex = index_by_code(kEmployeeFields);

bool is_digit(char c) { return c >= '0' && c <= '9'; }

template <std::size_t R>
int find_row(const std::array<FieldDefinition, R>& table, const std::array<std::int8_t, 10000>& index,
             std::string_view name) {
    if (name.size() == 6 && name[0] == 'A' && name[1] == 'A' && is_digit(name[2]) && is_digit(name[3]) &&
        is_digit(name[4]) && is_digit(name[5]))
        return index[(name[2] - '0') * 1000 + (name[3] - '0') * 100 + (name[4] - '0') * 10 + (name[5] - '0')];
    for (std::size_t i = 0; i + 1 < R; ++i)
        if (table[i].name == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

int find_submitter_row(std::string_view name) { return find_row(kSubmitterFields, kSubmitterIndex, name); }
int find_employer_row(std::string_view name) { return find_row(kEmployerFields, kEmployerIndex, name); }
int find_employee_row(std::string_view name) {
    // The common case: "AA" and four digits, the digits checked four bytes at a time.
    if (name.size() == 6 && name[0] == 'A' && name[1] == 'A') {
        std::uint32_t c;
        std::memcpy(&c, name.data() + 2, 4);
        // Every byte 0x30-0x3F, and none of them above '9'.
        if ((c & 0xF0F0F0F0u) == 0x30303030u && ((c + 0x06060606u) & 0xF0F0F0F0u) == 0x30303030u) {
            const auto* b = reinterpret_cast<const unsigned char*>(name.data() + 2);
            return kEmployeeIndex[(b[0] - '0') * 1000 + (b[1] - '0') * 100 + (b[2] - '0') * 10 +
                                  (b[3] - '0')];
        }
    }
    return find_row(kEmployeeFields, kEmployeeIndex, name);
}

}  // namespace tavon
