#include "cli/belun.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "base/cz.h"
#include "tavon/report.h"
#include "tavon/source.h"
#include "tavon/validator.h"

namespace tavon::cli {
namespace {

constexpr std::string_view kProgram = "TAVON_v0.9";
constexpr std::size_t kMaxArgument = 60;
constexpr auto kArgumentTooLong = cz(" Délka parametru vetsi nez 60  ");
constexpr std::string_view kStopped = "\n Program ukoncen\n";

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
};

constexpr int kFailed = 13;
constexpr int kHelpShown = 1;

// The names and switches of the command line.
struct CommandLine {
    std::string input = "duv.xml";
    std::string report = "duve.htm";
    std::string copy = "...";  // "..." means none
    bool warnings = true;
};

// 0 and the command line, or the exit code of a run that ends here.
int parse(std::span<const std::string_view> arguments, CommandLine& line, std::ostream& console) {
    int files = 0;
    for (std::string_view argument : arguments) {
        std::string text(argument);
        if (text.size() > kMaxArgument) {
            console << kArgumentTooLong.view() << text << kStopped;
            return kFailed;
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
        if (text == "-w") {
            line.warnings = false;
        } else if (text == "-h") {
            for (std::string_view t : kHelp) console << t;
            return kHelpShown;
        } else {
            console << " Chybny parametr " << text << kStopped;
            return kFailed;
        }
    }
    return 0;
}

// The progress line, rewritten in place at most about ten times a second.
class ProgressLine final : public ProgressSink {
  public:
    explicit ProgressLine(std::ostream& console) : console_(console) {}

    void employee_done(std::uint64_t line, std::string_view employee, std::string_view employer) override {
        const auto now = std::chrono::steady_clock::now();
        if (shown_ && now - last_ < std::chrono::milliseconds(100)) return;
        shown_ = true;
        last_ = now;
        char b[64];
        std::snprintf(b, sizeof b, " Radek%8llu pro zamestnance", static_cast<unsigned long long>(line));
        console_ << b;
        for (std::size_t i = employee.size(); i < 11; ++i) console_ << ' ';
        console_ << employee << " zamestnavatel";
        for (std::size_t i = employer.size(); i < 11; ++i) console_ << ' ';
        console_ << employer << '\r' << std::flush;
    }

  private:
    std::ostream& console_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_;
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

const std::string kClearLine = std::string(77, ' ') + '\r';

// One run of the command once its arguments are read.
class Run {
  public:
    Run(const CommandLine& line, std::ostream& console) : line_(line), console_(console) {}

    int execute() {
        if (int code = open_files(); code != 0) return code;
        ReportWriter report(report_format_for(line_.report), report_file_);
        std::unique_ptr<CopyWriter> copy;
        if (copy_file_.is_open()) copy = std::make_unique<CopyWriter>(copy_file_);

        report.header(local_date_time(), source_->document_name());
        ProgressLine progress(console_);
        Validator validator(Options{line_.warnings, nullptr});
        const Result result = validator.run(*source_, report, copy.get(), &progress);
        if (!result.completed) {
            // The next document of the list could not be opened: the report stays unfinished.
            console_ << kClearLine;
            cannot_open(std::string(source_->failed_name()), &report);
            if (copy) copy->flush();
            copy_file_.close();
            return kFailed;
        }
        return finish(report, copy.get(), result.totals);
    }

  private:
    // Reports a file that cannot be opened, on the console and, once it is open, in the report.
    int cannot_open(const std::string& name, ReportWriter* report) {
        console_ << " Nelze otevrit soubor  " << name << kStopped;
        if (report) {
            report->raw(" Nelze otevrit soubor  ");
            report->raw(name);
            report->raw(kStopped);
            report->flush();
            report_file_.close();
        }
        return kFailed;
    }

    int open_files() {
        OpenError why;
        if (!report_file_.open(line_.report, why)) return cannot_open(line_.report, nullptr);
        // Until the header, a failure message is all the report holds.
        auto failed = [&](const std::string& name) {
            ReportWriter report(ReportFormat::Text, report_file_);
            return cannot_open(name, &report);
        };
        if (line_.copy != "..." && !copy_file_.open(line_.copy, why)) return failed(line_.copy);
        if (!line_.input.empty() && line_.input[0] == '@') {
            const std::string list_name = line_.input.substr(1);
            FilePtr list(std::fopen(list_name.c_str(), "rb"));
            if (!list) return failed(list_name);
            auto source = std::make_unique<ListSource>(std::move(list), line_.input);
            if (!source->open_first()) return failed(std::string(source->failed_name()));
            source_ = std::move(source);
            return 0;
        }
        FilePtr input = open_input_file(line_.input, why);
        if (!input) return failed(line_.input);
        source_ = std::make_unique<FileSource>(std::move(input), line_.input);
        return 0;
    }

    int finish(ReportWriter& report, CopyWriter* copy, const Totals& totals) {
        report.footer(totals);
        report.flush();
        source_.reset();
        bool written = true;
        std::string unwritten;
        if (copy) {
            copy->finish();
            copy->flush();
            if (!copy_file_.close()) {
                written = false;
                unwritten = line_.copy;
            }
        }
        if (!report_file_.close() && written) {
            written = false;
            unwritten = line_.report;
        }
        // A report or copy that could not be written whole is no normal end.
        if (!written) {
            console_ << " Nelze zapsat do souboru  " << unwritten << kStopped;
            return kFailed;
        }
        char b[96];
        std::snprintf(b, sizeof b, "Celkem chyb vahy E:%8d\n\nCelkem chyb vahy W:%8d\n",
                      static_cast<int>(totals.errors), static_cast<int>(totals.warnings));
        console_ << kClearLine << b << "\nProgram ukoncen normalne\n";
        return 0;
    }

    const CommandLine& line_;
    std::ostream& console_;
    FileOutput report_file_;
    FileOutput copy_file_;
    std::unique_ptr<Source> source_;
};

}  // namespace

int run(std::span<const std::string_view> arguments, std::ostream& console) {
    console << "\nProgram  " << kProgram << "  kontola dat pro DUV\n";
    CommandLine line;
    if (int code = parse(arguments, line, console); code != 0) return code;
    return Run(line, console).execute();
}

}  // namespace tavon::cli
