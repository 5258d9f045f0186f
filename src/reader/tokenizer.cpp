#include "reader/tokenizer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavon {

void Tokenizer::set_input(const char* begin, const char* end) {
    encoding_.scan(begin, static_cast<std::size_t>(end - begin), line_.number());
    if (after_root_.watching()) after_root_.scan(begin, end);
    pos_ = begin;
    end_ = end;
    suspended_ = false;
}

void Tokenizer::end_document() {
    pos_ = end_ = nullptr;
    // The end is told; the watches start afresh for the next document.
    if (document_end_) document_end_->document_ended();
    encoding_.start_document();
    after_root_.start_document();
}

int Tokenizer::get_from_next_block() {
    pos_ = end_ = nullptr;  // the piece may go away while the operation waits
    if (!input_ended_) {
        suspended_ = true;
        return kSuspended;
    }
    if (!ended_) {
        ended_ = true;
        end_document();
    }
    phase_ = Phase::Idle;  // nothing is under way once the input has ended
    return kEnd;
}

namespace {

// The first byte in [p, limit) that is one of Z..., or limit. Reads whole 16-byte groups, up to
// 15 bytes past limit: the block keeps that much room after its end.
template <char... Z>
const char* find_first(const char* p, const char* limit) {
#if defined(__SSE2__)
    for (; p < limit; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(v, _mm_set1_epi8(Z)))), ...);
        if (const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hits))) {
            const char* q = p + __builtin_ctz(bits);
            return q < limit ? q : limit;
        }
    }
    return limit;
#else
    while (p < limit && ((*p != Z) && ...)) ++p;
    return p;
#endif
}

// The first byte in [p, limit) that ends a content read whole, "<", or keeps it from being read
// whole, "&" or a control byte; or limit. Reads 16-byte groups as find_first does.
const char* find_content_stop(const char* p, const char* limit) {
#if defined(__SSE2__)
    for (; p < limit; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x1F)), v);
        const __m128i hits = _mm_or_si128(control, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')),
                                                                _mm_cmpeq_epi8(v, _mm_set1_epi8('&'))));
        if (const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hits))) {
            const char* q = p + __builtin_ctz(bits);
            return q < limit ? q : limit;
        }
    }
    return limit;
#else
    while (p < limit && static_cast<unsigned char>(*p) >= 0x20 && *p != '<' && *p != '&') ++p;
    return p;
#endif
}

// Whether the n bytes at a and b are equal; may read 16-byte groups past them within the block.
bool same_bytes(const char* a, const char* b, std::size_t n) {
#if defined(__SSE2__)
    for (; n >= 16; a += 16, b += 16, n -= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF) return false;
    }
    if (n == 0) return true;
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    const unsigned mask = (1u << n) - 1;
    return (static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y))) & mask) == mask;
#else
    return std::memcmp(a, b, n) == 0;
#endif
}

}  // namespace

// Appends the ordinary bytes that follow in the current block to the token, up to its
// capacity; the byte that stops it is left for the caller's character-by-character rules.
// A NUL byte stops it too, so that the token notes it.
template <char... Z>
void Tokenizer::copy_plain(Token& buf) {
    // Nothing read yet, or the block used up: no plain bytes (and no pointer memcpy may not get).
    if (pos_ == end_) return;
    const char* p = pos_;
    const std::size_t room = Token::kMax - buf.len;
    const char* limit = end_ - p > static_cast<std::ptrdiff_t>(room) ? p + room : end_;
    const char* stop = find_first<Z..., '\0'>(p, limit);
    std::memcpy(buf.data + buf.len, p, static_cast<std::size_t>(stop - p));
    buf.len += static_cast<std::size_t>(stop - p);
    pos_ = stop;
}

template <char Z>
int Tokenizer::skip_past() {
    for (;;) {
        const char* q = find_first<Z, '\n'>(pos_, end_);
        if (q < end_) {
            pos_ = q + 1;
            if (*q == Z) return kFound;
            line_.next();
            continue;
        }
        pos_ = end_;
        int c = get();
        if (c < 0) return c;
        if (c == Z) return kFound;
        if (c == '\n') line_.next();
    }
}

void Tokenizer::watch_after_root() {
    if (after_root_.started()) return;
    after_root_.start(tag_closed_, line_.number());
    if (pos_ < end_) after_root_.scan(pos_, end_);
}

int Tokenizer::read_name(Token& buf) {
    if (phase_ == Phase::Idle && !next_tag_open_) phase_ = Phase::SeekingTag;
    if (phase_ == Phase::SeekingTag) {
        if (const int r = skip_past<'<'>(); r != kFound) return r;
        phase_ = Phase::Idle;
    }
    if (phase_ == Phase::Idle) {
        next_tag_open_ = false;
        tag_closed_ = false;
        buf.clear();
        phase_ = Phase::InName;
    }
    for (;;) {
        copy_plain<' ', '\n', '\r', '>'>(buf);
        int c = get();
        if (c < 0) return c;
        if (c == ' ') break;
        if (c == '\n') {
            line_.next();
            break;
        }
        if (c == '>') {
            tag_closed_ = true;
            break;
        }
        if (c == '\r') continue;
        if (buf.len == Token::kMax) {
            // Overlong: the name keeps its first 300 characters; the rest is left to be read on.
            --pos_;  // the byte just read is read again
            break;
        }
        buf.push(static_cast<char>(c));
    }
    phase_ = Phase::Idle;
    // Namespace prefix, only at the start of a name or right after its first character.
    auto prefix = [&](std::size_t at) {
        return buf.len >= at + 4 && buf.data[at] == 'd' && buf.data[at + 1] == 'u' &&
               buf.data[at + 2] == 'v' && buf.data[at + 3] == ':';
    };
    if (prefix(0)) {
        std::memmove(buf.data, buf.data + 4, buf.len - 4);
        buf.len -= 4;
    } else if (prefix(1)) {
        buf.data[0] = '/';
        std::memmove(buf.data + 1, buf.data + 5, buf.len - 5);
        buf.len -= 4;
    }
    return kRead;
}

int Tokenizer::read_tag_rest(Token& buf, bool keep_spaces) {
    if (phase_ == Phase::Idle) {
        if (tag_closed_) return kRead;
        next_tag_open_ = false;
        buf.clear();
        phase_ = Phase::InTagRest;
    }
    for (;;) {
        copy_plain<' ', '\n', '\r', '>'>(buf);
        int c = get();
        if (c < 0) return c;
        switch (c) {
            case '\n': line_.next(); continue;
            case '\r': continue;
            case '>':
                tag_closed_ = true;
                phase_ = Phase::Idle;
                return buf.len > 0 ? kTagText : kRead;
            case ' ':
                if (!keep_spaces) continue;
                break;
            default: break;
        }
        if (buf.len == Token::kMax) {
            --pos_;  // the token keeps its first 300 characters; reading goes on from its next byte
            phase_ = Phase::Idle;
            return kOverlong;
        }
        buf.push(static_cast<char>(c));
    }
}

int Tokenizer::skip_comment_rest() {
    if (phase_ == Phase::Idle) {
        next_tag_open_ = false;
        comment_window_[0] = comment_window_[1] = comment_window_[2] = 0;
        phase_ = Phase::InComment;
    }
    char* window = comment_window_;
    for (;;) {
        int c = get();
        if (c < 0) return c;
        if (c == '\n') {
            line_.next();
            continue;
        }
        if (c == '\r') continue;
        window[0] = window[1];
        window[1] = window[2];
        window[2] = static_cast<char>(c);
        if (window[0] == '-' && window[1] == '-' && window[2] == '>') {
            phase_ = Phase::Idle;
            return kRead;
        }
    }
}

int Tokenizer::read_content(Token& buf) {
    if (phase_ == Phase::Idle && !tag_closed_) phase_ = Phase::SeekingContent;
    if (phase_ == Phase::SeekingContent) {
        if (const int r = skip_past<'>'>(); r != kFound) return r;
        phase_ = Phase::Idle;
    }
    if (phase_ == Phase::Idle) {
        next_tag_open_ = false;
        tag_closed_ = false;
        buf.clear();
        phase_ = Phase::InContent;
    }
    for (;;) {
        copy_plain<'<', '\n', '\r'>(buf);
        int c = get();
        if (c < 0) return c;
        if (c == '\n') {
            line_.next();
            buf.line_break_dropped();
            continue;
        }
        if (c == '\r') {
            buf.line_break_dropped();
            continue;
        }
        if (c == '<') {
            next_tag_open_ = true;
            phase_ = Phase::Idle;
            return kRead;
        }
        if (buf.len == Token::kMax) {
            --pos_;  // the token keeps its first 300 characters; reading goes on from its next byte
            phase_ = Phase::Idle;
            return kOverlong;
        }
        buf.push(static_cast<char>(c));
    }
}

bool Tokenizer::read_whole_field_general(std::string_view& name, std::string_view& content,
                                         std::string_view& closing) {
    if (next_tag_open_) return false;
    const char* p = pos_;
    // Between two elements there is mostly just a line end: look at a few bytes before scanning.
    const char* tag = p;
    while (tag < end_ && tag < p + 4 && *tag != '<') ++tag;
    if (tag < end_ && *tag != '<') tag = find_first<'<'>(tag, end_);
    if (tag >= end_) return false;
    // The common field element in one pass, wherever it starts (an indented document, say).
    if (const char* after = end_ - tag > 32 ? match_code_field(tag, name, content, closing) : nullptr) {
        for (const char* q = p; q < tag; ++q)
            if (*q == '\n') line_.next();
        pos_ = after;
        tag_closed_ = true;
        return true;
    }
    // The name: ordinary bytes up to ">". A field code, "AA" and four digits, needs no scan.
    const char* name_start = tag + 1;
    const char* name_end = end_ - name_start > 7 && is_field_code(name_start) && name_start[6] == '>'
                               ? name_start + 6
                               : find_first<'>', ' ', '\n', '\r', '\0'>(name_start, end_);
    // The closing name, "/" and the name, must fit a token too.
    if (name_end >= end_ || *name_end != '>' || name_end == name_start ||
        static_cast<std::size_t>(name_end - name_start) >= Token::kMax)
        return false;
    if (*name_start == 'z' || *name_start == '/' || *name_start == '!' || name_end[-1] == '/') return false;
    const std::string_view n(name_start, static_cast<std::size_t>(name_end - name_start));
    auto duv = [&](std::size_t at) {
        return n.size() >= at + 4 && n[at] == 'd' && n[at + 1] == 'u' && n[at + 2] == 'v' && n[at + 3] == ':';
    };
    if (duv(0) || duv(1)) return false;
    // The content: up to the next "<". Most contents are a few characters: look at them one by
    // one before scanning.
    const char* content_start = name_end + 1;
    const char* content_end = content_start;
    // A "&" and control bytes are left to the operations above, so that the document's structure
    // can look at them.
    while (content_end < end_ && content_end < content_start + 8 &&
           static_cast<unsigned char>(*content_end) >= 0x20 && *content_end != '<' && *content_end != '&')
        ++content_end;
    if (content_end < end_ && content_end == content_start + 8)
        content_end = find_content_stop(content_end, end_);
    if (content_end >= end_ || *content_end != '<' ||
        static_cast<std::size_t>(content_end - content_start) > Token::kMax)
        return false;
    // The closing tag: exactly "/" and the name, then ">".
    const char* close = content_end + 1;
    const std::size_t close_len = n.size() + 1;
    if (static_cast<std::size_t>(end_ - close) <= close_len || close[0] != '/' || close[close_len] != '>')
        return false;
    if (!same_bytes(close + 1, name_start, n.size())) return false;

    for (const char* q = p; q < tag; ++q)
        if (*q == '\n') line_.next();
    name = n;
    content = std::string_view(content_start, static_cast<std::size_t>(content_end - content_start));
    closing = std::string_view(close, close_len);
    pos_ = close + close_len + 1;
    next_tag_open_ = false;
    tag_closed_ = true;
    return true;
}

}  // namespace tavon
