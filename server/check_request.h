// POST /v1/check: what its query asks for, what kind of body it accepts, and how the body reaches
// the check as it arrives.
#pragma once

#include <httplib.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/answers.h"
#include "tavon/check.h"
#include "tavon/report.h"

namespace tavon::server {

// The report's name when the query gives none: the usual name of an uploaded file.
inline constexpr std::string_view kDefaultDocumentName = "upload.xml";
// The longest name accepted, in characters: the longest file name of common file systems.
inline constexpr std::size_t kMaxDocumentName = 255;

struct CheckQuery {
    tavon::ReportFormat format = tavon::ReportFormat::Json;
    std::string content_type = "application/json";
    bool warnings = true;
    std::string name{kDefaultDocumentName};
};

// The query of a check, or why it is refused (400).
std::optional<Refusal> read_check_query(const httplib::Request& req, CheckQuery& query);

// Whether the body's Content-Type may be a document: none, an XML type, octet-stream, plain text,
// or the form type that `curl --data-binary` sends unasked. A multipart form, JSON or any other
// type is refused (415): its body is not the document.
bool is_document_type(const std::string& content_type);

// Takes the body's pieces as they arrive and feeds them to the check in blocks; refuses a body
// that grows beyond the limit or trickles in too slowly to be a real upload.
class BodyFeeder {
  public:
    BodyFeeder(tavon::Check& check, std::uint64_t max_body, std::chrono::seconds read_timeout);
    // False stops reading: the body is too large or too slow (failure() says which).
    bool take(const char* data, std::size_t size);
    // The bytes still held, fed.
    void flush();
    std::uint64_t received() const { return received_; }
    // Why reading stopped before the end, once it has (the reader failed or take() said no).
    Refusal failure() const;

  private:
    enum class Problem { None, TooLarge, TooSlow };
    tavon::Check& check_;
    std::vector<char> block_;
    std::uint64_t max_body_;
    std::chrono::seconds read_timeout_;
    std::chrono::steady_clock::time_point start_, last_bytes_;
    std::uint64_t received_ = 0;
    Problem problem_ = Problem::None;
};

}  // namespace tavon::server
