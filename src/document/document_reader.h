// The document's structure: a small state machine over the tokens that knows which element may
// come where. It reports the findings about the structure itself, writes the normalised copy, and
// hands every record start and end and every field to a handler (the field checks and rules).
//
// The handler provides:
//   void root_started();                    the root element has begun (the submitter block follows)
//   void root_ended();                      the root element's end
//   void employer_started();
//   void employee_started(bool first);      first: the first employee of its employer
//   void employee_ended();
//   void employer_ended(bool had_employees);
//   template <Record record> void field(std::string_view name, std::string_view content, bool empty_element);
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "base/line_number.h"
#include "base/reporter.h"
#include "base/text.h"
#include "reader/tokenizer.h"
#include "tavon/check.h"

#ifndef TAVON_NS_HOST
#define TAVON_NS_HOST "duv.example.org"
#endif

namespace tavon {

enum class Record { Submitter, Employer, Employee };

namespace document {
inline constexpr std::string_view kNamespace = "http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/";
inline constexpr std::string_view kVersion = "verze=\"1.6\"";
inline constexpr std::string_view kXmlns = "xmlns=\"http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/\"";
inline constexpr std::string_view kXmlnsDuv = "xmlns:duv=\"http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/\"";
inline constexpr std::string_view kRootExpected =
    "verze=\"1.6\" xmlns=\"http://" TAVON_NS_HOST "/schemas/2004/DUV/1.6/\"";
}  // namespace document

// Whether `content` holds a "&" that begins no entity or character reference of XML.
bool has_bare_ampersand(std::string_view content);

// Whether `content` holds a control character that XML allows in no text: any byte 0x00-0x1F but
// tab, line feed and carriage return.
bool has_forbidden_control_character(std::string_view content);

template <typename Handler>
class DocumentReader : private Tokenizer::DocumentEnd {
  public:
    DocumentReader(Tokenizer& tokenizer, Handler& handler, Reporter& reporter, CopySink* copy)
        : tokenizer_(tokenizer), handler_(handler), reporter_(reporter), copy_(copy) {
        tokenizer_.set_document_end(this);
    }
    ~DocumentReader() override { tokenizer_.set_document_end(nullptr); }

    // Reads on as far as the input given to the tokenizer goes: until an operation waits for the
    // next piece, or the input has ended.
    void resume() {
        while (state_ != State::Ended && !tokenizer_.suspended()) step();
    }
    // After the end of the input: the findings that only the end can show.
    void finish() {
        tokenizer_.end_input();
        resume();
        if (!root_end_seen_) reporter_.report_here(handler_.context(), Code::ES306, kBlank, kBlank, kBlank);
        if (employers_missing_)
            reporter_.report_here(handler_.context(), Code::ES308, kBlank, kBlank, kBlank);
    }

  private:
    enum class State {
        BeforeRoot,
        RootStart,
        Submitter,
        AfterRoot,
        RootEnd,
        EmployerStart,
        Employer,
        EmployerEnd,
        EmployeeStart,
        Employee,
        EmployeeEnd,
        Ended
    };

    void step() {
        switch (state_) {
            case State::BeforeRoot: before_root(); break;
            case State::RootStart: root_start(); break;
            case State::Submitter: fields<Record::Submitter>(); break;
            case State::AfterRoot: after_root(); break;
            case State::RootEnd: report_root_end(); break;
            case State::EmployerStart: employer_start(); break;
            case State::Employer: fields<Record::Employer>(); break;
            case State::EmployerEnd:
                handler_.employer_ended(had_employees_);
                state_ = State::Submitter;
                break;
            case State::EmployeeStart: employee_start(); break;
            case State::Employee: fields<Record::Employee>(); break;
            case State::EmployeeEnd:
                handler_.employee_ended();
                state_ = State::Employer;
                break;
            case State::Ended: break;
        }
    }

    // An operation came back without its token: the input has ended, or it waits for the next
    // piece (the state and the step within it stay, so that the next step goes on there).
    void stopped(int result) {
        if (result == Tokenizer::kEnd) state_ = State::Ended;
    }

    void echo(std::string_view a) {
        if (!copy_) return;
        copy_->write("<");
        copy_->write(a);
        copy_->write(">\n");
    }
    void echo_field(std::string_view name, std::string_view content, std::string_view closing) {
        if (!copy_) return;
        copy_->write("<");
        copy_->write(name);
        copy_->write(">");
        copy_->write(content);
        copy_->write("<");
        copy_->write(closing);
        copy_->write(">\n");
    }

    // Before the root element: the prolog (echoed), declarations and comments, other names skipped.
    void before_root() {
        for (;;) {
            if (!in_prolog_) {
                if (const int r = tokenizer_.read_name(name_); r < 0) return stopped(r);
                const std::string_view name = name_.text();
                if (!name.empty() && name[0] == '!') continue;  // a declaration or comment: skipped
                if (name.substr(0, 3) == "DUV") {
                    if (copy_) {
                        copy_->write("<DUV verze=\"1.6\" xmlns=\"");
                        copy_->write(document::kNamespace);
                        copy_->write("\"> \n");
                    }
                    state_ = State::RootStart;
                    return;
                }
                if (name.empty() || name[0] != '?') continue;
                prolog_.assign(name);
                in_prolog_ = true;
            }
            if (const int r = tokenizer_.read_tag_rest(name_, true); r < 0) return stopped(r);
            in_prolog_ = false;
            if (copy_) {
                copy_->write("<");
                copy_->write(prolog_);
                copy_->write(" ");
                copy_->write(name_.text());
                copy_->write(">\n");
            }
        }
    }

    void root_start() {
        if (const int r = tokenizer_.read_tag_rest(name_, true); r < 0) return stopped(r);
        const std::string_view attributes = name_.text();
        auto has = [&](std::string_view what) { return attributes.find(what) != std::string_view::npos; };
        if (!has(document::kVersion) || (!has(document::kXmlns) && !has(document::kXmlnsDuv)))
            reporter_.report_here(handler_.context(), Code::WS102, "DUV", attributes,
                                  document::kRootExpected);
        handler_.root_started();
        employers_missing_ = true;
        state_ = State::Submitter;
    }

    // The field elements of the submitter block, an employer or an employee, until a structural
    // name changes the state. A field is read in steps, so that reading can stop after any of them
    // when the input runs out and go on there with the next piece.
    template <Record record>
    void fields() {
        for (;;) {
            switch (field_step_) {
                case FieldStep::Name: {
                    // Fields read whole, one after another: the bulk of a document. A field read
                    // whole has its closing tag and holds no reference: only the copy and the
                    // checks are left of field() below (written out here, where a call to field()
                    // costs a twentieth of the run).
                    std::string_view fast_name, fast_content, fast_closing;
                    if (tokenizer_.idle())
                        while (tokenizer_.read_whole_field(fast_name, fast_content, fast_closing)) {
                            const std::string_view content = trim_leading_spaces(fast_content);
                            if (copy_) echo_field(fast_name, content, fast_closing);
                            handler_.template field<record>(fast_name, content, false);
                        }
                    if (const int r = tokenizer_.read_name(name_); r < 0) return stopped(r);
                    name_.cut_at_nul();
                    const std::string_view name(name_.data, name_.len);
                    if (!name.empty() && (name[0] == 'z' || name[0] == '/') && structural_name(record, name))
                        return;
                    // The element's name stays in name_; its rest, content and closing name are read
                    // into tokens of their own, so that nothing is copied.
                    field_step_ = name == "!--" ? FieldStep::Comment : FieldStep::TagRest;
                    continue;
                }
                case FieldStep::Comment:
                    if (const int r = tokenizer_.skip_comment_rest(); r < 0) return stopped(r);
                    field_step_ = FieldStep::Name;
                    return;
                case FieldStep::TagRest: {
                    const int rest = tokenizer_.read_tag_rest(rest_, false);
                    if (rest < 0) return stopped(rest);
                    if (rest == Tokenizer::kTagText) tag_rest_text();
                    if (name_.len > 0 && name_.data[name_.len - 1] == '/') {
                        empty_element<record>();
                        field_step_ = FieldStep::Name;
                        continue;
                    }
                    field_step_ = FieldStep::Content;
                    [[fallthrough]];
                }
                case FieldStep::Content:
                    if (const int r = tokenizer_.read_content(content_); r < 0) return stopped(r);
                    field_step_ = FieldStep::Closing;
                    [[fallthrough]];
                case FieldStep::Closing: {
                    if (const int r = tokenizer_.read_name(closing_); r < 0) return stopped(r);
                    field_step_ = FieldStep::Name;
                    const std::string_view field_name(name_.data, name_.len);
                    const std::string_view content = trim_leading_spaces(content_.text());
                    field<record>(field_name, content, closing_.text(), false);
                    parser_refusals(field_name, content);
                    continue;
                }
            }
        }
    }

    // The text after a field element's name inside its tag: a "/" makes it an empty element, anything
    // else is no field element's.
    void tag_rest_text() {
        const std::string_view text = rest_.text();
        if (text == "/")
            name_.push('/');
        else
            reporter_.report_here(handler_.context(), Code::ES300, name_.text(), text, "  ");
    }

    // An empty element ("<name/>"): its own closing form, no content.
    template <Record record>
    void empty_element() {
        --name_.len;
        closing_.clear();
        closing_.push('/');
        for (std::size_t i = 0; i < name_.len; ++i) closing_.data[closing_.len++] = name_.data[i];
        field<record>(std::string_view(name_.data, name_.len), {},
                      std::string_view(closing_.data, closing_.len), true);
    }

    // What a receiving XML parser refuses in a field's content, read into content_: a "&" that
    // begins no reference (also one that only the dropped line breaks join to one), and control
    // characters (a NUL too, although the text shown ends before it).
    void parser_refusals(std::string_view field_name, std::string_view content) {
        if (has_bare_ampersand(content) || content_.reference_split())
            reporter_.report_here(handler_.context(), Code::ES311, field_name, content, "&amp;");
        if (has_forbidden_control_character(std::string_view(content_.data, content_.len)))
            reporter_.report_here(handler_.context(), Code::ES312, field_name, content, kBlank);
    }

    // One field element: its closing name, the echo, and the field's checks.
    template <Record record>
    void field(std::string_view name, std::string_view content, std::string_view closing,
               bool empty_element) {
        if (!is_closing_of(name, closing))
            reporter_.report_here(handler_.context(), Code::ES302, name, closing, "  ");
        if (record != Record::Employee || !empty_element) echo_field(name, content, closing);
        handler_.template field<record>(name, content, empty_element);
    }

    // The names that end or open a record in the given state; true when one was met (the next
    // state is set).
    bool structural_name(Record record, std::string_view name) {
        switch (record) {
            case Record::Submitter:
                if (name == "zamestnavatel") {
                    echo(name);
                    state_ = State::EmployerStart;
                    return true;
                }
                if (name == "/DUV") {
                    state_ = State::RootEnd;
                    return true;
                }
                return false;
            case Record::Employer:
                if (name == "zamestnanec") {
                    echo(name);
                    state_ = State::EmployeeStart;
                    return true;
                }
                if (name == "/zamestnavatel") {
                    echo(name);
                    state_ = State::EmployerEnd;
                    return true;
                }
                return false;
            case Record::Employee:
                if (name == "/zamestnanec") {
                    echo(name);
                    state_ = State::EmployeeEnd;
                    return true;
                }
                if (name == "/zamestnavatel") {
                    echo(name);
                    state_ = State::Submitter;
                    return true;
                }
                return false;
        }
        return false;
    }

    // After the root's end: only a further employer or root end is looked at.
    void after_root() {
        for (;;) {
            if (const int r = tokenizer_.read_name(name_); r < 0) return stopped(r);
            const std::string_view name = name_.text();
            if (name == "zamestnavatel") {
                echo(name);
                state_ = State::EmployerStart;
                return;
            }
            if (name == "/DUV") {
                state_ = State::RootEnd;
                return;
            }
        }
    }

    void report_root_end() {
        tokenizer_.watch_after_root();
        handler_.root_ended();
        root_end_seen_ = true;
        state_ = State::AfterRoot;
    }

    void employer_start() {
        handler_.employer_started();
        state_ = State::Employer;
        employers_missing_ = false;
        had_employees_ = false;
    }

    void employee_start() {
        handler_.employee_started(!had_employees_);
        state_ = State::Employee;
        had_employees_ = true;
    }

    // A document of the input has been read to its end: whether it is no Windows-1250 text, as
    // far as its bytes or its XML declaration tell, and whether anything but white space, comments
    // and processing instructions followed its root's end.
    void document_ended() override {
        const EncodingWatch& encoding = tokenizer_.encoding();
        if (encoding.declares_other())
            reporter_.report(handler_.context(), Where::at(encoding.declaration_line()), Code::ES310,
                             "encoding", encoding.declared_encoding(), "Windows-1250");
        else if (encoding.is_utf8())
            reporter_.report(handler_.context(), Where::at(encoding.first_multibyte_line()), Code::ES310,
                             kBlank, "UTF-8", "Windows-1250");
        if (const AfterRootWatch& after_root = tokenizer_.after_root(); after_root.content_found())
            reporter_.report(handler_.context(), Where::at(after_root.content_line()), Code::ES313, kBlank,
                             kBlank, kBlank);
    }

    Tokenizer& tokenizer_;
    Handler& handler_;
    Reporter& reporter_;
    CopySink* copy_;
    // The steps of reading one field element.
    enum class FieldStep { Name, Comment, TagRest, Content, Closing };

    State state_ = State::BeforeRoot;
    FieldStep field_step_ = FieldStep::Name;
    bool in_prolog_ = false;  // the rest of a processing instruction before the root is being read
    std::string prolog_;      // its name
    Token name_;              // tag names; in a field element its name
    Token rest_;              // the rest of a field element's tag
    Token content_;           // its content
    Token closing_;           // the name taken as its closing tag
    bool root_end_seen_ = false;
    bool employers_missing_ = false;  // the root element was met, no employer yet
    bool had_employees_ = false;      // the current employer has had an employee
};

inline bool has_forbidden_control_character(std::string_view content) {
    for (const char c : content)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') return true;
    return false;
}

inline bool has_bare_ampersand(std::string_view content) {
    for (std::size_t at = content.find('&'); at != std::string_view::npos; at = content.find('&', at + 1)) {
        const std::string_view rest = content.substr(at + 1);
        bool reference = false;
        for (std::string_view name : {"amp;", "lt;", "gt;", "quot;", "apos;"})
            if (rest.substr(0, name.size()) == name) reference = true;
        if (!reference && !rest.empty() && rest[0] == '#') {
            const bool hex = rest.size() > 1 && rest[1] == 'x';
            std::size_t i = hex ? 2 : 1, digits = 0;
            for (; i < rest.size(); ++i, ++digits) {
                const char c = rest[i];
                const bool digit =
                    (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
                if (!digit) break;
            }
            reference = digits > 0 && i < rest.size() && rest[i] == ';';
        }
        if (!reference) return true;
    }
    return false;
}

}  // namespace tavon
