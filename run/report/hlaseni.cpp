#include "run/report/hlaseni.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "reader/text.h"
#include "run/cz.h"
#include "run/report/chyby.h"

namespace tavon {
namespace {

constexpr std::string_view kProgram = "TAVON_v0.9";
constexpr auto kDatumCas = cz("Datum a čas: ");
constexpr auto kSoubor = cz("Soubor: ");
constexpr auto kHtmlSloupce =
    cz("<th>Řádek<th>Chyba</th><th>Zaměstnavatel</th><th>Zaměstnanec</th><th>Prvek</th><th>Hodnota</th>"
       "<th>Očekáváno</th><th>Popis</th>\n");
constexpr auto kHtmlSouhrn =
    cz("<th width=10%> Chyba </th><th width=0%> Počet </th> <th width=80%> Popis chyby</th> </tr>\n");

}  // namespace

char format_hlaseni(std::string_view s_chyby) {
    const int tecka = jinstr(s_chyby, '.');
    if (tecka < 1) return 'H';
    std::string pripona = jsubstr(s_chyby, tecka + 1, 10);
    for (char& c : pripona)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (pripona == "txt") return 'T';
    if (pripona == "csv") return 'C';
    if (pripona == "xml") return 'X';
    return 'H';
}

Hlaseni::Hlaseni() : EtabNum(chybova_tabulka().size(), 0) {}

int Hlaseni::zpracuj_chybu(std::string_view radek, std::string_view kod, std::string_view prvek,
                           std::string_view hodnota, std::string_view ocekavano, std::string_view telicokod,
                           std::string_view identnec) {
    char druh = kod.empty() ? '\0' : kod[0];
    if (druh == 'W') ++sumchybW;
    if (druh == 'E') ++sumchybE;
    if (druh == 'W' && sw_nepisW == 'A') return 0;

    int i = najdi_chybu(kod);
    const Chyba& radekTab = i >= 0 ? chybova_tabulka()[i] : chyba_konec();
    if (i >= 0) ++EtabNum[i];
    std::string_view cek = (!ocekavano.empty() && ocekavano[0] == '?') ? radekTab.cek : ocekavano;

    VystupniSoubor& f = errsoub;
    switch (sw_err) {
        case 'C':
            for (std::string_view s : {radek, kod, telicokod, identnec, prvek, hodnota, cek}) {
                f.pis_csv(s);
                f.pis(";");
            }
            f.pis_csv(radekTab.txt);
            f.pis("\n");
            break;
        case 'T':
            f.pis_vpravo(radek, 9);
            f.pis("  ");
            f.pis_vpravo(kod, 5);
            f.pis(" ");
            f.pis_vpravo(telicokod, 9);
            f.pis("  ");
            f.pis_vpravo(identnec, 9);
            f.pis(" ");
            f.pis_vpravo(prvek, 7);
            f.pis("  ");
            f.pis_vpravo(hodnota, 10);
            f.pis("  ");
            f.pis_vpravo(cek, 10);
            f.pis("  ");
            f.pis_vpravo(radekTab.txt, 30);
            f.pis("\n");
            break;
        case 'X':
            f.pis("<Chyba>\n<Radek>");
            f.pis_xml(radek);
            f.pis("</Radek>\n<KodChyby>");
            f.pis_xml(kod);
            f.pis("</KodChyby>\n<Zamestnavatel>");
            f.pis_xml(telicokod);
            f.pis("</Zamestnavatel>\n<Zamestnanec>");
            f.pis_xml(identnec);
            f.pis("</Zamestnanec>\n<Prvek>");
            f.pis_xml(prvek);
            f.pis("</Prvek>\n<Hodnota>");
            f.pis_xml(hodnota);
            f.pis("</Hodnota>\n<DelkaHodn>");
            f.pis_xml(cek);
            f.pis("</DelkaHodn>\n<Popis>");
            f.pis_xml(radekTab.txt);
            f.pis("</Popis>\n</Chyba>\n");
            break;
        default: {
            bool tucne = druh == 'E';
            f.pis("<tr>\n");
            int sloupec = 0;
            for (std::string_view s : {radek, kod, telicokod, identnec, prvek, hodnota, cek, radekTab.txt}) {
                bool b = tucne && sloupec++ == 1;
                f.pis(b ? "<td><b>&nbsp;" : "<td>&nbsp;");
                f.pis_html(s);
                f.pis(b ? "</b></td>\n" : "</td>\n");
            }
            break;
        }
    }
    return 1;
}

void Hlaseni::pis_hlavicku(std::string_view datetime, std::string_view soubor) {
    VystupniSoubor& f = errsoub;
    switch (sw_err) {
        case 'T':
            f.pis(" ");
            f.pis(kDatumCas);
            f.pis("  ");
            f.pis(datetime);
            f.pis("  ");
            f.pis(kSoubor);
            f.pis("  ");
            f.pis(soubor);
            f.pis(" \n");
            f.pis("C.radku  Chyba   ICO/Kod Zamestnanec  Prvek      Hodnota Ocekavano   Popis\n\n");
            break;
        case 'C': f.pis("Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\n"); break;
        case 'X':
            f.pis("<?xml version = \"1.0\" encoding = \"Windows-1250\"?>");
            f.pis("<DUV_chyby>\n<DatumCas>");
            f.pis_xml(datetime);
            f.pis("</DatumCas>\n<Soubor>");
            f.pis_xml(soubor);
            f.pis("</Soubor>\n");
            break;
        default:
            f.pis("<html>\n<head>\n");
            f.pis("<META http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1250\">\n");
            f.pis("<title>DUV - vysledky kontroly dat</title>\n</head>\n<body>\n");
            f.pis("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" width=100% >\n");
            f.pis("<tr bgcolor=\"lightblue\" valign=\"left\">\n");
            f.pis("<th width=15%> ");
            f.pis_html(kDatumCas);
            f.pis(" </th><th width=20%> ");
            f.pis_html(datetime);
            f.pis(" </th><th width=12%> ");
            f.pis_html(kSoubor);
            f.pis(" </th><th width=38%> ");
            f.pis_html(soubor);
            f.pis(" </th><th width=15%>&nbsp");
            f.pis(kProgram);
            f.pis(" </th>\n");
            f.pis("</table>\n");
            f.pis("<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\">\n");
            f.pis("<tr bgcolor=\"lightblue\">\n");
            f.pis(kHtmlSloupce);
            f.pis("</tr>\n");
            break;
    }
}

void Hlaseni::pis_paticku() {
    VystupniSoubor& f = errsoub;
    char cislo[64];
    switch (sw_err) {
        case 'T':
            std::snprintf(cislo, sizeof cislo, "\nCelkem chyb vahy E:%8d\n\nCelkem chyb vahy W:%8d\n",
                          sumchybE, sumchybW);
            f.pis(cislo);
            return;
        case 'C':
            std::snprintf(cislo, sizeof cislo, "\nCelkem chyb vahy E:;%8d\n", sumchybE);
            f.pis(cislo);
            std::snprintf(cislo, sizeof cislo, "\nCelkem chyb vahy W:;%8d\n", sumchybW);
            f.pis(cislo);
            return;
        case 'X':
            std::snprintf(cislo, sizeof cislo, "\n<CelkemchybE>%8d</CelkemchybE>\n", sumchybE);
            f.pis(cislo);
            std::snprintf(cislo, sizeof cislo, "<CelkemchybW>%8d</CelkemchybW>\n", sumchybW);
            f.pis(cislo);
            f.pis("</DUV_chyby>\n");
            return;
        default: break;
    }

    // HTML: the summary of the written rows per code, in ascending byte order of the codes.
    auto tab = chybova_tabulka();
    std::vector<int> poradi(tab.size());
    std::iota(poradi.begin(), poradi.end(), 0);
    std::stable_sort(poradi.begin(), poradi.end(), [&](int a, int b) { return tab[a].typ < tab[b].typ; });
    f.pis("</table>\n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" >\n");
    f.pis("<tr bgcolor=\"lightblue\">\n");
    f.pis(kHtmlSouhrn);
    for (int i : poradi) {
        if (EtabNum[i] <= 0) continue;
        bool tucne = tab[i].typ[0] == 'E';
        f.pis(tucne ? "<tr>\n<td><b>&nbsp;" : "<tr>\n<td>&nbsp;");
        f.pis_html(tab[i].typ);
        f.pis(tucne ? "</b></td>\n<td>&nbsp;" : "</td>\n<td>&nbsp;");
        f.pis_int(EtabNum[i]);
        f.pis("</td>\n<td>&nbsp;");
        f.pis_html(tab[i].txt);
        f.pis("</td>\n");
    }
    f.pis("</tr>\n</table>\n</body>\n</html>\n");
}

}  // namespace tavon
