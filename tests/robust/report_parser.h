// Reading reports back for the robustness tests: CSV rows with their quoting undone, the XML
// report against its fixed structure (a strict subset of well-formed XML), and the footers.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tavon::test {

using RadekHlaseni = std::array<std::string, 8>;

struct Rozbor {
    std::vector<RadekHlaseni> radky;
    long chybE = -1;
    long chybW = -1;
    std::string soubor;  // the input named in the XML report's header
    std::string vada;    // what is wrong with the report; empty when nothing is
};

namespace rozbor_detail {

inline bool vezmi(std::string_view& text, std::string_view co) {
    if (text.substr(0, co.size()) != co) return false;
    text.remove_prefix(co.size());
    return true;
}

// A "%8d" total up to the next `konec`; -1 when the text is not one.
inline long soucet(std::string_view& text, char konec = '\r') {
    const std::size_t k = text.find(konec);
    if (k == std::string_view::npos) return -1;
    const std::string t(text.substr(0, k));
    long n = -1;
    char zbytek;
    if (std::sscanf(t.c_str(), "%ld%c", &n, &zbytek) != 1) return -1;
    char b[32];
    std::snprintf(b, sizeof b, "%8ld", n);
    if (t != b) return -1;
    text.remove_prefix(k);
    return n;
}

}  // namespace rozbor_detail

// The CSV report: the header line, rows of exactly eight fields (a field holding ; " CR or LF
// is quoted with inner quotes doubled, any other is not), the two totals.
inline Rozbor rozeber_csv(std::string_view h) {
    using rozbor_detail::vezmi;
    Rozbor r;
    auto vadny = [&](std::string co) {
        r.vada = std::move(co) + " at: " + std::string(h.substr(0, 120));
        return r;
    };
    if (!vezmi(h, "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n"))
        return vadny("no CSV header");
    while (!h.empty() && h.substr(0, 2) != "\r\n") {
        RadekHlaseni radek;
        for (std::size_t i = 0; i < 8; ++i) {
            std::string& pole = radek[i];
            if (!h.empty() && h[0] == '"') {
                std::size_t j = 1;
                for (;; ++j) {
                    if (j >= h.size()) return vadny("unclosed quote");
                    if (h[j] != '"') {
                        pole.push_back(h[j]);
                    } else if (j + 1 < h.size() && h[j + 1] == '"') {
                        pole.push_back('"');
                        ++j;
                    } else {
                        break;
                    }
                }
                if (pole.find_first_of(";\"\r\n") == std::string::npos) return vadny("needless quotes");
                h.remove_prefix(j + 1);
            } else {
                const std::size_t j = h.find_first_of(";\"\r\n");
                if (j == std::string_view::npos || h[j] == '"') return vadny("stray quote or unended row");
                pole = h.substr(0, j);
                h.remove_prefix(j);
            }
            if (i < 7 && !vezmi(h, ";")) return vadny("row of " + std::to_string(i + 1) + " fields");
        }
        if (!vezmi(h, "\r\n")) return vadny("row of more than eight fields");
        r.radky.push_back(std::move(radek));
    }
    if (!vezmi(h, "\r\nCelkem chyb vahy E:;") || (r.chybE = rozbor_detail::soucet(h)) < 0 ||
        !vezmi(h, "\r\n\r\nCelkem chyb vahy W:;") || (r.chybW = rozbor_detail::soucet(h)) < 0 || h != "\r\n")
        return vadny("no complete CSV footer");
    return r;
}

// The XML report: prolog, DatumCas, Soubor, the rows as Chyba elements of eight columns, the
// totals and the root's end, each element on a line of its own. Texts may hold no "<", no
// control character but tab, and "&" only in &amp; &lt; &gt; (decoded in the result).
inline Rozbor rozeber_xml(std::string_view h) {
    using rozbor_detail::vezmi;
    Rozbor r;
    auto vadny = [&](std::string co) {
        r.vada = std::move(co) + " at: " + std::string(h.substr(0, 120));
        return r;
    };
    auto prvek = [&](std::string_view jmeno, std::string& text) {
        if (!vezmi(h, "<" + std::string(jmeno) + ">")) return false;
        const std::size_t k = h.find('<');
        if (k == std::string_view::npos) return false;
        text.clear();
        for (std::size_t i = 0; i < k; ++i) {
            const auto c = static_cast<unsigned char>(h[i]);
            if (c < 0x20 && c != '\t') return false;
            if (c != '&') {
                text.push_back(static_cast<char>(c));
                continue;
            }
            std::string_view zbytek = h.substr(i, k - i);
            if (zbytek.substr(0, 5) == "&amp;") {
                text.push_back('&');
                i += 4;
            } else if (zbytek.substr(0, 4) == "&lt;") {
                text.push_back('<');
                i += 3;
            } else if (zbytek.substr(0, 4) == "&gt;") {
                text.push_back('>');
                i += 3;
            } else {
                return false;
            }
        }
        h.remove_prefix(k);
        return vezmi(h, "</" + std::string(jmeno) + ">\r\n");
    };
    std::string text;
    if (!vezmi(h, "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><DUV_chyby>\r\n"))
        return vadny("no prolog");
    if (!prvek("DatumCas", text) || !prvek("Soubor", r.soubor)) return vadny("header");
    static constexpr std::string_view kSloupce[8] = {"Radek", "KodChyby", "Zamestnavatel", "Zamestnanec",
                                                     "Prvek", "Hodnota",  "DelkaHodn",     "Popis"};
    while (vezmi(h, "<Chyba>\r\n")) {
        RadekHlaseni radek;
        for (std::size_t i = 0; i < 8; ++i)
            if (!prvek(kSloupce[i], radek[i])) return vadny("column " + std::string(kSloupce[i]));
        if (!vezmi(h, "</Chyba>\r\n")) return vadny("row end");
        r.radky.push_back(std::move(radek));
    }
    if (!vezmi(h, "\r\n<CelkemchybE>") || (r.chybE = rozbor_detail::soucet(h, '<')) < 0 ||
        !vezmi(h, "</CelkemchybE>\r\n<CelkemchybW>") || (r.chybW = rozbor_detail::soucet(h, '<')) < 0 ||
        h != "</CelkemchybW>\r\n</DUV_chyby>\r\n")
        return vadny("no complete XML footer");
    return r;
}

inline bool konci(std::string_view h, std::string_view konec) {
    return h.size() >= konec.size() && h.substr(h.size() - konec.size()) == konec;
}

// The text report ends with both totals.
inline bool ma_paticku_txt(std::string_view h, long chybE, long chybW) {
    char b[96];
    std::snprintf(b, sizeof b, "\r\nCelkem chyb vahy E:%8ld\r\n\r\nCelkem chyb vahy W:%8ld\r\n", chybE,
                  chybW);
    return konci(h, b);
}

inline bool ma_paticku_htm(std::string_view h) {
    return konci(h, "</tr>\r\n</table>\r\n</body>\r\n</html>\r\n");
}

}  // namespace tavon::test
