// Build-time tool: turns the data files of the code lists, registers and tariffs into C++ include
// files of constant tables (run by the commands of tavon_data.cmake). It reads the files with the
// same parsers as a data folder read at run time.
//
//   tavon_data_gen list       <out.inc> <Name> <file>        a code list (format by the file's name)
//   tavon_data_gen submitters <out.inc> <file>
//   tavon_data_gen providers  <out.inc> <file>
//   tavon_data_gen tariffs    <out.inc> <scale 1> <scale 2> <scale 3> <scale 5>
//   tavon_data_gen campaign   <out.inc> <sample: 0|1> [<campaign.txt>]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "data/data_files.h"

namespace {

using namespace tavon::data;

struct Failure {
    std::string text;
};

std::string read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) throw Failure{name + ": cannot be read"};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* describe(Problem::Kind kind) {
    switch (kind) {
        case Problem::WrongCharacters: return "characters other than the code may hold";
        case Problem::WrongLength: return "code of the wrong length";
        case Problem::TooFewEntries: return "too few entries";
        case Problem::NotANumber: return "not an identification number";
        case Problem::NumberTooLong: return "more than 8 digits";
        case Problem::SubmitterMissing: return "provider without its submitter";
        case Problem::ExtraText: return "more than 'provider submitter'";
        case Problem::WrongClassCount: return "not 16 classes";
        case Problem::WrongGradeCount: return "not 12 grades";
        case Problem::NotWholeCrowns: return "not whole crowns";
        case Problem::NotRising: return "tariff not above the grade before it";
        default: return "cannot be read";
    }
}

[[noreturn]] void broken(const std::string& file, const Problem& p) {
    throw Failure{file + ":" + std::to_string(p.line) + ": " + describe(p.kind) + ": '" + p.text + "'"};
}

std::string literal(const std::string& text) { return '"' + text + '"'; }
std::string literal(std::uint32_t n) { return std::to_string(n) + "u"; }
std::string literal(double d) { return std::to_string(static_cast<long long>(d)) + ".0"; }

template <typename T>
void array(std::ostream& out, const char* type, const std::string& name, const std::vector<T>& values) {
    out << "inline constexpr std::array<" << type << ", " << values.size() << "> " << name << "{";
    for (std::size_t i = 0; i < values.size(); ++i) out << (i % 10 == 0 ? "\n    " : " ") << literal(values[i]) << ",";
    out << "\n};\n";
}

template <typename T>
std::vector<T> pick(const std::vector<T>& values, const std::vector<std::int32_t>& positions) {
    std::vector<T> out;
    for (auto p : positions) out.push_back(values[static_cast<std::size_t>(p)]);
    return out;
}

void list(std::ostream& out, const std::string& name, const std::string& file) {
    const std::string base = std::filesystem::path(file).filename().string();
    const ListFormat* format = nullptr;
    for (const auto& f : kListFormats)
        if (base == f.file) format = &f;
    if (!format) throw Failure{file + ": not the name of a code list"};
    std::vector<std::string> codes;
    Problem p;
    if (!parse_code_list(read_file(file), *format, codes, p)) broken(file, p);
    array(out, "std::string_view", name + "_entries", codes);
}

void submitters(std::ostream& out, const std::string& file) {
    std::vector<std::uint32_t> numbers;
    Problem p;
    if (!parse_submitters(read_file(file), numbers, p)) broken(file, p);
    array(out, "std::uint32_t", "submitters_entries", numbers);
    array(out, "std::uint32_t", "submitters_keys", pick(numbers, first_occurrences<std::uint32_t>(numbers)));
}

void providers(std::ostream& out, const std::string& file) {
    std::vector<std::uint32_t> providers, submitters;
    Problem p;
    if (!parse_providers(read_file(file), providers, submitters, p)) broken(file, p);
    const auto first = first_occurrences<std::uint32_t>(providers);
    array(out, "std::uint32_t", "providers_entries", providers);
    array(out, "std::uint32_t", "providers_submitters", submitters);
    array(out, "std::uint32_t", "providers_keys", pick(providers, first));
    array(out, "std::uint32_t", "providers_key_submitters", pick(submitters, first));
}

void tariffs(std::ostream& out, const std::vector<std::string>& files) {
    std::vector<double> all;
    // Scale 4 has the same tariffs as scale 3.
    for (const std::string* file : {&files[0], &files[1], &files[2], &files[2], &files[3]}) {
        Scale scale;
        Problem p;
        if (!parse_scale(read_file(*file), scale, p)) broken(*file, p);
        all.insert(all.end(), scale.begin(), scale.end());
    }
    array(out, "double", "tariff_values", all);
}

void campaign(std::ostream& out, bool sample, const std::vector<std::string>& files) {
    const std::string name = files.empty() ? std::string() : parse_campaign(read_file(files[0]));
    // Plain ASCII as it stands; any other byte (Windows-1250 letters) as an octal escape, so that
    // the source file itself stays ASCII.
    std::string escaped;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && c != '"' && c != '\\') {
            escaped.push_back(c);
        } else {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", b);
            escaped += octal;
        }
    }
    out << "// True when the registers and the occupation list are the samples shipped with the sources.\n"
        << "inline constexpr bool built_in_sample = " << (sample ? "true" : "false") << ";\n"
        << "inline constexpr std::string_view built_in_name = \"" << escaped << "\";\n";
}

void generate(const std::vector<std::string>& args) {
    const std::string& kind = args.at(0);
    const std::string& output = args.at(1);
    std::ostringstream out;
    out << "// Generated by tavon_data_gen from the data files; do not edit.\n#pragma once\n\n"
        << "#include <array>\n#include <cstdint>\n#include <string_view>\n\nnamespace tavon::built_in {\n\n";
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    if (kind == "list" && rest.size() == 2) {
        list(out, rest[0], rest[1]);
    } else if (kind == "submitters" && rest.size() == 1) {
        submitters(out, rest[0]);
    } else if (kind == "providers" && rest.size() == 1) {
        providers(out, rest[0]);
    } else if (kind == "tariffs" && rest.size() == 4) {
        tariffs(out, rest);
    } else if (kind == "campaign" && (rest.size() == 1 || rest.size() == 2)) {
        campaign(out, rest[0] == "1", std::vector<std::string>(rest.begin() + 1, rest.end()));
    } else {
        throw Failure{"unknown kind '" + kind + "' or wrong number of arguments"};
    }
    out << "\n}  // namespace tavon::built_in\n";
    const std::string text = out.str();
    std::ofstream file(output, std::ios::binary);
    file << text;
    if (!file.flush()) throw Failure{output + ": cannot be written"};
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc < 4) throw Failure{"usage: tavon_data_gen <kind> <out.inc> <argument>..."};
        generate(std::vector<std::string>(argv + 1, argv + argc));
        return 0;
    } catch (const Failure& f) {
        std::cerr << "tavon_data_gen: " << f.text << "\n";
    } catch (const std::exception& e) {
        std::cerr << "tavon_data_gen: " << e.what() << "\n";
    }
    return 1;
}
