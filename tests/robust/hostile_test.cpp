// Inputs that no sane document has: cut off anywhere, damaged bytes, NUL bytes, names and
// contents of a megabyte, millions of lines, thousands of employers, a huge employer. Every run
// must end normally with a complete report whose totals match its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/robust/report_parser.h"
#include "tests/robust/scratch.h"
#include "tests/support/run_belun.h"

namespace tavon {
namespace {

using test::Pokus;
using test::Rozbor;
using test::RunResult;

std::string dokument_ok() { return test::precti_soubor(test::koren() / "examples/duv-ok.xml"); }

std::map<std::string, int> kody(const Rozbor& r) {
    std::map<std::string, int> m;
    for (const auto& radek : r.radky) ++m[radek[1]];
    return m;
}

// The document validated into all four report formats: each complete, the same rows in CSV
// and XML (control characters shown as "?" there), totals equal to the rows everywhere.
void over_ctyri_formaty(const Pokus& p, const std::string& vstup, const std::string& popis) {
    SCOPED_TRACE(popis);
    const RunResult csv = p.run_belun({vstup, p.cesta("r.csv")});
    ASSERT_EQ(csv.exit_code, 0);
    ASSERT_TRUE(test::konci(csv.console, "\nProgram ukoncen normalne\n"));
    const Rozbor c = test::rozeber_csv(csv.report);
    ASSERT_EQ(c.vada, "");
    EXPECT_EQ(c.chybE + c.chybW, static_cast<long>(c.radky.size()));

    const RunResult xml = p.run_belun({vstup, p.cesta("r.xml")});
    ASSERT_EQ(xml.exit_code, 0);
    const Rozbor x = test::rozeber_xml(xml.report);
    ASSERT_EQ(x.vada, "");
    EXPECT_EQ(x.chybE, c.chybE);
    EXPECT_EQ(x.chybW, c.chybW);
    ASSERT_EQ(x.radky.size(), c.radky.size());
    for (std::size_t i = 0; i < c.radky.size(); ++i) {
        test::RadekHlaseni ocekavany = c.radky[i];
        for (auto& pole : ocekavany)
            for (char& z : pole)
                if (static_cast<unsigned char>(z) < 0x20 && z != '\t') z = '?';
        ASSERT_EQ(x.radky[i], ocekavany) << "row " << i + 1;
    }

    const RunResult txt = p.run_belun({vstup, p.cesta("r.txt")});
    ASSERT_EQ(txt.exit_code, 0);
    EXPECT_TRUE(test::ma_paticku_txt(txt.report, c.chybE, c.chybW));
    const RunResult htm = p.run_belun({vstup, p.cesta("r.htm")});
    ASSERT_EQ(htm.exit_code, 0);
    EXPECT_TRUE(test::ma_paticku_htm(htm.report));
}

TEST(Hostile, EveryPrefixOfAValidDocumentEndsWithACompleteReport) {
    const std::string doc = dokument_ok();
    ASSERT_GT(doc.size(), 1000u);
    const std::size_t konecKorene = doc.find("</DUV>") + 6;
    Pokus p;
    const std::string vstup = p.cesta("d.xml"), csv = p.cesta("r.csv");
    for (std::size_t n = 0; n <= doc.size(); ++n) {
        p.zapis(vstup, std::string_view(doc).substr(0, n));
        const RunResult beh = p.run_belun({vstup, csv});
        ASSERT_EQ(beh.exit_code, 0) << n << " bytes";
        const Rozbor r = test::rozeber_csv(beh.report);
        ASSERT_EQ(r.vada, "") << n << " bytes";
        ASSERT_EQ(r.chybE + r.chybW, static_cast<long>(r.radky.size())) << n << " bytes";
        // Until the root's end tag is whole, the document is reported as not being one.
        ASSERT_EQ(kody(r).count("ES306"), n < konecKorene ? 1u : 0u) << n << " bytes";
        if (n == doc.size()) {
            EXPECT_TRUE(r.radky.empty());
        }
    }
}

TEST(Hostile, RandomlyDamagedBytesKeepEveryReportWhole) {
    const std::string doc = dokument_ok();
    std::mt19937 nahoda(20060630);
    constexpr std::string_view kZlomyslne("<>/&;\"\0\r\n!-?", 12);
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    for (int pokus = 0; pokus < 150; ++pokus) {
        std::string poskozeny = doc;
        const int zmen = 1 + static_cast<int>(nahoda() % 12);
        for (int i = 0; i < zmen; ++i) {
            char& z = poskozeny[nahoda() % poskozeny.size()];
            switch (nahoda() % 3) {
                case 0: z = static_cast<char>(nahoda() % 256); break;
                case 1: z = static_cast<char>(z ^ (1 << (nahoda() % 8))); break;
                default: z = kZlomyslne[nahoda() % kZlomyslne.size()]; break;
            }
        }
        p.zapis(vstup, poskozeny);
        over_ctyri_formaty(p, vstup, "damaged copy " + std::to_string(pokus));
        if (HasFatalFailure()) return;
    }
}

TEST(Hostile, NulBytesEndTextsAndNeverReachTheReport) {
    const std::string hlava = test::document_head(), konec = test::document_tail();
    auto nahrad = [&](std::string_view co, std::string_view cim) {
        std::string d = hlava;
        d.replace(d.find(co), co.size(), cim);
        return d + konec;
    };
    using namespace std::string_literals;
    Pokus p;
    const std::string vstup = p.cesta("d.xml"), csv = p.cesta("r.csv");

    // A content ends at its NUL: the year "20" is reported, not its hidden rest.
    p.zapis(vstup, nahrad("<rok>2006</rok>",
                          "<rok>20\0"s
                          "06</rok>"));
    RunResult beh = p.run_belun({vstup, csv});
    Rozbor r = test::rozeber_csv(beh.report);
    ASSERT_EQ(r.vada, "");
    ASSERT_FALSE(r.radky.empty());
    EXPECT_EQ(r.radky[0][1], "ER209");
    EXPECT_EQ(r.radky[0][5], "20");

    // So does a name: the element "au" is unknown and does not match its closing tag.
    p.zapis(vstup, nahrad("<autor>", "<au\0tor>"s));
    beh = p.run_belun({vstup, csv});
    r = test::rozeber_csv(beh.report);
    ASSERT_EQ(r.vada, "");
    EXPECT_EQ(kody(r)["ES301"], 1);
    EXPECT_EQ(kody(r)["ES302"], 1);
    for (const auto& radek : r.radky) {
        if (radek[1] == "ES301") {
            EXPECT_EQ(radek[4], "au");
        }
    }

    // A file of nothing but NUL bytes is no document, reported on its only line.
    p.zapis(vstup, std::string(1 << 16, '\0'));
    beh = p.run_belun({vstup, csv});
    r = test::rozeber_csv(beh.report);
    ASSERT_EQ(r.vada, "");
    ASSERT_EQ(r.radky.size(), 1u);
    EXPECT_EQ(r.radky[0][0], "1");
    EXPECT_EQ(r.radky[0][1], "ES306");

    // NUL bytes in tags, between elements and in closing names, in every format.
    p.zapis(vstup, nahrad("<rok>2006</rok>", "<rok>2006</rok\0>\0\0<x\0y>1\0</x\0y>\0"s));
    over_ctyri_formaty(p, vstup, "NUL bytes in tags");
    for (const char* jmeno : {"r.csv", "r.xml", "r.txt", "r.htm"}) {
        beh = p.run_belun({vstup, p.cesta(jmeno), p.cesta("o.xml")});
        EXPECT_EQ(beh.report.find('\0'), std::string::npos) << jmeno;
        EXPECT_EQ(beh.copy.find('\0'), std::string::npos) << jmeno;
    }
}

TEST(Hostile, MegabyteNamesContentsAndAttributesKeepTheirFirst300Characters) {
    const std::string hlava = test::document_head(), konec = test::document_tail();
    const std::size_t mega = 1 << 20;
    Pokus p;
    const std::string vstup = p.cesta("d.xml"), csv = p.cesta("r.csv");
    auto run_document = [&](const std::string& dokument) {
        p.zapis(vstup, dokument);
        const RunResult beh = p.run_belun({vstup, csv});
        EXPECT_EQ(beh.exit_code, 0);
        Rozbor r = test::rozeber_csv(beh.report);
        EXPECT_EQ(r.vada, "");
        return r;
    };
    auto s_rokem = [&](const std::string& rok) {
        std::string d = hlava;
        d.replace(d.find("<rok>2006</rok>"), 15, rok);
        return d + konec;
    };

    Rozbor r = run_document(s_rokem("<rok>" + std::string(mega, '7') + "</rok>"));
    ASSERT_EQ(r.radky.size(), 2u);
    EXPECT_EQ(r.radky[0][1], "ER209");
    EXPECT_EQ(r.radky[0][5], std::string(300, '7'));

    r = run_document(hlava + "<" + std::string(mega, 'q') + ">1</" + std::string(mega, 'q') + ">\r\n" +
                     konec);
    ASSERT_EQ(kody(r)["ES301"], 1);
    for (const auto& radek : r.radky) {
        if (radek[1] == "ES301") {
            EXPECT_EQ(radek[4], std::string(300, 'q'));
        }
    }
    EXPECT_EQ(r.radky.back()[0], "13");  // the lines after the names are still counted

    std::string d = hlava;
    d.replace(d.find("<DUV "), 5, "<DUV " + std::string(mega, 'a') + " ");
    r = run_document(d + konec);
    ASSERT_FALSE(r.radky.empty());
    EXPECT_EQ(r.radky[0][1], "WS102");
    EXPECT_EQ(r.radky[0][5], std::string(300, 'a'));

    // A megabyte of attributes on a field: the tag's rest is skipped and its content still read.
    r = run_document(s_rokem("<rok " + std::string(mega, 'b') + ">2006</rok>"));
    EXPECT_EQ(kody(r), (std::map<std::string, int>{{"ES308", 1}}));

    // A comment of a megabyte among the fields is skipped whole, lines and all.
    r = run_document(hlava + "<!-- " + std::string(mega, 'c') + "\r\n -->\r\n" + konec);
    ASSERT_EQ(r.radky.size(), 1u);
    EXPECT_EQ(r.radky[0][1], "ES308");
    EXPECT_EQ(r.radky[0][0], "14");
}

TEST(Hostile, LineNumberAfterTenMillionLineBreaksIsShownInFull) {
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    {
        std::ofstream f(vstup, std::ios::binary);
        f << test::document_head();  // ten lines
        const std::string blok(1'000'000, '\n');
        for (int i = 0; i < 10; ++i) f << blok;
        f << "<xyz>1</xyz>\r\n" << test::document_tail();
    }
    const RunResult csv = p.run_belun({vstup, p.cesta("r.csv")});
    const Rozbor r = test::rozeber_csv(csv.report);
    ASSERT_EQ(r.vada, "");
    ASSERT_EQ(r.radky.size(), 2u);
    EXPECT_EQ(r.radky[0][0], "10000011");
    EXPECT_EQ(r.radky[0][1], "ES301");
    EXPECT_EQ(r.radky[1][0], "10000013");
    EXPECT_EQ(r.radky[1][1], "ES308");

    const RunResult txt = p.run_belun({vstup, p.cesta("r.txt")});
    EXPECT_NE(txt.report.find("\r\n 10000011  ES301"), std::string::npos);
    EXPECT_TRUE(test::ma_paticku_txt(txt.report, 2, 0));
}

// An eight-digit identification number with a valid check digit.
std::string ico(int zaklad) {
    std::string s = std::to_string(zaklad);
    int soucet = 0;
    for (int i = 0; i < 7; ++i) soucet += (8 - i) * (s[static_cast<std::size_t>(i)] - '0');
    const int kontrolni = (11 - soucet % 11) % 10;
    return s + static_cast<char>('0' + kontrolni);
}

TEST(Hostile, TenThousandEmployersInOneFile) {
    const std::string doc = dokument_ok();
    const std::size_t od = doc.find("<zamestnavatel>"), po = doc.find("</DUV>");
    const std::string zamestnavatel = doc.substr(od, po - od);
    const std::string kIco = "<AA0017>20000006</AA0017>";
    ASSERT_NE(zamestnavatel.find(kIco), std::string::npos);
    auto s_icem = [&](const std::string& cislo) {
        std::string z = zamestnavatel;
        z.replace(z.find(kIco), kIco.size(), "<AA0017>" + cislo + "</AA0017>");
        return z;
    };
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    {
        std::ofstream f(vstup, std::ios::binary);
        f << doc.substr(0, od);
        for (int i = 0; i < 10'000; ++i) f << s_icem(ico(5'100'000 + i));
        f << s_icem(ico(5'100'000));  // the first employer once more, after the table is full
        f << doc.substr(po);
    }
    const RunResult beh = p.run_belun({vstup, p.cesta("r.csv")});
    ASSERT_EQ(beh.exit_code, 0);
    const Rozbor r = test::rozeber_csv(beh.report);
    ASSERT_EQ(r.vada, "");
    // Only the register warnings, the full table of identities once, and the repeated employer.
    EXPECT_EQ(kody(r), (std::map<std::string, int>{{"WR204", 10'001}, {"WL901", 1}, {"EL074", 1}}));
    EXPECT_EQ(r.chybE, 1);
    EXPECT_EQ(r.chybW, 10'002);
    EXPECT_EQ(r.radky.back()[2], ico(5'100'000));
}

TEST(Hostile, EmployerWithHundredThousandEmployees) {
    const std::string doc = dokument_ok();
    const std::size_t od = doc.find("<zamestnanec>");
    const std::size_t po = doc.find("</zamestnanec>", od) + 14;
    std::string zamestnanec;
    for (char z : doc.substr(od, po - od))
        if (z != '\r' && z != '\n') zamestnanec.push_back(z);
    const std::string kId = "<AA0126>1001</AA0126>";
    ASSERT_NE(zamestnanec.find(kId), std::string::npos);
    constexpr int kPocet = 100'000;
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    {
        std::ofstream f(vstup, std::ios::binary);
        f << doc.substr(0, od);
        for (int i = 0; i < kPocet; ++i) {
            std::string z = zamestnanec;
            // The last record is the first person again, born a year later.
            const int id = i + 1 == kPocet ? 1'000'000 : 1'000'000 + i;
            z.replace(z.find(kId), kId.size(), "<AA0126>" + std::to_string(id) + "</AA0126>");
            if (i + 1 == kPocet) z.replace(z.find("<AA0231>1970"), 12, "<AA0231>1971");
            f << z << "\r\n";
        }
        f << doc.substr(doc.find("</zamestnavatel>"));
    }
    const RunResult beh = p.run_belun({vstup, p.cesta("r.csv")});
    ASSERT_EQ(beh.exit_code, 0);
    const Rozbor r = test::rozeber_csv(beh.report);
    ASSERT_EQ(r.vada, "");
    std::map<std::string, test::RadekHlaseni> podle_kodu;
    for (const auto& radek : r.radky) podle_kodu[radek[1]] = radek;
    // The first and the last record are compared although 99,998 lie between them.
    ASSERT_EQ(podle_kodu.count("EL003"), 1u);
    const long prvni = 1 + std::count(doc.begin(), doc.begin() + static_cast<long>(od), '\n');
    EXPECT_EQ(podle_kodu["EL003"][0], std::to_string(prvni) + "," + std::to_string(prvni + kPocet - 1));
    EXPECT_EQ(podle_kodu["EL003"][3], "1000000");
    EXPECT_EQ(podle_kodu["EL003"][5], "1970");
    EXPECT_EQ(podle_kodu["EL003"][6], "1971");
    // Every record counts in the employer's sums: 100,000 full-time records, 99,999 persons.
    ASSERT_EQ(podle_kodu.count("EL020"), 1u);
    EXPECT_EQ(podle_kodu["EL020"][6], "100000.0000");
    ASSERT_EQ(podle_kodu.count("EL021"), 1u);
    EXPECT_EQ(podle_kodu["EL021"][6], "     99999");
    ASSERT_EQ(podle_kodu.count("EL022"), 1u);
    EXPECT_EQ(podle_kodu["EL022"][6], std::to_string(64960LL * kPocet));
}

TEST(Hostile, SavedFuzzFindingsEndNormally) {
    const auto adresar = test::koren() / "tests/data/fuzz-regressions";
    ASSERT_TRUE(std::filesystem::is_directory(adresar));
    Pokus p;
    const std::string vstup = p.cesta("d.xml");
    int souboru = 0;
    for (const auto& e : std::filesystem::directory_iterator(adresar)) {
        if (!e.is_regular_file()) continue;
        p.zapis(vstup, test::precti_soubor(e.path()));
        over_ctyri_formaty(p, vstup, e.path().filename().string());
        ++souboru;
    }
    EXPECT_GT(souboru, 0);
}

}  // namespace
}  // namespace tavon
