// The catalogue compiled into the program: an entry for every code of the error table and every
// field of the attribute tables, in their order, each with its anchor; the texts name only codes and
// fields of the program.
#include "report/catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "fields/attribute_tables.h"
#include "report/error_table.h"

namespace tavon {
namespace {

// The names marked "\1NAME\2" in an entry.
std::vector<std::string> marked_names(std::string_view html) {
    std::vector<std::string> names;
    for (auto start = html.find('\1'); start != std::string_view::npos; start = html.find('\1', start + 1))
        names.emplace_back(html.substr(start + 1, html.find('\2', start) - start - 1));
    return names;
}

TEST(Catalogue, AnEntryForEveryCodeAndField) {
    const auto codes = error_table();
    const auto code_entries = tavon::code_entries();
    ASSERT_EQ(code_entries.size(), codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(code_entries[i].name, codes[i].code);
        EXPECT_TRUE(code_entries[i].html.starts_with("<h3 id=\"kod-" + std::string(codes[i].code) + "\">"))
            << codes[i].code;
    }

    std::vector<std::string_view> fields;
    for (const auto* table : {kSubmitterFields.data(), kEmployerFields.data(), kEmployeeFields.data()})
        for (const FieldDefinition* f = table; !f->name.starts_with("KoNeC"); ++f) fields.push_back(f->name);
    const auto field_entries = tavon::field_entries();
    ASSERT_EQ(field_entries.size(), fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(field_entries[i].name, fields[i]);
        EXPECT_EQ(field_entry_index(fields[i]), static_cast<int>(i)) << fields[i];
        EXPECT_TRUE(field_entries[i].html.starts_with("<h3 id=\"pole-" + std::string(fields[i]) + "\">"))
            << fields[i];
    }
    for (std::string_view no_field : {"KoNeCN", "AA9999", "DUV", "zamestnanec", "AA0017 "})
        EXPECT_EQ(field_entry_index(no_field), -1) << no_field;

    for (const auto* entries : {&code_entries, &field_entries})
        for (const auto& e : *entries)
            for (const auto& name : marked_names(e.html))
                EXPECT_TRUE(find_error_code(name) >= 0 || field_entry_index(name) >= 0)
                    << e.name << " names " << name;
}

}  // namespace
}  // namespace tavon
