#include "cli/belun.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/cz.h"
#include "cli/files.h"
#include "tavon/data.h"
#include "tavon/report.h"
#include "tavon/source.h"
#include "tavon/validator.h"

namespace tavon::cli {
namespace {

constexpr std::string_view kProgram = "TAVON_v0.9";
constexpr std::size_t kMaxArgument = 60;
constexpr auto kArgumentTooLong = cz(" Délka parametru vetsi nez 60  ");
constexpr std::string_view kStopped = "\n Program ukoncen\n";
constexpr std::string_view kCannotOpen = " Nelze otevrit soubor  ";

constexpr std::string_view kHelp[] = {
    "Volani programu:\n\nBELUN vstup chyby vystup -prepinac\n\n",
    "\nvstup    - uplna cesta ke vstupnimu souboru, max. 60 znaku\n",
    "             neni-li uveden hleda se duv.xml \n",
    "             je-li prni znak @, jedna se o seznam souboru\n",
    "\nchyby    - uplna cesta k chybovemu souboru, max. 60 znaku\n",
    "             neni-li uveden zapisuje se do  duve.htm\n",
    "             pripona urcuje typ .htm - html\n",
    "             pripona urcuje typ .txt - textovy\n",
    "                                .csv - (Excel)\n",
    "                                .xml          \n",
    "\nvystup   - uplna cesta k vystupmu souboru, max. 60 znaku\n",
    "             neni-li uveden, vystupni  se nevytvari\n",
    "\nprepinac - pripustne hodnoty\n",
    "             -w potlaceni vystupu chyb vahy W\n",
    "             -h tato napoveda\n",
    "             -d slozka  data kampane (ciselniky, registry, tarify) ze slozky;\n",
    "                bez -d se pouzije slozka data vedle programu, neni-li, vestavena data\n",
};
// Where the codes of a report are explained.
constexpr auto kCatalogue =
    cz("\nVšechny kódy chyb a prvky vysvětluje katalog.html vedle programu (v Linuxu\n"
       "např. v /usr/share/doc/belun); protokol HTML vysvětluje ty, které uvádí.\n");

constexpr int kFailed = 13;
constexpr int kHelpShown = 1;

// The names and switches of the command line.
struct CommandLine {
    std::string input = "duv.xml";
    std::string report = "duve.htm";
    std::string copy = "...";  // "..." means none
    bool warnings = true;
    std::optional<std::string> data_folder;  // -d

    bool has_copy() const { return copy != "..."; }
    bool is_list() const { return !input.empty() && input[0] == '@'; }
};

// The data set of the run: the folder of -d, else a folder "data" beside the program, else the
// built-in set. Null, with the problem, when the folder's files cannot be used.
std::shared_ptr<const DataSet> data_set(const CommandLine& line, const std::string& program_folder,
                                        DataProblem& problem) {
    if (line.data_folder) return load_data_folder(*line.data_folder, problem);
    if (!program_folder.empty()) {
        const std::filesystem::path beside = std::filesystem::path(program_folder) / "data";
        std::error_code error;
        if (std::filesystem::is_directory(beside, error)) return load_data_folder(beside.string(), problem);
    }
    return built_in_data();
}

void tell_data_problem(const DataProblem& problem, Console& console) {
    static constexpr auto kCannotUse = cz(" Nelze použít data  ");
    static constexpr auto kLine = cz(", řádek ");
    console << kCannotUse.view();
    console.name(problem.file);
    if (problem.line > 0) console << kLine.view() << std::to_string(problem.line);
    console << ": " << problem.reason << kStopped;
}

// 0 and the command line, or the exit code of a run that ends here.
int parse(std::span<const std::string_view> arguments, CommandLine& line, Console& console,
          const std::string& program_folder) {
    int files = 0;
    bool folder_follows = false;
    for (std::string_view argument : arguments) {
        std::string text(argument);
        if (text.size() > kMaxArgument) {
            console << kArgumentTooLong.view();
            console.name(text) << kStopped;
            return kFailed;
        }
        if (folder_follows) {
            line.data_folder = text;
            folder_follows = false;
            continue;
        }
        if (text.empty() || text[0] != '-') {
            ++files;
            if (files == 1) line.input = text;
            if (files == 2) line.report = text;
            if (files == 3) line.copy = text;
            continue;
        }
        if (text.size() > 1 && text[1] == 'W') text[1] = 'w';
        if (text.size() > 1 && text[1] == 'H') text[1] = 'h';
        if (text.size() > 1 && text[1] == 'D') text[1] = 'd';
        if (text == "-w") {
            line.warnings = false;
        } else if (text == "-d") {
            folder_follows = true;
        } else if (text == "-h") {
            for (std::string_view t : kHelp) console << t;
            console << kCatalogue.view();
            DataProblem problem;
            if (const auto data = data_set(line, program_folder, problem))
                console << "\nData: " << describe_data_set(*data) << "\n";
            else
                tell_data_problem(problem, console);
            return kHelpShown;
        } else {
            console << " Chybny parametr ";
            console.name(text) << kStopped;
            return kFailed;
        }
    }
    if (folder_follows) {  // -d without its folder
        console << " Chybny parametr -d" << kStopped;
        return kFailed;
    }
    return 0;
}

class ProgressLine final : public ProgressSink {
  public:
    explicit ProgressLine(Console& console) : console_(console) {}
    void employee_done(std::uint64_t line, std::string_view employee, std::string_view employer) override {
        console_.progress(line, employee, employer);
    }

  private:
    Console& console_;
};

std::string local_date_time() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return report_date_time(local);
}

std::string_view format_name(ReportFormat format) {
    switch (format) {
        case ReportFormat::Html: return "HTML";
        case ReportFormat::Text: return "TXT";
        case ReportFormat::Csv: return "CSV";
        case ReportFormat::Xml: return "XML";
    }
    return {};
}

// The words of a list file up to its end or to "...": the documents it names.
std::vector<std::string> list_words(const std::string& list_name) {
    std::vector<std::string> words;
    FilePtr list(std::fopen(list_name.c_str(), "rb"));
    if (!list) return words;
    std::string word;
    for (int c = std::getc(list.get());; c = std::getc(list.get())) {
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
        if (c != EOF && !space) {
            word.push_back(static_cast<char>(c));
            continue;
        }
        if (!word.empty()) {
            if (word == "..." && !words.empty()) break;
            words.push_back(word);
            word.clear();
        }
        if (c == EOF) break;
    }
    return words;
}

// One run of the command once its arguments are read.
class Run {
  public:
    Run(const CommandLine& line, Console& console, std::shared_ptr<const DataSet> data)
        : line_(line), console_(console), data_(std::move(data)) {}

    int execute() {
        if (int code = refuse_overwriting(); code != 0) return code;
        if (int code = open_files(); code != 0) return code;
        ReportWriter report(report_format_for(line_.report), report_file_);
        std::unique_ptr<CopyWriter> copy;
        if (copy_file_.is_open()) copy = std::make_unique<CopyWriter>(copy_file_);

        report.header(local_date_time(), source_->document_name(), describe_data_set(*data_));
        ProgressLine progress(console_);
        Validator validator(Options{line_.warnings, data_});
        const Result result = validator.run(*source_, report, copy.get(), &progress);
        if (!result.completed) {
            // The next document of the list could not be opened, or must not be read: the report
            // stays unfinished.
            console_.clear_progress();
            if (clash_) {
                clash_message(clash_->in_role, clash_->in, clash_->out_role, clash_->out, &report);
            } else {
                const std::string name(source_->failed_name());
                cannot_open(name, Role::Listed, refine_missing(name, source_->failure()), &report);
            }
            if (copy) copy->flush();
            copy_file_.close();
            return kFailed;
        }
        return finish(report, copy.get(), result.totals);
    }

  private:
    struct Clash {
        Role in_role;
        std::string in;
        Role out_role;
        std::string out;
    };

    // A file that cannot be opened: the message on the console with the reason, and, once the
    // report is open, the message in the report.
    int cannot_open(const std::string& name, Role role, OpenError why, ReportWriter* report) {
        return cannot_open(name, role, reason(why), report);
    }
    int cannot_open(const std::string& name, Role role, std::string_view why, ReportWriter* report) {
        console_ << kCannotOpen;
        console_.name(name) << kStopped << " " << role_name_capitalised(role) << ": " << why << ".\n";
        if (report) {
            report->raw(kCannotOpen);
            report->raw(name);
            report->raw(kStopped);
            report->flush();
            report_file_.close();
        }
        return kFailed;
    }

    // Reading `in` would read what this run writes into `out` (or writing both would mix them).
    int clash_message(Role in_role, const std::string& in, Role out_role, const std::string& out,
                      ReportWriter* report) {
        static constexpr auto kWouldOverwrite = cz(" by přepsal ");
        static constexpr auto kSameFile = cz(": jde o tentýž soubor.");
        static constexpr auto kBoth = cz(" jsou tentýž soubor.");
        std::string text = " " + role_name_capitalised(out_role) + " " + out;
        if (in_role == Role::Copy)  // two outputs
            text += std::string(" a ") + std::string(role_name(Role::Copy)) + " " + in +
                    std::string(kBoth.view());
        else
            text += std::string(kWouldOverwrite.view()) + std::string(role_name(in_role)) + " " + in +
                    std::string(kSameFile.view());
        text += kStopped;
        console_ << text;
        if (report) {
            report->raw(text);
            report->flush();
            report_file_.close();
        }
        return kFailed;
    }

    // Before any file is created or emptied: the report and the copy must be none of the inputs
    // (by the files' identities, not their names), not each other, and the report must not replace
    // a file that is no report.
    int refuse_overwriting() {
        report_id_ = FileIdentity::of(line_.report);
        if (line_.has_copy()) copy_id_ = FileIdentity::of(line_.copy);

        std::vector<std::pair<Role, std::string>> inputs;
        if (line_.is_list()) {
            inputs.emplace_back(Role::List, line_.input.substr(1));
            const auto words = list_words(line_.input.substr(1));
            if (words.empty()) inputs.emplace_back(Role::Listed, line_.input);
            for (const std::string& w : words) inputs.emplace_back(Role::Listed, w);
        } else {
            inputs.emplace_back(Role::Document, line_.input);
        }
        for (const auto& [role, name] : inputs) {
            const FileIdentity id = FileIdentity::of(name);
            if (!id.exists) continue;  // a file that does not exist yet cannot clash
            if (id.same_as(report_id_)) return clash_message(role, name, Role::Report, line_.report, nullptr);
            if (line_.has_copy() && id.same_as(copy_id_))
                return clash_message(role, name, Role::Copy, line_.copy, nullptr);
        }
        if (line_.has_copy() && report_id_.same_as(copy_id_))
            return clash_message(Role::Copy, line_.copy, Role::Report, line_.report, nullptr);
        if (holds_foreign_content(line_.report)) {
            static constexpr auto kForeign =
                cz(" by přepsal soubor, který není protokolem kontroly; zvolte jiný název.");
            console_ << " Protokol ";
            console_.name(line_.report) << kForeign.view() << kStopped;
            return kFailed;
        }
        return 0;
    }

    // Whether the document just opened is the report or the copy that this run has created.
    bool is_output(std::FILE* input, Role role, const std::string& name) {
        const FileIdentity id = FileIdentity::of(input);
        if (report_file_.is_open() && id.same_as(report_open_id_)) {
            clash_ = Clash{role, name, Role::Report, line_.report};
            return true;
        }
        if (copy_file_.is_open() && id.same_as(copy_open_id_)) {
            clash_ = Clash{role, name, Role::Copy, line_.copy};
            return true;
        }
        return false;
    }

    // A document found to be an output once that output exists: refused, and the outputs this run
    // created (which did not exist before) removed again.
    int refuse_fresh_output() {
        clash_message(clash_->in_role, clash_->in, clash_->out_role, clash_->out, nullptr);
        source_.reset();
        report_file_.close();
        copy_file_.close();
        if (!report_id_.exists) std::remove(line_.report.c_str());
        if (line_.has_copy() && !copy_id_.exists) std::remove(line_.copy.c_str());
        return kFailed;
    }

    int open_files() {
        OpenError why;
        if (!report_file_.open(line_.report, why))
            return cannot_open(line_.report, Role::Report,
                               why == OpenError::NotFound ? OpenError::FolderMissing : why, nullptr);
        report_open_id_ = FileIdentity::of(line_.report);
        // Until the header, a failure message is all the report holds.
        auto failed = [&](const std::string& name, Role role, OpenError reason) {
            ReportWriter report(ReportFormat::Text, report_file_);
            return cannot_open(name, role, reason, &report);
        };
        // A list that names no document: its own argument is what cannot be opened.
        auto failed_empty_list = [&](const std::string& name) {
            static constexpr auto kEmpty = cz("neobsahuje žádný soubor");
            ReportWriter report(ReportFormat::Text, report_file_);
            return cannot_open(name, Role::List, kEmpty.view(), &report);
        };
        if (line_.has_copy()) {
            if (!copy_file_.open(line_.copy, why))
                return failed(line_.copy, Role::Copy,
                              why == OpenError::NotFound ? OpenError::FolderMissing : why);
            copy_open_id_ = FileIdentity::of(line_.copy);
        }
        // A listed document is checked against the outputs when it is reached, before it is read.
        auto opener = [this](const std::string& name, OpenError& reason) {
            FilePtr f = open_input_file(name, reason);
            if (f && is_output(f.get(), Role::Listed, name)) return FilePtr();
            return f;
        };
        if (line_.is_list()) {
            const std::string list_name = line_.input.substr(1);
            FilePtr list = open_input_file(list_name, why);
            if (!list) return failed(list_name, Role::List, refine_missing(list_name, why));
            auto source = std::make_unique<ListSource>(std::move(list), line_.input, opener);
            if (!source->open_first()) {
                if (clash_) return refuse_fresh_output();
                const std::string name(source->failed_name());
                if (name == line_.input) return failed_empty_list(name);
                return failed(name, Role::Listed, refine_missing(name, source->failure()));
            }
            source_ = std::move(source);
            return 0;
        }
        FilePtr input = open_input_file(line_.input, why);
        if (!input) return failed(line_.input, Role::Document, refine_missing(line_.input, why));
        if (is_output(input.get(), Role::Document, line_.input)) return refuse_fresh_output();
        source_ = std::make_unique<FileSource>(std::move(input), line_.input);
        return 0;
    }

    int finish(ReportWriter& report, CopyWriter* copy, const Totals& totals) {
        report.footer(totals);
        report.flush();
        source_.reset();
        bool written = true;
        std::string unwritten;
        Role role = Role::Report;
        OpenError why = OpenError::None;
        if (copy) {
            copy->finish();
            copy->flush();
            if (!copy_file_.close()) {
                written = false;
                unwritten = line_.copy;
                role = Role::Copy;
                why = copy_file_.write_error();
            }
        }
        if (!report_file_.close() && written) {
            written = false;
            unwritten = line_.report;
            why = report_file_.write_error();
        }
        // A report or copy that could not be written whole is no normal end.
        if (!written) {
            console_.clear_progress();
            console_ << " Nelze zapsat do souboru  ";
            console_.name(unwritten) << kStopped << " " << role_name_capitalised(role) << ": " << reason(why)
                                     << ".\n";
            return kFailed;
        }
        char b[96];
        std::snprintf(b, sizeof b, "Celkem chyb vahy E:%8d\n\nCelkem chyb vahy W:%8d\n",
                      static_cast<int>(totals.errors), static_cast<int>(totals.warnings));
        console_.clear_progress();
        static constexpr auto kReport = cz("Protokol o chybách: ");
        static constexpr auto kCopy = cz(", upravená kopie: ");
        console_ << b << "\n" << kReport.view();
        console_.name(line_.report) << " (" << format_name(report_format_for(line_.report)) << ")";
        if (copy) {
            console_ << kCopy.view();
            console_.name(line_.copy);
        }
        console_ << "\nProgram ukoncen normalne\n";
        return 0;
    }

    const CommandLine& line_;
    Console& console_;
    FileIdentity report_id_, copy_id_;            // before the run
    FileIdentity report_open_id_, copy_open_id_;  // once created
    FileOutput report_file_;
    FileOutput copy_file_;
    std::unique_ptr<Source> source_;
    std::optional<Clash> clash_;
    std::shared_ptr<const DataSet> data_;
};

}  // namespace

int run(std::span<const std::string_view> arguments, std::ostream& out, ConsoleKind kind,
        const std::string& program_folder) {
    Console console(out, kind);
    console << "\nProgram  " << kProgram << "  kontola dat pro DUV\n";
    CommandLine line;
    if (int code = parse(arguments, line, console, program_folder); code != 0) return code;
    // A broken data file stops the run before any file is read or written.
    DataProblem problem;
    const std::shared_ptr<const DataSet> data = data_set(line, program_folder, problem);
    if (!data) {
        tell_data_problem(problem, console);
        return kFailed;
    }
    console << "Data: " << describe_data_set(*data) << "\n";
    return Run(line, console, data).execute();
}

}  // namespace tavon::cli
