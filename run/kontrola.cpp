#include "run/kontrola.h"

#include <chrono>
#include <cstdio>

#include "reader/text.h"
#include "run/cz.h"

namespace tavon {
namespace {

constexpr std::string_view kProgram = "TAVON_v0.9";
constexpr std::size_t kMaxParametr = 60;
constexpr auto kDelkaParametru = cz(" Délka parametru vetsi nez 60  ");

constexpr std::string_view kNapoveda[] = {
    "Volani programu:\n\nBELUN vstup chyby vystup -prepinac\n\n",
    "\nvstup    - uplna cesta ke vstupnimu souboru, max. 60 znaku\n",
    "             neni-li uveden hleda se duv.xml \n",
    "             je-li prni znak @, jedna se o seznam souboru\n",
    "\nchyby    - uplna cesta k chybovemu souboru, max. 60 znaku\n",
    "             neni-li uveden zapisuje se do  duve.htm\n",
    "             pripona urcuje typ .htm - html\n",
    "             pripona urcuje typ .txt - textovy\n",
    "                                .csv - (Excel)\n",
    "                                .xml          \n",
    "\nvystup   - uplna cesta k vystupmu souboru, max. 60 znaku\n",
    "             neni-li uveden, vystupni  se nevytvari\n",
    "\nprepinac - pripustne hodnoty\n",
    "             -w potlaceni vystupu chyb vahy W\n",
    "             -h tato napoveda\n",
};

constexpr int kKonecChybou = 13;
constexpr int kKonecNapovedy = 1;

}  // namespace

TextRadku::TextRadku(std::uint64_t n) {
    od_ = sizeof b_;
    if (n == 0) {
        b_[--od_] = ' ';
        return;
    }
    while (n > 0) {
        b_[--od_] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
}

std::string datum_cas(const std::tm& t) {
    char b[32];
    std::snprintf(b, sizeof b, "%02d/%02d/20%02d  %02d:%02d:%02d", t.tm_mday % 100, (t.tm_mon + 1) % 100,
                  t.tm_year % 100, t.tm_hour % 100, t.tm_min % 100, t.tm_sec % 100);
    return b;
}

Kontrola::Kontrola(std::ostream& konzole) : konzole(konzole), ctecka(*this) {
    buf_element.nastav("        inicializace buf_elementu");
}

void Kontrola::chyba(std::string_view radek, std::string_view kod, std::string_view prvek,
                     std::string_view hodnota, std::string_view ocekavano) {
    hlaseni.zpracuj_chybu(radek, kod, prvek, hodnota, ocekavano, telicokod, identnec);
}

void Kontrola::pis_napovedu() {
    for (std::string_view t : kNapoveda) konzole << t;
}

int Kontrola::zpracuj_argumenty(std::span<const std::string_view> argumenty) {
    int souboru = 0;
    for (std::string_view arg : argumenty) {
        std::string pomstr(arg);
        if (pomstr.size() > kMaxParametr) {
            konzole << kDelkaParametru.view() << pomstr << "\n Program ukoncen\n";
            return kKonecChybou;
        }
        if (pomstr.empty() || pomstr[0] != '-') {
            ++souboru;
            if (souboru == 1) s_vstup = pomstr;
            if (souboru == 2) s_chyby = pomstr;
            if (souboru == 3) s_vystup = pomstr;
            continue;
        }
        if (pomstr.size() > 1 && pomstr[1] == 'W') pomstr[1] = 'w';
        if (pomstr.size() > 1 && pomstr[1] == 'H') pomstr[1] = 'h';
        if (pomstr == "-w") {
            hlaseni.sw_nepisW = 'A';
        } else if (pomstr == "-h") {
            pis_napovedu();
            return kKonecNapovedy;
        } else {
            konzole << " Chybny parametr " << pomstr << "\n Program ukoncen\n";
            return kKonecChybou;
        }
    }
    return 0;
}

int Kontrola::selhani_otevreni(const std::string& jmeno, bool doHlaseni) {
    konzole << " Nelze otevrit soubor  " << jmeno << "\n Program ukoncen\n";
    if (doHlaseni) {
        hlaseni.errsoub.pis(" Nelze otevrit soubor  ");
        hlaseni.errsoub.pis(jmeno);
        hlaseni.errsoub.pis("\n Program ukoncen\n");
        hlaseni.errsoub.zavri();
    }
    return kKonecChybou;
}

// Reads the next whitespace-delimited word of the list file; false when there is none.
bool Kontrola::dalsi_slovo_seznamu(std::string& slovo) {
    slovo.clear();
    if (!linsoub) return false;
    int c;
    auto mezera = [](int z) {
        return z == ' ' || z == '\t' || z == '\n' || z == '\v' || z == '\f' || z == '\r';
    };
    do c = std::getc(linsoub.get());
    while (c != EOF && mezera(c));
    while (c != EOF && !mezera(c)) {
        slovo.push_back(static_cast<char>(c));
        c = std::getc(linsoub.get());
    }
    return !slovo.empty();
}

int Kontrola::otevri_soubory() {
    if (!hlaseni.errsoub.otevri(s_chyby)) return selhani_otevreni(s_chyby, false);
    sw_vystup = 'N';
    if (s_vystup != "...") {
        if (!outsoub.otevri(s_vystup)) return selhani_otevreni(s_vystup, true);
        sw_vystup = 'A';
    }
    if (!s_vstup.empty() && s_vstup[0] == '@') {
        s_vstsez = s_vstup.substr(1);
        linsoub.reset(std::fopen(s_vstsez.c_str(), "rb"));
        if (!linsoub) return selhani_otevreni(s_vstsez, true);
        sw_muf = 'A';
        std::string slovo;
        if (dalsi_slovo_seznamu(slovo)) s_vstup = slovo;
    }
    insoub.reset(std::fopen(s_vstup.c_str(), "rb"));
    if (!insoub) return selhani_otevreni(s_vstup, true);
    ctecka.nastav_vstup(insoub.get());
    return 0;
}

int Kontrola::spust(std::span<const std::string_view> argumenty) {
    konzole << "\nProgram  " << kProgram << "  kontola dat pro DUV\n";

    if (int kod = zpracuj_argumenty(argumenty); kod != 0) return kod;
    hlaseni.sw_err = format_hlaseni(s_chyby);
    if (int kod = otevri_soubory(); kod != 0) return kod;

    std::time_t ted = std::time(nullptr);
    std::tm mistni{};
#if defined(_WIN32)
    localtime_s(&mistni, &ted);
#else
    localtime_r(&ted, &mistni);
#endif
    s_datetime = datum_cas(mistni);
    hlaseni.pis_hlavicku(s_datetime, s_vstup);

    rezim_zprac = 'Z';
    smycka();
    if (konec == Konec::Selhani) return kKonecChybou;
    return zpracuj_KONp();
}

void Kontrola::smycka() {
    while (konec == Konec::Ne) {
        switch (rezim_zprac) {
            case 'Z': zpracuj_ZACp(); break;
            case 'G': zpracuj_DUVz(); break;
            case 'H': zpracuj_DUV(); break;
            case 'I': zpracuj_DUVm(); break;
            case 'J': zpracuj_DUVk(); break;
            case 'S': zpracuj_TELz(); break;
            case 'T': zpracuj_TEL(); break;
            case 'U': zpracuj_TELk(); break;
            case 'M': zpracuj_NECz(); break;
            case 'N': zpracuj_NEC(); break;
            case 'O': zpracuj_NECk(); break;
            default: return;  // 'W' and 'K': the input has ended
        }
    }
}

int Kontrola::konec_vstupu() {
    if (sw_muf == 'N') {
        rezim_zprac = 'K';
        konec = Konec::Vstup;
        return -1;
    }
    insoub.reset();
    s_vstup = "...";
    std::string slovo;
    if (dalsi_slovo_seznamu(slovo)) s_vstup = slovo;
    if (s_vstup == "...") {
        linsoub.reset();
        rezim_zprac = 'K';
        konec = Konec::Vstup;
        return -1;
    }
    insoub.reset(std::fopen(s_vstup.c_str(), "rb"));
    if (!insoub) {
        konzole << std::string(77, ' ') << '\r';
        selhani_otevreni(s_vstup, true);
        if (sw_vystup == 'A') outsoub.zavri();
        konec = Konec::Selhani;
        return -1;
    }
    ctecka.nastav_vstup(insoub.get());
    return 0;
}

int Kontrola::zpracuj_KONp() {
    rezim_zprac = 'K';
    if (sw_prvniDUV == 'A') chyba(s_cislo_radky(), "ES306", "   ", "   ", "   ");
    if (sw_bylTEL == 'N') chyba(s_cislo_radky(), "ES308", "   ", "   ", "   ");
    hlaseni.pis_paticku();

    insoub.reset();
    bool zapsano = true;
    std::string nezapsany;
    if (sw_vystup == 'A') {
        outsoub.pis("</DUV>\n");
        if (!outsoub.zavri()) {
            zapsano = false;
            nezapsany = s_vystup;
        }
    }
    if (!hlaseni.errsoub.zavri() && zapsano) {
        zapsano = false;
        nezapsany = s_chyby;
    }
    // A report or output file that could not be written whole is no normal end.
    if (!zapsano) {
        konzole << " Nelze zapsat do souboru  " << nezapsany << "\n Program ukoncen\n";
        return kKonecChybou;
    }

    char b[96];
    std::snprintf(b, sizeof b, "Celkem chyb vahy E:%8d\n\nCelkem chyb vahy W:%8d\n", hlaseni.sumchybE,
                  hlaseni.sumchybW);
    konzole << std::string(77, ' ') << '\r' << b << "\nProgram ukoncen normalne\n";
    return 0;
}

}  // namespace tavon
