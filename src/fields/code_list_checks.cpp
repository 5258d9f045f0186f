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
    reporter_.report_here("ER212", "ICOpredkladatele", Fmt("%08u", ico), kNothing);
}

void CodeListChecks::provider(std::uint32_t provider, std::uint32_t submitter, bool year_failed,
                              std::string_view line) {
    if (year_failed) return;
    if (auto registered = data_.providers().submitter_of(provider)) {
        if (*registered != submitter)
            reporter_.report(line, "WR202", "ICOpredkladatele", Fmt("%08u", submitter),
                             Fmt("%08u", *registered));
        return;
    }
    reporter_.report(line, "WR204", "AA0017", Fmt("%08u", provider), kNothing);
}

void CodeListChecks::occupation(std::string_view code) {
    if (!data_.list(data::List::Occupations).contains(code)) {
        reporter_.report_here("EL046", "AA0013", code, kNothing);
        return;
    }
    if (code.size() >= 5 && code[4] == '0') reporter_.report_here("WL039", "AA0013", code, kNothing);
}

void CodeListChecks::state(std::string_view code) {
    const int position = data_.states().position(code);
    if (position < DataSet::kHomeStates) return;
    if (position < data_.states().size()) {
        reporter_.report_here("WL033", "AA0033", code, "?");
        return;
    }
    reporter_.report_here("EL047", "AA0033", code, kNothing);
}

void CodeListChecks::legal_form(std::string_view code) {
    if (!data_.list(data::List::LegalForms).contains(code))
        reporter_.report_here("EL055", "AA0019", code, kNothing);
}

void CodeListChecks::employment_status(std::string_view code) {
    if (!data_.list(data::List::EmploymentStatuses).contains(code))
        reporter_.report_here("EL068", "AA0091", code, kNothing);
}

void CodeListChecks::employment_kind(std::string_view code) {
    if (!data_.list(data::List::EmploymentKinds).contains(code))
        reporter_.report_here("EL004", "AA0130", code, kNothing);
}

void CodeListChecks::nuts(std::string_view code, std::string_view field) {
    if (!data_.list(data::List::Nuts).contains(code)) reporter_.report_here("EL056", field, code, kNothing);
}

void CodeListChecks::education(std::string_view code) {
    if (!data_.list(data::List::Education).contains(code))
        reporter_.report_here("EL048", "AA0223", code, kNothing);
}

}  // namespace tavon
