// The end of an employer record: its employees in identifier order, the rules per person
// (single records and persons with several records), and the employer's totals.
#include <algorithm>
#include <numeric>

#include "fields/ciselniky.h"
#include "run/format.h"
#include "run/kontrola.h"

namespace tavon {
namespace {

constexpr std::string_view kNic = "   ";
constexpr std::size_t kSkupina = 6;  // at most six records of one person are compared and summed
constexpr double kHraniceZdravotni = 24864;

// The state code of a slot as text: its list entry, or the code as read when it is in no list.
std::string_view kod_statu(const Sklad& sklad, std::int32_t slot) {
    const SlotNec& z = sklad.anec[static_cast<std::size_t>(slot)];
    if (z.iAA0033 < TcisStat_pocet) return TcisStat_kod(z.iAA0033);
    std::string_view kod;  // the last code read for the slot, as the slot keeps the last value
    for (const auto& [k, text] : sklad.nezname_staty)
        if (k == slot) kod = text;
    return kod;
}

std::string_view znak(const char& c) { return c == '\0' ? std::string_view{} : std::string_view(&c, 1); }

}  // namespace

int Kontrola::zpracuj_TELk() {
    identnec = kNic;
    kontrola_vyskytu(Ttab, T, kNic, false);
    poradi_identifikatoru();
    pruchod_vzdelani();

    // A run is one person's records; a record without an identifier is always a person of its own.
    const int n = sklad.maxAktiAnec() + 1;
    auto stejna_osoba = [&](const SlotNec& a, const SlotNec& b) {
        return a.ind >= 0 && b.ind >= 0 && a.iAA0126 == b.iAA0126;
    };
    for (int p = 0; p < n;) {
        const SlotNec& prvni = sklad.anec[sklad.anec_ind[p]];
        int pomz_ind = 0;
        while (p + pomz_ind + 1 < n && stejna_osoba(prvni, sklad.anec[sklad.anec_ind[p + pomz_ind + 1]]))
            ++pomz_ind;
        if (pomz_ind == 0)
            jednotlivy_zaznam(sklad.anec[sklad.anec_ind[p]]);
        else
            opakovany_zamestnanec(p, pomz_ind);
        p += pomz_ind + 1;
    }

    soucty_zamestnavatele();
    rezim_zprac = 'H';
    return 0;
}

// A stable sort of slot numbers by identifier, byte-wise with a prefix first; a record
// without an identifier takes its own slot number.
void Kontrola::poradi_identifikatoru() {
    const int n = sklad.maxAktiAnec() + 1;
    sklad.anec_ind.resize(static_cast<std::size_t>(n));
    std::iota(sklad.anec_ind.begin(), sklad.anec_ind.end(), 0);
    std::stable_sort(sklad.anec_ind.begin(), sklad.anec_ind.end(), [&](std::int32_t a, std::int32_t b) {
        return sklad.anec[a].iAA0126 < sklad.anec[b].iAA0126;
    });
}

void Kontrola::pruchod_vzdelani() {
    const int n = sklad.maxAktiAnec() + 1;
    if (n < 1) return;
    sklad.sav_AA0223 = sklad.anec[sklad.anec_ind[0]].iAA0223;
    for (int p = 0; p < n; ++p) {
        char c = sklad.anec[sklad.anec_ind[p]].iAA0223;
        if (static_cast<signed char>(c) < 'C') ++sklad.sumz_AA0223_Z;
        if (c != sklad.sav_AA0223) sklad.sw_stejne_vzdelani = 'N';
    }
}

void Kontrola::jednotlivy_zaznam(const SlotNec& z) {
    identnec = z.iAA0126;
    if (!(z.iAA0136 > 0 && z.iAA0218 > 0)) return;
    const TextRadku radek(z.lin);
    const double a144 = z.iAA0144, a167 = z.iAA0167, a168 = z.iAA0168;
    if (a144 <= 0 && a167 > 0) chyba(radek, "WL025", "AA0167", Fmt("%10.0f", a167), "0");
    if (a144 > 0 && a167 > 0.1 * a144)
        chyba(radek, "WL025", "AA0167", Fmt("%10.0f", a167), Fmt("<=  %10.2f", 0.1 * a144));
    if (a144 > kHraniceZdravotni && a167 < 0.03 * (a144 - kHraniceZdravotni))
        chyba(radek, "WL025", "AA0167", Fmt("%10.0f", a167),
              Fmt(">  %10.0f", 0.03 * (a144 - kHraniceZdravotni)));
    if (a144 < kHraniceZdravotni && a167 < 0) chyba(radek, "WL025", "AA0167", Fmt("%10.0f", a167), " 0 ");
    if (a144 <= 0 && a168 > 0) chyba(radek, "WL026", "AA0168", Fmt("%10.0f", a168), "0");
    if (a144 > 0 && (a168 > 0.2 * a144 || a168 < 0.05 * a144))
        chyba(radek, "WL026", "AA0168", Fmt("%10.0f", a168), Fmt("%10.2f - %10.2f", 0.05 * a144, 0.2 * a144));
}

void Kontrola::opakovany_zamestnanec(int p, int pomz_ind) {
    const std::size_t g = std::min<std::size_t>(static_cast<std::size_t>(pomz_ind) + 1, kSkupina);
    const SlotNec* skupina[kSkupina] = {};
    for (std::size_t j = 0; j < g; ++j) skupina[j] = &sklad.anec[sklad.anec_ind[p + static_cast<int>(j)]];
    const SlotNec& prvni = *skupina[0];

    // The line list: "10,40,70", and ", ...... " when the person has more than six records.
    std::string radky;
    for (std::size_t j = 0; j < g; ++j) {
        if (j) radky.push_back(',');
        radky.append(TextRadku(skupina[j]->lin));
    }
    if (pomz_ind > 5) radky.append(", ...... ");
    auto hlas = [&](std::string_view kod, std::string_view prvek, std::string_view hodnota,
                    std::string_view ocekavano) {
        identnec = prvni.iAA0126;
        chyba(radky, kod, prvek, hodnota, ocekavano);
    };

    // The first record of the group whose value differs from the first record's, or 0.
    auto rozdil = [&](auto hodnota) -> std::size_t {
        for (std::size_t j = 1; j < g; ++j)
            if (hodnota(*skupina[j]) != hodnota(prvni)) return j;
        return 0;
    };

    // E1. State code.
    if (std::size_t j = rozdil([](const SlotNec& z) { return z.iAA0033; }))
        hlas("EL003", "AA0033", kod_statu(sklad, sklad.anec_ind[p]),
             kod_statu(sklad, sklad.anec_ind[p + static_cast<int>(j)]));

    // E2. Kinds of employment relationship.
    if (N.Esw[nec::AA0130] != 'E' && N.Esw[nec::AA0136] != 'E' && N.Esw[nec::AA0137] != 'E') {
        double sum_AA0136_1 = 0;
        int c1 = 0, c7 = 0;
        for (std::size_t j = 0; j < g; ++j) {
            const SlotNec& z = *skupina[j];
            if (z.iAA0130 != '1' && z.iAA0130 != '7') continue;
            sum_AA0136_1 += z.iAA0136;
            if (z.iAA0137 == 1) ++(z.iAA0130 == '1' ? c1 : c7);
        }
        identnec = prvni.iAA0126;
        if (sum_AA0136_1 > 1.0) hlas("EL052", "AA0130", Fmt("%2.4f", sum_AA0136_1), "<= 1");
        if (c1 > 1 || c7 > 1 || (c1 >= 1 && c7 >= 1))
            hlas("EL065", "AA0130", (c1 >= 1 && c7 >= 1) ? "1,7 " : c7 > 1 ? "7,7 " : "1,1 ", "Pouze 1 x");
    }

    // E3. Working time.
    if (N.Esw[nec::AA0131] != 'E' && N.Esw[nec::AA0137] != 'E') {
        double sum_AA0131 = 0;
        for (std::size_t j = 0; j < g; ++j)
            if (skupina[j]->iAA0137 == 1) sum_AA0131 += skupina[j]->iAA0131;
        if (sum_AA0131 > 79.991) hlas("WL049", "AA0131", Fmt("%10.2f", sum_AA0131), "max. 79.99");
    }

    // E4. Hours worked, reported at every record that keeps the running sum above the limit.
    if (N.Esw[nec::AA0132] != 'E') {
        double sum_AA0132 = 0;
        for (std::size_t j = 0; j < g; ++j) {
            sum_AA0132 += skupina[j]->iAA0132;
            if (sum_AA0132 > 1872.0) hlas("WL007", "AA0132", Fmt("%10.0f", sum_AA0132), Fmt(" <= %d", 1872));
        }
    }

    // E5. The person counts once in the register on the last day.
    int sum_AA0137 = 0;
    for (std::size_t j = 0; j < g; ++j)
        if (skupina[j]->iAA0137 == 1) ++sum_AA0137;
    if (sum_AA0137 > 1) sklad.sumz_AA0137 -= sum_AA0137 - 1;

    // E6. Tax-free amount.
    int sw_anec_AA0166 = 0;
    std::string castky;
    for (std::size_t j = 0; j < g; ++j) {
        if (skupina[j]->iAA0166 == 0) continue;
        if (sw_anec_AA0166++ > 0) castky.push_back(',');
        castky.append(Fmt("%10.0f", skupina[j]->iAA0166));
    }
    if (sw_anec_AA0166 > 1) hlas("WL018", "AA0166", castky, "Pouze 1 x");

    // E7. Contributions of the person as a whole.
    double s144 = 0, s167 = 0, s168 = 0;
    for (std::size_t j = 0; j < g; ++j) {
        s144 += skupina[j]->iAA0144;
        s167 += skupina[j]->iAA0167;
        s168 += skupina[j]->iAA0168;
    }
    if (s144 <= 0 && s167 > 0) hlas("WL025", "AA0167", Fmt("%10.2f", s167), Fmt("%10.2f", 0.0));
    if (s144 > 0 && s167 > 0.1 * s144)
        hlas("WL025", "AA0167", Fmt("%10.2f", s167), Fmt("<=  %10.2f", 0.1 * s144));
    if (s144 > kHraniceZdravotni && s167 < 0.03 * (s144 - kHraniceZdravotni))
        hlas("WL025", "AA0167", Fmt("%10.2f", s167), Fmt(">  %10.2f", 0.03 * (s144 - kHraniceZdravotni)));
    if (s144 < kHraniceZdravotni && s167 < 0) hlas("WL025", "AA0167", Fmt("%10.2f", s167), " 0 ");
    if (s144 <= 0 && s168 > 0) hlas("WL026", "AA0168", Fmt("%10.2f", s168), Fmt("%10.2f", 0.0));
    if (s144 > 0 && (s168 > 0.2 * s144 || s168 < 0.05 * s144))
        hlas("WL026", "AA0168", Fmt("%10.2f", s168), Fmt("%10.2f - %10.2f", 0.05 * s144, 0.2 * s144));

    // E8-E10. Gender, education and birth year must agree.
    if (std::size_t j = rozdil([](const SlotNec& z) { return z.iAA0211; }))
        hlas("EL003", "AA0211", znak(prvni.iAA0211), znak(skupina[j]->iAA0211));
    if (std::size_t j = rozdil([](const SlotNec& z) { return z.iAA0223; }))
        hlas("EL003", "AA0223", znak(prvni.iAA0223), znak(skupina[j]->iAA0223));
    if (std::size_t j = rozdil([](const SlotNec& z) { return z.iAA0231; }))
        hlas("EL003", "AA0231", Fmt("%d", prvni.iAA0231), Fmt("%d", skupina[j]->iAA0231));
}

void Kontrola::soucty_zamestnavatele() {
    auto sum = [&](int r) { return T.Sum[r]; };
    auto chybne = [&](int r) { return T.Esw[r] == 'E'; };
    auto hlas = [&](std::string_view radek, std::string_view kod, std::string_view prvek,
                    std::string_view hodnota, std::string_view ocekavano) {
        identnec = kNic;
        chyba(radek, kod, prvek, hodnota, ocekavano);
    };
    const int maxAktiAnec = sklad.maxAktiAnec();
    const int n = maxAktiAnec + 1;

    // Step 3: declared totals against the sums over the employees.
    if (!chybne(tel::AA0114) && sum(tel::AA0114) != sklad.sumz_AA0136) {
        Fmt deklarovano("%10.4f", sum(tel::AA0114)), soucet("%10.4f", sklad.sumz_AA0136);
        if (std::string_view(deklarovano) != std::string_view(soucet))
            hlas(TextRadku(T.Lin[tel::AA0114]), "EL020", "AA0114", deklarovano, soucet);
    }
    if (!chybne(tel::AA0115) && sum(tel::AA0115) != sklad.sumz_AA0137)
        hlas(TextRadku(T.Lin[tel::AA0115]), "EL021", "AA0115", Fmt("%10.0f", sum(tel::AA0115)),
             Fmt("%10.0f", sklad.sumz_AA0137));
    if (!chybne(tel::AA0118) && sum(tel::AA0118) != sklad.sumz_AA0144)
        hlas(TextRadku(T.Lin[tel::AA0118]), "EL022", "AA0118", Fmt("%10.0f", sum(tel::AA0118)),
             Fmt("%10.0f", sklad.sumz_AA0144));
    if (!chybne(tel::AA0118) && !chybne(tel::AA0119) && sum(tel::AA0118) < sum(tel::AA0119))
        hlas(TextRadku(T.Lin[tel::AA0119]), "WL023", "AA0119", Fmt("%10.0f", sum(tel::AA0119)),
             Fmt("<= %10.0f", sum(tel::AA0118)));

    // Step 4: plausibility over all records.
    if (sklad.sw_anec_AA0137 < 2 && maxAktiAnec > 49) hlas(kNic, "WL042", kNic, kNic, kNic);
    if (sklad.sw_anec_AA0130 == 0 && maxAktiAnec > 49) hlas(kNic, "WL043", kNic, kNic, kNic);

    // Step 5: the last long state code.
    if (sklad.sw_anec_AA0033 > 0)
        hlas(sklad.lin_anec_AA0033, "WL053", "AA0033", sklad.val_anec_AA0033, "delka 2");

    // Step 6: paid salaries against the number of employees.
    identnec = kNic;
    chk_AA0118(atel_iAA0118);

    // Step 7: education of all employees.
    if (n > 49) {
        if (sklad.sw_stejne_vzdelani == 'A') hlas(kNic, "EL081", "AA0223", znak(sklad.sav_AA0223), kNic);
        if (sklad.sumz_AA0223_Z > n / 2) hlas(kNic, "EL082", "AA0223", kNic, kNic);
    }

    // Step 8: an employer without employees.
    if (sw_bylNEC == 'N') hlas(s_cislo_radky(), "ES309", kNic, kNic, kNic);
}

}  // namespace tavon
