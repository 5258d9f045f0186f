// Monthly salary tariffs by tariff scale (AA0129), salary class (AA0127) and salary grade (AA0128).
#pragma once

#include <span>

namespace tavon {

class TariffTable {
  public:
    static constexpr int kScales = 5;
    static constexpr int kClasses = 16;
    static constexpr int kGrades = 12;
    static constexpr int kSize = kScales * kClasses * kGrades;  // 960

    struct Range {
        double low;
        double high;
    };

    TariffTable() = default;
    // Whole crowns, scale-major, then class, then grade. Scale 4 holds the same values as scale 3.
    explicit TariffTable(std::span<const double, kSize> values) : values_(values) {}

    // 192 * (s - 1) + 12 * (c - 1) + g - 1, computed in double precision from the field values and
    // truncated toward zero. Callers pass checked values; anything else is kept inside the table.
    static int index(double s, double c, double g);

    // T(s, c, g): the tariff of scale s, class c and grade g.
    double tariff(double s, double c, double g) const {
        return values_[static_cast<std::size_t>(index(s, c, g))];
    }
    // T(s, c, 1) .. T(s, c, 12): the tariffs a class allows when no grade is given.
    Range class_range(double s, double c) const { return {tariff(s, c, 1), tariff(s, c, kGrades)}; }
    // T(s, c, 12): the top tariff of a class.
    double class_top(double s, double c) const { return tariff(s, c, kGrades); }
    // T(1, 1, 1) .. T(4, 16, 12), for a record without scale or class. The upper bound is the last
    // tariff of scale 4, not the highest of the table (scale 5 goes higher).
    Range whole_range() const { return {tariff(1, 1, 1), tariff(4, kClasses, kGrades)}; }
    // T(1, 1, 1): the lowest monthly tariff there is.
    double lowest() const { return tariff(1, 1, 1); }

    std::span<const double, kSize> values() const { return values_; }

  private:
    std::span<const double, kSize> values_{static_cast<const double*>(nullptr), kSize};
};

}  // namespace tavon
