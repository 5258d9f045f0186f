// A document is reported as converted to UTF-8 only when its bytes as a whole are UTF-8 with a
// multi-byte sequence; Windows-1250 texts with Czech letters never are, whatever pairs they hold.
#include "reader/encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace tavon {
namespace {

// The watch after the document's bytes, fed in the given pieces (as the reader's blocks).
EncodingWatch watch(const std::vector<std::string_view>& blocks) {
    EncodingWatch w;
    std::uint64_t line = 1;
    for (std::string_view b : blocks) {
        w.scan(b.data(), b.size(), line);
        for (char c : b) line += c == '\n';
    }
    return w;
}

bool utf8(std::string_view document) { return watch({document}).is_utf8(); }

// The Czech alphabet in Windows-1250 and in UTF-8.
const std::string kAlphabet1250 =
    "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E "
    "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E";
const std::string kAlphabetUtf8 = "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ áčďéěíňóřšťúůýž";

TEST(Encoding, WindowsTextIsNeverUtf8) {
    EXPECT_FALSE(utf8("<autor>" + kAlphabet1250 + "</autor>"));
    // Each letter on its own, in a name.
    for (char letter : kAlphabet1250)
        EXPECT_FALSE(utf8(std::string("<a>x") + letter + "y</a>")) << int(letter);
    // "ČŠ", "ŘŽ", "ÚŽ" are valid UTF-8 pairs on their own: among other Czech text they decide nothing.
    EXPECT_FALSE(utf8("<a>\xC8\x8A \xD8\x8E \xDA\x8E</a><b>Nov\xE1kov\xE1</b>"));
    // Alone in the whole document they are indeed UTF-8: the rule is the document, not the pair.
    EXPECT_TRUE(utf8("<a>\xC8\x8A</a>"));
    EXPECT_FALSE(utf8("<a>plain ASCII only</a>"));
}

TEST(Encoding, Utf8DocumentAndTheLineOfItsFirstSequence) {
    const EncodingWatch w = watch({"<x>\r\n<a>ascii</a>\r\n<b>" + kAlphabetUtf8 + "</b>\r\n"});
    EXPECT_TRUE(w.is_utf8());
    EXPECT_EQ(w.first_multibyte_line(), 3u);
    // A sequence split between two blocks; the line counts on from the earlier block.
    const std::string text = "\n\nx" + kAlphabetUtf8;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const EncodingWatch split =
            watch({std::string_view(text).substr(0, cut), std::string_view(text).substr(cut)});
        EXPECT_TRUE(split.is_utf8()) << cut;
        EXPECT_EQ(split.first_multibyte_line(), 3u) << cut;
    }
}

TEST(Encoding, ByteSequencesThatAreNoUtf8) {
    for (const char* bad : {"\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "\x80", "\xC3", "\xE2\x82", "\xC3\x41"})
        EXPECT_FALSE(utf8(std::string("ok \xC3\xA1 ") + bad)) << bad;
    EXPECT_TRUE(utf8("\xF0\x9F\x98\x80 \xE2\x82\xAC \xF4\x8F\xBF\xBF"));
}

TEST(Encoding, DeclaredEncodingComparedWithoutCase) {
    EncodingWatch w;
    w.declared("WINDOWS-1250", 1);
    EXPECT_FALSE(w.declares_other());
    w.declared("utf-8", 2);
    EXPECT_TRUE(w.declares_other());
    EXPECT_EQ(w.declared_encoding(), "utf-8");
    EXPECT_EQ(w.declaration_line(), 2u);
    w.start_document();
    EXPECT_FALSE(w.declares_other());
}

// Only "<?xml" and white space at the very start of a document (after a byte order mark) is the
// XML declaration; the line is that of its ">".
TEST(Encoding, OnlyTheDeclarationAtTheStartDeclares) {
    struct Case {
        std::string start;
        std::string declared;  // empty: nothing but Windows-1250 declared
        std::uint64_t line;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding\t=\t\"UTF-8\"?>\r\n<DUV>", "UTF-8", 1},
        {"<?xml\tversion='1.0'\r\n encoding =\n'iso-8859-2'\n?>", "iso-8859-2", 4},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>", "utf-8", 1},
        {"<?xml version=\"1.0\" encoding=\"Windows-1250\"?>", "", 0},
        {"<?xml-stylesheet type=\"text/xsl\" encoding=\"utf-8\"?>", "", 0},
        {"<?app encoding=\"utf-8\"?>", "", 0},
        {"<!-- <?xml version=\"1.0\" encoding=\"utf-8\"?> -->", "", 0},
        {"\r\n<?xml version=\"1.0\" encoding=\"utf-8\"?>", "", 0},
        {"<?xml version=\"1.0\" xencoding=\"utf-8\"?>", "", 0},
        {"<DUV><?xml version=\"1.0\" encoding=\"utf-8\"?>", "", 0},
    };
    for (const Case& c : cases) {
        const std::string document = c.start + "\r\n<DUV/>\r\n";
        // Whole, and a byte at a time as a source of small pieces may hand it over.
        std::vector<std::string_view> bytes;
        for (std::size_t i = 0; i < document.size(); ++i)
            bytes.push_back(std::string_view(document).substr(i, 1));
        for (const EncodingWatch& w : {watch({document}), watch(bytes)}) {
            EXPECT_EQ(w.declares_other(), !c.declared.empty()) << c.start;
            EXPECT_EQ(w.declared_encoding(), c.declared) << c.start;
            EXPECT_EQ(w.declaration_line(), c.line) << c.start;
        }
    }
}

}  // namespace
}  // namespace tavon
