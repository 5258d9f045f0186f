// The error report: header, one row per finding in the chosen format, the per-code
// summary and the footer, with the counts by kind and by code.
#pragma once

#include <string_view>
#include <vector>

#include "run/report/soubor.h"

namespace tavon {

class Hlaseni {
  public:
    Hlaseni();

    char sw_err = 'H';     // 'H' HTML, 'T' text, 'C' CSV, 'X' XML
    char sw_nepisW = 'N';  // 'A': warnings are counted but not written
    int sumchybE = 0;
    int sumchybW = 0;
    std::vector<int> EtabNum;  // rows written per code, in table order
    VystupniSoubor errsoub;

    // Counts the finding and writes its row; 1 when written, 0 for a suppressed warning.
    int zpracuj_chybu(std::string_view radek, std::string_view kod, std::string_view prvek,
                      std::string_view hodnota, std::string_view ocekavano, std::string_view telicokod,
                      std::string_view identnec);

    void pis_hlavicku(std::string_view datetime, std::string_view soubor);
    // Per-code summary (HTML only) and the footer of the chosen format.
    void pis_paticku();
};

// The report format chosen by the report file's name: the text after its first dot.
char format_hlaseni(std::string_view s_chyby);

}  // namespace tavon
