#include "cli/belun.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/files.h"
#include "tavon/check.h"
#include "tavon/cz.h"
#include "tavon/data.h"
#include "tavon/input.h"
#include "tavon/report.h"
#include "tavon/text.h"

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
    "                                .json - (JSON, UTF-8)\n",
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
    std::optional<std::string> copy;  // the normalised copy, when one is named ("..." names none)
    bool warnings = true;
    std::optional<std::string> data_folder;  // -d
    bool names_only = false;                 // RunOptions::names_only
    FindingSink* also = nullptr;             // RunOptions::findings

    bool has_copy() const { return copy.has_value(); }
    bool is_list() const { return !names_only && !input.empty() && input[0] == '@'; }
};

// The data set of the run: the folder of -d, else a folder "data" beside the program, else the
// built-in set. Fails when the folder's files cannot be used.
Result<DataSetPtr> data_set(const CommandLine& line, const std::string& program_folder) {
    if (line.data_folder) return load_data_folder(*line.data_folder);
    if (!program_folder.empty()) {
        const std::string beside = program_folder + "/data";
        if (is_folder(beside)) return load_data_folder(beside);
    }
    return built_in_data();
}

void tell_data_problem(const Error& problem, Console& console) {
    static constexpr auto kCannotUse = cz(" Nelze použít data  ");
    static constexpr auto kLine = cz(", řádek ");
    console << kCannotUse.view();
    console.name(problem.file);
    if (problem.line > 0) console << kLine.view() << std::to_string(problem.line);
    console << ": ";
    console.data(problem.reason) << kStopped;
}

// 0 and the command line, or the exit code of a run that ends here.
int parse(std::span<const std::string_view> arguments, CommandLine& line, Console& console,
          const std::string& program_folder) {
    int files = 0;
    bool folder_follows = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        std::string text(arguments[at]);
        if (!line.names_only && character_count(text) > kMaxArgument) {
            console << kArgumentTooLong.view();
            console.name(text) << kStopped;
            return kFailed;
        }
        if (folder_follows) {
            line.data_folder = text;
            folder_follows = false;
            continue;
        }
        if (line.names_only || text.empty() || text[0] != '-') {
            ++files;
            if (files == 1) line.input = text;
            if (files == 2) line.report = text;
            if (files == 3 && text != "...") line.copy = text;
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
            // The help names the data set of the whole line: -d may follow -h.
            for (std::size_t next = at + 1; next + 1 < arguments.size(); ++next)
                if (arguments[next] == "-d" || arguments[next] == "-D")
                    line.data_folder = arguments[next + 1];
            for (std::string_view t : kHelp) console << t;
            console << kCatalogue.view() << "\n";
            if (const Result<DataSetPtr> data = data_set(line, program_folder))
                console.data("Data: " + describe_data_set(**data)) << "\n";
            else
                tell_data_problem(data.error(), console);
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

// Hands every finding to the report and to the caller's sink.
class BothSinks final : public FindingSink {
  public:
    BothSinks(FindingSink& first, FindingSink& second) : first_(first), second_(second) {}
    void finding(const Finding& f) override {
        first_.finding(f);
        second_.finding(f);
    }

  private:
    FindingSink& first_;
    FindingSink& second_;
};

class ProgressLine final : public ProgressSink {
  public:
    explicit ProgressLine(Console& console) : console_(console) {}
    void employee_done(std::uint64_t line, std::string_view employee, std::string_view employer) override {
        console_.progress(line, employee, employer);
    }

  private:
    Console& console_;
};

std::string_view format_name(ReportFormat format) {
    switch (format) {
        case ReportFormat::Html: return "HTML";
        case ReportFormat::Text: return "TXT";
        case ReportFormat::Csv: return "CSV";
        case ReportFormat::Xml: return "XML";
        case ReportFormat::Json: return "JSON";
    }
    return {};
}

// The outputs of a run: the report and, when named, the copy.
struct OutputFile {
    Role role;
    std::string name;
    FileOutput file;
};

// One run of the command once its arguments are read. Nothing is written where the user can see
// it until the run has ended well: the report and the copy are new files that replace the named
// ones only then.
class Run {
  public:
    Run(const CommandLine& line, Console& console, std::shared_ptr<const DataSet> data)
        : line_(line),
          console_(console),
          data_(std::move(data)),
          report_{Role::Report, line.report, {}},
          copy_{Role::Copy, line.copy.value_or(""), {}} {}

    int execute() {
        if (int code = read_list(); code != 0) return code;
        if (int code = refuse_overwriting(); code != 0) return code;
        if (int code = open_first_document(); code != 0) return code;
        if (int code = open_outputs(); code != 0) return code;

        Report report(report_format_for(line_.report), report_.file,
                      {documents_[0], describe_data_set(*data_)});
        std::optional<Copy> copy;
        if (line_.has_copy()) copy.emplace(copy_.file);
        ProgressLine progress(console_);
        // The report alone unless the caller asked for the findings too: no extra call per finding.
        std::optional<BothSinks> both;
        if (line_.also) both.emplace(report, *line_.also);
        FindingSink& findings = both ? static_cast<FindingSink&>(*both) : report;
        Check check(findings, {line_.warnings, data_, copy ? &*copy : nullptr, &progress});
        for (std::size_t i = 0; i < documents_.size(); ++i) {
            if (i > 0) {
                check.next_document();
                Result<InputFile> next = InputFile::open(documents_[i]);
                if (!next) {
                    // The next document of the list cannot be opened: the outputs are thrown away.
                    console_.clear_progress();
                    return cannot_open(documents_[i], Role::Listed, refine_missing(next.error()));
                }
                input_ = std::move(*next);
            }
            while (const std::size_t n = input_->read(block_))
                check.feed(std::span<const char>(block_.data(), n));
        }
        input_.reset();
        const Totals totals = check.finish();
        // Writing failures show in the outputs' status, which commit() reads.
        (void)report.finish(totals);
        if (copy) (void)copy->finish();
        if (int code = commit(); code != 0) return code;
        tell_totals(totals, report.rows_left_out());
        return 0;
    }

  private:
    // A file that cannot be opened: the message on the console, with the file's role and why.
    int cannot_open(const std::string& name, Role role, const Error& why) {
        return cannot_open(name, role, describe(why));
    }
    int cannot_open(const std::string& name, Role role, std::string_view why) {
        console_ << kCannotOpen;
        console_.name(name) << kStopped << " " << role_name_capitalised(role) << ": " << why << ".\n";
        return kFailed;
    }

    // Reading `in` would read what this run writes into `out` (or writing both would mix them).
    int clash_message(Role in_role, const std::string& in, Role out_role, const std::string& out) {
        static constexpr auto kWouldOverwrite = cz(" by přepsal ");
        static constexpr auto kSameFile = cz(": jde o tentýž soubor.");
        static constexpr auto kBoth = cz(" jsou tentýž soubor.");
        console_ << " " << role_name_capitalised(out_role) << " ";
        console_.name(out);
        if (in_role == Role::Copy) {  // two outputs
            console_ << " a " << role_name(Role::Copy) << " ";
            console_.name(in) << kBoth.view();
        } else {
            console_ << kWouldOverwrite.view() << role_name(in_role) << " ";
            console_.name(in) << kSameFile.view();
        }
        console_ << kStopped;
        return kFailed;
    }

    // A list's names, read whole before anything else is opened.
    int read_list() {
        if (!line_.is_list()) return 0;
        const std::string list_name = line_.input.substr(1);
        const Result<std::string> bytes = read_small_file(list_name, kMaxListBytes);
        if (!bytes) {
            if (bytes.error().kind == Error::Kind::TooLarge) {
                static constexpr auto kTooLarge = cz("je větší než 16 MiB, takový seznam souborů neexistuje");
                return cannot_open(list_name, Role::List, kTooLarge.view());
            }
            return cannot_open(list_name, Role::List, refine_missing(bytes.error()));
        }
        names_ = list_names(*bytes);
        for (const std::string& name : names_)
            if (name.size() > kMaxListName) {
                static constexpr auto kLongName = cz("uvádí název souboru delší než 4096 znaků");
                return cannot_open(list_name, Role::List, kLongName.view());
            }
        return 0;
    }

    // Before anything is opened: the report and the copy (and the copy's backup) must be none of
    // the inputs (by the files' identities, not their names), not each other, and the report must
    // not replace a file that is no report of ours.
    int refuse_overwriting() {
        const FileIdentity report = FileIdentity::of(line_.report);
        FileIdentity copy, backup;
        if (line_.has_copy()) {
            copy = FileIdentity::of(*line_.copy);
            backup = FileIdentity::of(backup_name());
        }
        std::vector<std::pair<Role, std::string>> inputs;
        if (line_.is_list()) {
            inputs.emplace_back(Role::List, line_.input.substr(1));
            for (const std::string& name : names_) inputs.emplace_back(Role::Listed, name);
        } else {
            inputs.emplace_back(Role::Document, line_.input);
        }
        for (const auto& [role, name] : inputs) {
            const FileIdentity id = FileIdentity::of(name);
            // A listed file that does not exist yet would be read after the outputs are written.
            if (!id.exists && role != Role::Listed) continue;
            if (id.same_as(report)) return clash_message(role, name, Role::Report, line_.report);
            if (!line_.has_copy()) continue;
            if (id.same_as(copy)) return clash_message(role, name, Role::Copy, *line_.copy);
            if (id.exists && id.same_as(backup)) return backup_clash(role, name);
        }
        if (line_.has_copy() && report.same_as(copy))
            return clash_message(Role::Copy, *line_.copy, Role::Report, line_.report);
        if (line_.has_copy() && report.same_as(backup)) return backup_clash(Role::Report, line_.report);
        if (holds_foreign_content(line_.report)) {
            static constexpr auto kForeign =
                cz(" by přepsal soubor, který není protokolem kontroly; zvolte jiný název.");
            console_ << " Protokol ";
            console_.name(line_.report) << kForeign.view() << kStopped;
            return kFailed;
        }
        return 0;
    }

    // Where an existing copy is kept before it is replaced.
    std::string backup_name() const { return *line_.copy + "~"; }

    int backup_clash(Role role, const std::string& name) {
        static constexpr auto kBackup = cz(": jeho záloha ");
        static constexpr auto kWouldOverwrite = cz(" by přepsala ");
        static constexpr auto kChoose = cz("; zvolte jiný název.");
        console_ << " " << role_name_capitalised(Role::Copy) << " ";
        console_.name(*line_.copy) << kBackup.view();
        console_.name(backup_name()) << kWouldOverwrite.view() << role_name(role) << " ";
        console_.name(name) << kChoose.view() << kStopped;
        return kFailed;
    }

    // The documents of the run, and the first of them open: the rest open as they are reached.
    int open_first_document() {
        if (!line_.is_list()) {
            documents_ = {line_.input};
        } else if (names_.empty()) {  // a list that names no document: its own argument cannot be opened
            static constexpr auto kEmpty = cz("neobsahuje žádný soubor");
            return cannot_open(line_.input, Role::List, kEmpty.view());
        } else {
            documents_ = names_;
        }
        Result<InputFile> first = InputFile::open(documents_[0]);
        if (!first)
            return cannot_open(documents_[0], line_.is_list() ? Role::Listed : Role::Document,
                               refine_missing(first.error()));
        input_ = std::move(*first);
        return 0;
    }

    int open_outputs() {
        for (OutputFile* output : outputs())
            if (const Result<void> opened = output->file.open(output->name); !opened)
                return cannot_open(output->name, output->role, opened.error());
        return 0;
    }

    std::vector<OutputFile*> outputs() {
        if (line_.has_copy()) return {&report_, &copy_};
        return {&report_};
    }

    // Both outputs complete, then both in place; a failure names every output that failed, and
    // leaves the named files as they were.
    int commit() {
        std::vector<std::pair<OutputFile*, Error>> failed;
        for (OutputFile* output : outputs())
            if (const Result<void> done = output->file.finish(); !done)
                failed.emplace_back(output, done.error());
        for (OutputFile* output : failed.empty() ? outputs() : std::vector<OutputFile*>{})
            if (const Result<void> done =
                    output->file.commit(output->role == Role::Copy ? backup_name() : "");
                !done)
                failed.emplace_back(output, done.error());
        if (failed.empty()) return 0;
        console_.clear_progress();
        for (const auto& [output, why] : failed) {
            console_ << " Nelze zapsat do souboru  ";
            console_.name(output->name) << "\n";
        }
        console_ << kStopped.substr(1);
        for (const auto& [output, why] : failed)
            console_ << " " << role_name_capitalised(output->role) << ": " << describe(why) << ".\n";
        return kFailed;
    }

    void tell_totals(const Totals& totals, long long rows_left_out) {
        char b[96];
        std::snprintf(b, sizeof b, "Celkem chyb vahy E:%8lld\n\nCelkem chyb vahy W:%8lld\n",
                      static_cast<long long>(totals.errors), static_cast<long long>(totals.warnings));
        console_.clear_progress();
        static constexpr auto kReport = cz("Protokol o chybách: ");
        static constexpr auto kCopy = cz(", upravená kopie: ");
        static constexpr auto kRowsLeftOut = cz(" Protokol uvádí jen prvních 20 000 000 nálezů, dalších ");
        static constexpr auto kNotListed = cz(" nevypisuje; počty výše jsou úplné.\n");
        console_ << b;
        if (rows_left_out > 0)
            console_ << kRowsLeftOut.view() << std::to_string(rows_left_out) << kNotListed.view();
        console_ << "\n" << kReport.view();
        console_.name(line_.report) << " (" << format_name(report_format_for(line_.report)) << ")";
        if (line_.has_copy()) {
            console_ << kCopy.view();
            console_.name(*line_.copy);
        }
        console_ << "\nProgram ukoncen normalne\n";
    }

    const CommandLine& line_;
    Console& console_;
    std::shared_ptr<const DataSet> data_;
    std::vector<std::string> names_;      // of a list
    std::vector<std::string> documents_;  // the documents read, one after another
    std::optional<InputFile> input_;      // the one being read
    std::vector<char> block_ = std::vector<char>(1 << 18);
    OutputFile report_, copy_;
};

}  // namespace

int run(std::span<const std::string_view> arguments, std::ostream& out, ConsoleKind kind,
        const std::string& program_folder, RunOptions options) {
    Console console(out, kind);
    console << "\nProgram  " << kProgram << "  kontola dat pro DUV\n";
    CommandLine line;
    line.names_only = options.names_only;
    line.also = options.findings;
    if (int code = parse(arguments, line, console, program_folder); code != 0) return code;
    // A broken data file stops the run before any file is read or written.
    const Result<DataSetPtr> data = data_set(line, program_folder);
    if (!data) {
        tell_data_problem(data.error(), console);
        return kFailed;
    }
    console.data("Data: " + describe_data_set(**data)) << "\n";
    return Run(line, console, *data).execute();
}

}  // namespace tavon::cli
