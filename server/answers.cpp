#include "server/answers.h"

#include <cstdio>
#include <ctime>
#include <mutex>

#include "server/text.h"

namespace tavon::server {

void answer_error(httplib::Response& res, const Refusal& refusal, bool close) {
    res.status = refusal.status;
    std::string body =
        "{\"error\":" + json_string(refusal.error) + ",\"message\":" + json_string(refusal.message) + "}\n";
    if (!close) {
        res.set_content(body, "application/json");
        return;
    }
    res.set_header("Connection", "close");
    // A provider that delivers the whole body and then reports failure: the library's way, in
    // this version, to end the connection after the answer, so that an unread body is never taken
    // for the next request.
    const std::size_t size = body.size();
    res.set_content_provider(
        size, "application/json",
        [body = std::move(body)](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            sink.write(body.data() + offset, body.size() - offset);
            return false;
        });
}

void answer_json(httplib::Response& res, std::string body) {
    res.status = 200;
    res.set_content(body + "\n", "application/json");
}

RequestNotes& request_notes() {
    thread_local RequestNotes notes;
    return notes;
}

namespace {

// The current time in UTC as ISO 8601 with milliseconds, e.g. 2026-03-01T09:15:02.125Z.
std::string now_iso8601() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[40];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + n, sizeof text - n, ".%03dZ", static_cast<int>(millis));
    return text;
}

std::string header_or_dash(const httplib::Response& res, const char* name) {
    return res.has_header(name) ? log_safe(res.get_header_value(name)) : "-";
}

}  // namespace

bool log_request(const httplib::Request& req, const httplib::Response& res) {
    RequestNotes& notes = request_notes();
    std::string duration = "-";
    if (notes.started) {
        const auto elapsed = std::chrono::steady_clock::now() - notes.start;
        duration =
            std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()) + "ms";
    }
    const std::string client =
        req.remote_addr.empty() ? "-" : log_safe(req.remote_addr) + ":" + std::to_string(req.remote_port);
    const std::string line =
        now_iso8601() + " " + client + " " + (req.method.empty() ? "-" : log_safe(req.method)) + " " +
        (req.target.empty() ? "-" : log_safe(req.target)) + " " + std::to_string(notes.body_bytes) + " " +
        std::to_string(res.status) + " E=" + header_or_dash(res, "X-Tavon-Errors") +
        " W=" + header_or_dash(res, "X-Tavon-Warnings") + " " + duration + "\n";
    static std::mutex one_line_at_a_time;
    {
        std::lock_guard lock(one_line_at_a_time);
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
    const bool started = notes.started;
    notes = {};
    return started;
}

}  // namespace tavon::server
