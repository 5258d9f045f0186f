#include "run/report/hlaseni.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "run/report/chyby.h"
#include "tests/support/beh.h"

namespace tavon {
namespace {

using test::cp1250;

// A report file in the temporary directory, written through a fresh report writer.
class Report {
  public:
    explicit Report(char format) {
        static int citac = 0;
        cesta_ = std::filesystem::temp_directory_path() /
                 ("tavon_hlaseni_" + std::to_string(::getpid()) + "_" + std::to_string(++citac));
        h.sw_err = format;
        EXPECT_TRUE(h.errsoub.otevri(cesta_.string()));
    }
    ~Report() { std::filesystem::remove(cesta_); }

    int chyba(std::string_view radek, std::string_view kod, std::string_view prvek, std::string_view hodnota,
              std::string_view ocekavano, std::string_view tel = "", std::string_view nec = "") {
        return h.zpracuj_chybu(radek, kod, prvek, hodnota, ocekavano, tel, nec);
    }
    std::string obsah() {
        EXPECT_TRUE(h.errsoub.zavri());
        std::ifstream f(cesta_, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }

    Hlaseni h;

  private:
    std::filesystem::path cesta_;
};

std::string crlf(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

int pocet(const Hlaseni& h, std::string_view kod) {
    return h.EtabNum[static_cast<std::size_t>(najdi_chybu(kod))];
}

const std::string kNeznamy = cp1250("Neznamý prvek");

TEST(Hlaseni, CsvRow) {
    Report r('C');
    EXPECT_EQ(r.chyba("12", "ES301", "xyz", "abc", "3", "20000006", "A1"), 1);
    EXPECT_EQ(r.chyba("5", "WL054", "AA0113", "k,1", "   ", "20000006/k,1", "   "), 1);
    EXPECT_EQ(r.obsah(), "12;ES301;20000006;A1;xyz;abc;3;" + kNeznamy + "\r\n" +
                             "5;WL054;20000006/k,1;   ;AA0113;k,1;   ;" +
                             cp1250("Kód zařízení se používá jen u organizací nemající vlastní IČO, jinak se "
                                    "nechává prázdné.") +
                             "\r\n");
    EXPECT_EQ(r.h.sumchybE, 1);
    EXPECT_EQ(r.h.sumchybW, 1);
}

TEST(Hlaseni, TextRowIsRightAlignedAndNeverCut) {
    Report r('T');
    r.chyba("12", "ES301", "xyz", "   ", "  ");
    r.chyba("1234567890", "ES301", "AA0017xyz", "12345678901", "x", "20000006/kod", "A1");
    const std::string obsah = r.obsah();
    EXPECT_EQ(obsah.substr(0, 16), "       12  ES301");

    auto radek = [](const char* a, const char* b, const char* c, const char* d, const char* e, const char* f,
                    const char* g, const std::string& h) {
        char buf[512];
        std::snprintf(buf, sizeof buf, "%9s  %5s %9s  %9s %7s  %10s  %10s  %30s\n", a, b, c, d, e, f, g,
                      h.c_str());
        return crlf(buf);
    };
    EXPECT_EQ(obsah, radek("12", "ES301", "", "", "xyz", "   ", "  ", kNeznamy) +
                         radek("1234567890", "ES301", "20000006/kod", "A1", "AA0017xyz", "12345678901", "x",
                               kNeznamy));
}

TEST(Hlaseni, HtmlRowsShowErrorCodesInBold) {
    Report r('H');
    r.chyba("7", "ES301", "xyz", "abc", "3", "20000006", "A1");
    r.chyba("8", "WL054", "AA0113", "k", "   ", "20000006/k", "   ");
    EXPECT_EQ(r.obsah(),
              crlf("<tr>\n<td>&nbsp;7</td>\n<td><b>&nbsp;ES301</b></td>\n<td>&nbsp;20000006</td>\n"
                   "<td>&nbsp;A1</td>\n<td>&nbsp;xyz</td>\n<td>&nbsp;abc</td>\n<td>&nbsp;3</td>\n"
                   "<td>&nbsp;" +
                   kNeznamy +
                   "</td>\n"
                   "<tr>\n<td>&nbsp;8</td>\n<td>&nbsp;WL054</td>\n<td>&nbsp;20000006/k</td>\n"
                   "<td>&nbsp;   </td>\n<td>&nbsp;AA0113</td>\n<td>&nbsp;k</td>\n<td>&nbsp;   </td>\n"
                   "<td>&nbsp;" +
                   cp1250("Kód zařízení se používá jen u organizací nemající vlastní IČO, jinak se "
                          "nechává prázdné.") +
                   "</td>\n"));
}

TEST(Hlaseni, XmlRow) {
    Report r('X');
    r.chyba("7", "ES301", "xyz", "abc", "3", "20000006", "A1");
    EXPECT_EQ(r.obsah(), crlf("<Chyba>\n<Radek>7</Radek>\n<KodChyby>ES301</KodChyby>\n"
                              "<Zamestnavatel>20000006</Zamestnavatel>\n<Zamestnanec>A1</Zamestnanec>\n"
                              "<Prvek>xyz</Prvek>\n<Hodnota>abc</Hodnota>\n"
                              "<DelkaHodn>3</DelkaHodn>\n<Popis>" +
                              kNeznamy + "</Popis>\n</Chyba>\n"));
}

TEST(Hlaseni, QuestionMarkTakesExpectedTextFromTable) {
    Report r('C');
    r.chyba("1", "ES131", "AA0131", "81", "?");
    r.chyba("2", "ES133", "AA0133", "x", "?");
    r.chyba("3", "WL033", "AA0033", "DE", "?whatever");
    r.chyba("4", "EX999", "a", "b", "?");
    r.chyba("5", "WX999", "a", "b", "c");
    r.chyba("6", "KONEC", "a", "b", "c");
    const std::string chybna = cp1250("Chybná hodnota nebo délka");
    EXPECT_EQ(r.obsah(),
              "1;ES131;;;AA0131;81;0 - 42.5;" + cp1250("Chybná hodnota týdeního fondu pracovní doby") +
                  "\r\n2;ES133;;;AA0133;x;;" + chybna + "\r\n3;WL033;;;AA0033;DE;CZ, SK;" +
                  cp1250("Jiný stát než Česká, nebo Slovenská republika") +
                  "\r\n4;EX999;;;a;b;KoNeC;KoNeC\r\n5;WX999;;;a;b;c;KoNeC\r\n6;KONEC;;;a;b;c;KoNeC\r\n");
    // Codes outside the table count by their first letter only.
    EXPECT_EQ(r.h.sumchybE, 3);
    EXPECT_EQ(r.h.sumchybW, 2);
    int soucet = 0;
    for (int n : r.h.EtabNum) soucet += n;
    EXPECT_EQ(soucet, 3);
}

TEST(Hlaseni, SuppressedWarningsStillCountInTotals) {
    Report r('C');
    r.h.sw_nepisW = 'A';
    EXPECT_EQ(r.chyba("1", "WL033", "AA0033", "DE", "?"), 0);
    EXPECT_EQ(r.chyba("2", "EL047", "AA0033", "XX", "   "), 1);
    EXPECT_EQ(r.chyba("3", "WL033", "AA0033", "DE", "?"), 0);
    EXPECT_EQ(r.h.sumchybW, 2);
    EXPECT_EQ(r.h.sumchybE, 1);
    EXPECT_EQ(pocet(r.h, "WL033"), 0);
    EXPECT_EQ(pocet(r.h, "EL047"), 1);
    r.h.pis_paticku();
    EXPECT_EQ(r.obsah(), "2;EL047;;;AA0033;XX;   ;" + cp1250("Neznámý kód státu") +
                             "\r\n\r\nCelkem chyb vahy E:;       1\r\n\r\nCelkem chyb vahy W:;       2\r\n");
}

TEST(Hlaseni, HtmlSummaryInCodeOrder) {
    Report r('H');
    r.chyba("1", "WL025", "a", "b", "c");
    r.chyba("2", "ESAUT", "a", "b", "c");
    r.chyba("3", "EL050", "a", "b", "c");
    r.chyba("4", "WL025", "a", "b", "c");
    r.chyba("5", "ES309", "a", "b", "c");
    r.chyba("6", "ER212", "a", "b", "c");
    r.chyba("7", "EX999", "a", "b", "c");
    EXPECT_EQ(pocet(r.h, "WL025"), 2);
    r.h.pis_paticku();
    const std::string obsah = r.obsah();
    const auto od = obsah.find("</table>");
    ASSERT_NE(od, std::string::npos);

    auto radek = [](std::string_view kod, int n, std::string_view popis) {
        const bool e = kod[0] == 'E';
        return std::string("<tr>\r\n<td>") + (e ? "<b>" : "") + "&nbsp;" + std::string(kod) +
               (e ? "</b>" : "") + "</td>\r\n<td>&nbsp;" + std::to_string(n) + "</td>\r\n<td>&nbsp;" +
               cp1250(popis) + "</td>\r\n";
    };
    EXPECT_EQ(
        obsah.substr(od),
        "</table>\r\n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" >\r\n"
        "<tr bgcolor=\"lightblue\">\r\n" +
            cp1250("<th width=10%> Chyba </th><th width=0%> Počet </th> <th width=80%> Popis chyby</th> "
                   "</tr>\r\n") +
            radek("EL050", 1, "Neplatné datum - den neodpovídá měsíci") +
            radek("ER212", 1,
                  "IČO předkladatele nebylo nalezeno v seznamu předkladatelů pro vyhlášenou kampaň.") +
            radek("ES309", 1, "Zamestnavatel nemá ani jednoho zamestnance") +
            radek("ESAUT", 1, "Chybná hodnota nebo délka") +
            radek("WL025", 2, "Odvod na veřejné zdravotní pojištění neodpovídá vyplaceným platům") +
            "</tr>\r\n</table>\r\n</body>\r\n</html>\r\n");
}

TEST(Hlaseni, HtmlSummaryWithoutSuppressedWarnings) {
    Report r('H');
    r.h.sw_nepisW = 'A';
    r.chyba("1", "WL025", "a", "b", "c");
    r.chyba("2", "EL050", "a", "b", "c");
    r.h.pis_paticku();
    const std::string obsah = r.obsah();
    EXPECT_EQ(obsah.find("WL025"), std::string::npos);
    EXPECT_NE(obsah.find("<tr>\r\n<td><b>&nbsp;EL050</b></td>\r\n<td>&nbsp;1</td>\r\n"), std::string::npos);
    EXPECT_EQ(r.h.sumchybW, 1);
}

TEST(Hlaseni, FootersWithTotals) {
    const struct {
        char format;
        std::string_view paticka;
    } pripady[] = {
        {'T', "\r\nCelkem chyb vahy E:       2\r\n\r\nCelkem chyb vahy W:       1\r\n"},
        {'C', "\r\nCelkem chyb vahy E:;       2\r\n\r\nCelkem chyb vahy W:;       1\r\n"},
        {'X',
         "\r\n<CelkemchybE>       2</CelkemchybE>\r\n<CelkemchybW>       "
         "1</CelkemchybW>\r\n</DUV_chyby>\r\n"},
    };
    for (const auto& p : pripady) {
        Report r(p.format);
        r.h.sw_nepisW = 'A';
        r.chyba("1", "EL050", "a", "b", "c");
        r.chyba("1", "ES301", "a", "b", "c");
        r.chyba("1", "WL025", "a", "b", "c");
        r.h.pis_paticku();
        const std::string obsah = r.obsah();
        ASSERT_GE(obsah.size(), p.paticka.size());
        EXPECT_EQ(obsah.substr(obsah.size() - p.paticka.size()), p.paticka) << p.format;
    }
}

TEST(Hlaseni, Headers) {
    const std::string dt = "06/07/2006  14:03:59";
    {
        Report r('T');
        r.h.pis_hlavicku(dt, "duv.xml");
        EXPECT_EQ(r.obsah(),
                  cp1250(" Datum a čas:   06/07/2006  14:03:59  Soubor:   duv.xml \r\n") +
                      "C.radku  Chyba   ICO/Kod Zamestnanec  Prvek      Hodnota Ocekavano   Popis\r\n\r\n");
    }
    {
        Report r('C');
        r.h.pis_hlavicku(dt, "duv.xml");
        EXPECT_EQ(r.obsah(), "Radek;Chyba;Zamestnavatel;Zamestnanec;Prvek;Hodnota;Ocekavano;Popis\r\n");
    }
    {
        Report r('X');
        r.h.pis_hlavicku(dt, "duv.xml");
        EXPECT_EQ(r.obsah(),
                  "<?xml version = \"1.0\" encoding = \"Windows-1250\"?><DUV_chyby>\r\n"
                  "<DatumCas>06/07/2006  14:03:59</DatumCas>\r\n<Soubor>duv.xml</Soubor>\r\n");
    }
    {
        Report r('H');
        r.h.pis_hlavicku(dt, "duv.xml");
        EXPECT_EQ(
            r.obsah(),
            crlf("<html>\n<head>\n"
                 "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1250\">\n"
                 "<title>DUV - vysledky kontroly dat</title>\n</head>\n<body>\n"
                 "<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\" width=100% >\n"
                 "<tr bgcolor=\"lightblue\" valign=\"left\">\n" +
                 cp1250("<th width=15%> Datum a čas:  </th><th width=20%> 06/07/2006  14:03:59 </th>"
                        "<th width=12%> Soubor:  </th><th width=38%> duv.xml </th>"
                        "<th width=15%>&nbspTAVON_v0.9 </th>\n") +
                 "</table>\n<table cellspacing=\"0\" cellpadding=\"2\" border=\"1\">\n"
                 "<tr bgcolor=\"lightblue\">\n" +
                 cp1250("<th>Řádek<th>Chyba</th><th>Zaměstnavatel</th><th>Zaměstnanec</th><th>Prvek</th>"
                        "<th>Hodnota</th><th>Očekáváno</th><th>Popis</th>\n") +
                 "</tr>\n"));
    }
}

TEST(Hlaseni, HtmlAndXmlEscapeCellTexts) {
    {
        Report r('H');
        r.chyba("1", "WS102", "D&<", "<script>&x", ">", "a<b", "c>d");
        r.h.pis_paticku();
        const std::string obsah = r.obsah();
        EXPECT_NE(obsah.find(crlf("<tr>\n<td>&nbsp;1</td>\n<td>&nbsp;WS102</td>\n<td>&nbsp;a&lt;b</td>\n"
                                  "<td>&nbsp;c&gt;d</td>\n<td>&nbsp;D&amp;&lt;</td>\n"
                                  "<td>&nbsp;&lt;script&gt;&amp;x</td>\n<td>&nbsp;&gt;</td>\n"
                                  "<td>&nbsp;" +
                                  cp1250("Element &lt;DUV&gt; by měl obsahovat"))),
                  std::string::npos);
        EXPECT_EQ(obsah.find("<script>"), std::string::npos);
        EXPECT_EQ(obsah.find("<DUV>"), std::string::npos);
    }
    {
        Report r('X');
        r.chyba("1", "WS102", "D&<", "<script>&x", ">", "a<b", "c>d");
        EXPECT_EQ(r.obsah(), crlf("<Chyba>\n<Radek>1</Radek>\n<KodChyby>WS102</KodChyby>\n"
                                  "<Zamestnavatel>a&lt;b</Zamestnavatel>\n<Zamestnanec>c&gt;d</Zamestnanec>\n"
                                  "<Prvek>D&amp;&lt;</Prvek>\n<Hodnota>&lt;script&gt;&amp;x</Hodnota>\n"
                                  "<DelkaHodn>&gt;</DelkaHodn>\n<Popis>" +
                                  cp1250("Element &lt;DUV&gt; by měl obsahovat atributy verze=\"1.6\" a "
                                         "xmlns=\"http://duv.example.org/schemas/2004/DUV/1.6/\"") +
                                  "</Popis>\n</Chyba>\n"));
    }
    {
        Report r('X');
        r.h.pis_hlavicku("06/07/2006  14:03:59", "a<b>&c.xml");
        EXPECT_NE(r.obsah().find("<Soubor>a&lt;b&gt;&amp;c.xml</Soubor>\r\n"), std::string::npos);
    }
    {
        Report r('H');
        r.h.pis_hlavicku("06/07/2006  14:03:59", "a<b>&c.xml");
        EXPECT_NE(r.obsah().find("<th width=38%> a&lt;b&gt;&amp;c.xml </th>"), std::string::npos);
    }
    {
        // The text report writes every text as it stands.
        Report r('T');
        r.chyba("1", "ES301", "a&b", "<x>", "3");
        EXPECT_NE(r.obsah().find("    a&b" + std::string(2 + 7, ' ') + "<x>"), std::string::npos);
    }
}

TEST(Hlaseni, CsvQuotesFieldsWithSeparatorOrQuote) {
    Report r('C');
    r.chyba("1", "ES300", "rok", "a=\"1\";b", "  ", "x;y", "p,q");
    r.chyba("2", "WS102", "DUV", "DUV", "v\rw");
    EXPECT_EQ(r.obsah(), "1;ES300;\"x;y\";p,q;rok;\"a=\"\"1\"\";b\";  ;" + cp1250("Chyba syntaxe XML") +
                             "\r\n2;WS102;;;DUV;DUV;\"v\rw\";\"" +
                             cp1250("Element <DUV> by měl obsahovat atributy verze=\"\"1.6\"\" a "
                                    "xmlns=\"\"http://duv.example.org/schemas/2004/DUV/1.6/\"\"") +
                             "\"\r\n");
}

}  // namespace
}  // namespace tavon
