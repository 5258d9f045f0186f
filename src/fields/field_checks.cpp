#include "fields/field_checks.h"

#include <algorithm>

#include "base/format.h"
#include "base/text.h"
#include "tavon/cz.h"

namespace tavon {

void FieldChecks::start_employer() {
    employer_.start();
    context_.has_employee = false;
    context_.in_employers = true;
    values_.AA0114 = values_.AA0115 = values_.AA0116 = 0.0;
}

void FieldChecks::report_unknown(std::string_view name, std::string_view content) {
    reporter_.report_here(context_, Code::ES301, name, content,
                          Formatted("{}", static_cast<long long>(content.size())));
}

void FieldChecks::report_order(std::string_view name, std::string_view content, std::string_view expected) {
    reporter_.report_here(context_, Code::ES305, name, content, expected);
}

void FieldChecks::report_length(const FieldDefinition& definition, std::string_view name,
                                std::string_view content) {
    static constexpr auto kLength = cz<8>("délka ");
    const Formatted expected =
        definition.min_length == definition.max_length
            ? Formatted("{}{}", kLength.view(), definition.min_length)
            : Formatted("{}{} - {}", kLength.view(), definition.min_length, definition.max_length);
    reporter_.report_here(context_, definition.code, name, content, expected);
}

void FieldChecks::report_value(const FieldDefinition& definition, std::string_view name,
                               std::string_view content) {
    reporter_.report_here(context_, definition.code, name, content, Text(table_expected(definition.code)));
}

void FieldChecks::submitter_field(std::string_view name, std::string_view content) {
    const FieldOutcome out = check<Kind::Submitter>(kSubmitterFields, detail::kSubmitterLimits,
                                                    find_submitter_row(name), submitter_, name, content);
    if (out.passed) submitter_actions(out.row, content);
}

void FieldChecks::employer_field(std::string_view name, std::string_view content) {
    // The employer column shows the IČO from its field on, whatever the field's checks find.
    if (name == "AA0017") context_.employer.assign(content);
    const FieldOutcome out = check<Kind::Employer>(kEmployerFields, detail::kEmployerLimits,
                                                   find_employer_row(name), employer_, name, content);
    if (out.passed) employer_actions(out.row, content, out.number);
}

void FieldChecks::submitter_actions(int row, std::string_view content) {
    switch (row) {
        case submitter::ICOpredkladatele:
            if (ico_check(content) != 0) {
                submitter_.set_failed(submitter::ICOpredkladatele);
                reporter_.report_here(context_, Code::EL031, "ICOpredkladatele", content, kBlank);
            }
            submitter_number_ = register_number(content);
            code_lists_.submitter(submitter_number_, !submitter_.ok(submitter::ICOpredkladatele));
            break;
        case submitter::mail:
            if (!is_valid_email(content))
                reporter_.report_here(context_, Code::ESEMA, "mail", content, kBlank);
            break;
        case submitter::vytvoreno:
            if (content.size() >= 19 && !is_valid_time_stamp(content))
                reporter_.report_here(context_, Code::ESVYT, "vytvoreno", content, kBlank);
            break;
        default: break;
    }
}

void FieldChecks::employer_actions(int row, std::string_view content, double number) {
    switch (row) {
        case employer::AA0017:
            if (ico_check(content) != 0) {
                employer_.set_failed(employer::AA0017);
                reporter_.report_here(context_, Code::EL031, "AA0017", content, kBlank);
            }
            employer_identity_.assign(content);
            code_lists_.provider(register_number(content), submitter_number_, !submitter_.ok(submitter::rok),
                                 Where::at(employer_.line[employer::AA0017]));
            break;
        case employer::AA0113:
            // A facility code: the employer column shows it from now on.
            if (!content.empty()) {
                context_.employer.push_back('/');
                context_.employer.append(content);
                reporter_.report_here(context_, Code::WL054, "AA0113", content, kBlank);
            }
            employer_identity_.push_back('/');
            employer_identity_.append(content);
            break;
        case employer::AA0019:
            identities_.check(employer_identity_, reporter_, context_);
            code_lists_.legal_form(content);
            break;
        case employer::AA0179: code_lists_.nuts(content, "AA0179"); break;
        case employer::AA0110:
            if (content.size() >= 8 && !day_fits_month(content.substr(4, 2), content.substr(6, 2)))
                reporter_.report_here(context_, Code::EL050, "AA0110", content, kBlank);
            break;
        case employer::AA0116: values_.AA0116 = number; break;
        case employer::AA0123: values_.AA0123 = number; break;
        case employer::AA0114: values_.AA0114 = number; break;
        case employer::AA0115:
            values_.AA0115 = number;
            check_budgeted_headcount();
            break;
        case employer::AA0118: values_.AA0118 = number; break;
        case employer::AA0119:
            values_.AA0119 = number;
            check_budget();
            break;
        default: break;
    }
}

void FieldChecks::employee_actions(int row, std::string_view content) {
    switch (row) {
        case employee::AA0223: code_lists_.education(content); break;
        case employee::AA0033: code_lists_.state(content); break;
        case employee::AA0013: code_lists_.occupation(content); break;
        case employee::AA0130: code_lists_.employment_kind(content); break;
        case employee::AA0091: code_lists_.employment_status(content); break;
        case employee::AA0690: code_lists_.nuts(content, "AA0690"); break;
        default: break;
    }
}

// The budgeted headcount (AA0116) against the average recalculated headcount (AA0114) and the
// headcount on the last day (AA0115).
void FieldChecks::check_budgeted_headcount() {
    const double x = values_.AA0116, A = values_.AA0114, B = values_.AA0115;
    if ((x < 0.11 * A || x > 9 * A) && abs_difference(x, A) > 100 && abs_difference(x, B) > 100) {
        const double low = std::max(std::min(0.11 * A, A - 100), 0.0);
        const double high = std::max(9 * A, A + 100);
        reporter_.report_here(context_, Code::EL064, "AA0116", Formatted("{:12.0f}", x),
                              Formatted("{:12.0f} - {:12.0f}", low, high));
        return;
    }
    if ((x < 0.8 * A || x > 1.2 * A) && abs_difference(x, A) > 10 && abs_difference(x, B) > 10) {
        const double low = std::max(std::min(0.8 * A, A - 10), 0.0);
        const double high = std::max(1.2 * A, A + 10);
        reporter_.report(context_, Where::at(employer_.line[employer::AA0116]), Code::WL063, "AA0116",
                         Formatted("{:12.0f}", x), Formatted("{:12.0f} - {:12.0f}", low, high));
    }
}

// The budget (AA0123) against the paid salaries (AA0118) less the extra-budgetary sources (AA0119).
void FieldChecks::check_budget() {
    const double x = values_.AA0123, D = values_.AA0118 - values_.AA0119;
    const Where line = Where::at(employer_.line[employer::AA0123]);
    if (x < 0.22 * D || x > 18 * D) {
        reporter_.report(context_, line, Code::EL062, "AA0123", Formatted("{:12.0f}", x),
                         Formatted("{:12.0f} - {:12.0f}", 0.22 * D + 0.49, 18 * D));
        return;
    }
    if (x < 1.6 * D || x > 2.4 * D)
        reporter_.report(context_, line, Code::WL061, "AA0123", Formatted("{:12.0f}", x),
                         Formatted("{:12.0f} - {:12.0f}", 1.6 * D + 0.49, 2.4 * D));
}

}  // namespace tavon
