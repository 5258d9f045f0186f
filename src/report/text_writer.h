// Buffered text for a report or the normalised copy: every "\n" is written as CR LF, cell texts can
// be escaped for HTML/XML or quoted for CSV.
#pragma once

#include <cstring>
#include <string_view>
#include <vector>

#include "tavon/report.h"

namespace tavon {

class TextWriter {
  public:
    explicit TextWriter(Output& out) : out_(out), buffer_(1 << 16) {}
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;
    ~TextWriter() { flush(); }

    // Text as it stands, line ends written as CR LF.
    void write(std::string_view text);
    // Markup that spells its own line ends as CR LF ("</td>\r\n"), copied without a scan: the bulk
    // of a report row.
    void write_exact(std::string_view text) { put(text); }
    // A cell text for HTML: &, < and > become entities.
    void write_html(std::string_view text) { write_marked_up(text, false); }
    // An element text for XML: as for HTML, and control characters other than tab and line ends,
    // which no XML document may hold, become "?".
    // In every cell text, the five bytes Windows-1250 leaves undefined become "?".
    void write_xml(std::string_view text) { write_marked_up(text, true); }
    // A CSV field: quoted when it holds ; " CR or LF; a field a spreadsheet would take for a
    // formula is quoted with an apostrophe before it.
    void write_csv(std::string_view text);
    // A cell text for the plain text layout.
    void write_plain(std::string_view text);
    // Right-aligned in a field of at least `width` characters, like printf's "%*s".
    void write_right(std::string_view text, int width);
    void write_int(long long n);
    void flush();

  private:
    void put(char c) {
        if (used_ == buffer_.size()) flush();
        buffer_[used_++] = c;
    }
    void put(std::string_view s) {
        if (!s.empty() && s.size() <= buffer_.size() - used_) {
            std::memcpy(buffer_.data() + used_, s.data(), s.size());
            used_ += s.size();
            return;
        }
        put_long(s);
    }
    void put_long(std::string_view s);
    void write_marked_up(std::string_view text, bool xml);

    Output& out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
};

}  // namespace tavon
