// The tokenizer: walks the input bytes once, forward, and hands out tag names, the rest of a
// tag, contents and skipped comments, counting lines as it goes. It judges nothing.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/line_number.h"
#include "reader/encoding.h"
#include "tavon/source.h"

namespace tavon {

// A token of at most 300 characters. Texts end at their first NUL byte, as everywhere.
struct Token {
    static constexpr std::size_t kMax = 300;
    char data[kMax + 2];  // room for the "/" of an empty element's name and its closing form
    std::size_t len = 0;
    bool has_nul = false;  // a NUL byte was stored: the text ends there

    std::string_view text() const {
        if (!has_nul) return {data, len};
        const void* nul = std::memchr(data, '\0', len);
        return {data, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : len};
    }
    // Ends the token at its first NUL byte, as the text it stands for.
    void cut_at_nul() {
        if (!has_nul) return;
        len = text().size();
        has_nul = false;
    }
    void clear() {
        len = 0;
        has_nul = false;
    }
    void push(char c) {
        data[len++] = c;
        if (c == '\0') has_nul = true;
    }
    void set(std::string_view s) {
        len = s.size() < kMax ? s.size() : kMax;
        std::memcpy(data, s.data(), len);
        has_nul = std::memchr(data, '\0', len) != nullptr;
    }
};

class Tokenizer {
  public:
    // Told when a document of the source has been read to its end, before the next one starts.
    class DocumentEnd {
      public:
        virtual ~DocumentEnd() = default;
        virtual void document_ended() = 0;
    };

    explicit Tokenizer(Source& source, DocumentEnd* document_end = nullptr)
        : source_(source), document_end_(document_end), block_(kBlock + kSlack) {}
    void set_document_end(DocumentEnd* document_end) { document_end_ = document_end; }

    // The four reading operations. Each returns -1 when the input has ended.
    // The next tag's name ("/name" for a closing tag); 0.
    int read_name(Token& out);
    // The rest of the current tag: 2 when it is not empty, 0 when empty or the tag was already
    // closed, 1 when it ran past 300 characters. `keep_spaces` false drops the spaces.
    int read_tag_rest(Token& out, bool keep_spaces);
    // The rest of a comment whose "!--" has been read, up to "-->"; 0.
    int skip_comment_rest();
    // The content up to the next "<": 0, or 1 when it ran past 300 characters.
    int read_content(Token& out);

    // The common field element "<name>content</name>", read whole when it lies in the current
    // block and holds nothing that the four operations above treat specially (line breaks, NUL
    // bytes, spaces in tags, the "duv:" prefix, overlong tokens, names that begin with "z", "/" or
    // "!"), nor a "&" in its content. Leaves the reader exactly as read_name, read_tag_rest, read_content and
    // read_name would; the texts point into the block and stay valid until the next read. False, with nothing
    // read, when the element does not qualify.
    bool read_whole_field(std::string_view& name, std::string_view& content, std::string_view& closing);

    bool ended() const { return ended_; }
    // Whether the input ended because the source could not open its next document.
    bool source_failed() const { return source_failed_; }
    // Whether the ">" of the current tag has been read, and whether the "<" of the next one has.
    bool tag_closed() const { return tag_closed_; }
    bool next_tag_open() const { return next_tag_open_; }
    const LineCounter& line() const { return line_; }
    LineCounter& line() { return line_; }
    // What the bytes of the current document say of its encoding.
    EncodingWatch& encoding() { return encoding_; }

  private:
    int get() {
        if (pos_ < end_) return static_cast<unsigned char>(*pos_++);
        return get_from_next_block();
    }
    int get_from_next_block();
    // Gives back the character get() has just returned: it always stands right before pos_.
    void unget() { --pos_; }
    template <char... Stop>
    void copy_plain(Token& out);
    template <char Target>
    bool skip_past();

    static constexpr std::size_t kBlock = 1 << 18;
    static constexpr std::size_t kSlack = 16;  // room after a block for 16-byte scans
    Source& source_;
    DocumentEnd* document_end_;
    std::vector<char> block_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    bool ended_ = false;
    bool source_failed_ = false;
    bool next_tag_open_ = false;  // the "<" of the next tag has been consumed (by read_content)
    bool tag_closed_ = false;     // the ">" of the current tag has been consumed
    LineCounter line_;
    EncodingWatch encoding_;
};

}  // namespace tavon
