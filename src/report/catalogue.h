// The catalogue of codes and fields (docs/catalogue.txt, turned into C++ at build time): for every
// code of the error table what was checked, the usual causes and what to change; for every field of
// the attribute tables its meaning, type, length and range. The HTML report embeds the entries of the
// codes and fields it names.
#pragma once

#include <span>
#include <string_view>

namespace tavon {

struct CatalogueEntry {
    std::string_view name;  // the code or field, e.g. "EL051", "AA0138"
    // The entry as HTML in Windows-1250 ("\n" line ends). A code or field named in its text is
    // marked "\1NAME\2": a link when the report holds that entry, plain text otherwise.
    std::string_view html;
};

// The entries of the codes, in the order of the error table.
std::span<const CatalogueEntry> code_entries();

// The entries of the fields: the submitter's, the employer's and the employee's, in table order.
std::span<const CatalogueEntry> field_entries();

// Index of a field name in field_entries(), -1 when it is no field of the attribute tables.
int field_entry_index(std::string_view name);

}  // namespace tavon
