// The overview's pieces that must hold for any name: its CSV cells are those of the CSV report, its
// links lead to the file of that name, its texts carry no markup and survive any bytes. (The whole
// page, its counts, links and sorting are tested on real folders by tests/package/dashboard_test.sh.)
#include "cli/dashboard.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "report/text_writer.h"
#include "tavon/report.h"

namespace tavon::cli {
namespace {

std::string as_csv_report_writes(std::string_view text) {
    StringOutput out;
    {
        TextWriter writer(out);
        writer.write_csv(text);
    }
    return out.bytes;
}

TEST(Dashboard, CsvCellsAreQuotedAndDisarmedAsInTheCsvReport) {
    for (std::string_view text : {"", "plain.xml", "a;b.xml", "say \"hi\".xml", "line\nbreak.xml",
                                  "=HYPERLINK(\"x\").xml", "@SUM(1).xml", "+1,5", "-5", "-0.25", "-x.xml",
                                  "+", "\tTAB.xml", "\rCR.xml", "\x81\x83\x88\x90\x98.xml", "\x8a\x9e.xml"})
        EXPECT_EQ(tavon::csv_cell(text), as_csv_report_writes(text)) << text;
}

// Decodes %XX, as a browser does before it asks the file system.
std::string percent_decoded(std::string_view link) {
    std::string out;
    for (std::size_t i = 0; i < link.size(); ++i)
        if (link[i] == '%' && i + 2 < link.size()) {
            out += static_cast<char>(std::stoi(std::string(link.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += link[i];
        }
    return out;
}

TEST(Dashboard, LinksLeadToTheNameWhateverItHolds) {
    for (std::string_view name : {"ok.xml.htm", "<img src=x onerror=alert(1)>.xml.htm", "nový\nřádek.xml.htm",
                                  "javascript:alert(1).htm", "a b#c?d%41&\"'.htm", "\xff\xfe.xml.htm"}) {
        const std::string link = percent_encoded(name);
        EXPECT_EQ(
            link.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~%"),
            std::string::npos)
            << link;
        EXPECT_EQ(percent_decoded(link), name);
    }
}

TEST(Dashboard, NamesBecomeTextNeverMarkup) {
    EXPECT_EQ(html_text("<img src=x onerror=alert(1)>&\"'.xml"),
              "&lt;img src=x onerror=alert(1)&gt;&amp;&quot;&#39;.xml");
    EXPECT_EQ(html_text("nový\nřádek\x1b[2J.xml"), "nový?řádek?[2J.xml");
    // Bytes that are no UTF-8 (a Windows-1250 name, a cut sequence, a surrogate, an overlong form).
    EXPECT_EQ(html_text("\x8a\xe9.xml"), "\uFFFD\uFFFD.xml");
    EXPECT_EQ(html_text("a\xc5"), "a\uFFFD");
    EXPECT_EQ(html_text("\xed\xa0\x80"), "\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(html_text("\xc0\xbc"), "\uFFFD\uFFFD");
    EXPECT_EQ(html_text("Žďár 😀"), "Žďár 😀");
}

}  // namespace
}  // namespace tavon::cli
