// The checks of single fields on their own, fed with any sequence of record starts and fields,
// in any record, which a whole run reaches only behind a well-formed document structure.
//
// The input is read as loose markup, so that a document is an input as it stands: "<name>content"
// gives the field `name` of the current record with the content up to the next "<" (line breaks
// dropped, cut at a NUL byte and at 300 bytes, leading spaces removed, as the document reader
// hands fields on); "DUV...", "zamestnavatel" and "zamestnanec" start the submitter block, an
// employer and an employee; "/zamestnanec" goes back to the employer's fields, "/zamestnavatel"
// to the submitter's, "/DUV" ends the root; other names beginning with "/" are passed over. Line
// feeds count lines.
//
// Each field is checked against the generic check of its table, kept here step by step: the
// lookup, the bookkeeping, the order, the conversion, the length, the empty employer field and the
// range. Every finding it makes must be the one those steps give (code, field, value, expected
// text, line), every finding of any kind must carry a code of the error table, and the counts,
// lines, numbers and order counter of the record must be what the steps leave. At record starts
// the presence findings must name exactly the fields given never or more than once.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/format.h"
#include "base/line_number.h"
#include "base/reporter.h"
#include "data/data_set.h"
#include "fields/attribute_tables.h"
#include "fields/field_checks.h"
#include "fields/record_fields.h"
#include "fuzz/failure.h"
#include "report/error_table.h"

namespace {

using namespace tavon;
using tavon::fuzz::fail;

struct Finding {
    std::string line, code, field, value, expected;
};

// A line as the report shows it: " " for a field that did not occur.
std::string line_text(std::uint64_t line) { return line == 0 ? " " : std::to_string(line); }

// A finding's texts as the report shows them: right-aligned in their widths.
std::string shown(const Text& t) {
    const std::string_view bytes = t.windows1250();
    return std::string(t.width() > bytes.size() ? t.width() - bytes.size() : 0, ' ') + std::string(bytes);
}

class Collector : public FindingReceiver {
  public:
    void receive(const tavon::Finding& f) override {
        if (!f.lines.empty() || f.whole_employer)
            fail("a field check reported a person or the whole employer");
        findings.push_back({line_text(f.line), std::string(name(f.code)), shown(f.field), shown(f.value),
                            shown(f.expected)});
    }
    std::vector<Finding> findings;
};

std::string describe(const Finding& f) {
    return f.line + " " + f.code + " [" + f.field + "] [" + f.value + "] [" + f.expected + "]";
}

// What the generic check must have left in a record, kept independently of the checks.
struct RecordModel {
    std::vector<int> count;
    std::vector<double> value;
    std::vector<std::uint64_t> line;  // never cleared: the last occurrence in any record
    int order = -1;

    explicit RecordModel(std::size_t rows) : count(rows, 0), value(rows, 0.0), line(rows, 0) {}
    void start() {
        std::fill(count.begin(), count.end(), 0);
        std::fill(value.begin(), value.end(), 0.0);
        order = -1;
    }
};

enum class Kind { Submitter, Employer, Employee };

// The most bytes the document reader hands on in a name or a content.
constexpr std::size_t kTokenMax = 300;

// Whether a text is a number of the type: an optional sign as the first character, then digits,
// with one decimal point allowed anywhere after the sign for type 'R'.
bool is_number(std::string_view v, char type) {
    std::size_t i = !v.empty() && (v[0] == '+' || v[0] == '-') ? 1 : 0;
    bool point = false;
    for (; i < v.size(); ++i) {
        if (v[i] >= '0' && v[i] <= '9') continue;
        if (v[i] == '.' && type == 'R' && !point) {
            point = true;
            continue;
        }
        return false;
    }
    return true;
}

std::string length_text(const FieldDefinition& definition) {
    std::string s = "d\xE9lka ";  // Windows-1250
    s += std::to_string(definition.min_length);
    if (definition.max_length != definition.min_length) s += " - " + std::to_string(definition.max_length);
    return s;
}

class Harness {
  public:
    Harness()
        : data_(DataSet::built_in()),
          reporter_(collector_, lines_),
          checks_(*data_, reporter_),
          submitter_(kSubmitterFields.size()),
          employer_(kEmployerFields.size()),
          employee_(kEmployeeFields.size()) {}

    void next_line() { lines_.next(); }

    void element(std::string_view name, std::string_view content) {
        if (name.substr(0, 3) == "DUV") {
            checks_.start_submitter();
            submitter_.start();
            kind_ = Kind::Submitter;
        } else if (name == "/DUV") {
            presence(kSubmitterFields, checks_.submitter(), submitter_, Kind::Submitter, "   ", false);
        } else if (name == "zamestnavatel") {
            presence(kSubmitterFields, checks_.submitter(), submitter_, Kind::Submitter, " ", true);
            checks_.start_employer();
            employer_.start();
            kind_ = Kind::Employer;
            first_employee_ = true;
        } else if (name == "zamestnanec") {
            if (first_employee_)
                presence(kEmployerFields, checks_.employer(), employer_, Kind::Employer, " ", true);
            first_employee_ = false;
            checks_.start_employee();
            employee_.start();
            kind_ = Kind::Employee;
        } else if (name == "/zamestnanec") {
            kind_ = Kind::Employer;
        } else if (name == "/zamestnavatel") {
            kind_ = Kind::Submitter;
        } else if (name.empty() || name[0] != '/') {
            field(name, content);
        }
    }

  private:
    void field(std::string_view name, std::string_view content) {
        const std::size_t before = collector_.findings.size();
        FieldOutcome outcome;
        switch (kind_) {
            case Kind::Submitter: checks_.submitter_field(name, content); break;
            case Kind::Employer: checks_.employer_field(name, content); break;
            case Kind::Employee: outcome = checks_.employee_field(name, content); break;
        }
        const std::span<const Finding> made(collector_.findings.data() + before,
                                            collector_.findings.size() - before);
        switch (kind_) {
            case Kind::Submitter:
                expect(kSubmitterFields, checks_.submitter(), submitter_, name, content, made, nullptr,
                       kind_);
                break;
            case Kind::Employer:
                expect(kEmployerFields, checks_.employer(), employer_, name, content, made, nullptr, kind_);
                break;
            case Kind::Employee:
                expect(kEmployeeFields, checks_.employee(), employee_, name, content, made, &outcome, kind_);
                break;
        }
    }

    // The steps of the generic check for one occurrence, and what they must have left.
    template <std::size_t Rows>
    void expect(const std::array<FieldDefinition, Rows>& table, const RecordFields<Rows>& fields,
                RecordModel& model, std::string_view name, std::string_view content,
                std::span<const Finding> made, const FieldOutcome* outcome, Kind kind) {
        const std::string here = std::to_string(lines_.number());
        const std::string what = std::string(name) + " [" + std::string(content) + "] in table of " +
                                 std::to_string(Rows) + " rows";
        int row = -1;
        for (std::size_t i = 0; i + 1 < Rows; ++i)
            if (table[i].name == name) {
                row = static_cast<int>(i);
                break;
            }
        auto is = [&](const Finding& f, std::string_view code, std::string_view expected) {
            return f.code == code && f.field == name && f.value == content && f.expected == expected &&
                   f.line == here;
        };

        if (row < 0) {
            if (made.size() != 1 || !is(made[0], "ES301", std::to_string(content.size())))
                fail("unknown name: not exactly one ES301 with the content's length", what + dump(made));
            if (outcome && (outcome->row != -1 || outcome->passed || outcome->has_value))
                fail("unknown name: outcome of a known field", what);
            compare(fields, model, what, kind);
            return;
        }
        const auto i = static_cast<std::size_t>(row);
        const FieldDefinition& definition = table[i];
        ++model.count[i];
        model.line[i] = lines_.number();
        ++model.order;

        // The order finding, and the findings of the generic check: its row's code with the code's
        // own expected text or the length text (the special checks that share a row's code expect
        // "   ").
        const std::string code(tavon::name(definition.code)), from_table(table_expected(definition.code));
        std::vector<Finding> rest;
        bool order_seen = false;
        std::vector<std::string> generic;
        for (const Finding& f : made) {
            if (f.code == "ES305") {
                if (order_seen) fail("two ES305 for one field", what + dump(made));
                order_seen = true;
                const bool expected_known = model.order < static_cast<int>(Rows);
                if (f.field != name || f.value != content || f.line != here ||
                    (expected_known && f.expected != table[static_cast<std::size_t>(model.order)].name))
                    fail("ES305 with wrong texts", what + dump(made));
            } else if (f.code == code &&
                       (f.expected == from_table || f.expected.rfind("d\xE9lka ", 0) == 0)) {
                if (!is(f, code, f.expected)) fail("generic finding with wrong texts", what + dump(made));
                generic.push_back(f.expected);
            } else {
                rest.push_back(f);
            }
        }
        if (order_seen != (model.order != row))
            fail(order_seen ? "ES305 for a field in its place" : "no ES305 for a field out of place",
                 what + " order " + std::to_string(model.order) + dump(made));

        const bool numeric = kind != Kind::Submitter && definition.has_number_range();
        const bool stops = [&] {
            // Conversion.
            if (numeric) {
                if (!is_number(content, definition.type)) {
                    if (generic != std::vector<std::string>{from_table})
                        fail("refused number: not exactly one finding with the table's text",
                             what + dump(made));
                    return true;
                }
                model.value[i] = std::strtod(std::string(content).c_str(), nullptr);
            }  // a text row's number stays 0: no rule reads it
            // Length.
            const auto length = static_cast<long long>(content.size());
            if (length < definition.min_length || length > definition.max_length) {
                if (generic != std::vector<std::string>{length_text(definition)})
                    fail("length outside the bounds: not exactly one finding with " + length_text(definition),
                         what + dump(made));
                return true;
            }
            if (kind == Kind::Employer && length == 0) {
                if (!generic.empty()) fail("empty employer field reported", what + dump(made));
                return true;
            }
            // Range.
            bool outside = false;
            if (numeric) {
                outside = model.value[i] < kNumberBounds[definition.range.from] ||
                          model.value[i] > kNumberBounds[definition.range.to];
            } else if (definition.has_text_range()) {
                outside = content < kTextBounds[definition.range.from] ||
                          content > kTextBounds[definition.range.to];
            }
            if (generic != (outside ? std::vector<std::string>{from_table} : std::vector<std::string>{}))
                fail(outside ? "value outside the range: not exactly one finding with the table's text"
                             : "value within range and length reported",
                     what + dump(made));
            const bool invalid_ico =
                std::any_of(rest.begin(), rest.end(), [](const Finding& f) { return f.code == "EL031"; });
            if (fields.has_failed(i) != (outside || invalid_ico))
                fail("error switch after a passed length", what);
            return false;
        }();
        if (stops) {
            if (!rest.empty()) fail("findings after a failed conversion or length", what + dump(made));
            if (!fields.has_failed(i)) fail("error switch not set after a failed conversion or length", what);
        }
        if (outcome) {
            if (outcome->row != row) fail("outcome row", what);
            if (outcome->passed == stops) fail("outcome passed", what);
            const bool converted = !numeric || is_number(content, definition.type);
            if (outcome->has_value != converted) fail("outcome has_value", what);
            if (converted && outcome->number != model.value[i]) fail("outcome number", what);
        }
        // Findings of the special checks and lookups carry the current line, except the budget rules,
        // which name the line of the field they judge.
        for (const Finding& f : rest) {
            std::string line = here;
            if (f.code == "WL063") line = line_text(employer_.line[employer::AA0116]);
            if (f.code == "EL062" || f.code == "WL061") line = line_text(employer_.line[employer::AA0123]);
            if (f.line != line) fail("finding on line " + f.line + ", not " + line, what + dump(made));
        }
        compare(fields, model, what, kind);
    }

    template <std::size_t Rows>
    void compare(const RecordFields<Rows>& fields, const RecordModel& model, const std::string& what,
                 Kind kind) {
        if (fields.order != model.order)
            fail("order counter " + std::to_string(fields.order) + ", not " + std::to_string(model.order),
                 what);
        for (std::size_t i = 0; i + 1 < Rows; ++i) {
            if (fields.count[i] != model.count[i])
                fail("count of row " + std::to_string(i) + ": " + std::to_string(fields.count[i]) +
                         ", given " + std::to_string(model.count[i]),
                     what);
            if (fields.line[i] != model.line[i]) fail("line of row " + std::to_string(i), what);
            if (kind != Kind::Submitter && fields.value[i] != model.value[i])
                fail("number of row " + std::to_string(i), what);
        }
    }

    // The presence findings at a record start: ES303 for each field never given, ES304 with the count
    // for each one given more than once, in table order, and nothing else.
    template <std::size_t Rows>
    void presence(const std::array<FieldDefinition, Rows>& table, const RecordFields<Rows>& fields,
                  const RecordModel& model, Kind kind, std::string_view value, bool zero_instead_of_name) {
        compare(fields, model, "presence", kind);
        const std::size_t before = collector_.findings.size();
        report_presence(table, fields, reporter_, checks_.context(), value, zero_instead_of_name);
        const std::span<const Finding> made(collector_.findings.data() + before,
                                            collector_.findings.size() - before);
        std::size_t k = 0;
        for (std::size_t i = 0; i + 1 < Rows; ++i) {
            if (model.count[i] == 1) continue;
            const std::string name(table[i].name);
            const Finding expected = model.count[i] == 0
                                         ? Finding{std::to_string(lines_.number()), "ES303", name,
                                                   std::string(value), zero_instead_of_name ? "0" : name}
                                         : Finding{std::to_string(lines_.number()), "ES304", name,
                                                   std::string(value), std::to_string(model.count[i])};
            if (k >= made.size() || describe(made[k]) != describe(expected))
                fail("presence: expected " + describe(expected), dump(made));
            ++k;
        }
        if (k != made.size()) fail("presence: more findings than fields missing or repeated", dump(made));
    }

    static std::string dump(std::span<const Finding> made) {
        std::string s;
        for (const Finding& f : made) s += "\n  " + describe(f);
        return s;
    }

    std::shared_ptr<const DataSet> data_;
    Collector collector_;
    LineCounter lines_;
    Reporter reporter_;
    FieldChecks checks_;
    RecordModel submitter_, employer_, employee_;
    Kind kind_ = Kind::Submitter;
    bool first_employee_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Harness harness;
    std::size_t at = 0;
    auto skip_to = [&](char stop) {  // up to and past `stop`, counting lines; false at the end
        for (; at < input.size(); ++at) {
            if (input[at] == '\n') harness.next_line();
            if (input[at] == stop) {
                ++at;
                return true;
            }
        }
        return false;
    };
    while (skip_to('<')) {
        std::string name;
        for (; at < input.size() && input[at] != '>' && input[at] != ' ' && input[at] != '\n' &&
               input[at] != '<';
             ++at)
            if (input[at] != '\r' && name.size() < kTokenMax) name.push_back(input[at]);
        name = name.substr(0, name.find('\0'));
        // The rest of the tag, unless another tag begins first.
        while (at < input.size() && input[at] != '>' && input[at] != '<') {
            if (input[at] == '\n') harness.next_line();
            ++at;
        }
        if (at < input.size() && input[at] == '>') ++at;
        std::string content;
        for (; at < input.size() && input[at] != '<'; ++at) {
            if (input[at] == '\n') harness.next_line();
            if (input[at] != '\r' && input[at] != '\n' && content.size() < kTokenMax)
                content.push_back(input[at]);
        }
        content = content.substr(0, content.find('\0'));
        harness.element(name, trim_leading_spaces(content));
    }
    return 0;
}
