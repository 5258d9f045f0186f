// The employee store: the values of every employee record of the current employer that the
// employer rules need, one slot per record, with the employer-level sums and flags gathered while
// the records are read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/data_set.h"

namespace tavon {

// One employee record as the employer rules see it. The texts point into the store and stay valid
// until the next employer starts.
struct StoredEmployee {
    bool has_id = false;            // its identifier was read
    std::string_view AA0126 = "-";  // identifier
    std::uint64_t line = 0;         // line of the identifier; 0 = none
    std::int32_t AA0231 = 0;        // birth year
    char AA0211 = ' ';              // gender
    char AA0223 = ' ';              // education
    char AA0130 = ' ';              // kind of employment relationship
    std::int32_t AA0033 = 0;        // position in the state code list; the list's size = not in it
    std::string_view AA0033_text;   // the state code as read, when it is in no list
    std::int32_t AA0137 = 0, AA0218 = 0;
    double AA0131 = 0, AA0132 = 0, AA0136 = 0, AA0144 = 0, AA0166 = 0, AA0167 = 0, AA0168 = 0;
};

// Numbers that never fall from one slot to the next (stream positions), kept as their low 32 bits:
// the high bits change at most once per 4 GiB, so the slots where they change are a short list.
class RisingNumbers {
  public:
    void clear() {
        low_.clear();
        steps_.clear();
    }
    void push_back(std::uint64_t v);
    std::uint64_t operator[](std::size_t i) const {
        return steps_.empty() ? low_[i] : high_part(i) | low_[i];
    }
    std::size_t size() const { return low_.size(); }

  private:
    std::uint64_t high_part(std::size_t i) const;

    std::vector<std::uint32_t> low_;
    std::vector<std::pair<std::size_t, std::uint32_t>> steps_;  // (first slot, high bits) from there on
};

class EmployeeStore {
  public:
    EmployeeStore();
    ~EmployeeStore();

    void start_employer();
    void start_employee() {
        if (open_) seal();
        open_ = true;
        current_ = StoredEmployee{};
        current_state_unknown_ = false;
    }
    // Closes the record read last; the slots can be read from then on.
    void seal();

    // Keeps what the employer rules need of an employee field (by its row of the employee table)
    // in the current slot.
    void keep(int row, std::string_view text, double number, std::uint64_t line, const CodeList& states);
    // A state code of three characters, which the employer is told to avoid (WL053).
    void note_long_state_code(std::string_view code, std::uint64_t line);

    int last_slot() const { return static_cast<int>(offsets_.size()) + (open_ ? 1 : 0) - 1; }

    // The sealed slots.
    StoredEmployee record(std::int32_t slot) const;
    bool has_identifier(std::int32_t slot) const { return *at(slot) & kHasId; }
    std::string_view identifier(std::int32_t slot) const;
    char education(std::int32_t slot) const { return static_cast<char>(at(slot)[2]); }
    // The state code of a record as text: its list entry, or the code as read when it is in no list.
    static std::string_view state_code(const StoredEmployee& e, const CodeList& states) {
        return e.AA0033 < states.size() ? states.at(e.AA0033) : e.AA0033_text;
    }

    // Slot numbers in identifier order, built at the employer's end.
    std::vector<std::int32_t> order;

    double sum_AA0136 = 0;             // recalculated headcount over all records
    double count_AA0137 = 0;           // records in the register on the last day, each person once
    double sum_AA0144 = 0;             // salaries over all records
    bool some_AA0130_above_1 = false;  // some record is not in main employment
    bool some_AA0137_above_1 = false;  // some record is not in the register on the last day
    bool long_state_code_seen = false;
    std::string long_state_code;  // the last one
    std::uint64_t long_state_code_line = 0;
    std::string current_AA0013;  // occupation of the current employee record

  private:
    static constexpr std::uint8_t kHasId = 1, kUnknownState = 2;

    const std::uint8_t* at(std::int32_t slot) const {
        const std::uint64_t pos = offsets_[static_cast<std::size_t>(slot)];
        return chunks_[pos >> kChunkBits].get() + (pos & (kChunk - 1));
    }
    std::string_view text_at(const std::uint8_t*& p) const;
    void put_text(std::uint8_t*& p, std::string_view text);

    // Sealed records, each a run of bytes (see seal()) in chunks that are kept from one employer to
    // the next, so that neither a large employer nor the steady state reallocates them.
    static constexpr unsigned kChunkBits = 18;
    static constexpr std::uint64_t kChunk = std::uint64_t{1} << kChunkBits;
    std::vector<std::unique_ptr<std::uint8_t[]>> chunks_;
    std::uint64_t used_ = 0;  // stream position where the next record goes
    RisingNumbers offsets_;   // stream position of each slot's record
    std::string long_texts_;  // texts too long for a record's own bytes

    // The record being read, in full until it is sealed.
    bool open_ = false;
    StoredEmployee current_;
    bool current_state_unknown_ = false;
    std::string current_id_, current_state_;  // identifier, and state code when it is in no list
};

}  // namespace tavon
