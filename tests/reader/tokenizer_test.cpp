#include "reader/tokenizer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tavon {
namespace {

// The input as one or more documents read one after another, like the files of a list, handed to
// the tokenizer in blocks whenever an operation waits for more.
class Input {
  public:
    Input(std::initializer_list<std::string_view> parts, std::size_t block = 1 << 18)
        : parts_(parts.begin(), parts.end()), block_(block), buffer_(block + 16) {}

    // An operation, given the next block (or the next document, or the end of the input) as often
    // as it waits for one.
    template <typename Operation>
    int call(Operation operation) {
        for (;;) {
            const int r = operation();
            if (r != Tokenizer::kSuspended) return r;
            give_more();
        }
    }
    int read_name(Token& t) {
        return call([&] { return tokenizer.read_name(t); });
    }
    int read_tag_rest(Token& t, bool keep_spaces) {
        return call([&] { return tokenizer.read_tag_rest(t, keep_spaces); });
    }
    int read_content(Token& t) {
        return call([&] { return tokenizer.read_content(t); });
    }
    int skip_comment_rest() {
        return call([&] { return tokenizer.skip_comment_rest(); });
    }

    std::string name() {
        EXPECT_EQ(read_name(t), 0);
        return std::string(t.text());
    }
    std::string rest(bool keep_spaces, int expected) {
        EXPECT_EQ(read_tag_rest(t, keep_spaces), expected);
        return std::string(t.text());
    }
    std::string content(int expected = 0) {
        EXPECT_EQ(read_content(t), expected);
        return std::string(t.text());
    }
    std::uint64_t line() const { return tokenizer.line().number(); }

  private:
    void give_more() {
        const std::string& part = parts_[current_];
        if (at_ < part.size()) {
            const std::size_t n = std::min(block_, part.size() - at_);
            part.copy(buffer_.data(), n, at_);
            at_ += n;
            tokenizer.set_input(buffer_.data(), buffer_.data() + n);
            return;
        }
        ++ends;
        if (current_ + 1 >= parts_.size()) {
            tokenizer.end_input();
            return;
        }
        ++current_;
        at_ = 0;
        tokenizer.end_document();
    }

    std::vector<std::string> parts_;
    std::size_t block_;
    std::vector<char> buffer_;
    std::size_t current_ = 0;
    std::size_t at_ = 0;

  public:
    Tokenizer tokenizer;
    Token t;
    int ends = 0;
};

TEST(Tokenizer, FieldElementWithContentAndClosingTag) {
    Input v{"  text <AA0017>1</AA0017>"};
    EXPECT_EQ(v.name(), "AA0017");
    EXPECT_TRUE(v.tokenizer.tag_closed());
    // The tag is already closed: nothing is read and the buffer keeps the name.
    EXPECT_EQ(v.rest(false, 0), "AA0017");
    EXPECT_EQ(v.content(), "1");
    EXPECT_TRUE(v.tokenizer.next_tag_open());
    EXPECT_EQ(v.name(), "/AA0017");
    EXPECT_EQ(v.ends, 0);
    EXPECT_EQ(v.read_name(v.t), -1);
    EXPECT_EQ(v.ends, 1);
}

TEST(Tokenizer, EmptyElementForms) {
    Input v{"<AA0017/><AA0017 /><X >"};
    EXPECT_EQ(v.name(), "AA0017/");
    EXPECT_TRUE(v.tokenizer.tag_closed());

    EXPECT_EQ(v.name(), "AA0017");
    EXPECT_FALSE(v.tokenizer.tag_closed());
    EXPECT_EQ(v.rest(false, 2), "/");
    EXPECT_TRUE(v.tokenizer.tag_closed());

    EXPECT_EQ(v.name(), "X");
    EXPECT_EQ(v.rest(false, 0), "");
    EXPECT_TRUE(v.tokenizer.tag_closed());
}

TEST(Tokenizer, NameEndsAtSpaceLineFeedOrBracketOnly) {
    Input v{"<?xml v><!DOCTYPE x><a\"b'c/d\te><AA0017\t>"};
    EXPECT_EQ(v.name(), "?xml");
    EXPECT_EQ(v.name(), "!DOCTYPE");
    EXPECT_EQ(v.name(), "a\"b'c/d\te");
    EXPECT_EQ(v.name(), "AA0017\t");
}

TEST(Tokenizer, NamespacePrefixRemovedOnlyAtStartOrAfterFirstCharacter) {
    Input v{"<duv:zamestnanec></duv:zamestnanec><duv:DUV a><xduv:A><AA:duv:B><DUV:C><duv:duv:D>"};
    EXPECT_EQ(v.name(), "zamestnanec");
    EXPECT_EQ(v.name(), "/zamestnanec");
    EXPECT_EQ(v.name(), "DUV");
    EXPECT_EQ(v.name(), "/A");  // position 1 always becomes "/"
    EXPECT_EQ(v.name(), "AA:duv:B");
    EXPECT_EQ(v.name(), "DUV:C");
    EXPECT_EQ(v.name(), "duv:D");
}

TEST(Tokenizer, RestOfTagKeepsOrDropsSpacesByMode) {
    Input v{"<DUV verze=\"1.6\"  xmlns=\"x\"><DUV verze=\"1.6\"  xmlns=\"x\">"};
    v.name();
    EXPECT_EQ(v.rest(true, 2), "verze=\"1.6\"  xmlns=\"x\"");
    v.name();
    EXPECT_EQ(v.rest(false, 2), "verze=\"1.6\"xmlns=\"x\"");
}

TEST(Tokenizer, CarriageReturnDroppedEverywhere) {
    Input v{"\r<A\rB c=\r\"1\">1\r2</A\rB>"};
    EXPECT_EQ(v.name(), "AB");
    EXPECT_EQ(v.rest(true, 2), "c=\"1\"");
    EXPECT_EQ(v.content(), "12");
    EXPECT_EQ(v.name(), "/AB");
    EXPECT_EQ(v.line(), 1u);
}

TEST(Tokenizer, LineFeedCountedInEveryOperation) {
    // Skipped text, the end of a name, the rest of a tag, a content, a comment and the
    // rest of a tag skipped by the content all count their line feeds.
    Input v{"\r\n\n<A\nx=\n\"1\"\n>\n1\n</A\n><!--\n\n-->\n<B c\n>2\n<C>"};
    EXPECT_EQ(v.name(), "A");
    EXPECT_EQ(v.line(), 4u);
    EXPECT_EQ(v.rest(true, 2), "x=\"1\"");
    EXPECT_EQ(v.line(), 6u);
    EXPECT_EQ(v.content(), "1");
    EXPECT_EQ(v.line(), 8u);
    EXPECT_EQ(v.name(), "/A");
    EXPECT_EQ(v.line(), 9u);
    EXPECT_EQ(v.name(), "!--");
    EXPECT_EQ(v.line(), 10u);
    EXPECT_EQ(v.skip_comment_rest(), 0);
    EXPECT_EQ(v.line(), 11u);
    EXPECT_EQ(v.name(), "B");
    EXPECT_EQ(v.line(), 12u);
    EXPECT_EQ(v.content(), "2");  // skips the open rest "c\n>" first
    EXPECT_EQ(v.line(), 14u);
    EXPECT_EQ(v.tokenizer.line().number(), 14u);
}

TEST(Tokenizer, ContentIsTakenAsWritten) {
    Input v{"<A>  a>b&amp;\"c\" </A><B x=\"1\">\t v<"};
    v.name();
    EXPECT_EQ(v.content(), "  a>b&amp;\"c\" ");
    EXPECT_EQ(v.name(), "/A");
    EXPECT_EQ(v.name(), "B");
    EXPECT_FALSE(v.tokenizer.tag_closed());
    EXPECT_EQ(v.content(), "\t v");
}

TEST(Tokenizer, QuotesAreNotSpecial) {
    Input v{"<A x=\"a>b\">c</A>"};
    EXPECT_EQ(v.name(), "A");
    EXPECT_EQ(v.rest(false, 2), "x=\"a");
    EXPECT_EQ(v.content(), "b\">c");
    EXPECT_EQ(v.name(), "/A");
}

TEST(Tokenizer, CommentWindow) {
    Input v{
        "<!-- <AA0017>1</AA0017> - -> -- >x-->Z<N>"
        "<!--\n->x--\r\n>Y<M>"
        "<!-- -\r-> <L>"};
    EXPECT_EQ(v.name(), "!--");
    EXPECT_EQ(v.skip_comment_rest(), 0);
    EXPECT_FALSE(v.tokenizer.next_tag_open());
    EXPECT_EQ(v.name(), "N");

    // The dashes of the name are not in the window; "--", a line break and ">" end it.
    EXPECT_EQ(v.name(), "!--");
    EXPECT_EQ(v.skip_comment_rest(), 0);
    EXPECT_EQ(v.name(), "M");
    EXPECT_EQ(v.line(), 3u);

    // A carriage return does not enter the window either.
    EXPECT_EQ(v.name(), "!--");
    EXPECT_EQ(v.skip_comment_rest(), 0);
    EXPECT_EQ(v.name(), "L");
}

TEST(Tokenizer, LimitOf300CharactersForNames) {
    const std::string n300(300, 'n');
    Input v{"<" + n300 + "><" + n300 + "xyz>obsah<" + std::string(1000, 'm') + ">12</E>"};
    EXPECT_EQ(v.name(), n300);
    EXPECT_TRUE(v.tokenizer.tag_closed());

    // An overlong name keeps its first 300 characters and leaves the tag open.
    EXPECT_EQ(v.name(), n300);
    EXPECT_FALSE(v.tokenizer.tag_closed());
    EXPECT_EQ(v.content(), "obsah");

    EXPECT_EQ(v.name(), std::string(300, 'm'));
    EXPECT_EQ(v.read_tag_rest(v.t, false), 1);
    EXPECT_EQ(v.t.text().size(), 300u);
    EXPECT_FALSE(v.tokenizer.tag_closed());
    EXPECT_EQ(v.content(), "12");
    EXPECT_EQ(v.name(), "/E");
}

TEST(Tokenizer, OverlongNameLeavesItsRestToBeReadOn) {
    // The name holds its first 300 characters; the 301st is the first of the tag's rest.
    const std::string n300(300, 'n');
    Input v{"<" + n300 + "abc de>x<E>"};
    EXPECT_EQ(v.name(), n300);
    EXPECT_EQ(v.rest(false, 2), "abcde");
    EXPECT_EQ(v.content(), "x");
}

TEST(Tokenizer, LimitOf300CharactersForRestAndContent) {
    const std::string r300(300, 'r'), c300(300, 'c');
    Input v{"<A " + r300 + ">" + c300 + "<B " + r300 + "s t>" + c300 + "d<C>"};
    v.name();
    EXPECT_EQ(v.rest(false, 2), r300);
    EXPECT_EQ(v.content(), c300);
    EXPECT_EQ(v.name(), "B");
    EXPECT_EQ(v.read_tag_rest(v.t, true), 1);
    EXPECT_EQ(v.t.text(), r300);
    EXPECT_FALSE(v.tokenizer.tag_closed());
    // The content first skips the rest of the open tag.
    EXPECT_EQ(v.content(1), c300);
    EXPECT_FALSE(v.tokenizer.next_tag_open());
    // The next name is searched for from there.
    EXPECT_EQ(v.name(), "C");
}

TEST(Tokenizer, TokenContinuesIntoNextFile) {
    Input v{"\n<AA00", "17>5\n", "</AA0017>"};
    EXPECT_EQ(v.name(), "AA0017");
    EXPECT_EQ(v.ends, 1);
    EXPECT_EQ(v.content(), "5");
    EXPECT_EQ(v.ends, 2);
    EXPECT_EQ(v.name(), "/AA0017");
    EXPECT_EQ(v.line(), 3u);
}

TEST(Tokenizer, EndOfInputInEveryOperation) {
    {
        Input v{"no tag here\n"};
        EXPECT_EQ(v.read_name(v.t), -1);
        EXPECT_EQ(v.line(), 2u);
    }
    {
        Input v{"<A b"};
        v.name();
        EXPECT_EQ(v.read_tag_rest(v.t, true), -1);
    }
    {
        Input v{"<A>text"};
        v.name();
        EXPECT_EQ(v.read_content(v.t), -1);
    }
    {
        Input v{"<A b"};
        v.name();
        EXPECT_EQ(v.read_content(v.t), -1);
    }
    {
        Input v{"<!-- -- >"};
        v.name();
        EXPECT_EQ(v.skip_comment_rest(), -1);
        EXPECT_EQ(v.ends, 1);
    }
}

// What the reader hands out for one field element, and where it leaves the reader.
struct Field {
    std::string name, content, closing, next;
    bool next_tag_open = false, tag_closed = false;
    std::uint64_t line = 0;
    bool operator==(const Field&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Field& f) {
    return os << "[" << f.name << "|" << f.content << "|" << f.closing << "|" << f.next << "|"
              << f.next_tag_open << f.tag_closed << "|" << f.line << "]";
}

void finish(Input& v, Field& f) {
    f.next_tag_open = v.tokenizer.next_tag_open();
    f.tag_closed = v.tokenizer.tag_closed();
    f.line = v.line();
    f.next = v.read_name(v.t) < 0 ? "-1" : std::string(v.t.text());
}

// Name, rest, content and closing name, one operation after another.
Field by_four_operations(Input& v) {
    Field f;
    v.read_name(v.t);
    f.name = v.t.text();
    v.read_tag_rest(v.t, false);
    v.read_content(v.t);
    f.content = v.t.text();
    v.read_name(v.t);
    f.closing = v.t.text();
    finish(v, f);
    return f;
}

// The same element read whole when the reader can, else one operation after another.
Field whole(Input& v, bool& taken) {
    std::string_view n, c, k;
    taken = v.tokenizer.read_whole_field(n, c, k);
    if (!taken) return by_four_operations(v);
    Field f;
    f.name = n;
    f.content = c;
    f.closing = k;
    finish(v, f);
    return f;
}

TEST(Tokenizer, WholeFieldReadLeavesReaderAsFourOperations) {
    const std::string n300(300, 'n'), n301(301, 'n'), c300(300, 'c'), c301(301, 'c');
    const std::string inputs[] = {
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
    int taken_count = 0;
    for (const std::string& tail : inputs) {
        // A first tag loads the read block, as the prolog does.
        const std::string input = "<S>" + tail;
        Input a{input}, b{input};
        a.name();
        b.name();
        bool taken = false;
        EXPECT_EQ(whole(a, taken), by_four_operations(b)) << input;
        taken_count += taken;
        if (tail.rfind("\n \n<AA0017>123", 0) == 0) {
            EXPECT_TRUE(taken);
        }
    }
    EXPECT_GT(taken_count, 3);
}

// The document's structure looks at control bytes and "&" in a content itself (the checks of what
// a receiving parser refuses), so a field read whole holds none, in the short common case and in
// a longer content alike.
TEST(Tokenizer, ControlBytesAndAmpersandsAreNeverReadWhole) {
    const std::string padding(64, ' ');
    for (const std::string& content :
         {std::string("1\x01"), std::string("1\x1f"), std::string(20, 'x') + "\x0b",
          std::string(20, 'x') + "\t", std::string(12, 'x') + "&amp;", std::string("1\0", 2)}) {
        for (const std::string name : {"AA0017", "predkladatel"}) {
            Input v{"<S>\r\n<" + name + ">" + content + "</" + name + ">\r\n<X>" + padding};
            v.name();
            std::string_view n, c, closing;
            EXPECT_FALSE(v.tokenizer.read_whole_field(n, c, closing)) << name << " " << content;
        }
    }
}

// A line break is dropped from a content; when it stands inside a would-be reference ("&am", line
// break, "p;"), the token notes it, since its text shows a reference the document does not hold.
TEST(Tokenizer, LineBreakInsideAReferenceIsNoted) {
    Input v{std::string("<A>x &am\r\np; y</A><B>&lt;\n&gt;\n</B><C>a &\nb</C><D>z\0 &am\np;</D>", 63)};
    const std::pair<std::string, bool> expected[] = {
        {"x &amp; y", true}, {"&lt;&gt;", false}, {"a &b", true}, {"z", false}};
    for (const auto& [text, split] : expected) {
        v.name();
        EXPECT_EQ(v.content(), text);
        EXPECT_EQ(v.t.reference_split(), split) << text;
        v.name();
    }
}

TEST(Tokenizer, WholeFieldReadOfNameOf300Characters) {
    const std::string n300(300, 'n');
    const std::string input = "<S><" + n300 + ">1</" + n300 + "><X>";
    Input a{input}, b{input};
    a.name();
    b.name();
    bool taken = false;
    const Field f = by_four_operations(b);
    EXPECT_EQ(f.closing, "/" + std::string(299, 'n'));
    EXPECT_EQ(whole(a, taken), f);
}

TEST(Tokenizer, TokensAcrossReadBlocks) {
    // Spaces up to around the end of the first read block (256 KiB), so that the block ends on
    // every byte of the tokens in turn.
    const std::string tail = "<AA0017>12345</AA0017>\r\n<AA0018 a=\"1\">x\ny</AA0018><!-- - -->\n<X>";
    const std::string head = "<S>\n";
    for (std::size_t k = 0; k < tail.size(); ++k) {
        const std::string input = head + std::string((1u << 18) - head.size() - k, ' ') + tail;
        for (bool at_once : {false, true}) {
            Input v{input};
            EXPECT_EQ(v.name(), "S");
            std::string_view n, c, z;
            if (at_once && v.tokenizer.read_whole_field(n, c, z)) {
                EXPECT_EQ(n, "AA0017");
                EXPECT_EQ(c, "12345");
                EXPECT_EQ(z, "/AA0017");
            } else {
                EXPECT_EQ(v.name(), "AA0017") << k;
                EXPECT_EQ(v.content(), "12345") << k;
                EXPECT_EQ(v.name(), "/AA0017") << k;
            }
            EXPECT_EQ(v.line(), 2u) << k;
            EXPECT_EQ(v.name(), "AA0018") << k;
            EXPECT_EQ(v.rest(true, 2), "a=\"1\"") << k;
            EXPECT_EQ(v.content(), "xy") << k;
            EXPECT_EQ(v.name(), "/AA0018") << k;
            EXPECT_EQ(v.name(), "!--") << k;
            EXPECT_EQ(v.skip_comment_rest(), 0) << k;
            EXPECT_EQ(v.name(), "X") << k;
            EXPECT_EQ(v.line(), 5u) << k;
        }
    }
}

}  // namespace
}  // namespace tavon
