// What a document's bytes say of its encoding, as a receiving XML parser would take them.
//
// Whether the bytes, taken as a whole, are UTF-8 holding at least one multi-byte sequence: a file
// saved or converted as UTF-8, whose Czech letters the receiving office, reading Windows-1250, would
// get garbled. A Windows-1250 text with Czech letters practically always holds a byte that is no
// valid UTF-8 somewhere, so only the whole document decides; single sequences never do ("ČŠ" is a
// valid pair on its own).
//
// And the encoding its XML declaration names: only "<?xml" and white space at the very start of the
// document (after a UTF-8 byte order mark) is that declaration; another processing instruction, a
// comment or a declaration further on declares nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavon {

class EncodingWatch {
  public:
    // A new document begins.
    void start_document();
    // Looks at the next block of the document's bytes; `line` is the line of its first byte.
    void scan(const char* bytes, std::size_t size, std::uint64_t line);
    // The document's XML declaration names `encoding`, on `line` (that of its closing ">").
    void declared(std::string_view encoding, std::uint64_t line);

    // At the document's end: whether it is UTF-8 with a multi-byte sequence, and that sequence's line.
    bool is_utf8() const { return !invalid_ && expected_ == 0 && multibyte_; }
    std::uint64_t first_multibyte_line() const { return first_multibyte_line_; }
    // Whether the prolog declared an encoding other than Windows-1250, which, and where.
    bool declares_other() const { return declares_other_; }
    const std::string& declared_encoding() const { return declared_; }
    std::uint64_t declaration_line() const { return declaration_line_; }

  private:
    void read_declaration(const char* bytes, std::size_t size, std::uint64_t line);
    void validate(const unsigned char* p, const unsigned char* end, std::uint64_t line,
                  const unsigned char* start);

    bool invalid_ = false;      // some byte sequence is no UTF-8: the document is not UTF-8
    int expected_ = 0;          // continuation bytes still due
    unsigned char low_ = 0x80;  // bounds of the next continuation byte (overlong forms, surrogates, range)
    unsigned char high_ = 0xBF;
    bool multibyte_ = false;
    std::uint64_t first_multibyte_line_ = 0;
    bool declares_other_ = false;
    std::string declared_;
    std::uint64_t declaration_line_ = 0;
    // The document's first bytes, kept until they show whether an XML declaration starts it and,
    // when one does, up to its ">".
    bool start_read_ = false;
    std::string start_;
    std::uint64_t start_line_ = 0;
};

// The encoding named in an XML declaration's text after "<?xml" (`encoding="..."`, either quotes,
// white space allowed around "="), or empty.
std::string_view declared_encoding(std::string_view declaration);

}  // namespace tavon
