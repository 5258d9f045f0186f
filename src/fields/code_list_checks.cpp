#include "fields/code_list_checks.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/format.h"

namespace tavon {

std::uint32_t register_number(std::string_view text) {
    char b[64];
    const std::size_t n = std::min(text.size(), sizeof b - 1);
    std::memcpy(b, text.data(), n);
    b[n] = '\0';
    const double d = std::strtod(b, nullptr);
    if (!std::isfinite(d) || std::fabs(d) >= 9.2e18) return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(d));
}

void CodeListChecks::submitter(std::uint32_t ico, bool ico_failed) {
    if (ico_failed || data_.submitters().contains(ico)) return;
    reporter_.report_here(context_, Code::ER212, "ICOpredkladatele", Formatted("{:08}", ico), kBlank);
}

void CodeListChecks::provider(std::uint32_t provider, std::uint32_t submitter, bool year_failed, Where line) {
    if (year_failed) return;
    if (auto registered = data_.providers().submitter_of(provider)) {
        if (*registered != submitter)
            reporter_.report(context_, line, Code::WR202, "ICOpredkladatele", Formatted("{:08}", submitter),
                             Formatted("{:08}", *registered));
        return;
    }
    reporter_.report(context_, line, Code::WR204, "AA0017", Formatted("{:08}", provider), kBlank);
}

void CodeListChecks::occupation(std::string_view code) {
    if (!data_.list(data::List::Occupations).contains(code)) {
        reporter_.report_here(context_, Code::EL046, "AA0013", code, kBlank);
        return;
    }
    if (code.size() >= 5 && code[4] == '0')
        reporter_.report_here(context_, Code::WL039, "AA0013", code, kBlank);
}

void CodeListChecks::state(std::string_view code) {
    const int position = data_.states().position(code);
    if (position < DataSet::kHomeStates) return;
    if (position < data_.states().size()) {
        reporter_.report_here(context_, Code::WL033, "AA0033", code, Text(table_expected(Code::WL033)));
        return;
    }
    reporter_.report_here(context_, Code::EL047, "AA0033", code, kBlank);
}

void CodeListChecks::legal_form(std::string_view code) {
    if (!data_.list(data::List::LegalForms).contains(code))
        reporter_.report_here(context_, Code::EL055, "AA0019", code, kBlank);
}

void CodeListChecks::employment_status(std::string_view code) {
    if (!data_.list(data::List::EmploymentStatuses).contains(code))
        reporter_.report_here(context_, Code::EL068, "AA0091", code, kBlank);
}

void CodeListChecks::employment_kind(std::string_view code) {
    if (!data_.list(data::List::EmploymentKinds).contains(code))
        reporter_.report_here(context_, Code::EL004, "AA0130", code, kBlank);
}

void CodeListChecks::nuts(std::string_view code, std::string_view field) {
    if (!data_.list(data::List::Nuts).contains(code))
        reporter_.report_here(context_, Code::EL056, field, code, kBlank);
}

void CodeListChecks::education(std::string_view code) {
    if (!data_.list(data::List::Education).contains(code))
        reporter_.report_here(context_, Code::EL048, "AA0223", code, kBlank);
}

}  // namespace tavon
