// What follows the root element's end tag in the same document. XML allows only white space,
// comments and processing instructions there; text, another element or end tag, a second XML
// declaration or a declaration such as <!DOCTYPE make a receiving parser refuse the whole file.
// The watch looks at the raw bytes, whatever the document's structure makes of them, and only
// within the one document: the next file of a list is not what follows this root.
#pragma once

#include <cstdint>

namespace tavon {

class AfterRootWatch {
  public:
    // The root's end tag has been read, the reader now stands on `line`; `tag_closed`: its ">"
    // has been read too.
    void start(bool tag_closed, std::uint64_t line);
    // Whether the watch has started in this document.
    bool started() const { return state_ != State::Idle; }
    // Whether bytes still matter: started and nothing found yet.
    bool watching() const { return state_ != State::Idle && state_ != State::Found; }
    // The next bytes of the document.
    void scan(const char* p, const char* end);

    // At the document's end: whether something other than white space, comments and processing
    // instructions followed the root's end (a comment or instruction left open counts), and the
    // line where it begins.
    bool content_found() const { return state_ == State::Found || (started() && markup_open()); }
    std::uint64_t content_line() const { return state_ == State::Found ? found_line_ : markup_line_; }

    void start_document() { *this = AfterRootWatch(); }

  private:
    enum class State {
        Idle,         // no root end in this document yet
        EndTag,       // the rest of the root's end tag, up to its ">"
        Between,      // white space is allowed, "<" opens markup
        Open,         // after "<"
        Bang,         // after "<!"
        BangDash,     // after "<!-"
        Comment,      // inside "<!--", up to "-->"
        Target,       // the target name of "<?"
        Instruction,  // the rest of a processing instruction, up to "?>"
        Found
    };
    void target(char c, bool space);
    bool markup_open() const { return state_ != State::EndTag && state_ != State::Between; }
    void found_at(std::uint64_t line) {
        state_ = State::Found;
        found_line_ = line;
    }

    State state_ = State::Idle;
    std::uint64_t line_ = 0;
    std::uint64_t markup_line_ = 0;  // the line of the "<" that opened the markup being read
    std::uint64_t found_line_ = 0;
    int dashes_ = 0;                 // "-" met in a row inside a comment
    bool question_ = false;          // the last byte of an instruction was "?"
    char target_[4] = {0, 0, 0, 0};  // the first bytes of an instruction's target, in lower case
    int target_length_ = 0;
};

}  // namespace tavon
