// One validation run: command line, files, the driver loop over the document states, the
// field checks and the rules, and the end of the run. All state of a run lives here.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "fields/tabulky.h"
#include "reader/ctecka.h"
#include "rules/sklad.h"
#include "run/report/hlaseni.h"

namespace tavon {

// Per-record arrays of one attribute table: occurrences, values, error switches, lines.
template <std::size_t R>
struct Zaznam {
    std::array<int, R> Pre{};
    std::array<double, R> Sum{};
    std::array<char, R> Esw;
    std::array<std::uint64_t, R> Lin{};  // line where the field was last met; 0 = never
    int porDat = -1;

    Zaznam() { Esw.fill(' '); }
    void zacni() {
        Pre.fill(0);
        Sum.fill(0.0);
        porDat = -1;
    }
};

// A line number as report text; 0 (a field never met) shows as one space.
class TextRadku {
  public:
    explicit TextRadku(std::uint64_t n);
    operator std::string_view() const { return {b_ + od_, sizeof b_ - od_}; }

  private:
    char b_[24];
    std::size_t od_;
};

struct ZavriSoubor {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using VstupniSoubor = std::unique_ptr<std::FILE, ZavriSoubor>;

// The 20-character date and time of the report header: "06/07/2006  14:03:59".
std::string datum_cas(const std::tm& t);

class Kontrola : private Ctecka::Zdroj {
  public:
    explicit Kontrola(std::ostream& konzole);

    // The whole run over the arguments after the program name; the process exit code.
    int spust(std::span<const std::string_view> argumenty);

  private:
    // Start-up.
    int zpracuj_argumenty(std::span<const std::string_view> argumenty);
    int otevri_soubory();
    int selhani_otevreni(const std::string& jmeno, bool doHlaseni);
    void pis_napovedu();

    // Driver loop and document states.
    void smycka();
    int zpracuj_ZACp();
    int zpracuj_DUVz();
    int zpracuj_DUV();
    int zpracuj_DUVm();
    int zpracuj_DUVk();
    int zpracuj_TELz();
    int zpracuj_TEL();
    int zpracuj_NECz();
    int zpracuj_NEC();
    int zpracuj_NECk();
    int zpracuj_TELk();
    void pis_prubeh();
    int k_NecK();
    void poradi_identifikatoru();
    void jednotlivy_zaznam(const SlotNec& z);
    void opakovany_zamestnanec(int p, int pomz_ind);
    void pruchod_vzdelani();
    void soucty_zamestnavatele();
    int zpracuj_pole(char stav);
    bool strukturni_jmeno(char stav, std::string_view jmeno);
    void over_pole(char stav, std::string_view elem, std::string_view obsah, std::string_view konec,
                   bool prazdny, bool sedi);
    int konec_cteni();
    template <std::size_t R>
    void kontrola_vyskytu(const std::array<RadekTab, R>& tab, const Zaznam<R>& z, std::string_view hodnota,
                          bool nulaMistoJmena);
    void echo(std::string_view a);
    void echo_pole(std::string_view a, std::string_view b, std::string_view c);

    // End of input and of the run.
    int konec_vstupu() override;
    int zpracuj_KONp();
    bool dalsi_slovo_seznamu(std::string& slovo);

    // Field checks.
    int k_Pre(std::string_view elem, std::string_view obsah);
    int k_Tel(std::string_view elem, std::string_view obsah);
    int k_Nec(std::string_view elem, std::string_view obsah);
    template <char druh, std::size_t R>
    bool k_pole(const std::array<RadekTab, R>& tab, Zaznam<R>& z, std::string_view elem,
                std::string_view obsah, int& radek, double& cislo);
    void akce_pre(int radek, std::string_view obsah);
    void akce_tel(int radek, std::string_view obsah, double cislo);
    void akce_nec(int radek, std::string_view obsah);
    void uloz_do_skladu(int radek, std::string_view obsah, double cislo);

    // Special checks of single fields.
    int chk_ICOPredkladatele(std::string_view ico);
    int chk_AA0017(std::string_view ico);
    int chk_AA0113(std::string_view kod);
    int chk_ZamId(std::string_view id);
    int chk_AA0110(std::string_view datum);
    int chk_vytvoreno(std::string_view cas);
    int chk_eposta(std::string_view adresa);
    int chk_AA0116(double x);
    int chk_AA0123(double x);
    int chk_AA0118(double x);

    // Code-list lookups.
    int cis_predkladatelu(std::string_view ico);
    int cis_poskytovatelu(std::string_view ico);
    int cis_kodpraf(std::string_view kod);
    int cis_kodnuts(std::string_view kod, std::string_view pole);
    int cis_kodvzde(std::string_view kod);
    int cis_kodstat(std::string_view kod);
    int cis_kodzam(std::string_view kod);
    int cis_koddppv(std::string_view kod);
    int cis_postzam(std::string_view kod);

    // Reporting.
    void chyba(std::string_view radek, std::string_view kod, std::string_view prvek, std::string_view hodnota,
               std::string_view ocekavano);
    std::string_view s_cislo_radky() const { return ctecka.radek.text(); }

    std::ostream& konzole;
    Hlaseni hlaseni;
    Ctecka ctecka;

    // Names and switches of the command line.
    std::string s_vstup = "duv.xml";
    std::string s_chyby = "duve.htm";
    std::string s_vystup = "...";
    std::string s_vstsez;
    std::string s_datetime;
    char sw_vystup = 'N';
    char sw_muf = 'N';

    VstupniSoubor insoub;
    VstupniSoubor linsoub;
    VystupniSoubor outsoub;

    // Document state.
    char rezim_zprac = 'Z';
    char sw_prvniDUV = 'A';
    char sw_bylTEL = '\0';  // neither 'A' nor 'N' until the root element is met
    char sw_bylNEC = '\0';
    char sw_pis_TelPre = '\0';
    enum class Konec { Ne, Vstup, Selhani } konec = Konec::Ne;

    Token buf_element;  // tag names; in a field element its name
    Token tok_zbytek;   // the rest of a field element's tag
    Token tok_obsah;    // its content
    Token tok_konec;    // the name taken as its closing tag
    std::string telicokod;
    std::string identnec;

    // Per-record arrays of the three tables.
    Zaznam<Ptab.size()> P;
    Zaznam<Ttab.size()> T;
    Zaznam<Ntab.size()> N;

    // Employer values kept for the special checks and the employer rules.
    std::string newZamId;
    double atel_iAA0114 = 0, atel_iAA0115 = 0, atel_iAA0116 = 0;
    double atel_iAA0118 = 0, atel_iAA0119 = 0, atel_iAA0123 = 0;

    // Identities of the employers seen so far, for the duplicate check.
    std::array<std::string, 100> TabZamId;
    int nTabZamId = -1;

    // Register numbers of the submitter and the current employer.
    std::uint32_t l_predkladatel = 0;
    std::uint32_t l_poskytovatel = 0;

    // Employee store of the current employer.
    Sklad sklad;

    // Console progress line.
    bool prubeh_vypsan = false;
    std::chrono::steady_clock::time_point posledni_prubeh;
};

}  // namespace tavon
