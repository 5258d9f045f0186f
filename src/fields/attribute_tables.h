// The three attribute tables (submitter, employer, employee): per field its name, type,
// permitted length, value range and error code, in the order the fields must stand. Each table
// ends with an end marker row, which is no field.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "tavon/codes.h"
#include "tavon/cz.h"

namespace tavon {

// A field's value range: none, two bounds of kNumberBounds, or two of kTextBounds (compared
// byte-wise), by their positions there.
struct Range {
    enum class Kind : std::uint8_t { None, Numbers, Texts };
    Kind kind = Kind::None;
    std::uint8_t from = 0, to = 0;
};
constexpr Range unchecked() { return {}; }
constexpr Range numbers(std::uint8_t from, std::uint8_t to) { return {Range::Kind::Numbers, from, to}; }
constexpr Range texts(std::uint8_t from, std::uint8_t to) { return {Range::Kind::Texts, from, to}; }

// One row of an attribute table: what a field named so must look like.
struct FieldDefinition {
    std::string_view name;  // element name
    int min_length;         // inclusive length bounds in bytes
    int max_length;
    Range range;
    Code code;  // code of every failure of the generic checks
    char type;  // 'S' text, 'N' whole number, 'R' number with decimals

    constexpr bool has_number_range() const { return range.kind == Range::Kind::Numbers; }
    constexpr bool has_text_range() const { return range.kind == Range::Kind::Texts; }
};

// The bounds that the range references point to.
inline constexpr std::array<double, 27> kNumberBounds = {
    0,        999999999, 1,     0,     999999,  1000000000000, 0.0001,  100000000000, 1906,
    1992,     2,         7,     80,    99,      9999.99,       16,      12,           5,
    -9999999, -99999,    -9999, 99999, -999990, -999999,       9999999, 9999,         365};

namespace detail {
inline constexpr auto kTopText = cz<12>("ýýýýýýýýýý");
}

inline constexpr std::array<std::string_view, 23> kTextBounds = {"2006",
                                                                 "1-6",
                                                                 "0",
                                                                 detail::kTopText.view(),
                                                                 "+",
                                                                 "2006-06-01T00:00:00",
                                                                 "2006-09-30T23:59:59",
                                                                 " ",
                                                                 "000",
                                                                 "zzz",
                                                                 "CZ0000",
                                                                 "CZ0999",
                                                                 "20060601",
                                                                 "20060930",
                                                                 "zzzzzzzzzz",
                                                                 "1",
                                                                 "2",
                                                                 "A",
                                                                 "Z",
                                                                 "004",
                                                                 "ZWE",
                                                                 "00000",
                                                                 "zzzzz"};

inline constexpr std::array<FieldDefinition, 9> kSubmitterFields = {{
    {"rok", 4, 4, texts(0, 0), Code::ER209, 'S'},
    {"AA0226", 3, 3, texts(1, 1), Code::EL030, 'S'},
    {"ICOpredkladatele", 8, 8, unchecked(), Code::ESICO, 'N'},
    {"predkladatel", 1, 50, texts(2, 3), Code::ESPRE, 'S'},
    {"autor", 2, 50, texts(2, 3), Code::ESAUT, 'S'},
    {"mail", 6, 50, texts(2, 3), Code::ESEMA, 'S'},
    {"telefon", 9, 50, texts(4, 3), Code::WSTEL, 'S'},
    {"vytvoreno", 19, 19, texts(5, 6), Code::ESVYT, 'S'},
    {"KoNeCP", 0, 0, unchecked(), Code{}, ' '},  // the end marker: no field, never reported
}};

inline constexpr std::array<FieldDefinition, 12> kEmployerFields = {{
    {"AA0017", 8, 8, numbers(2, 1), Code::ES017, 'N'},
    {"AA0113", 0, 10, texts(7, 3), Code::ES113, 'S'},
    {"AA0019", 3, 3, texts(8, 9), Code::ES019, 'S'},
    {"AA0179", 6, 6, texts(10, 11), Code::ES179, 'S'},
    {"AA0110", 8, 8, texts(12, 13), Code::ES110, 'S'},
    {"AA0116", 1, 6, numbers(3, 4), Code::ES116, 'N'},
    {"AA0123", 1, 12, numbers(3, 5), Code::ES123, 'N'},
    {"AA0114", 1, 11, numbers(6, 7), Code::EL057, 'R'},
    {"AA0115", 1, 6, numbers(3, 4), Code::ES115, 'N'},
    {"AA0118", 1, 12, numbers(3, 5), Code::ES118, 'N'},
    {"AA0119", 1, 12, numbers(3, 5), Code::ES119, 'N'},
    {"KoNeCT", 0, 0, unchecked(), Code{}, ' '},
}};

inline constexpr std::array<FieldDefinition, 59> kEmployeeFields = {{
    {"AA0126", 1, 10, texts(7, 14), Code::ES126, 'S'},   {"AA0231", 4, 4, numbers(8, 9), Code::EL002, 'N'},
    {"AA0211", 1, 1, texts(15, 16), Code::EL032, 'S'},   {"AA0223", 1, 1, texts(17, 18), Code::ES223, 'S'},
    {"AA0033", 2, 3, texts(19, 20), Code::ES033, 'S'},   {"AA0013", 5, 5, texts(21, 22), Code::ES013, 'S'},
    {"AA0125", 1, 1, numbers(2, 10), Code::WL034, 'N'},  {"AA0130", 1, 1, numbers(2, 11), Code::ES130, 'N'},
    {"AA0131", 1, 5, numbers(3, 12), Code::ES131, 'R'},  {"AA0225", 1, 5, numbers(3, 13), Code::ES225, 'R'},
    {"AA0216", 1, 6, numbers(3, 13), Code::ES216, 'R'},  {"AA0132", 1, 7, numbers(3, 14), Code::ES132, 'R'},
    {"AA0133", 1, 7, numbers(3, 14), Code::ES133, 'R'},  {"AA0134", 1, 7, numbers(3, 14), Code::ES134, 'R'},
    {"AA0135", 1, 7, numbers(3, 14), Code::ES135, 'R'},  {"AA0136", 1, 6, numbers(3, 2), Code::ES136, 'R'},
    {"AA0137", 1, 1, numbers(2, 10), Code::ES137, 'N'},  {"AA0127", 1, 2, numbers(2, 15), Code::EL044, 'N'},
    {"AA0128", 1, 2, numbers(3, 16), Code::ES128, 'N'},  {"AA0129", 1, 1, numbers(2, 17), Code::EL001, 'N'},
    {"AA0138", 1, 6, numbers(3, 4), Code::ES138, 'N'},   {"AA0139", 1, 6, numbers(3, 4), Code::ES139, 'N'},
    {"AA0140", 1, 6, numbers(3, 4), Code::ES140, 'N'},   {"AA0141", 1, 6, numbers(3, 4), Code::ES141, 'N'},
    {"AA0142", 1, 6, numbers(3, 4), Code::ES142, 'N'},   {"AA0143", 1, 6, numbers(3, 4), Code::ES143, 'N'},
    {"AA0144", 1, 8, numbers(18, 1), Code::ES144, 'N'},  {"AA0145", 1, 8, numbers(18, 1), Code::ES145, 'N'},
    {"AA0146", 1, 6, numbers(19, 4), Code::ES146, 'N'},  {"AA0147", 1, 6, numbers(19, 4), Code::ES147, 'N'},
    {"AA0148", 1, 6, numbers(19, 4), Code::ES148, 'N'},  {"AA0160", 1, 6, numbers(19, 4), Code::ES160, 'N'},
    {"AA0162", 1, 5, numbers(20, 21), Code::ES162, 'N'}, {"AA0150", 1, 6, numbers(19, 4), Code::ES150, 'N'},
    {"AA0239", 1, 6, numbers(19, 4), Code::ES239, 'N'},  {"AA0240", 1, 6, numbers(22, 4), Code::ES240, 'N'},
    {"AA0151", 1, 6, numbers(19, 4), Code::ES151, 'N'},  {"AA0152", 1, 6, numbers(19, 4), Code::ES152, 'N'},
    {"AA0153", 1, 6, numbers(19, 4), Code::ES153, 'N'},  {"AA0154", 1, 6, numbers(19, 4), Code::ES154, 'N'},
    {"AA0155", 1, 6, numbers(19, 4), Code::ES155, 'N'},  {"AA0156", 1, 6, numbers(19, 4), Code::ES156, 'N'},
    {"AA0157", 1, 7, numbers(23, 24), Code::ES157, 'N'}, {"AA0163", 1, 6, numbers(19, 4), Code::ES163, 'N'},
    {"AA0161", 1, 6, numbers(19, 4), Code::ES161, 'N'},  {"AA0237", 1, 6, numbers(19, 4), Code::ES237, 'N'},
    {"AA0238", 1, 6, numbers(19, 4), Code::ES238, 'N'},  {"AA0158", 1, 6, numbers(19, 4), Code::ES158, 'N'},
    {"AA0159", 1, 6, numbers(19, 4), Code::ES159, 'N'},  {"AA0165", 1, 7, numbers(3, 14), Code::ES165, 'R'},
    {"AA0166", 1, 12, numbers(3, 1), Code::ES166, 'N'},  {"AA0167", 1, 6, numbers(19, 4), Code::ES167, 'N'},
    {"AA0168", 1, 6, numbers(19, 4), Code::ES168, 'N'},  {"AA0091", 4, 4, numbers(3, 25), Code::ES091, 'N'},
    {"AA0210", 1, 3, numbers(3, 26), Code::ES210, 'N'},  {"AA0218", 1, 3, numbers(3, 26), Code::ES218, 'N'},
    {"AA0219", 1, 3, numbers(3, 26), Code::ES219, 'N'},  {"AA0690", 6, 6, texts(10, 11), Code::ES690, 'S'},
    {"KoNeCN", 0, 0, unchecked(), Code{}, ' '},
}};

// Row of a field name in a table (the end marker excluded), -1 when it has none. Gives the same
// row as a scan from the first row, without comparing the name with every row.
int find_submitter_row(std::string_view name);
int find_employer_row(std::string_view name);
int find_employee_row(std::string_view name);

// Rows by field name, for the checks and rules that name fields.
namespace employee {
enum Row : int {
    AA0126,
    AA0231,
    AA0211,
    AA0223,
    AA0033,
    AA0013,
    AA0125,
    AA0130,
    AA0131,
    AA0225,
    AA0216,
    AA0132,
    AA0133,
    AA0134,
    AA0135,
    AA0136,
    AA0137,
    AA0127,
    AA0128,
    AA0129,
    AA0138,
    AA0139,
    AA0140,
    AA0141,
    AA0142,
    AA0143,
    AA0144,
    AA0145,
    AA0146,
    AA0147,
    AA0148,
    AA0160,
    AA0162,
    AA0150,
    AA0239,
    AA0240,
    AA0151,
    AA0152,
    AA0153,
    AA0154,
    AA0155,
    AA0156,
    AA0157,
    AA0163,
    AA0161,
    AA0237,
    AA0238,
    AA0158,
    AA0159,
    AA0165,
    AA0166,
    AA0167,
    AA0168,
    AA0091,
    AA0210,
    AA0218,
    AA0219,
    AA0690,
    kCount
};
}
namespace employer {
enum Row : int {
    AA0017,
    AA0113,
    AA0019,
    AA0179,
    AA0110,
    AA0116,
    AA0123,
    AA0114,
    AA0115,
    AA0118,
    AA0119,
    kCount
};
}
namespace submitter {
enum Row : int { rok, AA0226, ICOpredkladatele, predkladatel, autor, mail, telefon, vytvoreno, kCount };
}

// The six bytes of each employee field code as one number, for comparing a name at once.
constexpr std::uint64_t code_key(std::string_view name) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 6 && i < name.size(); ++i)
        key |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * i);
    return key;
}
inline constexpr auto kEmployeeCodeKeys = [] {
    std::array<std::uint64_t, kEmployeeFields.size()> keys{};
    for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = code_key(kEmployeeFields[i].name);
    return keys;
}();

// Whether `name` is the field code of employee row `row` (the six bytes loaded as the keys are built).
static_assert(std::endian::native == std::endian::little, "code keys are built for little-endian machines");
inline bool is_code_of_row(std::string_view name, int row) {
    if (name.size() != 6) return false;
    std::uint32_t low;
    std::uint16_t high;
    std::memcpy(&low, name.data(), 4);
    std::memcpy(&high, name.data() + 4, 2);
    return (std::uint64_t{low} | std::uint64_t{high} << 32) ==
           kEmployeeCodeKeys[static_cast<std::size_t>(row)];
}

constexpr bool rows_match_names() {
    for (int i = 0; i < employee::kCount; ++i)
        if (kEmployeeFields[static_cast<std::size_t>(i)].name.size() != 6) return false;
    return kEmployeeFields[employee::AA0690].name == "AA0690" &&
           kEmployeeFields[employee::AA0136].name == "AA0136" &&
           kEmployerFields[employer::AA0119].name == "AA0119" &&
           kSubmitterFields[submitter::vytvoreno].name == "vytvoreno" &&
           kEmployeeFields.size() == employee::kCount + 1 && kEmployerFields.size() == employer::kCount + 1 &&
           kSubmitterFields.size() == submitter::kCount + 1;
}
static_assert(rows_match_names());

}  // namespace tavon
