// The tokenizer: walks the input bytes once, forward, and hands out tag names, the rest of a
// tag, contents and skipped comments, counting lines as it goes. It judges nothing.
//
// The bytes are handed to it in pieces of any size, as they arrive (set_input). An operation that
// runs out of them returns kSuspended and keeps what it has read so far; called again once the
// next piece is there, it goes on where it stopped. Only at the end of all input (end_input) does
// an operation return kEnd.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/line_number.h"
#include "reader/after_root.h"
#include "reader/encoding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavon {

// A token of at most 300 characters. Texts end at their first NUL byte, as everywhere.
struct Token {
    static constexpr std::size_t kMax = 300;
    char data[kMax + 2];  // room for the "/" of an empty element's name and its closing form
    std::size_t len = 0;
    bool has_nul = false;  // a NUL byte was stored: the text ends there
    // Where a "&" stands whose would-be reference a dropped line break splits ("&am", a line
    // break, "p;"): the text reads "&amp;" where the document holds none. kNone: no such "&".
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t split_reference_at = kNone;

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
        split_reference_at = kNone;
    }
    void push(char c) {
        data[len++] = c;
        if (c == '\0') has_nul = true;
    }
    // A line break is dropped here: notes the "&" it would join to a reference.
    void line_break_dropped() {
        if (split_reference_at != kNone) return;
        for (std::size_t i = len; i-- > 0;) {
            if (data[i] == ';') return;
            if (data[i] == '&') {
                split_reference_at = i;
                return;
            }
        }
    }
    // Whether the text (up to a NUL) holds a "&" that a line break split from the rest of its reference.
    bool reference_split() const { return split_reference_at != kNone && split_reference_at < text().size(); }
};

class Tokenizer {
  public:
    // Told when a document of the source has been read to its end, before the next one starts.
    class DocumentEnd {
      public:
        virtual ~DocumentEnd() = default;
        virtual void document_ended() = 0;
    };

    static constexpr int kEnd = -1;        // the input has ended
    static constexpr int kSuspended = -2;  // the piece is used up: call again with the next one
    static constexpr int kRead = 0;        // the token was read (for read_tag_rest: empty, or none left)
    static constexpr int kOverlong = 1;    // the token took its 300 characters; the rest is read on
    static constexpr int kTagText = 2;     // read_tag_rest: the tag had text after its name

    explicit Tokenizer(DocumentEnd* document_end = nullptr) : document_end_(document_end) {}
    void set_document_end(DocumentEnd* document_end) { document_end_ = document_end; }

    // The next piece of the input, [begin, end). The 16 bytes after `end` must be readable (the
    // scans read whole 16-byte groups); they are not read as input.
    void set_input(const char* begin, const char* end);
    // The current document's bytes have all been given; another document follows as a
    // continuation of the same text (the files of a list).
    void end_document();
    // All input has been given: the operations read to its end.
    void end_input() {
        input_ended_ = true;
        suspended_ = false;
    }
    // Whether an operation ran out of the piece and waits for the next one.
    bool suspended() const { return suspended_; }
    // Whether no operation is under way (none waits to go on where it stopped).
    bool idle() const { return phase_ == Phase::Idle; }

    // The four reading operations. Each returns kEnd when the input has ended, kSuspended when it
    // waits for more.
    // The next tag's name ("/name" for a closing tag); kRead.
    int read_name(Token& out);
    // The rest of the current tag: kTagText when it is not empty, kRead when empty or the tag was
    // already closed, kOverlong when it ran past 300 characters. `keep_spaces` false drops spaces.
    int read_tag_rest(Token& out, bool keep_spaces);
    // The rest of a comment whose "!--" has been read, up to "-->"; kRead.
    int skip_comment_rest();
    // The content up to the next "<": kRead, or kOverlong when it ran past 300 characters.
    int read_content(Token& out);

    // The common field element "<name>content</name>", read whole when it lies in the current
    // block and holds nothing that the four operations above treat specially (line breaks, NUL
    // bytes, spaces in tags, the "duv:" prefix, overlong tokens, names that begin with "z", "/" or
    // "!"), nor a "&" or any control byte (tab too) in its content. Leaves the reader exactly as
    // read_name, read_tag_rest, read_content and read_name would; the texts point into the block and
    // stay valid until the next read. False, with nothing read, when the element does not qualify.
    // Only while no operation is under way (idle()).
    bool read_whole_field(std::string_view& name, std::string_view& content, std::string_view& closing);

    bool ended() const { return ended_; }
    // Whether the ">" of the current tag has been read, and whether the "<" of the next one has.
    bool tag_closed() const { return tag_closed_; }
    bool next_tag_open() const { return next_tag_open_; }
    const LineCounter& line() const { return line_; }
    // What the bytes of the current document say of its encoding.
    EncodingWatch& encoding() { return encoding_; }
    // The root's end tag has just been read: from here on, the bytes of the current document are
    // watched for anything XML allows no more (once per document; a second call does nothing).
    void watch_after_root();
    const AfterRootWatch& after_root() const { return after_root_; }

  private:
    bool read_whole_field_general(std::string_view& name, std::string_view& content,
                                  std::string_view& closing);
    int get() {
        if (pos_ < end_) return static_cast<unsigned char>(*pos_++);
        return get_from_next_block();
    }
    int get_from_next_block();
    template <char... Stop>
    void copy_plain(Token& out);
    // Skips to the next Target ("<" or ">"), counting line feeds: kFound, or kEnd / kSuspended.
    static constexpr int kFound = 1;
    template <char Target>
    int skip_past();

    // Where an operation stands that ran out of input, so that the next call goes on there.
    enum class Phase : std::uint8_t {
        Idle,            // no operation under way
        SeekingTag,      // read_name: skipping to "<"
        InName,          // read_name: the name's bytes
        InTagRest,       // read_tag_rest
        InComment,       // skip_comment_rest
        SeekingContent,  // read_content: skipping to ">"
        InContent,       // read_content: the content's bytes
    };

    DocumentEnd* document_end_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    Phase phase_ = Phase::Idle;
    char comment_window_[3] = {0, 0, 0};  // the last three bytes of a comment being skipped
    bool suspended_ = false;
    bool input_ended_ = false;
    bool ended_ = false;
    bool next_tag_open_ = false;  // the "<" of the next tag has been consumed (by read_content)
    bool tag_closed_ = false;     // the ">" of the current tag has been consumed
    LineCounter line_;
    EncodingWatch encoding_;
    AfterRootWatch after_root_;
};

// "AA" and four digits, the form of most field names.
inline bool is_field_code(const char* name) {
    if (name[0] != 'A' || name[1] != 'A') return false;
    std::uint32_t c;
    std::memcpy(&c, name + 2, 4);
    // Every byte 0x30-0x3F, and none of them above '9'.
    return (c & 0xF0F0F0F0u) == 0x30303030u && ((c + 0x06060606u) & 0xF0F0F0F0u) == 0x30303030u;
}

// A field element whose "<" is at `tag`, read in one pass when it is the common case: a field code
// ("AA" and four digits), a content of at most 15 bytes that holds no control byte and no "&", and
// "</", the same code and ">" right after it. Needs 32 bytes of the block after `tag`. The byte after
// the element, or null, with nothing read, for anything else.
inline const char* match_code_field(const char* tag, std::string_view& name, std::string_view& content,
                                    std::string_view& closing) {
#if defined(__SSE2__)
    if (*tag != '<' || !is_field_code(tag + 1) || tag[7] != '>') return nullptr;
    const char* content_start = tag + 8;
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(content_start));
    // The bytes 0x00-0x1F (line ends and NUL among them) are those whose minimum with 0x1F is themselves.
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x1F)), v);
    const __m128i special = _mm_or_si128(
        control, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('&'))));
    const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(special));
    if (bits == 0) return nullptr;
    const char* content_end = content_start + __builtin_ctz(bits);
    if (*content_end != '<' || content_end[1] != '/') return nullptr;
    // The code and ">" of the opening tag against those of the closing tag, seven bytes at once.
    std::uint64_t open_code, close_code;
    std::memcpy(&open_code, tag + 1, 8);
    std::memcpy(&close_code, content_end + 2, 8);
    if (((open_code ^ close_code) & 0x00FFFFFFFFFFFFFFull) != 0) return nullptr;
    name = std::string_view(tag + 1, 6);
    content = std::string_view(content_start, static_cast<std::size_t>(content_end - content_start));
    closing = std::string_view(content_end + 1, 7);
    return content_end + 9;
#else
    (void)tag, (void)name, (void)content, (void)closing;
    return nullptr;
#endif
}

inline bool Tokenizer::read_whole_field(std::string_view& name, std::string_view& content,
                                        std::string_view& closing) {
    // Inline for the usual line end between two fields (or none); the general way for the rest.
    if (!next_tag_open_ && end_ - pos_ > 40) {
        const bool line_end = pos_[0] == '\r' && pos_[1] == '\n';
        if (const char* after = match_code_field(line_end ? pos_ + 2 : pos_, name, content, closing)) {
            if (line_end) line_.next();
            pos_ = after;
            tag_closed_ = true;
            return true;
        }
    }
    return read_whole_field_general(name, content, closing);
}

}  // namespace tavon
