// The employee store: the values of every employee record of the current employer that the
// employer rules need, one slot per record, with the employer-level sums and flags.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavon {

struct SlotNec {
    std::int32_t ind = -1;  // anec_ind: the slot's own number once its identifier is stored
    std::string iAA0126 = "-";
    std::uint64_t lin = 0;  // line of the identifier; 0 = none
    std::int32_t iAA0231 = 0;
    char iAA0211 = ' ';
    char iAA0223 = ' ';
    std::int32_t iAA0033 = 0;  // position in the state code list, 718 = not in it
    char iAA0130 = ' ';
    double iAA0131 = 0, iAA0225 = 0, iAA0216 = 0, iAA0132 = 0, iAA0136 = 0;
    std::int32_t iAA0137 = 0;
    double iAA0144 = 0, iAA0166 = 0, iAA0167 = 0, iAA0168 = 0;
    std::int32_t iAA0218 = 0;
};

struct Sklad {
    // One slot per employee record of the employer, however many; cleared at its start.
    std::vector<SlotNec> anec;
    int maxAktiAnec() const { return static_cast<int>(anec.size()) - 1; }
    // anec_ind: slot numbers in identifier order, built at the employer's end.
    std::vector<std::int32_t> anec_ind;
    // State codes not in the list, as read, by slot: shown in place of a list entry (rare, so
    // kept apart from the slots).
    std::vector<std::pair<std::int32_t, std::string>> nezname_staty;

    double sumz_AA0136 = 0, sumz_AA0137 = 0, sumz_AA0144 = 0;
    std::int32_t sumz_AA0223_Z = 0;
    char sw_stejne_vzdelani = 'A';
    char sav_AA0223 = ' ';
    std::int32_t sw_anec_AA0130 = 0, sw_anec_AA0137 = 0, sw_anec_AA0033 = 0;
    std::string val_anec_AA0033;
    std::string lin_anec_AA0033;
    std::string necsav_AA0013;

    void zacni_zamestnavatele() {
        anec.clear();
        nezname_staty.clear();
        sumz_AA0136 = sumz_AA0137 = sumz_AA0144 = 0;
        sumz_AA0223_Z = 0;
        sw_stejne_vzdelani = 'A';
        sw_anec_AA0130 = sw_anec_AA0137 = sw_anec_AA0033 = 0;
    }
    void zacni_zamestnance() { anec.emplace_back(); }
};

}  // namespace tavon
