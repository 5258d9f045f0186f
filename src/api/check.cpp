// A check: the pipeline of parts over the bytes fed to it, from the tokenizer through the document
// structure, the field checks and the record rules to the findings sink.
#include "tavon/check.h"

#include <cstring>
#include <vector>

#include "base/reporter.h"
#include "data/data_set.h"
#include "document/document_reader.h"
#include "employer/employer_rules.h"
#include "fields/field_checks.h"
#include "reader/tokenizer.h"
#include "records/employee_rules.h"
#include "records/employee_store.h"
#include "report/findings.h"
#include "tavon/check.h"
#include "tavon/input.h"

namespace tavon {
namespace {

// What the document structure hands on: record starts and ends, and fields, to the field checks,
// the employee store and the rules, with the findings' context that the field checks keep.
class Checks {
  public:
    Checks(const DataSet& data, Reporter& reporter, ProgressSink* progress)
        : data_(data),
          reporter_(reporter),
          progress_(progress),
          fields_(data, reporter),
          employee_rules_(data.tariffs(), reporter),
          employer_rules_(data, reporter) {}

    const Context& context() const { return fields_.context(); }

    void root_started() { fields_.start_submitter(); }
    void root_ended() {
        report_presence(kSubmitterFields, fields_.submitter(), reporter_, context(), kBlank, false);
    }

    void employer_started() {
        report_presence(kSubmitterFields, fields_.submitter(), reporter_, context(), " ", true);
        store_.start_employer();
        fields_.start_employer();
    }

    void employee_started(bool first) {
        if (first) report_presence(kEmployerFields, fields_.employer(), reporter_, context(), " ", true);
        fields_.start_employee();
        store_.start_employee();
    }

    void employee_ended() {
        if (progress_)
            progress_->employee_done(reporter_.current_line_number(),
                                     context().has_employee ? std::string_view(context().employee) : "   ",
                                     context().employer);
        employee_rules_.end_of_employee(fields_.employee(), store_, context());
    }

    void employer_ended(bool had_employees) {
        employer_rules_.end_of_employer(fields_.employer(), fields_.employer_values(), fields_.employee(),
                                        store_, had_employees, context());
        fields_.end_employer();
    }

    template <Record record>
    void field(std::string_view name, std::string_view content, bool) {
        if constexpr (record == Record::Submitter) {
            fields_.submitter_field(name, content);
        } else if constexpr (record == Record::Employer) {
            fields_.employer_field(name, content);
        } else {
            const int row = fields_.employee_row(name);
            const FieldOutcome out = fields_.employee_field(row, name, content);
            if (out.has_value)
                store_.keep(row, content, out.number, reporter_.current_line_number(), data_.states());
            if (out.passed && row == employee::AA0033 && content.size() > 2)
                store_.note_long_state_code(content, reporter_.current_line_number());
        }
    }

  private:
    const DataSet& data_;
    Reporter& reporter_;
    ProgressSink* progress_;
    FieldChecks fields_;
    EmployeeStore store_;
    EmployeeRules employee_rules_;
    EmployerRules employer_rules_;
};

}  // namespace

// How much of a file is read at a time.
constexpr std::size_t kReadBlock = 1 << 18;

// The parts of one check, in the order their constructors need one another.
struct Check::Pipeline {
    Pipeline(FindingSink& sink, const Options& options)
        : data(options.data ? options.data : DataSet::built_in()),
          findings(sink, options.report_warnings),
          reporter(findings, tokenizer.line()),
          checks(*data, reporter, options.progress),
          document(tokenizer, checks, reporter, options.copy) {}

    // Reads the bytes where they are, but for the last kTail: the reader scans in 16-byte groups
    // and may look 40 bytes ahead, which those bytes, copied where room follows them, allow.
    void feed(const char* bytes, std::size_t size) {
        if (size > kTail) {
            tokenizer.set_input(bytes, bytes + size - kTail);
            document.resume();
            bytes += size - kTail;
            size = kTail;
        }
        if (size == 0) return;
        std::memcpy(tail, bytes, size);
        tokenizer.set_input(tail, tail + size);
        document.resume();
    }

    static constexpr std::size_t kTail = 64;
    std::shared_ptr<const DataSet> data;
    Findings findings;
    Tokenizer tokenizer;
    Reporter reporter;
    Checks checks;
    DocumentReader<Checks> document;
    char tail[kTail + 16] = {};
    bool finished = false;
};

Check::Check(FindingSink& findings, Options options)
    : pipeline_(std::make_unique<Pipeline>(findings, options)) {}

Check::~Check() = default;

void Check::feed(std::span<const char> bytes) {
    if (!pipeline_->finished) pipeline_->feed(bytes.data(), bytes.size());
}

void Check::next_document() {
    if (!pipeline_->finished) pipeline_->tokenizer.end_document();
}

Totals Check::finish() {
    if (!pipeline_->finished) {
        pipeline_->finished = true;
        pipeline_->document.finish();
        pipeline_->findings.totals.read_to_end = true;
    }
    return pipeline_->findings.totals;
}

Totals Check::totals() const { return pipeline_->findings.totals; }

namespace {

// Feeds a file's bytes in blocks.
Result<void> feed_file(Check& check, const std::string& name, std::vector<char>& block) {
    Result<InputFile> file = InputFile::open(name);
    if (!file) return file.error();
    while (const std::size_t n = file->read(block)) check.feed(std::span<const char>(block.data(), n));
    if (file->failed()) return Error{Error::Kind::Other, name};
    return {};
}

}  // namespace

Result<Totals> check_file(const std::string& name, FindingSink& findings, const Options& options) {
    return check_files(std::span<const std::string>(&name, 1), findings, options);
}

Result<Totals> check_files(std::span<const std::string> names, FindingSink& findings,
                           const Options& options) {
    Check check(findings, options);
    std::vector<char> block(kReadBlock);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) check.next_document();
        if (Result<void> fed = feed_file(check, names[i], block); !fed) return fed.error();
    }
    return check.finish();
}

Totals check_bytes(std::span<const char> document, FindingSink& findings, const Options& options) {
    Check check(findings, options);
    check.feed(document);
    return check.finish();
}

}  // namespace tavon
