// The employee store keeps its records in a compact form: what goes in must come out unchanged, to
// the bit of every double, over many records, long texts, huge line numbers and a reused store.
#include "records/employee_store.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "fields/attribute_tables.h"
#include "tests/support/records.h"

namespace tavon::test {
namespace {

// Values that a short form could lose: signed zero, fractions that no power of two divides, more
// places than a short form holds, beyond 2^53, the smallest double.
const double kAmounts[] = {0.0,
                           -0.0,
                           0.6,
                           1.0 / 3,
                           64960,
                           -24864.5,
                           1e300,
                           9007199254740992.0,
                           9007199254740994.0,
                           -12.3456789,
                           5e-324,
                           0.1 + 0.2,
                           2923.07,
                           std::nextafter(0.3, 1.0),
                           -3};

struct Record {
    bool has_id;
    std::string id, state;
    std::uint64_t line;
    std::int32_t year, in_register, days;
    char gender, education, kind;
    double amounts[7];
};

Record make_record(std::size_t i) {
    Record r;
    r.has_id = i % 11 != 0;
    r.id =
        i % 97 == 1 ? std::string(250 + i % 20, 'L') + std::to_string(i) : std::to_string(i * 7919 % 10007);
    r.state = i % 3 == 0 ? "CZ" : i % 3 == 1 ? "X" + std::to_string(i) : "SVK";
    r.line = i % 5 == 0 ? (std::uint64_t{1} << 40) + i : i * 3 + 1;
    r.year = 1900 + static_cast<std::int32_t>(i % 120) - (i % 7 == 0 ? 4000 : 0);
    r.in_register = static_cast<std::int32_t>(i % 4) - 1;
    r.days = static_cast<std::int32_t>(i % 400);
    r.gender = "12\xC8"[i % 3];
    r.education = "ABCK"[i % 4];
    r.kind = "17239"[i % 5];
    for (std::size_t f = 0; f < 7; ++f) r.amounts[f] = kAmounts[(i + f * 5) % std::size(kAmounts)];
    return r;
}

void fill(EmployeeStore& store, std::size_t count, const CodeList& states) {
    store.start_employer();
    const int amount_rows[] = {employee::AA0131, employee::AA0132, employee::AA0136, employee::AA0144,
                               employee::AA0166, employee::AA0167, employee::AA0168};
    for (std::size_t i = 0; i < count; ++i) {
        const Record r = make_record(i);
        store.start_employee();
        if (r.has_id) {
            if (i % 13 == 0) store.keep(employee::AA0126, "first", 0, 1, states);  // the last one counts
            store.keep(employee::AA0126, r.id, 0, r.line, states);
        }
        store.keep(employee::AA0231, "", r.year, 0, states);
        store.keep(employee::AA0211, std::string(1, r.gender), 0, 0, states);
        store.keep(employee::AA0223, std::string(1, r.education), 0, 0, states);
        store.keep(employee::AA0130, std::string(1, r.kind), 0, 0, states);
        store.keep(employee::AA0033, "QQQ", 0, 0, states);  // overwritten below
        store.keep(employee::AA0033, r.state, 0, 0, states);
        store.keep(employee::AA0137, "", r.in_register, 0, states);
        store.keep(employee::AA0218, "", r.days, 0, states);
        for (std::size_t f = 0; f < 7; ++f) store.keep(amount_rows[f], "", r.amounts[f], 0, states);
    }
    store.seal();
}

void expect_records(const EmployeeStore& store, std::size_t count, const CodeList& states) {
    ASSERT_EQ(store.last_slot(), static_cast<int>(count) - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const Record r = make_record(i);
        const auto slot = static_cast<std::int32_t>(i);
        const StoredEmployee e = store.record(slot);
        SCOPED_TRACE(i);
        EXPECT_EQ(e.has_id, r.has_id);
        EXPECT_EQ(store.has_identifier(slot), r.has_id);
        EXPECT_EQ(e.AA0126, r.has_id ? r.id : "-");
        EXPECT_EQ(store.identifier(slot), r.has_id ? r.id : "-");
        EXPECT_EQ(e.line, r.has_id ? r.line : 0);
        EXPECT_EQ(e.AA0231, r.year);
        EXPECT_EQ(e.AA0137, r.in_register);
        EXPECT_EQ(e.AA0218, r.days);
        EXPECT_EQ(e.AA0211, r.gender);
        EXPECT_EQ(e.AA0223, r.education);
        EXPECT_EQ(store.education(slot), r.education);
        EXPECT_EQ(e.AA0130, r.kind);
        EXPECT_EQ(EmployeeStore::state_code(e, states), r.state);
        const double amounts[] = {e.AA0131, e.AA0132, e.AA0136, e.AA0144, e.AA0166, e.AA0167, e.AA0168};
        for (std::size_t f = 0; f < 7; ++f)
            EXPECT_EQ(std::bit_cast<std::uint64_t>(amounts[f]), std::bit_cast<std::uint64_t>(r.amounts[f]))
                << "amount " << f << ": " << r.amounts[f];
    }
}

TEST(StoredRecords, ComeBackUnchanged) {
    const CodeList& states = DataSet::built_in()->states();
    EmployeeStore store;
    // Far more records than one block of the store holds; then a smaller employer in the same store.
    fill(store, 30000, states);
    expect_records(store, 30000, states);
    fill(store, 40, states);
    expect_records(store, 40, states);
    store.start_employer();
    EXPECT_EQ(store.last_slot(), -1);
}

TEST(StoredRecords, PositionsBeyond32Bits) {
    RisingNumbers numbers;
    const std::uint64_t g = std::uint64_t{1} << 32;
    const std::vector<std::uint64_t> values = {0, 5, g - 1, g, g, g + 7, 3 * g + 1, 3 * g + 1, g << 8};
    for (int round = 0; round < 2; ++round) {
        numbers.clear();
        for (std::uint64_t v : values) numbers.push_back(v);
        ASSERT_EQ(numbers.size(), values.size());
        for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(numbers[i], values[i]) << i;
    }
}

// One person's records far apart in a large employer whose identifiers come in falling order: they
// are found and compared as one person.
TEST(StoredRecords, OnePersonAcrossALargeEmployer) {
    constexpr std::size_t kCount = 15000;
    const std::size_t person[] = {0, 7000, kCount - 1};
    DocumentBuilder d(true);
    d.employer(example_employer(kCount), true);
    for (std::size_t i = 0; i < kCount; ++i) {
        const bool of_person = i == person[0] || i == person[1] || i == person[2];
        d.employee(with(example_employee(of_person ? "P" : std::to_string(99999 - i)),
                        {{"AA0231", i == person[2] ? "1971" : "1970"}}),
                   true);
    }
    d.end_employer();
    const std::string lines = d.employee_line(person[0], "AA0126") + "," +
                              d.employee_line(person[1], "AA0126") + "," +
                              d.employee_line(person[2], "AA0126");
    EXPECT_EQ(report_rows(d, {"EL003"}),
              (std::vector<std::string>{row(lines, "EL003", "20000006", "P", "AA0231", "1970", "1971")}));
}

}  // namespace
}  // namespace tavon::test
