// Writes a DUV document (Windows-1250, CR LF) of N employers with M employees each, the same
// for the same seed. A chosen share of employee records is faulty: out-of-range values, broken
// sums, duplicated persons and unknown codes, about ten findings each.
//
//   tavon_gen_duv N M [faulty-percent] [seed] > document.xml
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

struct Pole {
    const char* jmeno;
    std::string hodnota;
};

class Zapis {
  public:
    explicit Zapis(std::FILE* f) : f_(f) { buf_.reserve(1 << 20); }
    ~Zapis() { vyprazdni(); }
    void radek(const char* a, const std::string& b) {
        buf_ += '<';
        buf_ += a;
        buf_ += '>';
        buf_ += b;
        buf_ += "</";
        buf_ += a;
        buf_ += ">\r\n";
        if (buf_.size() > (1 << 20) - 512) vyprazdni();
    }
    void text(const char* t) { buf_ += t; }
    void vyprazdni() {
        std::fwrite(buf_.data(), 1, buf_.size(), f_);
        buf_.clear();
    }

  private:
    std::FILE* f_;
    std::string buf_;
};

std::string cislo(long long n) { return std::to_string(n); }

constexpr long long kPlat = 45960 + 12000 + 3000 + 4000;  // AA0144 of a valid record

// A valid employee record: every rule of a single record and of the employer is satisfied.
void zamestnanec(Zapis& z, const std::string& id, bool prvni, bool chybny, std::mt19937& rng) {
    long long hodiny = 880 + rng() % 40;  // hours worked
    long long plat = 45960;               // tariff part of the salary
    long long osobni = 12000;             // personal bonus
    long long priplatky = 3000, nahrady = 4000;
    long long celkem = plat + osobni + priplatky + nahrady;
    char hodinova[32];
    std::snprintf(hodinova, sizeof hodinova, "%.2f", celkem / double(hodiny + 120));
    const char* stat = "CZ";
    const char* kzam = "01011";
    long long tyden = 40;
    if (chybny) {
        tyden = 45;      // EL005, WL060
        stat = "XX";     // EL047
        kzam = "01018";  // EL046
        celkem += 1;     // EL015
    }
    z.text("<zamestnanec>\r\n");
    z.radek("AA0126", id);
    z.radek("AA0231", cislo(1950 + rng() % 25));
    z.radek("AA0211", chybny ? "3" : rng() % 2 ? "1" : "2");  // EL032
    z.radek("AA0223", chybny ? "Y" : rng() % 2 ? "K" : "M");  // EL048
    z.radek("AA0033", stat);
    z.radek("AA0013", kzam);
    z.radek("AA0125", "2");
    z.radek("AA0130", prvni ? "3" : "1");  // one other kind per employer
    z.radek("AA0131", cislo(tyden));
    z.radek("AA0225", "10");
    z.radek("AA0216", "5");
    z.radek("AA0132", cislo(hodiny));
    z.radek("AA0133", "20");
    z.radek("AA0134", "120");
    z.radek("AA0135", "80");
    z.radek("AA0136", "1");
    z.radek("AA0137", "1");
    z.radek("AA0127", "5");
    z.radek("AA0128", "3");
    z.radek("AA0129", "1");
    z.radek("AA0138", chybny ? "8000" : "7660");  // EL051 when faulty
    z.radek("AA0139", "2000");
    z.radek("AA0140", chybny ? "20000" : "0");  // WL013
    for (const char* n : {"AA0141", "AA0142", "AA0143"}) z.radek(n, "0");
    z.radek("AA0144", cislo(celkem));
    z.radek("AA0145", cislo(plat));
    z.radek("AA0146", cislo(osobni));
    for (const char* n : {"AA0147", "AA0148", "AA0160", "AA0162"}) z.radek(n, "0");
    z.radek("AA0150", cislo(priplatky));
    z.radek("AA0239", "0");
    z.radek("AA0240", "0");
    z.radek("AA0151", cislo(priplatky));
    for (const char* n :
         {"AA0152", "AA0153", "AA0154", "AA0155", "AA0156", "AA0157", "AA0163", "AA0161", "AA0237", "AA0238"})
        z.radek(n, "0");
    z.radek("AA0158", cislo(nahrady));
    z.radek("AA0159", "3000");
    z.radek("AA0165", hodinova);
    z.radek("AA0166", "0");
    z.radek("AA0167", cislo(celkem * 45 / 1000));
    z.radek("AA0168", cislo(celkem * 125 / 1000));
    z.radek("AA0091", chybny ? "9999" : "1111");  // EL068
    z.radek("AA0210", "5");
    z.radek("AA0218", "181");
    z.radek("AA0219", "20");
    z.radek("AA0690", "CZ0101");
    z.text("</zamestnanec>\r\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s employers employees-per-employer [faulty-percent] [seed]\n", argv[0]);
        return 2;
    }
    const long long zamestnavatelu = std::atoll(argv[1]);
    const long long zamestnancu = std::atoll(argv[2]);
    const int chybnych = argc > 3 ? std::atoi(argv[3]) : 0;
    std::mt19937 rng(argc > 4 ? static_cast<unsigned>(std::atoll(argv[4])) : 1u);

    Zapis z(stdout);
    z.text("<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n");
    z.text("<DUV verze=\"1.6\" xmlns=\"http://duv.example.org/schemas/2004/DUV/1.6/\">\r\n");
    z.radek("rok", "2006");
    z.radek("AA0226", "1-6");
    z.radek("ICOpredkladatele", "10000003");
    z.radek("predkladatel", "Nemocnice Doln\xED Lhota");
    z.radek("autor", "Jana Nov\xE1kov\xE1");
    z.radek("mail", "novakova@nemocnice.cz");
    z.radek("telefon", "+420123456789");
    z.radek("vytvoreno", "2006-07-15T10:20:30");
    for (long long t = 0; t < zamestnavatelu; ++t) {
        // Employer identities: valid check digits, distinct, registered under the submitter
        // only for the first one (the rest give one register warning each).
        long long zaklad = 2000000 + t;
        char ico[16];
        int s = 0;
        std::snprintf(ico, sizeof ico, "%07lld", zaklad % 10000000);
        for (int i = 0; i < 7; ++i) s += (8 - i) * (ico[i] - '0');
        int k = 11 - s % 11;
        if (k > 9) k -= 10;
        std::snprintf(ico + 7, sizeof ico - 7, "%d", k);
        if (t == 0) std::strcpy(ico, "20000006");

        z.text("<zamestnavatel>\r\n");
        z.radek("AA0017", ico);
        z.radek("AA0113", "");
        z.radek("AA0019", "325");
        z.radek("AA0179", "CZ0101");
        z.radek("AA0110", "20060630");
        z.radek("AA0116", cislo(zamestnancu));
        z.radek("AA0123", cislo(zamestnancu * 130000));
        z.radek("AA0114", cislo(zamestnancu));
        z.radek("AA0115", cislo(zamestnancu));
        z.radek("AA0118", cislo(zamestnancu * kPlat));
        z.radek("AA0119", "0");
        for (long long e = 0; e < zamestnancu; ++e) {
            bool chybny = static_cast<int>(rng() % 100) < chybnych;
            // A faulty record repeats the previous person's identifier now and then.
            long long id = chybny && e > 0 && rng() % 4 == 0 ? e - 1 : e;
            zamestnanec(z, cislo(1000000 + id), e == 0, chybny, rng);
        }
        z.text("</zamestnavatel>\r\n");
    }
    z.text("</DUV>\r\n");
    return 0;
}
