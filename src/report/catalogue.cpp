#include "report/catalogue.h"

#include "fields/attribute_tables.h"

namespace tavon {
namespace {

#include "tavon_catalogue/catalogue.inc"

constexpr int kSubmitterCount = submitter::kCount;
constexpr int kEmployerCount = employer::kCount;
constexpr int kEmployeeCount = employee::kCount;
static_assert(std::size(kFieldEntries) == kSubmitterCount + kEmployerCount + kEmployeeCount);

}  // namespace

std::span<const CatalogueEntry> code_entries() { return kCodeEntries; }

std::span<const CatalogueEntry> field_entries() { return kFieldEntries; }

int field_entry_index(std::string_view name) {
    if (int row = find_employee_row(name); row >= 0) return kSubmitterCount + kEmployerCount + row;
    if (int row = find_employer_row(name); row >= 0) return kSubmitterCount + row;
    return find_submitter_row(name);
}

}  // namespace tavon
