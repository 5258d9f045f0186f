#include "server/service.h"

#include <charconv>
#include <optional>

#include "server/answers.h"
#include "server/check_request.h"
#include "server/report_buffer.h"
#include "server/text.h"
#include "tavon/codes.h"
#include "tavon/text.h"

#ifndef TAVON_VERSION
#define TAVON_VERSION "unknown"
#endif

namespace tavon::server {
namespace {

using httplib::Request;
using httplib::Response;
using Handled = httplib::Server::HandlerResponse;

constexpr Refusal kNotFound{404, "not_found",
                            "Taková adresa neexistuje; služba nabízí POST /v1/check, GET /v1/health, "
                            "/v1/version, /v1/codes a /."};
constexpr Refusal kWrongMethod{405, "method_not_allowed", "Tato adresa tuto metodu nepodporuje."};
constexpr Refusal kBodyNotWanted{400, "bad_request", "Požadavek GET nesmí mít tělo."};
constexpr Refusal kBadLength{400, "bad_request", "Chybná hlavička Content-Length."};
constexpr Refusal kTooLarge{413, "too_large", "Dokument je větší, než služba přijímá (přepínač --max-body)."};
constexpr Refusal kNotDocument{415, "unsupported_media_type",
                               "Tělo požadavku musí být dokument XML (Content-Type application/xml, text/xml "
                               "nebo application/octet-stream), ne formulář ani jiný typ."};
constexpr Refusal kBusy{503, "busy", "Služba je právě plně vytížena; zkuste to prosím za chvíli znovu."};
constexpr Refusal kNotWritten{500, "internal", "Protokol se nepodařilo zapsat (dočasný soubor)."};

constexpr std::string_view kInfoPaths[] = {"/v1/health", "/v1/version", "/v1/codes"};

// The declared length of the body: 0 when none is declared, nothing when it is no number.
std::optional<std::uint64_t> content_length(const Request& req) {
    if (!req.has_header("Content-Length")) return 0;
    const std::string text = req.get_header_value("Content-Length");
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return {};
    return value;
}

bool has_body(const Request& req) {
    const auto length = content_length(req);
    return req.has_header("Transfer-Encoding") || !length || *length > 0;
}

// "/" or a single name that does not start with a dot: the only paths that may name a file of the
// page's folder (never one of its subfolders, never a path outside it).
bool is_web_path(const std::string& path) {
    if (path == "/") return true;
    return path.size() > 1 && path[1] != '.' && path.find('/', 1) == std::string::npos;
}

// A generic answer for what the library refuses before any route is reached (a malformed request
// line, a path without route, a too long address, a body in an unknown Content-Encoding).
Handled library_error(const Request&, Response& res) {
    if (res.has_header("Content-Type")) return Handled::Unhandled;  // an answer of ours
    static constexpr Refusal kKnown[] = {
        {400, "bad_request", "Chybný požadavek HTTP."},
        kNotFound,
        kTooLarge,
        {414, "uri_too_long", "Adresa požadavku je příliš dlouhá."},
        {415, "unsupported_media_type", "Neznámé kódování těla požadavku (Content-Encoding)."},
    };
    Refusal refusal{res.status, "internal", "Požadavek nelze vyřídit."};
    for (const Refusal& known : kKnown)
        if (known.status == res.status) refusal = known;
    answer_error(res, refusal, res.status != 404);
    return Handled::Handled;
}

}  // namespace

Service::Service(const ServerOptions& options, tavon::DataSetPtr data, std::string web_folder)
    : options_(options),
      data_(std::move(data)),
      data_set_(tavon::describe_data_set(*data_)),
      web_folder_(std::move(web_folder)),
      workers_(options.workers) {}

void Service::install(httplib::Server& server) {
    server.set_read_timeout(options_.read_timeout, 0);
    server.set_write_timeout(options_.read_timeout, 0);
    server.set_keep_alive_timeout(options_.idle_timeout);
    server.set_keep_alive_max_count(1000);
    server.set_payload_max_length(options_.max_body);
    server.set_tcp_nodelay(true);
    server.set_pre_routing_handler(
        [this](const Request& req, Response& res) { return before_routing(req, res); });
    server.set_expect_100_continue_handler(
        [this](const Request& req, Response& res) { return expect_continue(req, res); });
    server.set_error_handler(httplib::Server::HandlerWithResponse(library_error));
    server.set_logger([this](const Request& req, const Response& res) {
        if (log_request(req, res)) end_request();
    });

    server.Post("/v1/check", [this](const Request& req, Response& res, const httplib::ContentReader& reader) {
        // Without Content-Length or Transfer-Encoding an HTTP/1.1 request has no body: none is read.
        const bool declared = req.has_header("Content-Length") || req.has_header("Transfer-Encoding");
        check(req, res,
              [&](httplib::ContentReceiver receiver) { return !declared || reader(std::move(receiver)); });
    });
    // A request without body: an empty document.
    server.Post("/v1/check", [this](const Request& req, Response& res) {
        check(req, res, [](const httplib::ContentReceiver&) { return true; });
    });
    server.Get("/v1/health", [](const Request&, Response& res) { answer_json(res, "{\"status\":\"ok\"}"); });
    server.Get("/v1/version", [this](const Request&, Response& res) { version(res); });
    server.Get("/v1/codes", [](const Request&, Response& res) { codes(res); });
    server.Get(R"(/[^/]*)", [this](const Request& req, Response& res) { web_file(req, res); });
}

// Every request passes here before its body is read: what is refused is refused unread, and the
// connection of a refused request with a body ends with the answer.
Handled Service::before_routing(const Request& req, Response& res) {
    if (!request_notes().started && !begin_request(res)) return Handled::Handled;
    const std::optional<std::uint64_t> length = content_length(req);
    if (!length) {
        answer_error(res, kBadLength, true);
        return Handled::Handled;
    }
    const bool body = has_body(req);
    const bool known =
        req.path == "/v1/check" || is_web_path(req.path) ||
        std::find(std::begin(kInfoPaths), std::end(kInfoPaths), req.path) != std::end(kInfoPaths);
    if (!known) {
        answer_error(res, kNotFound, body);
    } else if (req.path == "/v1/check" ? req.method != "POST" : req.method != "GET" && req.method != "HEAD") {
        res.set_header("Allow", req.path == "/v1/check" ? "POST" : "GET, HEAD");
        answer_error(res, kWrongMethod, body);
    } else if (req.path != "/v1/check" && body) {
        answer_error(res, kBodyNotWanted, true);
    } else if (*length > options_.max_body) {
        answer_error(res, kTooLarge, true);
    } else {
        return Handled::Unhandled;
    }
    return Handled::Handled;
}

// A client that asks before sending its body learns at once that it is too large.
int Service::expect_continue(const Request& req, Response& res) {
    if (!begin_request(res)) return 503;
    const std::optional<std::uint64_t> length = content_length(req);
    if (req.path == "/v1/check" && length && *length > options_.max_body) {
        answer_error(res, kTooLarge, true);
        return 413;
    }
    return 100;
}

// Counts the request in flight, or refuses it when the service is stopping.
bool Service::begin_request(Response& res) {
    request_notes() = {std::chrono::steady_clock::now(), true, 0};
    std::lock_guard lock(requests_mutex_);
    ++in_flight_;
    if (!draining_) return true;
    static constexpr Refusal kStopping{503, "stopping", "Služba se právě ukončuje; zkuste to prosím znovu."};
    answer_error(res, kStopping, true);
    return false;
}

void Service::end_request() {
    std::lock_guard lock(requests_mutex_);
    if (--in_flight_ == 0) requests_done_.notify_all();
}

void Service::drain() {
    std::unique_lock lock(requests_mutex_);
    draining_ = true;
    requests_done_.wait(lock, [&] { return in_flight_ == 0; });
}

void Service::check(const Request& req, Response& res, const BodyReader& read_body) {
    CheckQuery query;
    if (const std::optional<Refusal> refused = read_check_query(req, query))
        return answer_error(res, *refused, true);
    if (!is_document_type(req.get_header_value("Content-Type"))) return answer_error(res, kNotDocument, true);
    // Waiting for a worker longer than a read may take means the service is overloaded.
    if (!workers_.enter(std::chrono::seconds(options_.read_timeout))) {
        res.set_header("Retry-After", "1");
        return answer_error(res, kBusy, true);
    }
    struct Leave {
        WorkerGate& workers;
        ~Leave() { workers.leave(); }
    } leave{workers_};

    auto report_bytes = std::make_shared<ReportBuffer>();
    tavon::Report report(query.format, *report_bytes, {query.name, data_set_});
    tavon::Check check(report, {query.warnings, data_});
    BodyFeeder body(check, options_.max_body, std::chrono::seconds(options_.read_timeout));
    const bool complete =
        read_body([&](const char* data, std::size_t size) { return body.take(data, size); });
    request_notes().body_bytes = body.received();
    if (!complete) return answer_error(res, body.failure(), true);
    body.flush();
    const tavon::Totals totals = check.finish();
    const tavon::Result<void> written = report.finish(totals);
    report_bytes->finish();
    if (!written || !report_bytes->status()) return answer_error(res, kNotWritten, false);
    answer_report(res, query.content_type, totals, std::move(report_bytes));
}

// The report, streamed from its buffer in blocks; the totals in headers as well.
void Service::answer_report(Response& res, const std::string& content_type, const tavon::Totals& totals,
                            std::shared_ptr<ReportBuffer> report) {
    res.status = 200;
    res.set_header("X-Tavon-Errors", std::to_string(totals.errors));
    res.set_header("X-Tavon-Warnings", std::to_string(totals.warnings));
    const std::size_t size = report->size();
    res.set_content_provider(size, content_type,
                             [report](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                 std::vector<char> block(std::min<std::size_t>(length, std::size_t{1} << 16));
                                 const std::size_t n = report->read(offset, block.data(), block.size());
                                 return n > 0 && sink.write(block.data(), n);
                             });
}

void Service::version(Response& res) const {
    answer_json(res, "{\"program\":\"belun-server\",\"version\":" + json_string(TAVON_VERSION) +
                         ",\"data_set\":" + json_string(tavon::to_utf8(data_set_)) + "}");
}

void Service::codes(Response& res) {
    std::string body = "{\"codes\":[";
    for (std::size_t i = 0; i < tavon::kCodeCount; ++i) {
        const auto code = static_cast<tavon::Code>(i);
        if (i > 0) body += ",";
        body += "{\"code\":" + json_string(tavon::name(code)) + ",\"severity\":\"" +
                static_cast<char>(tavon::severity(code)) +
                "\",\"description\":" + json_string(tavon::to_utf8(tavon::description(code))) + "}";
    }
    answer_json(res, body + "]}");
}

}  // namespace tavon::server
