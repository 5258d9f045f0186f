// The C interface (tavon/c_api.h) over the C++ API: opaque handles around tavon::Check,
// tavon::Report and the data sets. Every entry point catches everything, so that no exception
// reaches a caller in C; findings reach the caller's callback converted to UTF-8 in buffers that the
// check keeps, so that a finding costs no allocation once they have grown.
#include "tavon/c_api.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "tavon/check.h"
#include "tavon/codes.h"
#include "tavon/data.h"
#include "tavon/input.h"
#include "tavon/report.h"
#include "tavon/text.h"

#ifndef TAVON_VERSION
#define TAVON_VERSION "0.9"
#endif

struct tavon_data {
    tavon::DataSetPtr set;
    std::string description;  // UTF-8
};

namespace {

using tavon::Error;

// Thrown by the findings sink when the caller's callback asks to stop; caught at the entry point.
struct StopRequested {};

// A message in UTF-8, cut at a character boundary to fit.
tavon_status fail(tavon_error* error, tavon_status status, std::string_view message) {
    if (!error) return status;
    error->status = status;
    std::size_t size = std::min(message.size(), sizeof error->message - 1);
    if (size < message.size())
        while (size > 0 && (static_cast<unsigned char>(message[size]) & 0xC0) == 0x80) --size;
    std::memcpy(error->message, message.data(), size);
    error->message[size] = '\0';
    return status;
}

tavon_status succeed(tavon_error* error) { return fail(error, TAVON_OK, ""); }

tavon_status status_of(Error::Kind kind) {
    switch (kind) {
        case Error::Kind::NotFound: return TAVON_NOT_FOUND;
        case Error::Kind::FolderMissing: return TAVON_FOLDER_MISSING;
        case Error::Kind::AccessDenied: return TAVON_ACCESS_DENIED;
        case Error::Kind::IsFolder: return TAVON_IS_FOLDER;
        case Error::Kind::NotRegularFile: return TAVON_NOT_REGULAR_FILE;
        case Error::Kind::InUse: return TAVON_IN_USE;
        case Error::Kind::DiskFull: return TAVON_DISK_FULL;
        case Error::Kind::TooLarge: return TAVON_TOO_LARGE;
        case Error::Kind::BadData: return TAVON_BAD_DATA;
        case Error::Kind::Other: break;
    }
    return TAVON_FAILED;
}

// A name given by the caller, fit for a UTF-8 message whatever its bytes.
std::string utf8_name(std::string_view name) {
    return tavon::looks_like_utf8(name) ? std::string(name) : tavon::to_utf8(name);
}

// "kzam.txt, řádek 3: <why>" or "<what> duv.xml: soubor neexistuje".
tavon_status fail(tavon_error* error, const Error& why, std::string_view what = {}) {
    std::string message(what);
    if (!message.empty()) message += ' ';
    message += utf8_name(why.file);
    if (why.line > 0) message += ", řádek " + std::to_string(why.line);
    message += ": " + tavon::to_utf8(tavon::describe(why));
    return fail(error, status_of(why.kind), message);
}

// Runs `body`, turning every exception into a status.
template <typename Body>
tavon_status guarded(tavon_error* error, Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return fail(error, TAVON_FAILED, "nedostatek paměti");
    } catch (...) {
        return fail(error, TAVON_FAILED, "vnitřní chyba knihovny");
    }
}

// Report bytes handed to the caller's write callback; the first refusal fails the report.
class CallbackOutput final : public tavon::Output {
  public:
    CallbackOutput(tavon_write_callback write, void* context) : write_(write), context_(context) {}
    void write(const char* data, std::size_t size) override {
        if (!failed_ && size > 0 && write_(context_, data, size) != 0) failed_ = true;
    }
    tavon::Result<void> status() const override {
        if (failed_) return Error{Error::Kind::Other, "(write callback)"};
        return {};
    }

  private:
    tavon_write_callback write_;
    void* context_;
    bool failed_ = false;
};

// One report of a check: its output (a file put in place at the finish, or the caller's callback)
// and the writer.
struct ReportSlot {
    std::string path;  // empty for a callback
    tavon::FileOutput file;
    std::optional<CallbackOutput> callback;
    std::optional<tavon::Report> report;

    tavon::Output& output() { return callback ? static_cast<tavon::Output&>(*callback) : file; }
};

// The findings of a check: to its reports, then, converted, to the caller's callback.
class Delivery final : public tavon::FindingSink {
  public:
    Delivery(tavon_finding_callback callback, void* context) : callback_(callback), context_(context) {}

    std::vector<std::unique_ptr<ReportSlot>> reports;

    void finding(const tavon::Finding& f) override {
        for (auto& slot : reports) slot->report->finding(f);
        if (callback_ && callback_(context_, &convert(f)) != 0) throw StopRequested{};
    }

  private:
    // A NUL byte of the document (a value may hold one) would cut the C string: it becomes "?".
    const char* utf8(std::string& buffer, const tavon::Text& text) {
        buffer.clear();
        tavon::append_utf8(buffer, text.windows1250());
        for (std::size_t at = buffer.find('\0'); at != std::string::npos; at = buffer.find('\0', at))
            buffer[at] = '?';
        return buffer.c_str();
    }

    const tavon_finding& convert(const tavon::Finding& f) {
        const auto index = static_cast<std::size_t>(f.code);
        std::string& description = descriptions_[index];
        if (description.empty()) tavon::append_utf8(description, f.description());
        out_.code = tavon::name(f.code).data();  // a literal: NUL-terminated
        out_.severity = static_cast<char>(f.severity());
        out_.line = f.line;
        out_.lines = f.lines.empty() ? nullptr : f.lines.data();
        out_.line_count = f.lines.size();
        out_.more_lines = f.more_lines ? 1 : 0;
        out_.whole_employer = f.whole_employer ? 1 : 0;
        out_.employer = utf8(employer_, f.employer);
        out_.employee = utf8(employee_, f.employee);
        out_.field = utf8(field_, f.field);
        out_.value = utf8(value_, f.value);
        out_.expected = utf8(expected_, f.expected);
        out_.description = description.c_str();
        return out_;
    }

    tavon_finding_callback callback_;
    void* context_;
    tavon_finding out_{};
    std::string employer_, employee_, field_, value_, expected_;
    std::array<std::string, tavon::kCodeCount> descriptions_;  // UTF-8, filled as codes occur
};

const std::string& built_in_description() {
    static const std::string text = tavon::to_utf8(tavon::describe_data_set(*tavon::built_in_data()));
    return text;
}

}  // namespace

struct tavon_check {
    enum class State { Fresh, Feeding, Finished, Stopped, Failed };

    tavon_check(const tavon_options& options, tavon::DataSetPtr data_set)
        : data(std::move(data_set)),
          delivery(options.on_finding, options.context),
          check(delivery, tavon::Options{options.report_warnings != 0, data}) {}

    tavon::DataSetPtr data;
    Delivery delivery;
    tavon::Check check;  // after the sink it feeds
    State state = State::Fresh;
    std::vector<char> block;  // tavon_check_feed_file's, allocated at its first call

    // MISUSE, STOPPED or FAILED for a check that takes no more input; OK otherwise.
    tavon_status refuse_input(tavon_error* error) const {
        switch (state) {
            case State::Finished:
                return fail(error, TAVON_MISUSE, "kontrola už skončila (tavon_check_finish)");
            case State::Stopped: return fail(error, TAVON_STOPPED, "kontrolu zastavila funkce volajícího");
            case State::Failed: return fail(error, TAVON_FAILED, "kontrola už dříve selhala");
            default: return TAVON_OK;
        }
    }

    // Runs a step of the check; a stop or a failure ends the check.
    template <typename Step>
    tavon_status run(tavon_error* error, Step&& step) {
        try {
            step();
            return TAVON_OK;
        } catch (const StopRequested&) {
            state = State::Stopped;
            return fail(error, TAVON_STOPPED, "kontrolu zastavila funkce volajícího");
        } catch (const std::bad_alloc&) {
            state = State::Failed;
            return fail(error, TAVON_FAILED, "nedostatek paměti");
        } catch (...) {
            state = State::Failed;
            return fail(error, TAVON_FAILED, "vnitřní chyba knihovny");
        }
    }

    tavon_status add_report(std::unique_ptr<ReportSlot> slot, tavon_report_format format,
                            const char* document_name) {
        const tavon::ReportHeader header(document_name, tavon::describe_data_set(*data), std::time(nullptr));
        slot->report.emplace(static_cast<tavon::ReportFormat>(format), slot->output(), header);
        delivery.reports.push_back(std::move(slot));
        return TAVON_OK;
    }

    // The reports' summaries written, then the files in place: all of them or none.
    tavon_status finish_reports(const tavon::Totals& totals, tavon_error* error) {
        std::optional<std::pair<Error, std::string>> failure;
        for (auto& slot : delivery.reports) {
            tavon::Result<void> done = slot->report->finish(totals);
            if (done && !slot->callback) done = slot->file.finish();
            if (!done && !failure) failure.emplace(done.error(), slot->path);
        }
        for (auto& slot : delivery.reports) {
            if (failure || slot->callback) continue;
            if (tavon::Result<void> put = slot->file.commit(); !put) failure.emplace(put.error(), slot->path);
        }
        if (!failure) return TAVON_OK;
        for (auto& slot : delivery.reports)
            if (!slot->callback) slot->file.discard();
        if (failure->second.empty())
            return fail(error, TAVON_FAILED, "zápis protokolu odmítla funkce volajícího");
        return fail(error, failure->first, "Nelze zapsat protokol");
    }
};

namespace {

void put_totals(const tavon::Totals& from, tavon_totals* to) {
    if (!to) return;
    to->errors = from.errors;
    to->warnings = from.warnings;
    to->warnings_not_reported = from.warnings_not_reported;
    to->read_to_end = from.read_to_end ? 1 : 0;
}

bool valid_format(tavon_report_format format) {
    return format >= TAVON_REPORT_HTML && format <= TAVON_REPORT_JSON;
}

tavon_status refuse_report(tavon_check* check, tavon_report_format format, const char* document_name,
                           tavon_error* error) {
    if (!check || !document_name) return fail(error, TAVON_MISUSE, "chybí kontrola nebo název dokumentu");
    if (!valid_format(format)) return fail(error, TAVON_MISUSE, "neznámý formát protokolu");
    if (check->state != tavon_check::State::Fresh)
        return fail(error, TAVON_MISUSE, "protokol lze přidat jen před prvním kusem dokumentu");
    return TAVON_OK;
}

}  // namespace

extern "C" {

const char* tavon_version(void) { return TAVON_VERSION; }

tavon_options tavon_default_options(void) { return tavon_options{1, nullptr, nullptr, nullptr}; }

tavon_status tavon_data_load_folder(const char* folder, tavon_data** data, tavon_error* error) {
    if (!folder || !data) return fail(error, TAVON_MISUSE, "chybí složka nebo místo pro data");
    *data = nullptr;
    return guarded(error, [&] {
        tavon::Result<tavon::DataSetPtr> loaded = tavon::load_data_folder(folder);
        if (!loaded) return fail(error, loaded.error(), "Nelze použít data");
        *data = new tavon_data{*loaded, tavon::to_utf8(tavon::describe_data_set(**loaded))};
        return succeed(error);
    });
}

tavon_status tavon_data_load_files(const char* const* names, const char* const* bytes, const size_t* sizes,
                                   size_t count, tavon_data** data, tavon_error* error) {
    if (!data || (count > 0 && (!names || !bytes || !sizes)))
        return fail(error, TAVON_MISUSE, "chybí názvy, obsah nebo délky souborů");
    *data = nullptr;
    return guarded(error, [&] {
        std::vector<tavon::DataFile> files;
        for (std::size_t i = 0; i < count; ++i) {
            if (!names[i] || (!bytes[i] && sizes[i] > 0))
                return fail(error, TAVON_MISUSE, "chybí název nebo obsah souboru");
            files.push_back({names[i], std::string(bytes[i] ? bytes[i] : "", sizes[i])});
        }
        tavon::Result<tavon::DataSetPtr> loaded = tavon::load_data(files);
        if (!loaded) return fail(error, loaded.error(), "Nelze použít data");
        *data = new tavon_data{*loaded, tavon::to_utf8(tavon::describe_data_set(**loaded))};
        return succeed(error);
    });
}

const char* tavon_data_describe(const tavon_data* data) {
    try {
        return data ? data->description.c_str() : built_in_description().c_str();
    } catch (...) {
        return "";
    }
}

void tavon_data_free(tavon_data* data) { delete data; }

tavon_status tavon_check_new(const tavon_options* options, tavon_check** check, tavon_error* error) {
    if (!check) return fail(error, TAVON_MISUSE, "chybí místo pro kontrolu");
    *check = nullptr;
    const tavon_options chosen = options ? *options : tavon_default_options();
    return guarded(error, [&] {
        *check = new tavon_check(chosen, chosen.data ? chosen.data->set : tavon::built_in_data());
        return succeed(error);
    });
}

tavon_status tavon_check_add_report_file(tavon_check* check, tavon_report_format format, const char* path,
                                         const char* document_name, tavon_error* error) {
    if (!path) return fail(error, TAVON_MISUSE, "chybí cesta k protokolu");
    if (tavon_status refused = refuse_report(check, format, document_name, error)) return refused;
    return guarded(error, [&] {
        if (tavon::holds_foreign_content(path))
            return fail(error, TAVON_FAILED,
                        "Protokol " + utf8_name(path) +
                            " by přepsal soubor, který není protokolem kontroly; zvolte jiný název.");
        auto slot = std::make_unique<ReportSlot>();
        slot->path = path;
        if (tavon::Result<void> opened = slot->file.open(path); !opened)
            return fail(error, opened.error(), "Nelze otevřít protokol");
        check->add_report(std::move(slot), format, document_name);
        return succeed(error);
    });
}

tavon_status tavon_check_add_report_callback(tavon_check* check, tavon_report_format format,
                                             tavon_write_callback write, void* context,
                                             const char* document_name, tavon_error* error) {
    if (!write) return fail(error, TAVON_MISUSE, "chybí funkce pro zápis protokolu");
    if (tavon_status refused = refuse_report(check, format, document_name, error)) return refused;
    return guarded(error, [&] {
        auto slot = std::make_unique<ReportSlot>();
        slot->callback.emplace(write, context);
        check->add_report(std::move(slot), format, document_name);
        return succeed(error);
    });
}

tavon_status tavon_check_feed(tavon_check* check, const void* bytes, size_t size, tavon_error* error) {
    if (!check || (!bytes && size > 0)) return fail(error, TAVON_MISUSE, "chybí kontrola nebo data");
    if (tavon_status refused = check->refuse_input(error)) return refused;
    check->state = tavon_check::State::Feeding;
    if (tavon_status s = check->run(error, [&] { check->check.feed(static_cast<const char*>(bytes), size); }))
        return s;
    return succeed(error);
}

tavon_status tavon_check_feed_file(tavon_check* check, const char* path, tavon_error* error) {
    if (!check || !path) return fail(error, TAVON_MISUSE, "chybí kontrola nebo cesta k souboru");
    if (tavon_status refused = check->refuse_input(error)) return refused;
    return guarded(error, [&] {
        tavon::Result<tavon::InputFile> file = tavon::InputFile::open(path);
        if (!file) return fail(error, file.error(), "Nelze otevřít soubor");
        check->state = tavon_check::State::Feeding;
        check->block.resize(1 << 18);
        bool read_failed = false;
        tavon_status s = check->run(error, [&] {
            while (const std::size_t n = file->read(check->block)) check->check.feed(check->block.data(), n);
            read_failed = file->failed();
        });
        if (s != TAVON_OK) return s;
        if (read_failed) {
            check->state = tavon_check::State::Failed;
            return fail(error, Error{Error::Kind::Other, path}, "Nelze přečíst soubor");
        }
        return succeed(error);
    });
}

tavon_status tavon_check_next_document(tavon_check* check, tavon_error* error) {
    if (!check) return fail(error, TAVON_MISUSE, "chybí kontrola");
    if (tavon_status refused = check->refuse_input(error)) return refused;
    check->state = tavon_check::State::Feeding;
    if (tavon_status s = check->run(error, [&] { check->check.next_document(); })) return s;
    return succeed(error);
}

tavon_status tavon_check_finish(tavon_check* check, tavon_totals* totals, tavon_error* error) {
    if (!check) return fail(error, TAVON_MISUSE, "chybí kontrola");
    if (tavon_status refused = check->refuse_input(error)) {
        put_totals(check->check.totals(), totals);
        return refused;
    }
    tavon::Totals result;
    tavon_status s = check->run(error, [&] { result = check->check.finish(); });
    if (s == TAVON_OK) {
        check->state = tavon_check::State::Finished;
        s = guarded(error, [&] { return check->finish_reports(result, error); });
    }
    put_totals(check->check.totals(), totals);
    return s == TAVON_OK ? succeed(error) : s;
}

void tavon_check_free(tavon_check* check) { delete check; }

}  // extern "C"
