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

class Writer {
  public:
    explicit Writer(std::FILE* f) : f_(f) { buf_.reserve(1 << 20); }
    ~Writer() { flush(); }
    void field(const char* a, const std::string& b) {
        buf_ += '<';
        buf_ += a;
        buf_ += '>';
        buf_ += b;
        buf_ += "</";
        buf_ += a;
        buf_ += ">\r\n";
        if (buf_.size() > (1 << 20) - 512) flush();
    }
    void text(const char* t) { buf_ += t; }
    void flush() {
        std::fwrite(buf_.data(), 1, buf_.size(), f_);
        buf_.clear();
    }

  private:
    std::FILE* f_;
    std::string buf_;
};

std::string number(long long n) { return std::to_string(n); }

constexpr long long kSalary = 45960 + 12000 + 3000 + 4000;  // AA0144 of a valid record

// A valid employee record: every rule of a single record and of the employer is satisfied.
void employee(Writer& z, const std::string& id, bool first, bool faulty, std::mt19937& rng) {
    long long hours = 880 + rng() % 40;  // hours worked
    long long tariff_pay = 45960;        // tariff part of the salary
    long long bonus = 12000;             // personal bonus
    long long extras = 3000, compensation = 4000;
    long long total = tariff_pay + bonus + extras + compensation;
    char hourly[32];
    std::snprintf(hourly, sizeof hourly, "%.2f", total / double(hours + 120));
    const char* state = "CZ";
    const char* occupation = "01011";
    long long weekly_hours = 40;
    if (faulty) {
        weekly_hours = 45;     // EL005, WL060
        state = "XX";          // EL047
        occupation = "01018";  // EL046
        total += 1;            // EL015
    }
    z.text("<zamestnanec>\r\n");
    z.field("AA0126", id);
    z.field("AA0231", number(1950 + rng() % 25));
    z.field("AA0211", faulty ? "3" : rng() % 2 ? "1" : "2");  // EL032
    z.field("AA0223", faulty ? "Y" : rng() % 2 ? "K" : "M");  // EL048
    z.field("AA0033", state);
    z.field("AA0013", occupation);
    z.field("AA0125", "2");
    z.field("AA0130", first ? "3" : "1");  // one other kind per employer
    z.field("AA0131", number(weekly_hours));
    z.field("AA0225", "10");
    z.field("AA0216", "5");
    z.field("AA0132", number(hours));
    z.field("AA0133", "20");
    z.field("AA0134", "120");
    z.field("AA0135", "80");
    z.field("AA0136", "1");
    z.field("AA0137", "1");
    z.field("AA0127", "5");
    z.field("AA0128", "3");
    z.field("AA0129", "1");
    z.field("AA0138", faulty ? "8000" : "7660");  // EL051 when faulty
    z.field("AA0139", "2000");
    z.field("AA0140", faulty ? "20000" : "0");  // WL013
    for (const char* n : {"AA0141", "AA0142", "AA0143"}) z.field(n, "0");
    z.field("AA0144", number(total));
    z.field("AA0145", number(tariff_pay));
    z.field("AA0146", number(bonus));
    for (const char* n : {"AA0147", "AA0148", "AA0160", "AA0162"}) z.field(n, "0");
    z.field("AA0150", number(extras));
    z.field("AA0239", "0");
    z.field("AA0240", "0");
    z.field("AA0151", number(extras));
    for (const char* n :
         {"AA0152", "AA0153", "AA0154", "AA0155", "AA0156", "AA0157", "AA0163", "AA0161", "AA0237", "AA0238"})
        z.field(n, "0");
    z.field("AA0158", number(compensation));
    z.field("AA0159", "3000");
    z.field("AA0165", hourly);
    z.field("AA0166", "0");
    z.field("AA0167", number(total * 45 / 1000));
    z.field("AA0168", number(total * 125 / 1000));
    z.field("AA0091", faulty ? "9999" : "1111");  // EL068
    z.field("AA0210", "5");
    z.field("AA0218", "181");
    z.field("AA0219", "20");
    z.field("AA0690", "CZ0101");
    z.text("</zamestnanec>\r\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s employers employees-per-employer [faulty-percent] [seed]\n", argv[0]);
        return 2;
    }
    const long long employers = std::atoll(argv[1]);
    const long long employees = std::atoll(argv[2]);
    const int faulty_percent = argc > 3 ? std::atoi(argv[3]) : 0;
    std::mt19937 rng(argc > 4 ? static_cast<unsigned>(std::atoll(argv[4])) : 1u);

    Writer z(stdout);
    z.text("<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n");
    z.text("<DUV verze=\"1.6\" xmlns=\"http://duv.example.org/schemas/2004/DUV/1.6/\">\r\n");
    z.field("rok", "2006");
    z.field("AA0226", "1-6");
    z.field("ICOpredkladatele", "10000003");
    z.field("predkladatel", "Nemocnice Doln\xED Lhota");
    z.field("autor", "Jana Nov\xE1kov\xE1");
    z.field("mail", "novakova@nemocnice.cz");
    z.field("telefon", "+420123456789");
    z.field("vytvoreno", "2006-07-15T10:20:30");
    for (long long t = 0; t < employers; ++t) {
        // Employer identities: valid check digits, distinct, registered under the submitter
        // only for the first one (the rest give one register warning each).
        long long base = 2000000 + t;
        char ico[16];
        int s = 0;
        std::snprintf(ico, sizeof ico, "%07lld", base % 10000000);
        for (int i = 0; i < 7; ++i) s += (8 - i) * (ico[i] - '0');
        int k = 11 - s % 11;
        if (k > 9) k -= 10;
        std::snprintf(ico + 7, sizeof ico - 7, "%d", k);
        if (t == 0) std::strcpy(ico, "20000006");

        z.text("<zamestnavatel>\r\n");
        z.field("AA0017", ico);
        z.field("AA0113", "");
        z.field("AA0019", "325");
        z.field("AA0179", "CZ0101");
        z.field("AA0110", "20060630");
        z.field("AA0116", number(employees));
        z.field("AA0123", number(employees * 130000));
        z.field("AA0114", number(employees));
        z.field("AA0115", number(employees));
        z.field("AA0118", number(employees * kSalary));
        z.field("AA0119", "0");
        for (long long e = 0; e < employees; ++e) {
            bool faulty = static_cast<int>(rng() % 100) < faulty_percent;
            // A faulty record repeats the previous person's identifier now and then.
            long long id = faulty && e > 0 && rng() % 4 == 0 ? e - 1 : e;
            employee(z, number(1000000 + id), e == 0, faulty, rng);
        }
        z.text("</zamestnavatel>\r\n");
    }
    z.text("</DUV>\r\n");
    return 0;
}
