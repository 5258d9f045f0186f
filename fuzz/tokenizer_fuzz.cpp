// The tokenizer on its own. The input is cut into one or more documents, handed over in chunks of
// a size the input chooses (so that read blocks end anywhere, which a whole run over a short
// document never makes happen), and read with a sequence of the four reading operations and the
// whole-field read that the input chooses; then it is read to its end as the document reader
// would. A plain reading of the joined text, one character at a time, says what each operation
// must return. Besides, after every operation: no token holds more than 300 bytes, the line number
// is 1 + the line feeds consumed so far, a whole-field read leaves the reader exactly as the four
// operations would, each document's end is told once and only after all its bytes were handed
// over, and once the input has ended every read says so again.
//
// Layout of an input: its last byte is the number of control bytes before it; the bytes before
// those are the text. Control: byte 0 holds the number of cuts (bits 0-1), whether the source
// fails to open a next document at the end instead of ending (bit 2) and the chunk size (bits 3-7,
// 0 for as much as the reader asks); then two bytes per cut, its place in the text; then one byte
// per operation. A document as it stands is thus an input whose last few bytes steer the reading.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/failure.h"
#include "reader/tokenizer.h"

namespace {

using tavon::Token;
using tavon::Tokenizer;
using tavon::fuzz::fail;

constexpr std::size_t kMax = Token::kMax;

// The documents handed to the tokenizer in chunks of at most `chunk` bytes (0: the whole rest of a
// document), each when an operation waits for more.
class ChunkedInput : public Tokenizer::DocumentEnd {
  public:
    ChunkedInput(std::vector<std::string_view> documents, std::size_t chunk)
        : documents_(std::move(documents)), chunk_(chunk) {}

    // The next chunk, the next document, or the end of the input.
    void give_more(Tokenizer& tokenizer) {
        const std::string_view doc = documents_[current_];
        if (at_ < doc.size()) {
            std::size_t n = doc.size() - at_;
            if (chunk_ > 0) n = std::min(n, chunk_);
            // A copy of its own, with the 16 readable bytes the scans need after it.
            buffer_.assign(doc.data() + at_, doc.data() + at_ + n);
            buffer_.resize(n + 16, '\x7f');
            at_ += n;
            tokenizer.set_input(buffer_.data(), buffer_.data() + n);
            return;
        }
        if (current_ + 1 >= documents_.size()) {
            tokenizer.end_input();
            return;
        }
        tokenizer.end_document();
        ++current_;
        at_ = 0;
    }
    void document_ended() override {
        if (at_ != documents_[current_].size()) fail("document end told before all its bytes were read");
        if (ends_ != current_) fail("document end told twice");
        ++ends_;
    }

    std::size_t ends() const { return ends_; }

  private:
    std::vector<std::string_view> documents_;
    std::size_t chunk_;
    std::vector<char> buffer_;
    std::size_t current_ = 0;
    std::size_t at_ = 0;
    std::size_t ends_ = 0;
};

// The reading operations done one character at a time over the joined text, as their contracts
// in reader/tokenizer.h describe them. Tokens are kept whole; their text ends at the first NUL.
class PlainReading {
  public:
    PlainReading(std::string_view text, std::vector<std::size_t> document_ends)
        : text_(text), document_ends_(std::move(document_ends)) {}

    int read_name(std::string& out) {
        if (!next_tag_open && !skip_past('<')) return -1;
        next_tag_open = false;
        tag_closed = false;
        out.clear();
        for (;;) {
            const int c = get();
            if (c < 0) return -1;
            if (c == ' ' || c == '\n') break;
            if (c == '>') {
                tag_closed = true;
                break;
            }
            if (c == '\r') continue;
            if (out.size() == kMax) {  // the rest of an overlong name is read on from here
                --pos;
                break;
            }
            out.push_back(static_cast<char>(c));
        }
        // The namespace prefix at the start, or after the first character, which becomes "/".
        if (out.compare(0, 4, "duv:") == 0) {
            out.erase(0, 4);
        } else if (out.size() >= 5 && out.compare(1, 4, "duv:") == 0) {
            out.erase(1, 4);
            out[0] = '/';
        }
        return 0;
    }

    int read_tag_rest(std::string& out, bool keep_spaces) {
        if (tag_closed) return 0;
        next_tag_open = false;
        out.clear();
        for (;;) {
            const int c = get();
            if (c < 0) return -1;
            if (c == '\n' || c == '\r' || (c == ' ' && !keep_spaces)) continue;
            if (c == '>') {
                tag_closed = true;
                return out.empty() ? 0 : 2;
            }
            if (out.size() == kMax) {
                --pos;
                return 1;
            }
            out.push_back(static_cast<char>(c));
        }
    }

    int skip_comment_rest() {
        next_tag_open = false;
        char window[3] = {0, 0, 0};
        for (;;) {
            const int c = get();
            if (c < 0) return -1;
            if (c == '\n' || c == '\r') continue;
            window[0] = window[1];
            window[1] = window[2];
            window[2] = static_cast<char>(c);
            if (std::memcmp(window, "-->", 3) == 0) return 0;
        }
    }

    int read_content(std::string& out) {
        if (!tag_closed && !skip_past('>')) return -1;
        next_tag_open = false;
        tag_closed = false;
        out.clear();
        for (;;) {
            const int c = get();
            if (c < 0) return -1;
            if (c == '\n' || c == '\r') continue;
            if (c == '<') {
                next_tag_open = true;
                return 0;
            }
            if (out.size() == kMax) {
                --pos;
                return 1;
            }
            out.push_back(static_cast<char>(c));
        }
    }

    std::size_t pos = 0;  // the bytes consumed
    bool ended = false;
    bool tag_closed = false;
    bool next_tag_open = false;
    std::size_t ends = 0;  // documents read past their end

  private:
    int get() {
        // Needing a byte beyond a document's last one ends that document (empty ones at once).
        while (ends < document_ends_.size() && pos == document_ends_[ends]) ++ends;
        if (pos < text_.size()) return static_cast<unsigned char>(text_[pos++]);
        ended = true;
        return -1;
    }
    bool skip_past(char target) {
        for (;;) {
            const int c = get();
            if (c < 0) return false;
            if (c == static_cast<unsigned char>(target)) return true;
        }
    }

    std::string_view text_;
    std::vector<std::size_t> document_ends_;
};

std::string_view text_of(const std::string& token) {
    const std::size_t nul = token.find('\0');
    return std::string_view(token).substr(0, nul);
}

enum class Op { Name, Rest, RestKeepingSpaces, Content, Comment, WholeField };
constexpr const char* kOpNames[] = {"read_name",    "read_tag_rest",     "read_tag_rest keeping spaces",
                                    "read_content", "skip_comment_rest", "read_whole_field"};

class Reading {
  public:
    Reading(std::string_view text, std::vector<std::string_view> documents, std::vector<std::size_t> ends,
            std::size_t chunk)
        : text_(text),
          source_(std::move(documents), chunk),
          tokenizer_(&source_),
          plain_(text, std::move(ends)) {
        line_feeds_before_.resize(text.size() + 1);
        for (std::size_t i = 0; i < text.size(); ++i)
            line_feeds_before_[i + 1] = line_feeds_before_[i] + (text[i] == '\n');
    }

    // One operation on the tokenizer and on the plain reading; their results must agree. Returns
    // the tokenizer's result (for the whole-field read 1 when it took the element, else 0).
    int step(Op op) {
        Token t;
        std::string expected;
        int got = 0, want = 0;
        const bool was_ended = tokenizer_.ended();
        const bool was_closed = tokenizer_.tag_closed();
        const std::uint64_t line_before = tokenizer_.line().number();
        // An operation that waits for more input is called again once it is given.
        auto fed = [&](auto operation) {
            for (;;) {
                const int r = operation();
                if (r != Tokenizer::kSuspended) return r;
                source_.give_more(tokenizer_);
            }
        };
        switch (op) {
            case Op::Name:
                got = fed([&] { return tokenizer_.read_name(t); });
                want = plain_.read_name(expected);
                break;
            case Op::Rest:
            case Op::RestKeepingSpaces:
                got = fed([&] { return tokenizer_.read_tag_rest(t, op == Op::RestKeepingSpaces); });
                want = plain_.read_tag_rest(expected, op == Op::RestKeepingSpaces);
                break;
            case Op::Content:
                got = fed([&] { return tokenizer_.read_content(t); });
                want = plain_.read_content(expected);
                break;
            case Op::Comment:
                got = fed([&] { return tokenizer_.skip_comment_rest(); });
                want = plain_.skip_comment_rest();
                break;
            case Op::WholeField: got = want = whole_field(); break;
        }
        if (t.len > kMax) fail("token of more than 300 bytes", std::string_view(t.data, t.len));
        if (got != want)
            fail(std::string(kOpNames[static_cast<int>(op)]) + " returned " + std::to_string(got) +
                     ", the plain reading " + std::to_string(want),
                 around());
        if (t.text() != text_of(expected))
            fail(std::string(kOpNames[static_cast<int>(op)]) + " read a different token",
                 std::string(t.text()) + " | " + std::string(text_of(expected)));
        compare_state();
        if (op == Op::Name && got == 0) last_name_ = t.text();

        // Once the input has ended, every read says so again and consumes nothing; only the rest of
        // a tag that was closed before is "nothing to read".
        if (was_ended) {
            const bool may_be_empty = (op == Op::Rest || op == Op::RestKeepingSpaces) && was_closed;
            const bool says_ended =
                op == Op::WholeField ? got == 0 : (got == -1 || (may_be_empty && got == 0));
            if (!says_ended) fail("a read after the end did not say so", kOpNames[static_cast<int>(op)]);
            if (tokenizer_.line().number() != line_before) fail("a read after the end moved the line");
        }
        if (got == -1 && !tokenizer_.ended()) fail("-1 returned before the input ended");
        return got;
    }

    // Reads on to the end as the document reader does: whole field elements where it can, comments
    // skipped, a tag's rest and content after a start tag.
    void read_to_end() {
        for (std::size_t steps = 0; !tokenizer_.ended() && steps < 4 * text_.size() + 64; ++steps) {
            if (step(Op::WholeField) == 1) continue;
            if (step(Op::Name) < 0) break;
            if (last_name_ == "!--") {
                step(Op::Comment);
            } else if (!last_name_.empty() && last_name_[0] != '/' && last_name_[0] != '?' &&
                       last_name_[0] != '!') {
                step(Op::Rest);
                step(Op::Content);
            }
        }
        if (!tokenizer_.ended()) fail("reading did not come to the end of the input", around());
        for (Op op : {Op::Name, Op::Rest, Op::RestKeepingSpaces, Op::Content, Op::Comment, Op::WholeField})
            step(op);
    }

  private:
    // The whole-field read against the four operations of the plain reading: name, rest of the tag,
    // content, closing name.
    int whole_field() {
        std::string_view name, content, closing;
        if (!tokenizer_.read_whole_field(name, content, closing)) return 0;
        if (name.size() > kMax || content.size() > kMax || closing.size() > kMax)
            fail("whole field: token of more than 300 bytes");
        std::string n, r, c, k;
        if (plain_.read_name(n) != 0 || text_of(n) != name)
            fail("whole field: name differs from read_name", std::string(name) + " | " + n);
        if (plain_.read_tag_rest(r, false) != 0) fail("whole field: the tag has a rest", std::string(name));
        if (plain_.read_content(c) != 0 || text_of(c) != content)
            fail("whole field: content differs from read_content", std::string(content) + " | " + c);
        if (plain_.read_name(k) != 0 || text_of(k) != closing)
            fail("whole field: closing name differs from read_name", std::string(closing) + " | " + k);
        last_name_ = closing;
        return 1;
    }

    void compare_state() {
        if (tokenizer_.ended() != plain_.ended) fail("end of input seen differently", around());
        if (tokenizer_.tag_closed() != plain_.tag_closed) fail("tag closed differs", around());
        if (tokenizer_.next_tag_open() != plain_.next_tag_open) fail("next tag open differs", around());
        const std::uint64_t line = 1 + line_feeds_before_[plain_.pos];
        if (tokenizer_.line().number() != line)
            fail("line " + std::to_string(tokenizer_.line().number()) + ", but " + std::to_string(line - 1) +
                     " line feeds consumed",
                 around());
        if (source_.ends() != plain_.ends)
            fail(std::to_string(source_.ends()) + " document ends told, " + std::to_string(plain_.ends) +
                 " documents read past");
    }

    std::string around() const {
        const std::size_t from = plain_.pos > 40 ? plain_.pos - 40 : 0;
        return "at byte " + std::to_string(plain_.pos) + ": " + std::string(text_.substr(from, 80));
    }

    std::string_view text_;
    ChunkedInput source_;
    Tokenizer tokenizer_;
    PlainReading plain_;
    std::vector<std::uint32_t> line_feeds_before_;
    std::string last_name_;  // the last name read, for read_to_end
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t control_size = std::min<std::size_t>(data[size - 1], size - 1);
    const std::uint8_t* control = data + size - 1 - control_size;
    const std::string_view text(reinterpret_cast<const char*>(data), size - 1 - control_size);
    std::size_t c = 0;
    auto next_control = [&]() -> int { return c < control_size ? control[c++] : -1; };

    const int setup = std::max(next_control(), 0);
    std::vector<std::size_t> cuts;
    for (int i = 0; i < (setup & 3); ++i) {
        const int high = std::max(next_control(), 0), low = std::max(next_control(), 0);
        cuts.push_back(static_cast<std::size_t>(high << 8 | low) % (text.size() + 1));
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(text.size());
    std::vector<std::string_view> documents;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        documents.push_back(text.substr(from, cut - from));
        from = cut;
    }

    Reading reading(text, documents, cuts, static_cast<std::size_t>(setup >> 3));
    for (int b; (b = next_control()) >= 0;) {
        static constexpr Op kOps[8] = {Op::Name,    Op::Rest,       Op::RestKeepingSpaces, Op::Content,
                                       Op::Comment, Op::WholeField, Op::WholeField,        Op::Name};
        const Op op = kOps[b & 7];
        reading.step(op);
    }
    reading.read_to_end();
    return 0;
}
