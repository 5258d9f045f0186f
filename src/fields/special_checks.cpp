#include "fields/special_checks.h"

#include <algorithm>

namespace tavon {
namespace {

bool has_30_days(std::string_view month) {
    return month == "04" || month == "06" || month == "09" || month == "11";
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int ico_check(std::string_view ico) {
    if (ico.size() != 8) return 2;
    // Any non-digit makes the number invalid, whatever its weighted sum would give.
    if (!std::all_of(ico.begin(), ico.end(), is_digit)) return 1;
    int sum = 0;
    for (int i = 0; i < 7; ++i) sum += (8 - i) * (ico[i] - '0');
    int check = 11 - sum % 11;
    if (check > 9) check -= 10;
    return check == ico[7] - '0' ? 0 : 1;
}

bool day_fits_month(std::string_view month, std::string_view day) {
    if (!(month >= "01" && day >= "01" && day <= "31" && month <= "12")) return false;
    if (month == "02" && day > "28") return false;  // no leap-year rule
    if (has_30_days(month) && day > "30") return false;
    return true;
}

bool is_valid_time_stamp(std::string_view s) {
    auto two = [&](std::size_t at) { return s.substr(at, 2); };
    const std::string_view year = s.substr(0, 4), month = two(5), day = two(8), hour = two(11),
                           minute = two(14), second = two(17);
    return (year == "2006" || year == "2007") && day_fits_month(month, day) && hour >= "00" && hour <= "23" &&
           minute >= "00" && minute <= "59" && second >= "00" && second <= "59" && is_digit(month[1]) &&
           is_digit(day[1]) && is_digit(hour[1]) && is_digit(minute[1]) && is_digit(second[1]) &&
           s[4] == '-' && s[7] == '-' && s[13] == ':' && s[16] == ':' && s[10] == 'T';
}

bool is_valid_email(std::string_view address) {
    const auto dot = address.find('.');
    const auto at = address.find('@');
    const auto npos = std::string_view::npos;
    if (dot == npos || at == npos) return false;
    const auto last = address.size() - 1;
    if (dot == 0 || dot == last || at == 0 || at == last || at > address.rfind('.')) return false;
    return address.find(' ') == npos;
}

void EmployerIdentities::check(std::string_view id, Reporter& reporter, const Context& context) {
    const int size = static_cast<int>(seen_.size());
    for (int i = 0; i <= last_ && i < size; ++i) {
        if (seen_[static_cast<std::size_t>(i)] == id) {
            reporter.report_here(context, Code::EL074, id.size() == 8 ? "AA0017 " : "AA0017/AA0113", id,
                                 kBlank);
            return;
        }
    }
    const int n = ++last_;
    if (n == size) {
        reporter.report_here(context, Code::WL901, "zamestnavatel", id, kBlank);
        return;
    }
    if (n > size) {
        last_ = size;  // stays full; the counter need not grow
        return;
    }
    seen_[static_cast<std::size_t>(n)].assign(id);
}

}  // namespace tavon
