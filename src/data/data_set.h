// The code lists, registers and tariffs that the checks look values up in: the built-in set, or a
// set read from a data folder. Lookups answer exactly as a search from the first entry of the data
// file would (whole texts compared byte by byte, numbers by value), but run as binary searches.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_files.h"
#include "data/tariffs.h"

namespace tavon {

class CodeList {
  public:
    CodeList() = default;
    // `entries`: the codes as in the data file; they must outlive the list.
    explicit CodeList(std::span<const std::string_view> entries);

    // Position of the first entry equal to `code`, or size() when there is none.
    int position(std::string_view code) const {
        if (code.size() > kMaxCode) return size();
        const std::uint64_t key = pack(code);
        std::size_t low = 0, high = keys_.size();
        while (low < high) {
            const std::size_t mid = (low + high) / 2;
            if (keys_[mid] < key)
                low = mid + 1;
            else
                high = mid;
        }
        return low < keys_.size() && keys_[low] == key ? positions_[low] : size();
    }
    bool contains(std::string_view code) const { return position(code) < size(); }
    // The entry at `position`; empty outside the list.
    std::string_view at(int position) const {
        return position >= 0 && position < size() ? entries_[static_cast<std::size_t>(position)]
                                                  : std::string_view{};
    }
    int size() const { return static_cast<int>(entries_.size()); }
    std::span<const std::string_view> entries() const { return entries_; }

    // The longest code a list can hold; every list format stays within it.
    static constexpr std::size_t kMaxCode = 7;

  private:
    // A code of at most seven bytes as one number: equal codes, and only they, give equal numbers,
    // so the search compares numbers instead of texts.
    static std::uint64_t pack(std::string_view code) {
        std::uint64_t key = 0;
        for (char c : code) key = key << 8 | static_cast<unsigned char>(c);
        return key << 8 * (7 - code.size()) << 8 | code.size();
    }

    std::span<const std::string_view> entries_;
    std::vector<std::uint64_t> keys_;      // the distinct codes, ascending
    std::vector<std::int32_t> positions_;  // the position of each one's first entry
};

// The register of submitters: identification numbers.
class SubmitterRegister {
  public:
    SubmitterRegister() = default;
    SubmitterRegister(std::span<const std::uint32_t> in_order, std::span<const std::uint32_t> sorted_keys)
        : in_order_(in_order), keys_(sorted_keys) {}
    bool contains(std::uint32_t ico) const;
    std::span<const std::uint32_t> entries() const { return in_order_; }

  private:
    std::span<const std::uint32_t> in_order_;
    std::span<const std::uint32_t> keys_;
};

// The register of providers (employers), each with the submitter registered for it.
class ProviderRegister {
  public:
    ProviderRegister() = default;
    ProviderRegister(std::span<const std::uint32_t> providers, std::span<const std::uint32_t> submitters,
                     std::span<const std::uint32_t> sorted_providers,
                     std::span<const std::uint32_t> their_submitters)
        : providers_(providers),
          submitters_(submitters),
          keys_(sorted_providers),
          key_submitters_(their_submitters) {}
    // The submitter of the first entry of the provider, or none when it is not registered.
    std::optional<std::uint32_t> submitter_of(std::uint32_t provider) const;
    std::span<const std::uint32_t> providers() const { return providers_; }
    std::span<const std::uint32_t> submitters() const { return submitters_; }

  private:
    std::span<const std::uint32_t> providers_, submitters_;
    std::span<const std::uint32_t> keys_, key_submitters_;
};

class DataSet {
  public:
    DataSet() = default;
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    // The set compiled into the program.
    static std::shared_ptr<const DataSet> built_in();

    const CodeList& list(data::List which) const { return lists_[static_cast<std::size_t>(which)]; }
    const CodeList& states() const { return list(data::List::States); }
    const SubmitterRegister& submitters() const { return submitters_; }
    const ProviderRegister& providers() const { return providers_; }
    const TariffTable& tariffs() const { return tariffs_; }

    // Positions 0 to 5 of the state list are the home states (CZ, CZE, 203, SK, SVK, 703).
    static constexpr int kHomeStates = 6;

    // True when the registers and the occupation list are the samples shipped with the sources.
    bool is_sample() const { return sample_; }
    // The data set's name (the first line of campaign.txt), and the folder it was read from (empty
    // when built in).
    const std::string& name() const { return name_; }
    const std::string& folder() const { return folder_; }
    bool is_built_in() const { return built_in_; }

  private:
    friend class DataSetBuilder;
    bool built_in_ = false;
    std::array<CodeList, data::kListCount> lists_;
    SubmitterRegister submitters_;
    ProviderRegister providers_;
    TariffTable tariffs_;
    bool sample_ = false;
    std::string name_;
    std::string folder_;
    // Storage of a set read at run time; the lists above view it.
    struct Storage;
    std::shared_ptr<Storage> storage_;
};

}  // namespace tavon
