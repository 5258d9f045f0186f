// The end of an employee record: presence of every field, the rules across the fields of
// the record, the progress line and the employer's running sums.
#include <cmath>

#include "rules/sazby.h"
#include "run/format.h"
#include "run/kontrola.h"

namespace tavon {
namespace {

constexpr std::string_view kNic = "   ";
constexpr double kKalendarnichDni = 181;
constexpr double kPracovnichDni = 130;
constexpr double kMaxHodin = 1248;
constexpr double kRok = 2006;

}  // namespace

void Kontrola::pis_prubeh() {
    // Rewritten at most about ten times a second: the console must not slow the run down.
    auto ted = std::chrono::steady_clock::now();
    if (prubeh_vypsan && ted - posledni_prubeh < std::chrono::milliseconds(100)) return;
    prubeh_vypsan = true;
    posledni_prubeh = ted;
    char b[64];
    std::snprintf(b, sizeof b, " Radek%8llu pro zamestnance",
                  static_cast<unsigned long long>(ctecka.radek.cislo()));
    konzole << b;
    for (std::size_t i = identnec.size(); i < 11; ++i) konzole << ' ';
    konzole << identnec << " zamestnavatel";
    for (std::size_t i = telicokod.size(); i < 11; ++i) konzole << ' ';
    konzole << telicokod << '\r' << std::flush;
}

int Kontrola::zpracuj_NECk() {
    pis_prubeh();
    rezim_zprac = 'T';
    for (int i = 0; i < nec::Pocet; ++i)
        if (N.Pre[i] > 1) chyba(s_cislo_radky(), "ES304", Ntab[i].elem, " ", Fmt("%d", N.Pre[i]));
    k_NecK();

    const double v136 = N.Sum[nec::AA0136], v137 = N.Sum[nec::AA0137];
    sklad.sumz_AA0136 += v136;
    if (v137 == 1) sklad.sumz_AA0137 += v137;
    if (v137 > 1) sklad.sw_anec_AA0137 = 2;
    if (N.Sum[nec::AA0130] > 1) sklad.sw_anec_AA0130 = 2;
    sklad.sumz_AA0144 += N.Sum[nec::AA0144];
    return 0;
}

int Kontrola::k_NecK() {
    auto v = [&](int r) { return N.Sum[r]; };
    auto ok = [&](std::initializer_list<int> pole) {
        for (int r : pole)
            if (N.Esw[r] == 'E') return false;
        return true;
    };
    auto lin = [&](int r) { return TextRadku(N.Lin[r]); };
    const std::string_view cur = s_cislo_radky();

    // Occupation group: '0' is group 0; a first byte above '0' (signed) is any other.
    const signed char prvni =
        sklad.necsav_AA0013.empty() ? 0 : static_cast<signed char>(sklad.necsav_AA0013[0]);
    const bool skupina0 = prvni == '0';
    const bool jina = prvni > '0';
    const bool zapocten = v(nec::AA0136) > 0 && v(nec::AA0218) > 0;

    // 1. Presence.
    kontrola_vyskytu(Ntab, N, kNic, false);

    // 2. Weekly working time.
    if (ok({nec::AA0131})) {
        if (jina && v(nec::AA0131) > 40)
            chyba(lin(nec::AA0131), "EL005", "AA0131", Fmt("%10.2f", v(nec::AA0131)), "max. 40");
        if (skupina0 && v(nec::AA0131) > 42.5)
            chyba(lin(nec::AA0131), "EL005", "AA0131", Fmt("%10.2f", v(nec::AA0131)), "max. 42,5");
    }

    // 3. Registered days against years of employment.
    if (ok({nec::AA0216, nec::AA0218, nec::AA0225})) {
        double y = std::trunc(100 * (v(nec::AA0218) / 365 - 0.0005)) / 100;
        if (v(nec::AA0218) == 365) y = 1;
        double roky = v(nec::AA0216) + v(nec::AA0225);
        if (y > roky)
            chyba(lin(nec::AA0225), "EL006", "AA0225 + AA0216", Fmt("%10.2f", roky), Fmt("%10.2f", y));
    }

    // 4, 5. Hours worked and overtime.
    if (ok({nec::AA0132}) && v(nec::AA0132) > kMaxHodin)
        chyba(lin(nec::AA0132), "WL007", "AA0132", Fmt("%10.0f", v(nec::AA0132)), Fmt(" <= %d", 1248));
    if (ok({nec::AA0132, nec::AA0133}) && v(nec::AA0133) > v(nec::AA0132) / 6)
        chyba(lin(nec::AA0133), "WL008", "AA0133", Fmt("%10.2f", v(nec::AA0133)),
              Fmt("%10.2f", v(nec::AA0132) / 6));

    // 6. Hours against the headcount.
    if (ok({nec::AA0132, nec::AA0133, nec::AA0136, nec::AA0218, nec::AA0219}) && v(nec::AA0136) > 0 &&
        v(nec::AA0218) > 0) {
        double p =
            v(nec::AA0132) - v(nec::AA0133) + 181 * 8 * v(nec::AA0219) * v(nec::AA0136) / v(nec::AA0218);
        double lo = 0.6 * 1248 * v(nec::AA0136), hi = 1248 * v(nec::AA0136);
        auto hlas = [&] {
            chyba(lin(nec::AA0136), "WL009", "AA0132; AA0133; AA0218; AA0219; AA0136;",
                  Fmt("%10.2f ; %10.2f ;  %3.0f ;  %3.0f ; %10.4f ;", v(nec::AA0132), v(nec::AA0133),
                      v(nec::AA0218), v(nec::AA0219), v(nec::AA0136)),
                  kNic);
        };
        if (lo > p) hlas();
        if (hi < p) hlas();
    }

    // 7. Holiday against paid absence.
    if (ok({nec::AA0134, nec::AA0135}) && v(nec::AA0134) < v(nec::AA0135))
        chyba(lin(nec::AA0135), "EL010", "AA0135", Fmt("%10.2f", v(nec::AA0135)),
              Fmt("%10.2f", v(nec::AA0134)));

    // 8, 9. Tariff salary against the tariff table.
    if (ok({nec::AA0127, nec::AA0128, nec::AA0129, nec::AA0138})) {
        const double s = v(nec::AA0129), c = v(nec::AA0127), g = v(nec::AA0128), t138 = v(nec::AA0138);
        const bool posledniDen = v(nec::AA0137) == 1;
        auto tarif = [&](std::string_view ocekavano) {
            if (posledniDen)
                chyba(lin(nec::AA0138), "EL051", "AA0138", Fmt("%10.0f", t138), ocekavano);
            else if (zapocten)
                chyba(lin(nec::AA0138), "WL011", "AA0138", Fmt("%10.0f", t138), ocekavano);
        };
        if (s > 0 && c > 0 && g > 0) {
            double t = sazba(s, c, g);
            if (t != t138) tarif(Fmt("%10.0f", t));
        }
        if (s > 0 && c > 0 && g == 0) {
            RozpetiSazeb r = sazba_rozpeti(s, c);
            if (t138 < r.dolni || t138 > r.horni) tarif(Fmt("%10.0f  - %10.0f", r.dolni, r.horni));
        } else if (posledniDen && (s <= 0 || c <= 0 || g < 0)) {
            RozpetiSazeb r = sazby_meze();
            if (t138 < r.dolni || t138 > r.horni)
                chyba(lin(nec::AA0138), "EL051", "AA0138", Fmt("%10.0f", t138),
                      Fmt("%10.0f - %10.0f", r.dolni, r.horni));
        }
    }

    // 10. Personal bonus.
    if (ok({nec::AA0127, nec::AA0129, nec::AA0139}) && v(nec::AA0129) > 0 && v(nec::AA0127) > 0) {
        double m = sazba_nejvyssi(v(nec::AA0129), v(nec::AA0127));
        if (v(nec::AA0127) < 10) m = m / 2;
        if (v(nec::AA0139) > m && zapocten)
            chyba(lin(nec::AA0139), "WL012", "AA0139", Fmt("%10.0f", v(nec::AA0139)), Fmt("%10.0f", m));
    }

    // 11-13. Bonus limits.
    auto limit = [&](int r, std::string_view kod, std::string_view pole, int mez) {
        if (ok({r}) && v(r) > mez && zapocten)
            chyba(lin(r), kod, pole, Fmt("%10.0f", v(r)), Fmt("<= %d", mez));
    };
    limit(nec::AA0140, "WL013", "AA0140", 13000);
    limit(nec::AA0141, "WL013", "AA0141", 13000);
    limit(nec::AA0142, "WL014", "AA0142", 10000);

    // 14. Salary total.
    if (ok({nec::AA0145, nec::AA0146, nec::AA0147, nec::AA0148, nec::AA0160, nec::AA0162, nec::AA0150,
            nec::AA0157, nec::AA0161, nec::AA0163, nec::AA0158, nec::AA0144})) {
        double s = v(nec::AA0146) + v(nec::AA0145) + v(nec::AA0147) + v(nec::AA0148) + v(nec::AA0160) +
                   v(nec::AA0162) + v(nec::AA0150) + v(nec::AA0157) + v(nec::AA0163) + v(nec::AA0161) +
                   v(nec::AA0158);
        if (v(nec::AA0144) != s)
            chyba(cur, "EL015", "AA0144", Fmt("%10.0f", v(nec::AA0144)), Fmt("%10.0f", s));
    }

    // 15. Holiday compensation.
    if (ok({nec::AA0158, nec::AA0159}) && v(nec::AA0158) < v(nec::AA0159))
        chyba(lin(nec::AA0159), "WL016", "AA0159", Fmt("%10.0f", v(nec::AA0159)),
              Fmt("%10.0f", v(nec::AA0158)));

    // 16. Hourly salary.
    if (ok({nec::AA0136, nec::AA0165, nec::AA0144, nec::AA0132, nec::AA0134, nec::AA0162}) &&
        v(nec::AA0136) > 0 && v(nec::AA0165) > 0) {
        double p = (v(nec::AA0134) + v(nec::AA0132)) * v(nec::AA0165);
        auto hlas = [&] {
            chyba(cur, "WL017", "AA0165; AA0132; AA0134; AA0144;",
                  Fmt(" %10.2f ; %10.2f ; %10.2f ; %10.0f ;", v(nec::AA0165), v(nec::AA0132), v(nec::AA0134),
                      v(nec::AA0144)),
                  kNic);
        };
        if (0.8 * v(nec::AA0144) > p) hlas();
        if (1.2 * v(nec::AA0144) < p) hlas();
    }

    // 17. Rank bonus.
    limit(nec::AA0143, "WL024", "AA0143", 4600);

    // 18. Bonus total.
    if (ok({nec::AA0150, nec::AA0239, nec::AA0151, nec::AA0152, nec::AA0153, nec::AA0154, nec::AA0155,
            nec::AA0156, nec::AA0240})) {
        double s = v(nec::AA0151) + v(nec::AA0239) + v(nec::AA0152) + v(nec::AA0153) + v(nec::AA0154) +
                   v(nec::AA0155) + v(nec::AA0156) + v(nec::AA0240);
        if (v(nec::AA0150) != s)
            chyba(lin(nec::AA0150), "EL027", "AA0150", Fmt("%10.0f", v(nec::AA0150)), Fmt("%10.0f", s));
    }

    // 19. Standby pay.
    if (ok({nec::AA0161, nec::AA0237, nec::AA0238}) && v(nec::AA0161) != v(nec::AA0238) + v(nec::AA0237))
        chyba(lin(nec::AA0161), "EL028", "AA0161", Fmt("%10.0f", v(nec::AA0161)),
              Fmt("%10.0f", v(nec::AA0238) + v(nec::AA0237)));

    // 20. Holiday without compensation.
    if (ok({nec::AA0135, nec::AA0159}) && v(nec::AA0135) != 0 && v(nec::AA0159) == 0)
        chyba(lin(nec::AA0159), "WL029", "AA0135 ; AA0159 ;",
              Fmt("%10.2f ; %10.2f ;", v(nec::AA0135), v(nec::AA0159)), " ");

    // 21. Values that must be zero outside the headcount.
    for (int r :
         {nec::AA0132, nec::AA0133, nec::AA0134, nec::AA0135, nec::AA0210, nec::AA0218, nec::AA0219}) {
        if (ok({r, nec::AA0136}) && v(r) != 0 && v(nec::AA0136) == 0) {
            bool desetiny = r == nec::AA0133 || r == nec::AA0134 || r == nec::AA0135;
            chyba(lin(r), "EL037", Ntab[r].elem, Fmt(desetiny ? "%10.2f" : "%10.0f", v(r)), "0");
        }
    }

    // 22. Last-day status outside the headcount (reported on the line of AA0138).
    if (ok({nec::AA0137, nec::AA0136}) && v(nec::AA0137) != 2 && v(nec::AA0136) == 0)
        chyba(lin(nec::AA0138), "EL038", "AA0137", Fmt("%10.0f", v(nec::AA0137)), "2");

    // 23. Increased tariff in state administration.
    if (ok({nec::AA0125, nec::AA0129}) && v(nec::AA0129) != 4 && v(nec::AA0129) != 5 && v(nec::AA0125) == 1)
        chyba(lin(nec::AA0129), "WL040", "AA0129", Fmt("%10.0f", v(nec::AA0129)), "4,5");

    // 24. Whole period in the headcount.
    if (ok({nec::AA0136, nec::AA0137}) && v(nec::AA0137) != 1 && v(nec::AA0136) == 1)
        chyba(lin(nec::AA0137), "EL059", "AA0137", Fmt("%10.0f", v(nec::AA0137)), "1");

    // 25. Weekly working time against the average.
    if (ok({nec::AA0136, nec::AA0131, nec::AA0218}) && v(nec::AA0136) > 0 && v(nec::AA0218) > 0) {
        double lo = 181 * 20 * v(nec::AA0136) / v(nec::AA0218);
        double hi = 181 * 60 * v(nec::AA0136) / v(nec::AA0218);
        if (hi > 42.5) hi = 42.5;
        if (jina && hi > 40) hi = 40;
        if (v(nec::AA0131) < lo || v(nec::AA0131) > hi)
            chyba(lin(nec::AA0131), "WL060", "AA0131", Fmt("%12.2f", v(nec::AA0131)),
                  Fmt("%12.2f - %12.2f ", lo, hi));
    }

    // 26. Recalculated headcount against days.
    if (ok({nec::AA0136, nec::AA0218}) && v(nec::AA0218) != 0 && v(nec::AA0136) != 0) {
        double lim = 1.1 * v(nec::AA0218) / kKalendarnichDni;
        if (v(nec::AA0136) > lim)
            chyba(lin(nec::AA0218), "EL066", "AA0136", Fmt("%10.4f", v(nec::AA0136)), Fmt("<= %10.5f", lim));
    }

    // 27. Missing hourly salary.
    if (ok({nec::AA0165, nec::AA0134}) && v(nec::AA0134) > 0 && v(nec::AA0165) == 0 && zapocten)
        chyba(lin(nec::AA0165), "WL067", "AA0165", Fmt("%10.2f", v(nec::AA0165)), " > 0");

    // 28. Absence against sickness and holiday.
    if (ok({nec::AA0135, nec::AA0210, nec::AA0219})) {
        const long long d = jina ? 80 : 85;
        double lim =
            static_cast<double>(static_cast<long long>(std::trunc(10 * v(nec::AA0135))) / d) + v(nec::AA0210);
        if (v(nec::AA0219) < lim)
            chyba(lin(nec::AA0210), "EL069", "AA0135; AA0210; AA0219;",
                  Fmt("%10.2f ; %3.0f ; %3.0f ;", v(nec::AA0135), v(nec::AA0210), v(nec::AA0219)), kNic);
    }

    // 29-32. Full headcount, shortened time and days.
    if (ok({nec::AA0136, nec::AA0131}) && v(nec::AA0131) < 30 && v(nec::AA0136) == 1)
        chyba(lin(nec::AA0131), "EL070", "AA0131", Fmt("%10.2f", v(nec::AA0131)), ">= 30");
    if (ok({nec::AA0136, nec::AA0218}) && v(nec::AA0218) != kKalendarnichDni && v(nec::AA0136) == 1)
        chyba(lin(nec::AA0218), "EL071", "AA0218", Fmt("%10.0f", v(nec::AA0218)),
              Fmt("%10.0f", kKalendarnichDni));
    if (ok({nec::AA0136, nec::AA0218, nec::AA0131})) {
        double r = v(nec::AA0218) / kKalendarnichDni;
        if (0.99 * v(nec::AA0136) <= r && r <= 1.01 * v(nec::AA0136) && v(nec::AA0131) < 37.5 &&
            v(nec::AA0136) > 0)
            chyba(lin(nec::AA0131), "WL072", "AA0131", Fmt("%10.2f", v(nec::AA0131)), ">= 37.5");
    }
    if (ok({nec::AA0136, nec::AA0218}) && v(nec::AA0218) == 0 && v(nec::AA0136) != 0)
        chyba(lin(nec::AA0136), "EL073", "AA0136", Fmt("%10.2f", v(nec::AA0136)), "0");

    // 33. Abolished salaries.
    if (ok({nec::AA0160}) && v(nec::AA0160) != 0)
        chyba(lin(nec::AA0160), "EL075", "AA0160", Fmt("%10.0f", v(nec::AA0160)), "0");

    // 34. Start of employment before the age of 14 (reported on the line of AA0218).
    if (ok({nec::AA0216, nec::AA0225, nec::AA0231})) {
        double s = v(nec::AA0225) + v(nec::AA0216);
        double lim = kRok - v(nec::AA0231) - 13;
        if (lim < s)
            chyba(lin(nec::AA0218), "EL076", "AA0216 + AA0225", Fmt("%10.0f", s), Fmt("<= %10.0f", lim));
    }

    // 35, 36. Days in the period.
    if (ok({nec::AA0218}) && v(nec::AA0218) > kKalendarnichDni)
        chyba(lin(nec::AA0218), "EL077", "AA0218", Fmt("%10.0f", v(nec::AA0218)),
              Fmt("<= %10.0f", kKalendarnichDni));
    if (ok({nec::AA0219}) && v(nec::AA0219) > kPracovnichDni)
        chyba(lin(nec::AA0219), "EL078", "AA0219", Fmt("%10.0f", v(nec::AA0219)),
              Fmt("<= %10.0f", kPracovnichDni));

    // 37. Worked and absent days against registered days.
    if (ok({nec::AA0218, nec::AA0219, nec::AA0132, nec::AA0133})) {
        double w = (v(nec::AA0132) - v(nec::AA0133)) / (jina ? 8 : 8.5);
        if (v(nec::AA0218) < w + v(nec::AA0219))
            chyba(lin(nec::AA0219), "EL080", "AA0132; AA0133; AA0218; AA0219;",
                  Fmt("%10.2f ; %10.2f ;  %3.0f ; %3.0f ;", v(nec::AA0132), v(nec::AA0133), v(nec::AA0218),
                      v(nec::AA0219)),
                  kNic);
    }
    return 1;
}

}  // namespace tavon
