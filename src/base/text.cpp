#include "base/text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace tavon {

bool parse_number_general(double& value, std::string_view text, char type) {
    const int points_allowed = type == 'R' ? 1 : 0;
    int points = 0, pluses = 0, minuses = 0;
    // Gathered on the way for the exact fast conversion below.
    std::uint64_t mantissa = 0;
    int significant = 0, decimals = 0, digits = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (points) ++decimals;
            if (mantissa != 0 || c != '0') {
                ++significant;
                if (significant <= 19) mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            }
            continue;
        }
        if (c == '.')
            ++points;
        else if (c == '+')
            ++pluses;
        else if (c == '-')
            ++minuses;
        else {
            value = 0.0;
            return false;
        }
        if (points > points_allowed || pluses > 1 || minuses > 1 || (pluses && minuses) ||
            ((c == '+' || c == '-') && i != 0)) {
            value = 0.0;
            return false;
        }
    }
    if (digits == 0) {  // "", a lone sign or point: no number, as strtod reads it
        value = 0.0;
        return true;
    }
    // Up to 15 significant digits and 22 decimals: mantissa and power of ten are exact doubles,
    // so one correctly rounded division gives exactly what strtod gives.
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (significant <= 15 && decimals <= 22) {
        double d = static_cast<double>(mantissa);
        if (decimals) d /= kPowers[decimals];
        value = minuses ? -d : d;
        return true;
    }
    std::string copy(text);
    value = std::strtod(copy.c_str(), nullptr);
    return true;
}

}  // namespace tavon
