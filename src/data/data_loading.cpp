// Data sets read at run time: the files of a data folder, each replacing the built-in list of its
// name, checked line by line before anything is validated.
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/data_files.h"
#include "data/data_set_builder.h"
#include "input/native_file.h"
#include "tavon/cz.h"
#include "tavon/input.h"
#include "tavon/text.h"

namespace tavon {

struct DataSet::Storage {
    std::array<std::vector<std::string>, data::kListCount> codes;
    std::array<std::vector<std::string_view>, data::kListCount> code_views;
    std::vector<std::uint32_t> submitters, submitter_keys;
    std::vector<std::uint32_t> providers, provider_submitters, provider_keys, provider_key_submitters;
    std::array<double, TariffTable::kSize> tariffs{};
};

namespace {

std::string in_quotes(std::string_view text) {
    static constexpr auto kOpen = cz("„");
    static constexpr auto kClose = cz("“");
    return " (" + std::string(kOpen.view()) + std::string(text.substr(0, 60)) + std::string(kClose.view()) +
           ")";
}

// What is wrong with a line, in Czech.
std::string describe(const data::Problem& p, const data::ListFormat* format) {
    switch (p.kind) {
        case data::Problem::WrongCharacters:
            return std::string(cz("kód obsahuje nepovolené znaky").view()) + in_quotes(p.text);
        case data::Problem::WrongLength: {
            std::string lengths = std::to_string(format->min_length);
            if (format->max_length != format->min_length)
                lengths += " až " + std::to_string(format->max_length);
            return std::string(cz("kód nemá délku ").view()) + lengths + std::string(cz(" znaků").view()) +
                   in_quotes(p.text);
        }
        case data::Problem::TooFewEntries:
            // Worded so that no count needs its own plural form.
            return std::string(cz("seznam je příliš krátký (položek: ").view()) + p.text +
                   std::string(cz(", potřeba nejméně ").view()) + std::to_string(format->min_entries) + ")";
        case data::Problem::NotANumber:
            return std::string(cz("není to IČO (jen číslice)").view()) + in_quotes(p.text);
        case data::Problem::NumberTooLong:
            return std::string(cz("IČO má víc než 8 číslic").view()) + in_quotes(p.text);
        case data::Problem::SubmitterMissing:
            return std::string(cz("u poskytovatele chybí IČO jeho předkladatele").view()) + in_quotes(p.text);
        case data::Problem::ExtraText:
            return std::string(cz("řádek má víc než dvě IČO (poskytovatel a předkladatel)").view()) +
                   in_quotes(p.text);
        case data::Problem::WrongClassCount:
            return std::string(cz("stupnice nemá 16 řádků (platových tříd), ale ").view()) + p.text;
        case data::Problem::WrongGradeCount:
            return std::string(cz("řádek nemá 12 tarifů (platových stupňů) oddělených čárkou").view()) +
                   in_quotes(p.text);
        case data::Problem::NotWholeCrowns:
            return std::string(cz("tarif není celé číslo korun").view()) + in_quotes(p.text);
        case data::Problem::NotRising:
            return std::string(cz("tarif neroste s platovým stupněm").view()) + in_quotes(p.text);
        default: return std::string(cz("soubor nelze přečíst").view());
    }
}

Error bad_data(const std::string& file, int line, std::string reason) {
    return Error{Error::Kind::BadData, file, line, std::move(reason)};
}

const data::ListFormat* list_format(const std::string& name) {
    for (const auto& f : data::kListFormats)
        if (name == f.file) return &f;
    return nullptr;
}

bool known_file(const std::string& name) {
    if (list_format(name) || name == data::kSubmittersFile || name == data::kProvidersFile ||
        name == data::kCampaignFile)
        return true;
    return std::find(data::kScaleFiles.begin(), data::kScaleFiles.end(), name) != data::kScaleFiles.end();
}

}  // namespace

bool DataSetBuilder::read_file(DataSet& set, DataSet::Storage& storage, const DataFile& file,
                               Replaced& replaced, int& line, std::string& reason) {
    data::Problem p;
    auto broken = [&](const data::ListFormat* format) {
        line = p.line;
        reason = describe(p, format);
        return false;
    };
    if (const data::ListFormat* format = list_format(file.name)) {
        const auto which = static_cast<std::size_t>(format - data::kListFormats.data());
        if (!data::parse_code_list(file.bytes, *format, storage.codes[which], p)) return broken(format);
        if (which == static_cast<std::size_t>(data::List::Occupations)) replaced.occupations = true;
    } else if (file.name == data::kSubmittersFile) {
        if (!data::parse_submitters(file.bytes, storage.submitters, p)) return broken(nullptr);
        replaced.submitters = true;
    } else if (file.name == data::kProvidersFile) {
        if (!data::parse_providers(file.bytes, storage.providers, storage.provider_submitters, p))
            return broken(nullptr);
        replaced.providers = true;
    } else if (file.name == data::kCampaignFile) {
        set.name_ = data::parse_campaign(file.bytes);
    } else if (const auto scale = std::find(data::kScaleFiles.begin(), data::kScaleFiles.end(), file.name);
               scale != data::kScaleFiles.end()) {
        data::Scale values;
        if (!data::parse_scale(file.bytes, values, p)) return broken(nullptr);
        // Scale 4 has the same tariffs as scale 3: the file scale3.csv fills both.
        const int index = static_cast<int>(scale - data::kScaleFiles.begin());
        for (int s : index < 2    ? std::vector<int>{index}
                     : index == 2 ? std::vector<int>{2, 3}
                                  : std::vector<int>{4})
            std::copy(values.begin(), values.end(),
                      storage.tariffs.begin() + s * data::kClasses * data::kGrades);
    }
    return true;
}

void DataSetBuilder::take_storage(DataSet& set, DataSet::Storage& storage, const Replaced& replaced) {
    for (std::size_t i = 0; i < data::kListCount; ++i) {
        if (storage.codes[i].empty()) continue;
        storage.code_views[i].assign(storage.codes[i].begin(), storage.codes[i].end());
        set.lists_[i] = CodeList(storage.code_views[i]);
    }
    if (replaced.submitters) {
        for (auto p : data::first_occurrences<std::uint32_t>(storage.submitters))
            storage.submitter_keys.push_back(storage.submitters[static_cast<std::size_t>(p)]);
        set.submitters_ = SubmitterRegister(storage.submitters, storage.submitter_keys);
    }
    if (replaced.providers) {
        for (auto p : data::first_occurrences<std::uint32_t>(storage.providers)) {
            storage.provider_keys.push_back(storage.providers[static_cast<std::size_t>(p)]);
            storage.provider_key_submitters.push_back(
                storage.provider_submitters[static_cast<std::size_t>(p)]);
        }
        set.providers_ = ProviderRegister(storage.providers, storage.provider_submitters,
                                          storage.provider_keys, storage.provider_key_submitters);
    }
    set.tariffs_ = TariffTable(std::span<const double, TariffTable::kSize>(storage.tariffs));
}

Result<DataSetPtr> DataSetBuilder::from_files(std::span<const DataFile> files, const std::string& folder) {
    const std::shared_ptr<const DataSet> base = DataSet::built_in();
    auto set = std::make_shared<DataSet>();
    auto storage = std::make_shared<DataSet::Storage>();
    set->lists_ = base->lists_;
    set->submitters_ = base->submitters_;
    set->providers_ = base->providers_;
    std::copy(base->tariffs_.values().begin(), base->tariffs_.values().end(), storage->tariffs.begin());
    // A file's name as the messages show it: the folder as the user wrote it, with the separator
    // the user wrote ("/" unless the folder has only backslashes), so that it reads alike everywhere.
    auto where = [&](const DataFile& f) {
        if (folder.empty()) return f.name;
        const char last = folder.back();
        if (last == '/' || last == '\\') return folder + f.name;
        const bool backslash =
            folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
        return folder + (backslash ? '\\' : '/') + f.name;
    };
    Replaced replaced;
    for (const DataFile& file : files) {
        int line = 0;
        std::string reason;
        if (!read_file(*set, *storage, file, replaced, line, reason))
            return bad_data(where(file), line, reason);
    }
    take_storage(*set, *storage, replaced);
    set->sample_ = base->is_sample() && !(replaced.occupations && replaced.submitters && replaced.providers);
    set->folder_ = folder;
    set->storage_ = std::move(storage);
    return DataSetPtr(std::move(set));
}

Result<DataSetPtr> load_data(std::span<const DataFile> files) {
    return DataSetBuilder::from_files(files, {});
}

Result<DataSetPtr> load_data_folder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    static constexpr auto kNoFolder = cz("složka neexistuje");
    static constexpr auto kNotFolder = cz("není to složka");
    if (!fs::is_directory(native_path(folder), error))
        return bad_data(
            folder, 0, std::string((fs::exists(native_path(folder), error) ? kNotFolder : kNoFolder).view()));
    std::vector<DataFile> files;
    for (const auto& entry : fs::directory_iterator(native_path(folder), error)) {
        const std::string name = name_of(entry.path().filename());
        if (!known_file(name)) continue;
        DataFile file{name, {}};
        // Every data file is far smaller than this; a link to a device or an endless file is refused.
        constexpr std::size_t kMaxDataFile = 16 << 20;
        Result<std::string> bytes = read_small_file(name_of(entry.path()), kMaxDataFile);
        if (!bytes) {
            static constexpr auto kUnreadable = cz("soubor nelze přečíst");
            static constexpr auto kNotRegular = cz("není to obyčejný soubor");
            static constexpr auto kTooLarge =
                cz("soubor je větší než 16 MiB, takový datový soubor neexistuje");
            const Error::Kind why = bytes.error().kind;
            const auto reason = why == Error::Kind::TooLarge         ? kTooLarge.view()
                                : why == Error::Kind::NotRegularFile ? kNotRegular.view()
                                                                     : kUnreadable.view();
            return bad_data(name_of(entry.path()), 0, std::string(reason));
        }
        file.bytes = std::move(*bytes);
        files.push_back(std::move(file));
    }
    if (error) return bad_data(folder, 0, std::string(cz("složku nelze přečíst").view()));
    return DataSetBuilder::from_files(files, folder);
}

std::string describe_data_set(const DataSet& data) {
    static constexpr auto kSample =
        cz("vestavěná vzorová data, jen na zkoušku (skutečné dodávky kontrolujte s daty kampaně)");
    static constexpr auto kBuiltIn = cz("vestavěná data");
    static constexpr auto kFolder = cz("data ze složky ");
    static constexpr auto kSampleRegisters =
        cz("; registry nebo kódy zaměstnání jsou vzorové, jen na zkoušku");
    if (data.is_built_in()) {
        if (data.is_sample()) return std::string(kSample.view());
        return data.name().empty() ? std::string(kBuiltIn.view())
                                   : std::string(kBuiltIn.view()) + ": " + data.name();
    }
    const std::string folder = name_as_windows1250(data.folder());
    std::string line =
        data.name().empty() ? std::string(kFolder.view()) + folder : data.name() + " (" + folder + ")";
    if (data.is_sample()) line += kSampleRegisters.view();
    return line;
}

}  // namespace tavon
