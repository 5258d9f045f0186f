// Build-time tool: turns the data files of the code lists, registers and tariffs into C++ include
// files of constant tables (run by the commands of tavon_data.cmake).
//
//   tavon_data_gen seznam <Table> <out.inc> <file>   text entries (letters and digits)
//   tavon_data_gen cisla  <Table> <out.inc> <file>   unsigned 32-bit numbers
//   tavon_data_gen pary   <Table> <out.inc> <file>   "provider submitter" pairs
//   tavon_data_gen sazby  <Table> <out.inc> <scale 1> <scale 2> <scale 3> <scale 5>
//
// A list keeps its file order (<Table>_poradi) and gets its distinct keys sorted for binary search
// (<Table>_klice); of equal keys the first entry of the file wins, so a search answers exactly as a
// scan from the start of the file would.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <limits>
#include <numeric>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Chyba {
    std::string text;
};

struct Radek {
    std::string text;
    int cislo;
};

// A data line that breaks the format stops the build, naming the file and the line.
[[noreturn]] void spatny_radek(const std::string& soubor, const Radek& radek, std::string_view co) {
    throw Chyba{soubor + ":" + std::to_string(radek.cislo) + ": " + std::string(co) + ": '" + radek.text +
                "'"};
}

// The data lines of a file: blanks (and the CR of CRLF files) around them dropped, blank lines and
// lines beginning with '#' skipped.
std::vector<Radek> precti_radky(const std::string& soubor) {
    std::ifstream vstup(soubor, std::ios::binary);
    if (!vstup) throw Chyba{soubor + ": cannot be read"};
    std::vector<Radek> radky;
    std::string radek;
    for (int cislo = 1; std::getline(vstup, radek); ++cislo) {
        const auto zacatek = radek.find_first_not_of(" \t\r");
        if (zacatek == std::string::npos || radek[zacatek] == '#') continue;
        const auto konec = radek.find_last_not_of(" \t\r");
        radky.push_back({radek.substr(zacatek, konec - zacatek + 1), cislo});
    }
    return radky;
}

bool jen(std::string_view text, std::string_view znaky) {
    return !text.empty() && text.find_first_not_of(znaky) == std::string_view::npos;
}

constexpr std::string_view cislice = "0123456789";
constexpr std::string_view pismena_a_cislice =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

std::uint32_t cislo_32(const std::string& soubor, const Radek& radek, std::string_view text) {
    if (!jen(text, cislice)) spatny_radek(soubor, radek, "not a decimal number");
    const auto prvni = std::min(text.find_first_not_of('0'), text.size() - 1);
    const std::string_view bez_nul = text.substr(prvni);
    const auto max = std::numeric_limits<std::uint32_t>::max();
    if (bez_nul.size() > 10 || std::stoull(std::string(bez_nul)) > max) {
        spatny_radek(soubor, radek, "number does not fit 32 bits");
    }
    return static_cast<std::uint32_t>(std::stoull(std::string(bez_nul)));
}

// Positions of the first entry of each distinct key, in key order. The sort is stable and unique()
// keeps the first of each run of equal keys, which is therefore the first in the file.
template <typename Klic>
std::vector<std::size_t> prvni_vyskyty(const std::vector<Klic>& klice) {
    std::vector<std::size_t> pozice(klice.size());
    std::iota(pozice.begin(), pozice.end(), std::size_t{0});
    std::stable_sort(pozice.begin(), pozice.end(), [&](auto a, auto b) { return klice[a] < klice[b]; });
    const auto konec =
        std::unique(pozice.begin(), pozice.end(), [&](auto a, auto b) { return klice[a] == klice[b]; });
    pozice.erase(konec, pozice.end());
    return pozice;
}

template <typename T>
std::vector<T> vyber(const std::vector<T>& hodnoty, const std::vector<std::size_t>& pozice) {
    std::vector<T> vybrane;
    for (std::size_t p : pozice) vybrane.push_back(hodnoty[p]);
    return vybrane;
}

std::string literal(const std::string& text) {
    return '"' + text + '"';
}
std::string literal(std::uint32_t cislo) {
    return std::to_string(cislo) + "u";
}
std::string literal(int cislo) {
    return std::to_string(cislo);
}

template <typename T>
void pole(std::ostream& kod, std::string_view typ, std::string_view jmeno, const std::vector<T>& hodnoty) {
    kod << "inline constexpr std::array<" << typ << ", " << hodnoty.size() << "> " << jmeno << "{";
    for (std::size_t i = 0; i < hodnoty.size(); ++i)
        kod << (i % 10 == 0 ? "\n    " : " ") << literal(hodnoty[i]) << ",";
    kod << "\n};\n";
}

void seznam(std::ostream& kod, const std::string& jmeno, const std::string& soubor) {
    std::vector<std::string> texty;
    for (const Radek& radek : precti_radky(soubor)) {
        if (!jen(radek.text, pismena_a_cislice)) spatny_radek(soubor, radek, "not letters and digits");
        texty.push_back(radek.text);
    }
    const auto prvni = prvni_vyskyty(texty);
    pole(kod, "std::string_view", jmeno + "_poradi", texty);
    pole(kod, "std::string_view", jmeno + "_klice", vyber(texty, prvni));
    pole(kod, "int", jmeno + "_pozice", std::vector<int>(prvni.begin(), prvni.end()));
}

void cisla(std::ostream& kod, const std::string& jmeno, const std::string& soubor) {
    std::vector<std::uint32_t> hodnoty;
    for (const Radek& radek : precti_radky(soubor)) hodnoty.push_back(cislo_32(soubor, radek, radek.text));
    pole(kod, "std::uint32_t", jmeno + "_poradi", hodnoty);
    pole(kod, "std::uint32_t", jmeno + "_klice", vyber(hodnoty, prvni_vyskyty(hodnoty)));
}

void pary(std::ostream& kod, const std::string& soubor) {
    std::vector<std::uint32_t> poskytovatele, predkladatele;
    for (const Radek& radek : precti_radky(soubor)) {
        std::istringstream slova(radek.text);
        std::string poskytovatel, predkladatel, navic;
        if (!(slova >> poskytovatel >> predkladatel) || (slova >> navic)) {
            spatny_radek(soubor, radek, "not 'provider submitter'");
        }
        poskytovatele.push_back(cislo_32(soubor, radek, poskytovatel));
        predkladatele.push_back(cislo_32(soubor, radek, predkladatel));
    }
    const auto prvni = prvni_vyskyty(poskytovatele);
    pole(kod, "std::uint32_t", "TcisPosPre_poradi", poskytovatele);
    pole(kod, "std::uint32_t", "TcisPrePos_poradi", predkladatele);
    pole(kod, "std::uint32_t", "TcisPosPre_klice", vyber(poskytovatele, prvni));
    pole(kod, "std::uint32_t", "TcisPosPre_predkladatele", vyber(predkladatele, prvni));
}

// One tariff scale: 16 lines (classes 1..16) of 12 comma-separated whole crowns (grades 1..12).
std::vector<std::string> stupnice(const std::string& soubor) {
    const auto radky = precti_radky(soubor);
    if (radky.size() != 16)
        throw Chyba{soubor + ": " + std::to_string(radky.size()) + " classes instead of 16"};
    std::vector<std::string> sazby;
    for (const Radek& radek : radky) {
        std::istringstream hodnoty(radek.text);
        std::string hodnota;
        int pocet = 0;
        for (; std::getline(hodnoty, hodnota, ','); ++pocet) {
            if (!jen(hodnota, cislice)) spatny_radek(soubor, radek, "not whole crowns");
            sazby.push_back(hodnota + ".0");
        }
        if (pocet != 12 || radek.text.back() == ',') spatny_radek(soubor, radek, "not 12 grades");
    }
    return sazby;
}

void sazby(std::ostream& kod, const std::string& jmeno, const std::vector<std::string>& soubory) {
    std::vector<std::string> vse;
    // Scale 4 has the same tariffs as scale 3.
    for (const std::string* soubor : {&soubory[0], &soubory[1], &soubory[2], &soubory[2], &soubory[3]}) {
        const auto jedna = stupnice(*soubor);
        vse.insert(vse.end(), jedna.begin(), jedna.end());
    }
    kod << "inline constexpr std::array<double, " << vse.size() << "> " << jmeno << "_hodnoty{";
    for (std::size_t i = 0; i < vse.size(); ++i) kod << (i % 12 == 0 ? "\n    " : " ") << vse[i] << ",";
    kod << "\n};\n";
}

void generuj(const std::vector<std::string>& argumenty) {
    const std::string& druh = argumenty.at(0);
    const std::string& jmeno = argumenty.at(1);
    const std::vector<std::string> vstupy(argumenty.begin() + 3, argumenty.end());
    std::ostringstream kod;
    kod << "// Generated by tavon_data_gen from the data files; do not edit.\n#pragma once\n\n"
        << "#include <array>\n#include <cstdint>\n#include <string_view>\n\nnamespace tavon::gen {\n\n";
    if (druh == "seznam" && vstupy.size() == 1) {
        seznam(kod, jmeno, vstupy[0]);
    } else if (druh == "cisla" && vstupy.size() == 1) {
        cisla(kod, jmeno, vstupy[0]);
    } else if (druh == "pary" && vstupy.size() == 1) {
        pary(kod, vstupy[0]);
    } else if (druh == "sazby" && vstupy.size() == 4) {
        sazby(kod, jmeno, vstupy);
    } else {
        throw Chyba{"unknown kind '" + druh + "' or wrong number of files"};
    }
    kod << "\n}  // namespace tavon::gen\n";
    std::ofstream vystup(argumenty.at(2), std::ios::binary);
    vystup << kod.str();
    if (!vystup.flush()) throw Chyba{argumenty.at(2) + ": cannot be written"};
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc < 5) throw Chyba{"usage: tavon_data_gen <kind> <table> <out.inc> <data file>..."};
        generuj(std::vector<std::string>(argv + 1, argv + argc));
        return 0;
    } catch (const Chyba& chyba) {
        std::cerr << "tavon_data_gen: " << chyba.text << "\n";
    } catch (const std::exception& chyba) {
        std::cerr << "tavon_data_gen: " << chyba.what() << "\n";
    }
    return 1;
}
