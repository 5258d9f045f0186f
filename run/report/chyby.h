// The error table: every code the validator reports, with its description and the
// expected-value text that a caller may ask for with "?".
#pragma once

#include <span>
#include <string_view>

namespace tavon {

struct Chyba {
    std::string_view typ;  // EtabTyp: the five-character code
    std::string_view txt;  // EtabTxt: the description ("Popis")
    std::string_view cek;  // EtabCek: the expected-value text, empty for most rows
};

// The searchable rows, in table order (the sentinel is not part of the span).
std::span<const Chyba> chybova_tabulka();

// The sentinel row used for a code that is not in the table.
const Chyba& chyba_konec();

// Row index of a code, or -1 when the table does not hold it.
int najdi_chybu(std::string_view typ);

}  // namespace tavon
