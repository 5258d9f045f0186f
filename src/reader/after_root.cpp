#include "reader/after_root.h"

namespace tavon {

void AfterRootWatch::start(bool tag_closed, std::uint64_t line) {
    state_ = tag_closed ? State::Between : State::EndTag;
    line_ = line;
}

// The target name of a processing instruction, one byte at a time.
void AfterRootWatch::target(char c, bool space) {
    if (space || c == '?') {
        // An instruction needs a target; "xml" (in any case) is the reserved one of the declaration,
        // which stands only at the start of a document.
        const bool xml = target_length_ == 3 && target_[0] == 'x' && target_[1] == 'm' && target_[2] == 'l';
        if (target_length_ == 0 || xml) {
            found_at(markup_line_);
        } else {
            state_ = State::Instruction;
            question_ = c == '?';
        }
    } else if (target_length_ < 4) {
        target_[target_length_++] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
}

void AfterRootWatch::scan(const char* p, const char* end) {
    for (; p < end && watching(); ++p) {
        const char c = *p;
        const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        switch (state_) {
            case State::EndTag:
                if (c == '>') state_ = State::Between;
                break;
            case State::Between:
                if (c == '<') {
                    state_ = State::Open;
                    markup_line_ = line_;
                } else if (!space) {
                    found_at(line_);
                }
                break;
            case State::Open:
                if (c == '!') {
                    state_ = State::Bang;
                } else if (c == '?') {
                    state_ = State::Target;
                    target_length_ = 0;
                } else {
                    found_at(markup_line_);  // an element or end tag
                }
                break;
            case State::Bang:  // only a comment may follow; "<!DOCTYPE", "<![CDATA[" may not
                if (c == '-')
                    state_ = State::BangDash;
                else
                    found_at(markup_line_);
                break;
            case State::BangDash:
                if (c == '-') {
                    state_ = State::Comment;
                    dashes_ = 0;
                } else {
                    found_at(markup_line_);
                }
                break;
            case State::Comment:
                if (c == '>' && dashes_ >= 2) state_ = State::Between;
                dashes_ = c == '-' ? dashes_ + 1 : 0;
                break;
            case State::Target: target(c, space); break;
            case State::Instruction:
                if (question_ && c == '>') state_ = State::Between;
                question_ = c == '?';
                break;
            case State::Idle:
            case State::Found: break;
        }
        if (c == '\n') ++line_;
    }
}

}  // namespace tavon
