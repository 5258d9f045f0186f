#include "fuzz/overeni.h"

#include <expat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string_view>

#include "cli/belun.h"
#include "report/error_table.h"

namespace tavon::fuzz {
namespace {

std::string g_adresar;

void uklid() {
    if (g_adresar.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(g_adresar, ec);
}

std::string precti(const std::string& jmeno) {
    std::string obsah;
    std::FILE* f = std::fopen(jmeno.c_str(), "rb");
    if (!f) return obsah;
    char b[1 << 14];
    for (std::size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;) obsah.append(b, n);
    std::fclose(f);
    return obsah;
}

std::string viditelne(std::string_view s) {
    std::string out;
    for (unsigned char c : s.substr(0, 400)) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            out += b;
        }
    }
    if (s.size() > 400) out += "...";
    return out;
}

std::string cislo8(const char* format, long n) {
    char b[64];
    std::snprintf(b, sizeof b, format, n);
    return b;
}

// A text as XML cells show it: control characters other than tab and line ends as "?".
std::string jako_bunka(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') c = '?';
    return out;
}

std::string html(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out.push_back(c);
        }
    }
    return out;
}

std::string csv_pole(std::string_view s) {
    if (s.find_first_of(";\"\r\n") == std::string_view::npos) return std::string(s);
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    return out + "\"";
}

// Reads `co` at the front of `text` and moves past it.
bool vezmi(std::string_view& text, std::string_view co) {
    if (text.substr(0, co.size()) != co) return false;
    text.remove_prefix(co.size());
    return true;
}

// "%8d" read back: the number, and the exact text must be what printf makes of it.
long cislo_zpet(std::string_view text, const char* format, std::string_view co) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t j = i;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (i == j || j != text.size() || j - i > 10) selhani(co, text);
    long n = std::strtol(std::string(text.substr(i)).c_str(), nullptr, 10);
    if (cislo8(format, n) != text) selhani(co, text);
    return n;
}

void over_kody(const Obsah& o) {
    long e = 0, w = 0;
    for (const Radek& r : o.radky) {
        if (r[1].empty() || (r[1][0] != 'E' && r[1][0] != 'W')) selhani("code neither E nor W", r[1]);
        if (find_error_code(r[1]) < 0) selhani("code missing from the error table", r[1]);
        (r[1][0] == 'E' ? e : w)++;
    }
    if (e != o.chybE || w != o.chybW)
        selhani("totals differ from the rows written", std::to_string(e) + "/" + std::to_string(w) +
                                                           " rows, totals " + std::to_string(o.chybE) + "/" +
                                                           std::to_string(o.chybW));
}

// ---- XML, read with expat --------------------------------------------------------------------

constexpr std::string_view kSloupceXml[8] = {"Radek", "KodChyby", "Zamestnavatel", "Zamestnanec",
                                             "Prvek", "Hodnota",  "DelkaHodn",     "Popis"};

struct CteniXml {
    std::vector<std::string> zasobnik;  // open elements
    std::string text;
    Obsah obsah;
    Radek radek;
    int sloupec = 0;
    int hlavicka = 0;  // DatumCas, Soubor seen
    int souctu = 0;    // CelkemchybE, CelkemchybW seen
    std::string chyba;

    void spatne(std::string co) {
        if (chyba.empty()) chyba = std::move(co);
    }
};

// Expat hands texts over in UTF-8; the report was read as ISO-8859-1, so each code point is one
// byte of the report.
std::string bajty(const XML_Char* s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (i + 1 < n) {
            out.push_back(
                static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F)));
            ++i;
        }
    }
    return out;
}

void XMLCALL zacatek_xml(void* u, const XML_Char* jmeno, const XML_Char** atributy) {
    auto& c = *static_cast<CteniXml*>(u);
    std::string_view j = jmeno;
    if (atributy[0]) c.spatne("attribute in " + std::string(j));
    const std::size_t hloubka = c.zasobnik.size();
    if (hloubka == 0) {
        if (j != "DUV_chyby") c.spatne("root " + std::string(j));
    } else if (hloubka == 1) {
        if (j == "DatumCas" || j == "Soubor") {
            if (c.hlavicka != (j == "DatumCas" ? 0 : 1) || !c.obsah.radky.empty())
                c.spatne("header " + std::string(j));
            ++c.hlavicka;
        } else if (j == "Chyba") {
            if (c.hlavicka != 2 || c.souctu != 0) c.spatne("row outside the body");
            c.sloupec = 0;
        } else if (j == "CelkemchybE" || j == "CelkemchybW") {
            if (c.souctu != (j == "CelkemchybE" ? 0 : 1)) c.spatne("totals order");
            ++c.souctu;
        } else {
            c.spatne("element " + std::string(j));
        }
    } else if (hloubka == 2 && c.zasobnik[1] == "Chyba") {
        if (c.sloupec >= 8 || j != kSloupceXml[c.sloupec]) c.spatne("column " + std::string(j));
    } else {
        c.spatne("nested " + std::string(j));
    }
    c.zasobnik.emplace_back(j);
    c.text.clear();
}

void XMLCALL konec_xml(void* u, const XML_Char* jmeno) {
    auto& c = *static_cast<CteniXml*>(u);
    std::string_view j = jmeno;
    if (c.zasobnik.size() == 3 && c.sloupec < 8) {
        c.radek[static_cast<std::size_t>(c.sloupec++)] = c.text;
    } else if (c.zasobnik.size() == 2 && j == "Chyba") {
        if (c.sloupec != 8) c.spatne("row of " + std::to_string(c.sloupec) + " columns");
        c.obsah.radky.push_back(c.radek);
    } else if (c.zasobnik.size() == 2 && (j == "CelkemchybE" || j == "CelkemchybW")) {
        long n = cislo_zpet(c.text, "%8ld", "XML total");
        (j == "CelkemchybE" ? c.obsah.chybE : c.obsah.chybW) = n;
    }
    c.zasobnik.pop_back();
    c.text.clear();
}

void XMLCALL text_xml(void* u, const XML_Char* s, int n) {
    auto& c = *static_cast<CteniXml*>(u);
    std::string t = bajty(s, n);
    if (c.zasobnik.size() == 3 || (c.zasobnik.size() == 2 && c.zasobnik[1] != "Chyba")) {
        c.text += t;
    } else if (t.find_first_not_of(" \r\n") != std::string::npos) {
        c.spatne("text between elements: " + viditelne(t));
    }
}

}  // namespace

void priprav_adresar() {
    if (!g_adresar.empty()) return;
    char vzor[] = "/dev/shm/tavon_fuzz_XXXXXX";
    char vzor2[] = "/tmp/tavon_fuzz_XXXXXX";
    const char* a = mkdtemp(vzor);
    if (!a) a = mkdtemp(vzor2);
    if (!a) selhani("no scratch directory");
    g_adresar = a;
    std::atexit(uklid);
}

std::string cesta(std::string_view jmeno) { return g_adresar + "/" + std::string(jmeno); }

void zapis(const std::string& jmeno, std::string_view obsah) {
    std::FILE* f = std::fopen(jmeno.c_str(), "wb");
    if (!f) selhani("cannot write", jmeno);
    if (!obsah.empty()) std::fwrite(obsah.data(), 1, obsah.size(), f);
    std::fclose(f);
}

RunResult run_belun(const std::vector<std::string>& argumenty, const std::string& hlaseni,
                    const std::string& vystup) {
    std::remove(hlaseni.c_str());
    if (!vystup.empty()) std::remove(vystup.c_str());
    std::vector<std::string_view> args(argumenty.begin(), argumenty.end());
    std::ostringstream konzole;
    RunResult beh;
    beh.exit_code = cli::run(args, konzole);
    beh.console = konzole.str();
    beh.report = precti(hlaseni);
    if (!vystup.empty()) beh.copy = precti(vystup);
    if (beh.exit_code != 0) selhani("exit code " + std::to_string(beh.exit_code), beh.console);
    return beh;
}

void selhani(std::string_view co, std::string_view podrobnosti) {
    std::fprintf(stderr, "\n*** broken property: %.*s\n%s\n", static_cast<int>(co.size()), co.data(),
                 viditelne(podrobnosti).c_str());
    std::abort();
}

Obsah over_csv(std::string_view h) {
    Obsah o;
    if (!vezmi(h, "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n"))
        selhani("CSV header", h);
    while (!h.empty() && h.substr(0, 2) != "\r\n") {
        const std::string_view zacatek = h;
        Radek r;
        std::string zpet;
        for (std::size_t pole = 0; pole < 8; ++pole) {
            std::string& t = r[pole];
            if (!h.empty() && h[0] == '"') {
                std::size_t i = 1;
                for (;;) {
                    if (i >= h.size()) selhani("CSV quote not closed", h);
                    if (h[i] == '"') {
                        if (i + 1 < h.size() && h[i + 1] == '"') {
                            t.push_back('"');
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    t.push_back(h[i++]);
                }
                h.remove_prefix(i);
            } else {
                std::size_t i = h.find_first_of(";\"\r\n");
                if (i == std::string_view::npos) selhani("CSV row not ended", h);
                t = h.substr(0, i);
                h.remove_prefix(i);
            }
            zpet += csv_pole(t);
            if (pole < 7 && !vezmi(h, ";"))
                selhani("CSV row of " + std::to_string(pole + 1) + " fields",
                        zpet + std::string(h.substr(0, 80)));
            if (pole < 7) zpet += ";";
        }
        if (!vezmi(h, "\r\n"))
            selhani("CSV row of more than eight fields", zpet + std::string(h.substr(0, 80)));
        // Quoted exactly when needed, inner quotes doubled: the row reads back to the same bytes.
        if (zacatek.substr(0, zacatek.size() - h.size()) != zpet + "\r\n") selhani("CSV quoting", zpet);
        o.radky.push_back(std::move(r));
    }
    if (!vezmi(h, "\r\nCelkem chyb vahy E:;")) selhani("CSV footer", h);
    std::size_t k = h.find("\r\n");
    if (k == std::string_view::npos) selhani("CSV footer", h);
    o.chybE = cislo_zpet(h.substr(0, k), "%8ld", "CSV total E");
    h.remove_prefix(k);
    if (!vezmi(h, "\r\n\r\nCelkem chyb vahy W:;")) selhani("CSV footer", h);
    k = h.find("\r\n");
    if (k == std::string_view::npos || k + 2 != h.size()) selhani("CSV end", h);
    o.chybW = cislo_zpet(h.substr(0, k), "%8ld", "CSV total W");
    return o;
}

Obsah over_xml(std::string_view h) {
    constexpr std::string_view kProlog =
        "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><DUV_chyby>\r\n";
    if (h.substr(0, kProlog.size()) != kProlog) selhani("XML prolog", h);
    constexpr std::string_view kKonec = "</DUV_chyby>\r\n";
    if (h.size() < kKonec.size() || h.substr(h.size() - kKonec.size()) != kKonec) selhani("XML end", h);

    CteniXml c;
    XML_Parser p = XML_ParserCreate("ISO-8859-1");
    XML_SetUserData(p, &c);
    XML_SetElementHandler(p, zacatek_xml, konec_xml);
    XML_SetCharacterDataHandler(p, text_xml);
    const bool dobre = XML_Parse(p, h.data(), static_cast<int>(h.size()), 1) == XML_STATUS_OK;
    std::string popis;
    if (!dobre) {
        std::size_t bajt = static_cast<std::size_t>(XML_GetCurrentByteIndex(p));
        popis = std::string(XML_ErrorString(XML_GetErrorCode(p))) + " at byte " + std::to_string(bajt) +
                ": " + viditelne(h.substr(bajt > 80 ? bajt - 80 : 0, 160));
    }
    XML_ParserFree(p);
    if (!dobre) selhani("XML report not well-formed", popis);
    if (!c.chyba.empty()) selhani("XML report structure", c.chyba);
    if (c.souctu != 2) selhani("XML totals missing");
    return c.obsah;
}

void over_txt(std::string_view h, const Obsah& csv) {
    std::size_t k = h.find("\r\n");
    if (k == std::string_view::npos || h[0] != ' ' ||
        h.substr(0, k).find_first_of("\r\n") != std::string_view::npos)
        selhani("text header", h);
    h.remove_prefix(k + 2);
    if (!vezmi(h, "C.radku  Chyba   ICO/Kod Zamestnanec  Prvek      Hodnota Ocekavano   Popis\r\n\r\n"))
        selhani("text column header", h);
    constexpr int kSirky[8] = {9, 5, 9, 9, 7, 10, 10, 30};
    constexpr std::string_view kMezery[8] = {"", "  ", " ", "  ", " ", "  ", "  ", "  "};
    for (const Radek& r : csv.radky) {
        std::string ocekavany;
        for (std::size_t i = 0; i < 8; ++i) {
            ocekavany += kMezery[i];
            if (static_cast<int>(r[i].size()) < kSirky[i])
                ocekavany.append(static_cast<std::size_t>(kSirky[i]) - r[i].size(), ' ');
            ocekavany += r[i];
        }
        ocekavany += "\r\n";
        if (!vezmi(h, ocekavany))
            selhani("text row differs from the CSV row", ocekavany + " | " + std::string(h.substr(0, 200)));
    }
    const std::string paticka = cislo8("\r\nCelkem chyb vahy E:%8ld\r\n", csv.chybE) +
                                cislo8("\r\nCelkem chyb vahy W:%8ld\r\n", csv.chybW);
    if (h != paticka) selhani("text footer", h);
}

void over_htm(std::string_view h, const Obsah& csv) {
    constexpr std::string_view kZacatek = "<html>\r\n<head>\r\n";
    if (!vezmi(h, kZacatek)) selhani("HTML start", h);
    constexpr std::string_view kHlavickaKonec = "<th>Popis</th>\r\n</tr>\r\n";
    std::size_t k = h.find(kHlavickaKonec);
    if (k == std::string_view::npos) selhani("HTML column header", h);
    h.remove_prefix(k + kHlavickaKonec.size());

    std::map<std::string, long> pocty;
    std::map<std::string, std::string> popisy;
    for (const Radek& r : csv.radky) {
        if (!vezmi(h, "<tr>\r\n")) selhani("HTML row start", h);
        for (std::size_t i = 0; i < 8; ++i) {
            const bool tucne = i == 1 && r[1][0] == 'E';
            const std::string bunka = std::string(tucne ? "<td><b>&nbsp;" : "<td>&nbsp;") + html(r[i]) +
                                      (tucne ? "</b></td>\r\n" : "</td>\r\n");
            if (!vezmi(h, bunka))
                selhani("HTML cell differs from the CSV field",
                        bunka + " | " + std::string(h.substr(0, 200)));
        }
        ++pocty[r[1]];
        popisy[r[1]] = r[7];
    }
    if (!vezmi(h,
               "</table>\r\n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" >\r\n<tr "
               "bgcolor=\"lightblue\">\r\n"))
        selhani("HTML summary start", h);
    k = h.find("</tr>\r\n");
    if (k == std::string_view::npos) selhani("HTML summary header", h);
    h.remove_prefix(k + 7);
    // The summary: one row per code written, ascending by code, with the count of its rows.
    for (const auto& [kod, pocet] : pocty) {
        const bool tucne = kod[0] == 'E';
        const std::string radek = std::string(tucne ? "<tr>\r\n<td><b>&nbsp;" : "<tr>\r\n<td>&nbsp;") + kod +
                                  (tucne ? "</b></td>\r\n<td>&nbsp;" : "</td>\r\n<td>&nbsp;") +
                                  std::to_string(pocet) + "</td>\r\n<td>&nbsp;" + html(popisy[kod]) +
                                  "</td>\r\n";
        if (!vezmi(h, radek)) selhani("HTML summary row", radek + " | " + std::string(h.substr(0, 200)));
    }
    if (h != "</tr>\r\n</table>\r\n</body>\r\n</html>\r\n") selhani("HTML footer", h);
}

void over_konzoli(std::string_view konzole, const Obsah& o) {
    const std::string konec = std::string(77, ' ') + "\r" + cislo8("Celkem chyb vahy E:%8ld\n", o.chybE) +
                              cislo8("\nCelkem chyb vahy W:%8ld\n", o.chybW) + "\nProgram ukoncen normalne\n";
    if (konzole.size() < konec.size() || konzole.substr(konzole.size() - konec.size()) != konec)
        selhani("console end", konzole.substr(konzole.size() > 300 ? konzole.size() - 300 : 0));
}

void over_stejne(const Obsah& a, const Obsah& b, std::string_view co) {
    if (a.chybE != b.chybE || a.chybW != b.chybW) selhani(std::string(co) + ": totals differ");
    if (a.radky.size() != b.radky.size())
        selhani(std::string(co) + ": " + std::to_string(a.radky.size()) + " rows against " +
                std::to_string(b.radky.size()));
    for (std::size_t i = 0; i < a.radky.size(); ++i)
        for (std::size_t j = 0; j < 8; ++j)
            if (a.radky[i][j] != b.radky[i][j])
                selhani(
                    std::string(co) + ": row " + std::to_string(i + 1) + " column " + std::to_string(j + 1),
                    a.radky[i][j] + " | " + b.radky[i][j]);
}

Obsah over_vse(const std::string& vstup, unsigned sw, std::string* vystup) {
    const RunResult csv = run_belun({vstup, cesta("r.csv"), cesta("o.xml")}, cesta("r.csv"), cesta("o.xml"));
    const Obsah o = over_csv(csv.report);
    over_kody(o);
    over_konzoli(csv.console, o);
    constexpr std::string_view kKonecVystupu = "</DUV>\r\n";
    if (csv.copy.size() < kKonecVystupu.size() ||
        csv.copy.substr(csv.copy.size() - kKonecVystupu.size()) != kKonecVystupu)
        selhani("output file end", csv.copy);

    const RunResult xml = run_belun({vstup, cesta("r.xml"), cesta("o.xml")}, cesta("r.xml"), cesta("o.xml"));
    Obsah ox = over_xml(xml.report);
    Obsah zobrazene = o;
    for (Radek& r : zobrazene.radky)
        for (std::string& t : r) t = jako_bunka(t);
    over_stejne(zobrazene, ox, "XML against CSV");
    if (xml.copy != csv.copy) selhani("output file depends on the report format");

    const RunResult txt = run_belun({vstup, cesta("r.txt"), cesta("o.xml")}, cesta("r.txt"), cesta("o.xml"));
    over_txt(txt.report, o);
    const RunResult htm = run_belun({vstup, cesta("r.htm"), cesta("o.xml")}, cesta("r.htm"), cesta("o.xml"));
    over_htm(htm.report, o);
    if (txt.copy != csv.copy || htm.copy != csv.copy) selhani("output file depends on the report format");

    // Warnings suppressed: the same totals, the rows without the warnings.
    Obsah bezW = o;
    std::erase_if(bezW.radky, [](const Radek& r) { return r[1][0] == 'W'; });
    static constexpr const char* kJmena[4] = {"w.csv", "w.xml", "w.txt", "w.htm"};
    const std::string jmeno = cesta(kJmena[sw % 4]);
    const RunResult w = run_belun({vstup, "-w", jmeno, cesta("o.xml")}, jmeno, cesta("o.xml"));
    switch (sw % 4) {
        case 0: over_stejne(bezW, over_csv(w.report), "CSV with -w"); break;
        case 1: {
            Obsah z = bezW;
            for (Radek& r : z.radky)
                for (std::string& t : r) t = jako_bunka(t);
            over_stejne(z, over_xml(w.report), "XML with -w");
            break;
        }
        case 2: over_txt(w.report, bezW); break;
        default: over_htm(w.report, bezW); break;
    }
    over_konzoli(w.console, o);
    if (w.copy != csv.copy) selhani("output file depends on -w");
    if (vystup) *vystup = csv.copy;
    return o;
}

}  // namespace tavon::fuzz
