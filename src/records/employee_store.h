// The employee store: the values of every employee record of the current employer that the
// employer rules need, one slot per record, with the employer-level sums and flags gathered while
// the records are read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/data_set.h"

namespace tavon {

struct StoredEmployee {
    std::int32_t slot = -1;    // the slot's own number once its identifier is stored
    std::string AA0126 = "-";  // identifier
    std::uint64_t line = 0;    // line of the identifier; 0 = none
    std::int32_t AA0231 = 0;   // birth year
    char AA0211 = ' ';         // gender
    char AA0223 = ' ';         // education
    std::int32_t AA0033 = 0;   // position in the state code list; the list's size = not in it
    char AA0130 = ' ';         // kind of employment relationship
    double AA0131 = 0, AA0225 = 0, AA0216 = 0, AA0132 = 0, AA0136 = 0;
    std::int32_t AA0137 = 0;
    double AA0144 = 0, AA0166 = 0, AA0167 = 0, AA0168 = 0;
    std::int32_t AA0218 = 0;
};

class EmployeeStore {
  public:
    void start_employer();
    void start_employee() { records.emplace_back(); }

    // Keeps what the employer rules need of an employee field (by its row of the employee table)
    // in the current slot.
    void keep(int row, std::string_view text, double number, std::uint64_t line, const CodeList& states);
    // A state code of three characters, which the employer is told to avoid (WL053).
    void note_long_state_code(std::string_view code, std::string_view line_text);

    int last_slot() const { return static_cast<int>(records.size()) - 1; }
    // The state code of a slot as text: its list entry, or the code as read when it is in no list.
    std::string_view state_code(std::int32_t slot, const CodeList& states) const;

    // One slot per employee record of the employer, however many; cleared at its start.
    std::vector<StoredEmployee> records;
    // Slot numbers in identifier order, built at the employer's end.
    std::vector<std::int32_t> order;
    // State codes not in the list, as read, by slot (rare, so kept apart from the slots).
    std::vector<std::pair<std::int32_t, std::string>> unknown_states;

    double sum_AA0136 = 0;             // recalculated headcount over all records
    double count_AA0137 = 0;           // records in the register on the last day, each person once
    double sum_AA0144 = 0;             // salaries over all records
    bool some_AA0130_above_1 = false;  // some record is not in main employment
    bool some_AA0137_above_1 = false;  // some record is not in the register on the last day
    bool long_state_code_seen = false;
    std::string long_state_code;  // the last one
    std::string long_state_code_line;
    std::string current_AA0013;  // occupation of the current employee record
};

}  // namespace tavon
