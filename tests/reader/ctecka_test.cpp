#include "reader/ctecka.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tavon {
namespace {

// The input as one or more files read one after another, like an input list.
class Vstup : public Ctecka::Zdroj {
  public:
    Vstup(std::initializer_list<std::string_view> casti) : ctecka(*this) {
        for (std::string_view cast : casti) {
            std::FILE* f = std::tmpfile();
            std::fwrite(cast.data(), 1, cast.size(), f);
            std::rewind(f);
            soubory_.push_back(f);
        }
        ctecka.nastav_vstup(soubory_[0]);
    }
    ~Vstup() override {
        for (std::FILE* f : soubory_) std::fclose(f);
    }

    int konec_vstupu() override {
        ++konce;
        if (dalsi_ >= soubory_.size()) return -1;
        ctecka.nastav_vstup(soubory_[dalsi_++]);
        return 0;
    }

    std::string element() {
        EXPECT_EQ(ctecka.dej_element(t), 0);
        return std::string(t.text());
    }
    std::string zbytek(char mod, int ocekavano) {
        EXPECT_EQ(ctecka.dej_zbytek_elementu(t, mod), ocekavano);
        return std::string(t.text());
    }
    std::string obsah(int ocekavano = 0) {
        EXPECT_EQ(ctecka.dej_obsah(t), ocekavano);
        return std::string(t.text());
    }
    std::uint64_t radek() const { return ctecka.radek.cislo(); }

    Ctecka ctecka;
    Token t;
    int konce = 0;

  private:
    std::vector<std::FILE*> soubory_;
    std::size_t dalsi_ = 1;
};

TEST(Ctecka, FieldElementWithContentAndClosingTag) {
    Vstup v{"  text <AA0017>1</AA0017>"};
    EXPECT_EQ(v.element(), "AA0017");
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'A');
    // The tag is already closed: nothing is read and the buffer keeps the name.
    EXPECT_EQ(v.zbytek('A', 0), "AA0017");
    EXPECT_EQ(v.obsah(), "1");
    EXPECT_EQ(v.ctecka.je_OTVZAV, 'A');
    EXPECT_EQ(v.element(), "/AA0017");
    EXPECT_EQ(v.konce, 0);
    EXPECT_EQ(v.ctecka.dej_element(v.t), -1);
    EXPECT_EQ(v.konce, 1);
}

TEST(Ctecka, EmptyElementForms) {
    Vstup v{"<AA0017/><AA0017 /><X >"};
    EXPECT_EQ(v.element(), "AA0017/");
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'A');

    EXPECT_EQ(v.element(), "AA0017");
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'N');
    EXPECT_EQ(v.zbytek('A', 2), "/");
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'A');

    EXPECT_EQ(v.element(), "X");
    EXPECT_EQ(v.zbytek('A', 0), "");
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'A');
}

TEST(Ctecka, NameEndsAtSpaceLineFeedOrBracketOnly) {
    Vstup v{"<?xml v><!DOCTYPE x><a\"b'c/d\te><AA0017\t>"};
    EXPECT_EQ(v.element(), "?xml");
    EXPECT_EQ(v.element(), "!DOCTYPE");
    EXPECT_EQ(v.element(), "a\"b'c/d\te");
    EXPECT_EQ(v.element(), "AA0017\t");
}

TEST(Ctecka, NamespacePrefixRemovedOnlyAtStartOrAfterFirstCharacter) {
    Vstup v{"<duv:zamestnanec></duv:zamestnanec><duv:DUV a><xduv:A><AA:duv:B><DUV:C><duv:duv:D>"};
    EXPECT_EQ(v.element(), "zamestnanec");
    EXPECT_EQ(v.element(), "/zamestnanec");
    EXPECT_EQ(v.element(), "DUV");
    EXPECT_EQ(v.element(), "/A");  // position 1 always becomes "/"
    EXPECT_EQ(v.element(), "AA:duv:B");
    EXPECT_EQ(v.element(), "DUV:C");
    EXPECT_EQ(v.element(), "duv:D");
}

TEST(Ctecka, RestOfTagKeepsOrDropsSpacesByMode) {
    Vstup v{"<DUV verze=\"1.6\"  xmlns=\"x\"><DUV verze=\"1.6\"  xmlns=\"x\">"};
    v.element();
    EXPECT_EQ(v.zbytek('N', 2), "verze=\"1.6\"  xmlns=\"x\"");
    v.element();
    EXPECT_EQ(v.zbytek('A', 2), "verze=\"1.6\"xmlns=\"x\"");
}

TEST(Ctecka, CarriageReturnDroppedEverywhere) {
    Vstup v{"\r<A\rB c=\r\"1\">1\r2</A\rB>"};
    EXPECT_EQ(v.element(), "AB");
    EXPECT_EQ(v.zbytek('N', 2), "c=\"1\"");
    EXPECT_EQ(v.obsah(), "12");
    EXPECT_EQ(v.element(), "/AB");
    EXPECT_EQ(v.radek(), 1u);
}

TEST(Ctecka, LineFeedCountedInEveryOperation) {
    // Skipped text, the end of a name, the rest of a tag, a content, a comment and the
    // rest of a tag skipped by the content all count their line feeds.
    Vstup v{"\r\n\n<A\nx=\n\"1\"\n>\n1\n</A\n><!--\n\n-->\n<B c\n>2\n<C>"};
    EXPECT_EQ(v.element(), "A");
    EXPECT_EQ(v.radek(), 4u);
    EXPECT_EQ(v.zbytek('N', 2), "x=\"1\"");
    EXPECT_EQ(v.radek(), 6u);
    EXPECT_EQ(v.obsah(), "1");
    EXPECT_EQ(v.radek(), 8u);
    EXPECT_EQ(v.element(), "/A");
    EXPECT_EQ(v.radek(), 9u);
    EXPECT_EQ(v.element(), "!--");
    EXPECT_EQ(v.radek(), 10u);
    EXPECT_EQ(v.ctecka.preskoc_zbytek_komentare(), 0);
    EXPECT_EQ(v.radek(), 11u);
    EXPECT_EQ(v.element(), "B");
    EXPECT_EQ(v.radek(), 12u);
    EXPECT_EQ(v.obsah(), "2");  // skips the open rest "c\n>" first
    EXPECT_EQ(v.radek(), 14u);
    EXPECT_EQ(v.ctecka.radek.text(), "14");
}

TEST(Ctecka, ContentIsTakenAsWritten) {
    Vstup v{"<A>  a>b&amp;\"c\" </A><B x=\"1\">\t v<"};
    v.element();
    EXPECT_EQ(v.obsah(), "  a>b&amp;\"c\" ");
    EXPECT_EQ(v.element(), "/A");
    EXPECT_EQ(v.element(), "B");
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'N');
    EXPECT_EQ(v.obsah(), "\t v");
}

TEST(Ctecka, QuotesAreNotSpecial) {
    Vstup v{"<A x=\"a>b\">c</A>"};
    EXPECT_EQ(v.element(), "A");
    EXPECT_EQ(v.zbytek('A', 2), "x=\"a");
    EXPECT_EQ(v.obsah(), "b\">c");
    EXPECT_EQ(v.element(), "/A");
}

TEST(Ctecka, CommentWindow) {
    Vstup v{
        "<!-- <AA0017>1</AA0017> - -> -- >x-->Z<N>"
        "<!--\n->x--\r\n>Y<M>"
        "<!-- -\r-> <L>"};
    EXPECT_EQ(v.element(), "!--");
    EXPECT_EQ(v.ctecka.preskoc_zbytek_komentare(), 0);
    EXPECT_EQ(v.ctecka.je_OTVZAV, 'N');
    EXPECT_EQ(v.element(), "N");

    // The dashes of the name are not in the window; "--", a line break and ">" end it.
    EXPECT_EQ(v.element(), "!--");
    EXPECT_EQ(v.ctecka.preskoc_zbytek_komentare(), 0);
    EXPECT_EQ(v.element(), "M");
    EXPECT_EQ(v.radek(), 3u);

    // A carriage return does not enter the window either.
    EXPECT_EQ(v.element(), "!--");
    EXPECT_EQ(v.ctecka.preskoc_zbytek_komentare(), 0);
    EXPECT_EQ(v.element(), "L");
}

TEST(Ctecka, LimitOf300CharactersForNames) {
    const std::string n300(300, 'n');
    Vstup v{"<" + n300 + "><" + n300 + "xyz>obsah<" + std::string(1000, 'm') + ">12</E>"};
    EXPECT_EQ(v.element(), n300);
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'A');

    // An overlong name keeps its first 300 characters and leaves the tag open.
    EXPECT_EQ(v.element(), n300);
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'N');
    EXPECT_EQ(v.obsah(), "obsah");

    EXPECT_EQ(v.element(), std::string(300, 'm'));
    EXPECT_EQ(v.ctecka.dej_zbytek_elementu(v.t, 'A'), 1);
    EXPECT_EQ(v.t.text().size(), 300u);
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'N');
    EXPECT_EQ(v.obsah(), "12");
    EXPECT_EQ(v.element(), "/E");
}

TEST(Ctecka, OverlongNameLeavesItsRestToBeReadOn) {
    // The name holds its first 300 characters; the 301st is the first of the tag's rest.
    const std::string n300(300, 'n');
    Vstup v{"<" + n300 + "abc de>x<E>"};
    EXPECT_EQ(v.element(), n300);
    EXPECT_EQ(v.zbytek('A', 2), "abcde");
    EXPECT_EQ(v.obsah(), "x");
}

TEST(Ctecka, LimitOf300CharactersForRestAndContent) {
    const std::string r300(300, 'r'), c300(300, 'c');
    Vstup v{"<A " + r300 + ">" + c300 + "<B " + r300 + "s t>" + c300 + "d<C>"};
    v.element();
    EXPECT_EQ(v.zbytek('A', 2), r300);
    EXPECT_EQ(v.obsah(), c300);
    EXPECT_EQ(v.element(), "B");
    EXPECT_EQ(v.ctecka.dej_zbytek_elementu(v.t, 'N'), 1);
    EXPECT_EQ(v.t.text(), r300);
    EXPECT_EQ(v.ctecka.je_ZAVZAV, 'N');
    // The content first skips the rest of the open tag.
    EXPECT_EQ(v.obsah(1), c300);
    EXPECT_EQ(v.ctecka.je_OTVZAV, 'N');
    // The next name is searched for from there.
    EXPECT_EQ(v.element(), "C");
}

TEST(Ctecka, TokenContinuesIntoNextFile) {
    Vstup v{"\n<AA00", "17>5\n", "</AA0017>"};
    EXPECT_EQ(v.element(), "AA0017");
    EXPECT_EQ(v.konce, 1);
    EXPECT_EQ(v.obsah(), "5");
    EXPECT_EQ(v.konce, 2);
    EXPECT_EQ(v.element(), "/AA0017");
    EXPECT_EQ(v.radek(), 3u);
}

TEST(Ctecka, EndOfInputInEveryOperation) {
    {
        Vstup v{"no tag here\n"};
        EXPECT_EQ(v.ctecka.dej_element(v.t), -1);
        EXPECT_EQ(v.radek(), 2u);
    }
    {
        Vstup v{"<A b"};
        v.element();
        EXPECT_EQ(v.ctecka.dej_zbytek_elementu(v.t, 'N'), -1);
    }
    {
        Vstup v{"<A>text"};
        v.element();
        EXPECT_EQ(v.ctecka.dej_obsah(v.t), -1);
    }
    {
        Vstup v{"<A b"};
        v.element();
        EXPECT_EQ(v.ctecka.dej_obsah(v.t), -1);
    }
    {
        Vstup v{"<!-- -- >"};
        v.element();
        EXPECT_EQ(v.ctecka.preskoc_zbytek_komentare(), -1);
        EXPECT_EQ(v.konce, 1);
    }
}

// What the reader hands out for one field element, and where it leaves the reader.
struct Pole {
    std::string jmeno, obsah, konec, dalsi;
    char otv = 0, zav = 0;
    std::uint64_t radek = 0;
    bool operator==(const Pole&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Pole& p) {
    return os << "[" << p.jmeno << "|" << p.obsah << "|" << p.konec << "|" << p.dalsi << "|" << p.otv << p.zav
              << "|" << p.radek << "]";
}

void dokonci(Vstup& v, Pole& p) {
    p.otv = v.ctecka.je_OTVZAV;
    p.zav = v.ctecka.je_ZAVZAV;
    p.radek = v.radek();
    p.dalsi = v.ctecka.dej_element(v.t) < 0 ? "-1" : std::string(v.t.text());
}

// Name, rest, content and closing name, one operation after another.
Pole ctyrmi(Vstup& v) {
    Pole p;
    v.ctecka.dej_element(v.t);
    p.jmeno = v.t.text();
    v.ctecka.dej_zbytek_elementu(v.t, 'A');
    v.ctecka.dej_obsah(v.t);
    p.obsah = v.t.text();
    v.ctecka.dej_element(v.t);
    p.konec = v.t.text();
    dokonci(v, p);
    return p;
}

// The same element read whole when the reader can, else one operation after another.
Pole celym(Vstup& v, bool& vzato) {
    std::string_view j, o, k;
    vzato = v.ctecka.dej_cele_pole(j, o, k);
    if (!vzato) return ctyrmi(v);
    Pole p;
    p.jmeno = j;
    p.obsah = o;
    p.konec = k;
    dokonci(v, p);
    return p;
}

TEST(Ctecka, WholeFieldReadLeavesReaderAsFourOperations) {
    const std::string n300(300, 'n'), n301(301, 'n'), c300(300, 'c'), c301(301, 'c');
    const std::string vstupy[] = {
        "\n \n<AA0017>123</AA0017>\n<X>",
        "<AA0017>1 2>3&amp;\"q\"</AA0017><X>",
        "<AA0017></AA0017><X>",
        "<AA0017>  x </AA0017><X>",
        "<AA0017>1</AA0018><X>",
        "<AA0017>1</AA0017 ><X>",
        "<AA0017>1</AA00170><X>",
        "<AA0017>1\r\n</AA0017><X>",
        "<AA0017>1<!-- -->2</AA0017><X>",
        "<duv:AA0017>1</duv:AA0017><X>",
        "<xduv:A>1</xduv:A><X>",
        "<A\tB>1</A\tB><X>",
        "<?x>1</?x><X>",
        "<a<b>1</a<b><X>",
        "<A/>1</A/><X>",
        std::string("<A>1\0002</A><X>", 13),
        "<" + n301 + ">1</" + n301 + "><X>",
        "<A>" + c300 + "</A><X>",
        "<A>" + c301 + "</A><X>",
        "<A>x</A>",
        "<A>x</A",
        "<A>x",
    };
    int vzatych = 0;
    for (const std::string& zbytek : vstupy) {
        // A first tag loads the read block, as the prolog does.
        const std::string vstup = "<S>" + zbytek;
        Vstup a{vstup}, b{vstup};
        a.element();
        b.element();
        bool vzato = false;
        EXPECT_EQ(celym(a, vzato), ctyrmi(b)) << vstup;
        vzatych += vzato;
        if (zbytek.rfind("\n \n<AA0017>123", 0) == 0) {
            EXPECT_TRUE(vzato);
        }
    }
    EXPECT_GT(vzatych, 3);
}

TEST(Ctecka, WholeFieldReadOfNameOf300Characters) {
    const std::string n300(300, 'n');
    const std::string vstup = "<S><" + n300 + ">1</" + n300 + "><X>";
    Vstup a{vstup}, b{vstup};
    a.element();
    b.element();
    bool vzato = false;
    const Pole p = ctyrmi(b);
    EXPECT_EQ(p.konec, "/" + std::string(299, 'n'));
    EXPECT_EQ(celym(a, vzato), p);
}

TEST(Ctecka, TokensAcrossReadBlocks) {
    // Spaces up to around the end of the first read block (256 KiB), so that the block ends on
    // every byte of the tokens in turn.
    const std::string konec = "<AA0017>12345</AA0017>\r\n<AA0018 a=\"1\">x\ny</AA0018><!-- - -->\n<X>";
    const std::string zacatek = "<S>\n";
    for (std::size_t k = 0; k < konec.size(); ++k) {
        const std::string vstup = zacatek + std::string((1u << 18) - zacatek.size() - k, ' ') + konec;
        for (bool cele : {false, true}) {
            Vstup v{vstup};
            EXPECT_EQ(v.element(), "S");
            std::string_view j, o, z;
            if (cele && v.ctecka.dej_cele_pole(j, o, z)) {
                EXPECT_EQ(j, "AA0017");
                EXPECT_EQ(o, "12345");
                EXPECT_EQ(z, "/AA0017");
            } else {
                EXPECT_EQ(v.element(), "AA0017") << k;
                EXPECT_EQ(v.obsah(), "12345") << k;
                EXPECT_EQ(v.element(), "/AA0017") << k;
            }
            EXPECT_EQ(v.radek(), 2u) << k;
            EXPECT_EQ(v.element(), "AA0018") << k;
            EXPECT_EQ(v.zbytek('N', 2), "a=\"1\"") << k;
            EXPECT_EQ(v.obsah(), "xy") << k;
            EXPECT_EQ(v.element(), "/AA0018") << k;
            EXPECT_EQ(v.element(), "!--") << k;
            EXPECT_EQ(v.ctecka.preskoc_zbytek_komentare(), 0) << k;
            EXPECT_EQ(v.element(), "X") << k;
            EXPECT_EQ(v.radek(), 5u) << k;
        }
    }
}

TEST(Ctecka, LineNumberTextBeyondSevenDigits) {
    CisloRadky r;
    EXPECT_EQ(r.cislo(), 1u);
    EXPECT_EQ(r.text(), "1");
    for (int i = 2; i <= 1200; ++i) {
        r.dalsi();
        ASSERT_EQ(r.text(), std::to_string(i));
    }
    r.nastav(9999999);
    r.dalsi();
    EXPECT_EQ(r.cislo(), 10000000u);
    EXPECT_EQ(r.text(), "10000000");
    r.nastav(99999999999ull);
    r.dalsi();
    EXPECT_EQ(r.text(), "100000000000");
    r.nastav(5000000000ull);
    EXPECT_EQ(r.text(), "5000000000");

    Vstup v{"<A>\n\n</A>"};
    v.ctecka.radek.nastav(9999999);
    v.element();
    v.obsah();
    EXPECT_EQ(v.ctecka.radek.text(), "10000001");
}

}  // namespace
}  // namespace tavon
