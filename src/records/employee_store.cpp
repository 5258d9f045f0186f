#include "records/employee_store.h"

#include <limits>

#include "fields/attribute_tables.h"

namespace tavon {
namespace {

// A number cut toward zero to 32 bits; values beyond that range, which their field's own checks
// reject, become the lowest integer rather than undefined behaviour.
std::int32_t whole(double d) {
    if (!(d > -2147483649.0 && d < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(d);
}

char first_char(std::string_view s) { return s.empty() ? '\0' : s[0]; }

}  // namespace

void EmployeeStore::start_employer() {
    records.clear();
    unknown_states.clear();
    sum_AA0136 = count_AA0137 = sum_AA0144 = 0;
    some_AA0130_above_1 = some_AA0137_above_1 = long_state_code_seen = false;
}

void EmployeeStore::keep(int row, std::string_view text, double number, std::uint64_t line,
                         const CodeList& states) {
    if (records.empty()) return;
    const int k = last_slot();
    StoredEmployee& e = records[static_cast<std::size_t>(k)];
    switch (row) {
        case employee::AA0126:
            e.AA0126.assign(text);
            e.line = line;
            e.slot = k;
            break;
        case employee::AA0231: e.AA0231 = whole(number); break;
        case employee::AA0211: e.AA0211 = first_char(text); break;
        case employee::AA0223: e.AA0223 = first_char(text); break;
        case employee::AA0033:
            e.AA0033 = states.position(text);
            if (e.AA0033 >= states.size()) unknown_states.emplace_back(k, text);
            break;
        case employee::AA0013: current_AA0013.assign(text); break;
        case employee::AA0130:
            e.AA0130 = first_char(text);
            if (e.AA0130 >= '2' && e.AA0130 <= '6') some_AA0130_above_1 = true;
            break;
        case employee::AA0131: e.AA0131 = number; break;
        case employee::AA0225: e.AA0225 = number; break;
        case employee::AA0216: e.AA0216 = number; break;
        case employee::AA0132: e.AA0132 = number; break;
        case employee::AA0136: e.AA0136 = number; break;
        case employee::AA0144: e.AA0144 = number; break;
        case employee::AA0166: e.AA0166 = number; break;
        case employee::AA0167: e.AA0167 = number; break;
        case employee::AA0168: e.AA0168 = number; break;
        case employee::AA0137: e.AA0137 = whole(number); break;
        case employee::AA0218: e.AA0218 = whole(number); break;
        default: break;
    }
}

void EmployeeStore::note_long_state_code(std::string_view code, std::string_view line_text) {
    long_state_code_seen = true;
    long_state_code_line.assign(line_text);
    long_state_code.assign(code);
}

std::string_view EmployeeStore::state_code(std::int32_t slot, const CodeList& states) const {
    const StoredEmployee& e = records[static_cast<std::size_t>(slot)];
    if (e.AA0033 < states.size()) return states.at(e.AA0033);
    std::string_view code;  // the last code read for the slot, as the slot keeps the last value
    for (const auto& [k, text] : unknown_states)
        if (k == slot) code = text;
    return code;
}

}  // namespace tavon
