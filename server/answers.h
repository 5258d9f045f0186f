// The service's answers that are not reports: JSON documents and errors, and the notes each
// request leaves for its log line.
#pragma once

#include <httplib.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavon::server {

// An error as the client sees it: the HTTP status, a short identifier and a Czech message.
struct Refusal {
    int status;
    std::string_view error;    // e.g. "bad_query"
    std::string_view message;  // Czech, UTF-8
};

// The answer {"error": ..., "message": ...} with the refusal's status. `close`: the connection ends
// after the answer, because the request's body was not read (or not to its end).
void answer_error(httplib::Response& res, const Refusal& refusal, bool close);

// A JSON document (UTF-8) with status 200.
void answer_json(httplib::Response& res, std::string body);

// What the log line of a request needs beyond the request and the answer; kept per thread, since a
// request is served on one thread from its headers to its log line.
struct RequestNotes {
    std::chrono::steady_clock::time_point start{};
    bool started = false;
    std::uint64_t body_bytes = 0;
};
RequestNotes& request_notes();

// Writes the log line of a finished request to standard error and forgets its notes; whether the
// request had been started (RequestNotes::started).
bool log_request(const httplib::Request& req, const httplib::Response& res);

}  // namespace tavon::server
