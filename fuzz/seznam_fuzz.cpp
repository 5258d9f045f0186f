// The input split into two files named by a list file: the files of a list are read as one
// text, so the reports and the output file must be those of the joined document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/overeni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavon::fuzz;
    if (size < 2) return 0;
    priprav_adresar();
    const std::string_view cele(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t rez = (static_cast<std::size_t>(data[0]) << 8 | data[1]) % (cele.size() + 1);
    const std::string a = cesta("a.xml");
    zapis(a, cele.substr(0, rez));
    zapis(cesta("b.xml"), cele.substr(rez));
    zapis(cesta("l.txt"), a + "\r\n" + cesta("b.xml") + "\r\n");
    zapis(cesta("c.xml"), cele);

    std::string vystup;
    const Obsah spojene = over_vse(cesta("c.xml"), data[0], &vystup);

    const std::string seznam = "@" + cesta("l.txt");
    const RunResult csv = run_belun({seznam, cesta("s.csv"), cesta("s.xml")}, cesta("s.csv"), cesta("s.xml"));
    const Obsah o = over_csv(csv.report);
    over_stejne(spojene, o, "list against joined document (CSV)");
    over_konzoli(csv.console, o);
    if (csv.copy != vystup) selhani("output file of the list differs from the joined document's");

    const RunResult xml = run_belun({seznam, cesta("s.xml")}, cesta("s.xml"), "");
    const Obsah ox = over_xml(xml.report);
    if (ox.radky.size() != o.radky.size() || ox.chybE != o.chybE || ox.chybW != o.chybW)
        selhani("list: XML report differs from the CSV report");
    if (xml.report.find("<Soubor>" + a + "</Soubor>") == std::string::npos)
        selhani("list: header names no first file");
    return 0;
}
