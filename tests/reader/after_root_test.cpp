// What may follow the root element's end in its document: white space, comments and processing
// instructions; anything else is found on the line where it begins.
#include "reader/after_root.h"

#include <gtest/gtest.h>

#include <string>

namespace tavon {
namespace {

struct Outcome {
    bool found;
    std::uint64_t line;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) { return out << o.found << "@" << o.line; }

// The watch over `rest`, started on line 10, given the bytes whole or one at a time.
Outcome after_root(const std::string& rest, bool tag_closed, bool byte_by_byte) {
    AfterRootWatch w;
    w.start(tag_closed, 10);
    if (byte_by_byte) {
        for (const char& c : rest) w.scan(&c, &c + 1);
    } else {
        w.scan(rest.data(), rest.data() + rest.size());
    }
    return {w.content_found(), w.content_found() ? w.content_line() : 0};
}

TEST(AfterRoot, WhatMayFollowTheRootEnd) {
    const Outcome none{false, 0};
    const std::pair<std::string, Outcome> cases[] = {
        {"", none},
        {"\r\n \t\r\n", none},
        {"\r\n<!-- <x>1</x> -- ->\r\n-->\r\n<?app encoding=\"utf-8\"?>\r\n<?xml-stylesheet href=\"a?b\"?>",
         none},
        {"x", {true, 10}},
        {"\r\n\r\n  <x>1</x>", {true, 12}},
        {"\r\n</DUV>", {true, 11}},
        {"\r\n<?xml version=\"1.0\"?>", {true, 11}},
        {"<?XML?>", {true, 10}},
        {"<? app?>", {true, 10}},
        {"<!DOCTYPE DUV>", {true, 10}},
        {"<![CDATA[x]]>", {true, 10}},
        {"<!-- -->\r\n\r\n\xA0", {true, 12}},
        {std::string("\r\n\0", 3), {true, 11}},
        // Markup left open at the end of the document.
        {"\r\n<!-- open\r\n", {true, 11}},
        {"<?app -->", {true, 10}},
        {"<", {true, 10}},
    };
    for (const auto& [rest, expected] : cases)
        for (bool byte_by_byte : {false, true})
            EXPECT_EQ(after_root(rest, true, byte_by_byte), expected) << rest << " " << byte_by_byte;
}

TEST(AfterRoot, RestOfTheEndTagAndOncePerDocument) {
    // "</DUV" ended by a space or line break: the rest of the tag up to ">" is not content.
    EXPECT_EQ(after_root(" \r\n >\r\n", false, false), (Outcome{false, 0}));
    EXPECT_EQ(after_root(" >x", false, false), (Outcome{true, 10}));

    AfterRootWatch w;
    EXPECT_FALSE(w.started());
    w.start(true, 3);
    const std::string text = "a\r\nb";
    w.scan(text.data(), text.data() + text.size());
    EXPECT_TRUE(w.content_found());
    EXPECT_EQ(w.content_line(), 3u);  // the first content only
    w.start_document();
    EXPECT_FALSE(w.started());
    EXPECT_FALSE(w.content_found());
}

}  // namespace
}  // namespace tavon
