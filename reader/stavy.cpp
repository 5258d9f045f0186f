// The document states: each handler reads as much of the document as its state covers,
// judges its structure, hands every field to the field checks and sets the next state.
#include <cstring>

#include "reader/text.h"
#include "run/format.h"
#include "run/kontrola.h"

#ifndef TAVON_NS_HOST
#define TAVON_NS_HOST "duv.example.org"
#endif

namespace tavon {
namespace {

constexpr std::string_view kUri = "http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/";
constexpr std::string_view kVerze = "verze=\"1.6\"";
constexpr std::string_view kXmlns = "xmlns=\"http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/\"";
constexpr std::string_view kXmlnsDuv = "xmlns:duv=\"http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/\"";
constexpr std::string_view kWS102Ocekavano =
    "verze=\"1.6\" xmlns=\"http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/\"";

bool obsahuje(std::string_view text, std::string_view co) { return text.find(co) != std::string_view::npos; }

// A name compared with a field code of six characters, without a library call per field.
bool je_jmeno(std::string_view jmeno, const char (&kod)[7]) {
    return jmeno.size() == 6 && std::memcmp(jmeno.data(), kod, 6) == 0;
}

}  // namespace

int Kontrola::konec_cteni() {
    rezim_zprac = 'W';
    return -1;
}

void Kontrola::echo(std::string_view a) {
    if (sw_vystup != 'A') return;
    outsoub.pis("<");
    outsoub.pis(a);
    outsoub.pis(">\n");
}

void Kontrola::echo_pole(std::string_view a, std::string_view b, std::string_view c) {
    if (sw_vystup != 'A') return;
    outsoub.pis("<");
    outsoub.pis(a);
    outsoub.pis(">");
    outsoub.pis(b);
    outsoub.pis("<");
    outsoub.pis(c);
    outsoub.pis(">\n");
}

int Kontrola::zpracuj_ZACp() {
    for (;;) {
        if (ctecka.dej_element(buf_element) < 0) return konec_cteni();
        std::string_view jmeno = buf_element.text();
        if (!jmeno.empty() && jmeno[0] == '?') {
            // The prolog: its rest is echoed as written.
            std::string akt_elem(jmeno);
            if (ctecka.dej_zbytek_elementu(buf_element, 'N') < 0) return konec_cteni();
            if (sw_vystup == 'A') {
                outsoub.pis("<");
                outsoub.pis(akt_elem);
                outsoub.pis(" ");
                outsoub.pis(buf_element.text());
                outsoub.pis(">\n");
            }
        } else if (!jmeno.empty() && jmeno[0] == '!') {
            // A declaration or comment: the next search for "<" skips it.
        } else if (jmeno.substr(0, 3) == "DUV") {
            if (sw_vystup == 'A') {
                outsoub.pis("<DUV verze=\"1.6\" xmlns=\"");
                outsoub.pis(kUri);
                outsoub.pis("\"> \n");
            }
            rezim_zprac = 'G';
            return 0;
        }
    }
}

int Kontrola::zpracuj_DUVz() {
    if (ctecka.dej_zbytek_elementu(buf_element, 'N') < 0) return konec_cteni();
    std::string_view atributy = buf_element.text();
    if (!obsahuje(atributy, kVerze) || (!obsahuje(atributy, kXmlns) && !obsahuje(atributy, kXmlnsDuv)))
        chyba(s_cislo_radky(), "WS102", "DUV", atributy, kWS102Ocekavano);
    P.zacni();
    sw_bylTEL = 'N';
    rezim_zprac = 'H';
    return 0;
}

int Kontrola::zpracuj_DUV() { return zpracuj_pole('H'); }
int Kontrola::zpracuj_TEL() { return zpracuj_pole('T'); }
int Kontrola::zpracuj_NEC() { return zpracuj_pole('N'); }

// The loop over the field elements of the submitter block ('H'), an employer ('T') or an
// employee ('N'), until a structural name changes the state.
int Kontrola::zpracuj_pole(char stav) {
    for (;;) {
        std::string_view rychle_elem, rychle_obsah, rychle_konec;
        if (ctecka.dej_cele_pole(rychle_elem, rychle_obsah, rychle_konec)) {
            over_pole(stav, rychle_elem, jezltrim(rychle_obsah), rychle_konec, false, true);
            continue;
        }
        if (ctecka.dej_element(buf_element) < 0) return konec_cteni();
        buf_element.zkrat_na_text();
        std::string_view jmeno(buf_element.data, buf_element.len);
        if (!jmeno.empty() && (jmeno[0] == 'z' || jmeno[0] == '/') && strukturni_jmeno(stav, jmeno)) return 0;

        // The element's name stays in buf_element; its rest, content and closing name are read
        // into tokens of their own, so that nothing is copied.
        Token& akt_elem = buf_element;
        if (jmeno == "!--") {
            if (ctecka.preskoc_zbytek_komentare() < 0) return konec_cteni();
            return 0;
        }

        int zbytek = ctecka.dej_zbytek_elementu(tok_zbytek, 'A');
        if (zbytek < 0) return konec_cteni();
        if (zbytek == 2) {
            std::string_view text = tok_zbytek.text();
            if (text == "/")
                akt_elem.pridej('/');
            else
                chyba(s_cislo_radky(), "ES300", akt_elem.text(), text, "  ");
        }

        std::string_view akt_obsah;
        std::string_view konec;
        const bool prazdny = akt_elem.len > 0 && akt_elem.data[akt_elem.len - 1] == '/';
        if (prazdny) {
            --akt_elem.len;
            tok_konec.vycisti();
            tok_konec.pridej('/');
            for (std::size_t i = 0; i < akt_elem.len; ++i) tok_konec.data[tok_konec.len++] = akt_elem.data[i];
            konec = std::string_view(tok_konec.data, tok_konec.len);
        } else {
            if (ctecka.dej_obsah(tok_obsah) < 0) return konec_cteni();
            akt_obsah = jezltrim(tok_obsah.text());
            if (ctecka.dej_element(tok_konec) < 0) return konec_cteni();
            konec = tok_konec.text();
        }
        over_pole(stav, std::string_view(akt_elem.data, akt_elem.len), akt_obsah, konec, prazdny, false);
    }
}

// One field element read whole: its closing name (`sedi` when it is known to match), the echo,
// and the field check of the state.
void Kontrola::over_pole(char stav, std::string_view elem, std::string_view obsah, std::string_view konec,
                         bool prazdny, bool sedi) {
    if (!sedi && prvek_zac_kon(elem, konec) == 'N') chyba(s_cislo_radky(), "ES302", elem, konec, "  ");
    if (stav != 'N' || !prazdny) echo_pole(elem, obsah, konec);

    switch (stav) {
        case 'H': k_Pre(elem, obsah); break;
        case 'T':
            if (je_jmeno(elem, "AA0017")) telicokod = obsah;
            k_Tel(elem, obsah);
            break;
        default:
            if (je_jmeno(elem, "AA0126")) identnec = obsah;
            k_Nec(elem, obsah);
            break;
    }
}

// The names that end or open a record in the given state; true when one was met (the next
// state is set).
bool Kontrola::strukturni_jmeno(char stav, std::string_view jmeno) {
    if (stav == 'H' && jmeno == "zamestnavatel") {
        echo(jmeno);
        rezim_zprac = 'S';
        return true;
    }
    if (stav == 'H' && jmeno == "/DUV") {
        rezim_zprac = 'J';
        return true;
    }
    if (stav == 'T' && jmeno == "zamestnanec") {
        echo(jmeno);
        rezim_zprac = 'M';
        return true;
    }
    if (stav == 'T' && jmeno == "/zamestnavatel") {
        echo(jmeno);
        rezim_zprac = 'U';
        return true;
    }
    if (stav == 'N' && jmeno == "/zamestnanec") {
        echo(jmeno);
        rezim_zprac = 'O';
        return true;
    }
    if (stav == 'N' && jmeno == "/zamestnavatel") {
        echo(jmeno);
        rezim_zprac = 'H';
        return true;
    }

    return false;
}

int Kontrola::zpracuj_DUVm() {
    for (;;) {
        if (ctecka.dej_element(buf_element) < 0) return konec_cteni();
        std::string_view jmeno = buf_element.text();
        if (jmeno == "zamestnavatel") {
            echo(jmeno);
            rezim_zprac = 'S';
            return 0;
        }
        if (jmeno == "/DUV") {
            rezim_zprac = 'J';
            return 0;
        }
    }
}

// Presence of the fields of a record: ES303 for a field that did not occur, ES304 for one that
// occurred more than once. A missing field's expected text is its name, or "0" at the starts of
// the next records (the submitter block at every employer, the employer at its first employee).
template <std::size_t R>
void Kontrola::kontrola_vyskytu(const std::array<RadekTab, R>& tab, const Zaznam<R>& z,
                                std::string_view hodnota, bool nulaMistoJmena) {
    for (std::size_t i = 0; i + 1 < R; ++i) {
        std::string_view jmeno = tab[i].elem;
        if (z.Pre[i] == 0) chyba(s_cislo_radky(), "ES303", jmeno, hodnota, nulaMistoJmena ? "0" : jmeno);
        if (z.Pre[i] > 1) chyba(s_cislo_radky(), "ES304", jmeno, hodnota, Fmt("%d", z.Pre[i]));
    }
}

template void Kontrola::kontrola_vyskytu(const std::array<RadekTab, Ntab.size()>&, const Zaznam<Ntab.size()>&,
                                         std::string_view, bool);
template void Kontrola::kontrola_vyskytu(const std::array<RadekTab, Ttab.size()>&, const Zaznam<Ttab.size()>&,
                                         std::string_view, bool);

int Kontrola::zpracuj_DUVk() {
    kontrola_vyskytu(Ptab, P, "   ", false);
    sw_prvniDUV = 'N';
    rezim_zprac = 'I';
    return 0;
}

int Kontrola::zpracuj_TELz() {
    kontrola_vyskytu(Ptab, P, " ", true);
    sw_pis_TelPre = 'A';
    sklad.zacni_zamestnavatele();
    atel_iAA0116 = atel_iAA0115 = atel_iAA0114 = 0.0;
    T.zacni();
    identnec = "   ";
    rezim_zprac = 'T';
    sw_bylTEL = 'A';
    sw_bylNEC = 'N';
    return 0;
}

int Kontrola::zpracuj_NECz() {
    if (sw_pis_TelPre == 'A') {
        kontrola_vyskytu(Ttab, T, " ", true);
        sw_pis_TelPre = 'N';
    }
    rezim_zprac = 'N';
    N.zacni();
    sklad.zacni_zamestnance();
    sw_bylNEC = 'A';
    return 0;
}

}  // namespace tavon
