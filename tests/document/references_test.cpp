// What the document's structure looks at in texts that a receiving XML parser reads strictly: a
// "&" in a content and the encoding a prolog declares.
#include <gtest/gtest.h>

#include "document/document_reader.h"

namespace tavon {
namespace {

TEST(References, BareAmpersand) {
    for (const char* fine : {"", "abc", "&amp;", "&lt;&gt;", "Nemocnice &amp; syn", "&quot;&apos;", "&#38;",
                             "&#x26;", "&#xaF09;", "a &#0; b"})
        EXPECT_FALSE(has_bare_ampersand(fine)) << fine;
    for (const char* bare : {"&", "Nemocnice & syn", "&amp", "&AMP;", "&#;", "&#x;", "&#xG1;", "&#12",
                             "&# 1;", "&X26;", "&#X26;", "&amp;&", "ok &amp; & bad"})
        EXPECT_TRUE(has_bare_ampersand(bare)) << bare;
}

TEST(References, DeclaredEncoding) {
    EXPECT_EQ(declared_encoding("version=\"1.0\" encoding=\"UTF-8\"?"), "UTF-8");
    EXPECT_EQ(declared_encoding("version='1.0' encoding = 'iso-8859-2' ?"), "iso-8859-2");
    EXPECT_EQ(declared_encoding("version=\"1.0\"?"), "");
    EXPECT_EQ(declared_encoding("encoding=UTF-8?"), "");
    EXPECT_EQ(declared_encoding("encoding=\"UTF-8"), "");
}

}  // namespace
}  // namespace tavon
