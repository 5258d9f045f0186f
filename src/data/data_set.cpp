#include "data/data_set.h"

#include <algorithm>

#include "data/data_set_builder.h"
#include "tavon/data.h"
#include "tavon_data/Education.inc"
#include "tavon_data/EmploymentKinds.inc"
#include "tavon_data/EmploymentStatuses.inc"
#include "tavon_data/LegalForms.inc"
#include "tavon_data/Nuts.inc"
#include "tavon_data/Occupations.inc"
#include "tavon_data/States.inc"
#include "tavon_data/campaign.inc"
#include "tavon_data/providers.inc"
#include "tavon_data/submitters.inc"
#include "tavon_data/tariffs.inc"

namespace tavon {
namespace {

// Index of `key` among the sorted distinct `keys`, or -1.
template <typename T, typename K>
int index_of(std::span<const T> keys, const K& key) {
    const auto it = std::lower_bound(keys.begin(), keys.end(), key);
    return (it != keys.end() && *it == key) ? static_cast<int>(it - keys.begin()) : -1;
}

// Binary search needs keys strictly ascending in the order of operator<, which the generator's
// byte-wise sort must agree with.
template <typename A>
constexpr bool ascending(const A& keys) {
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (!(keys[i - 1] < keys[i])) return false;
    return true;
}
static_assert(ascending(built_in::submitters_keys) && ascending(built_in::providers_keys));
static_assert(built_in::tariff_values.size() == TariffTable::kSize);

constexpr bool codes_fit() {
    for (const auto& f : data::kListFormats)
        if (f.max_length > static_cast<int>(CodeList::kMaxCode)) return false;
    return true;
}
static_assert(codes_fit(), "every code of a list must fit CodeList's packed key");

}  // namespace

CodeList::CodeList(std::span<const std::string_view> entries) : entries_(entries) {
    std::vector<std::uint64_t> packed;
    for (std::string_view e : entries) packed.push_back(e.size() <= kMaxCode ? pack(e) : ~std::uint64_t{0});
    for (std::int32_t p : data::first_occurrences<std::uint64_t>(packed)) {
        if (packed[static_cast<std::size_t>(p)] == ~std::uint64_t{0}) continue;  // too long to be found
        keys_.push_back(packed[static_cast<std::size_t>(p)]);
        positions_.push_back(p);
    }
}

bool SubmitterRegister::contains(std::uint32_t ico) const { return index_of(keys_, ico) >= 0; }

std::optional<std::uint32_t> ProviderRegister::submitter_of(std::uint32_t provider) const {
    const int i = index_of(keys_, provider);
    if (i < 0) return std::nullopt;
    return key_submitters_[static_cast<std::size_t>(i)];
}

std::shared_ptr<DataSet> DataSetBuilder::built_in() {
    auto set = std::make_shared<DataSet>();
    using L = data::List;
    auto put = [&](L which, const auto& entries) {
        set->lists_[static_cast<std::size_t>(which)] = CodeList(entries);
    };
    put(L::States, built_in::States_entries);
    put(L::LegalForms, built_in::LegalForms_entries);
    put(L::EmploymentStatuses, built_in::EmploymentStatuses_entries);
    put(L::EmploymentKinds, built_in::EmploymentKinds_entries);
    put(L::Nuts, built_in::Nuts_entries);
    put(L::Education, built_in::Education_entries);
    put(L::Occupations, built_in::Occupations_entries);
    set->submitters_ = SubmitterRegister(built_in::submitters_entries, built_in::submitters_keys);
    set->providers_ = ProviderRegister(built_in::providers_entries, built_in::providers_submitters,
                                       built_in::providers_keys, built_in::providers_key_submitters);
    set->tariffs_ = TariffTable(built_in::tariff_values);
    set->sample_ = built_in::built_in_sample;
    set->built_in_ = true;
    set->name_ = std::string(built_in::built_in_name);
    return set;
}

std::shared_ptr<const DataSet> built_in_data() { return DataSet::built_in(); }

std::shared_ptr<const DataSet> DataSet::built_in() {
    static const std::shared_ptr<const DataSet> set = DataSetBuilder::built_in();
    return set;
}

}  // namespace tavon
