#include "server/check_request.h"

#include <algorithm>
#include <cctype>

#include "server/text.h"
#include "tavon/text.h"

namespace tavon::server {
namespace {

struct FormatChoice {
    std::string_view name;
    tavon::ReportFormat format;
    std::string_view content_type;
};
// The formats by the extension belun would see in a report's name; all but JSON are Windows-1250.
constexpr FormatChoice kFormats[] = {
    {"json", tavon::ReportFormat::Json, "application/json"},
    {"htm", tavon::ReportFormat::Html, "text/html; charset=windows-1250"},
    {"txt", tavon::ReportFormat::Text, "text/plain; charset=windows-1250"},
    {"csv", tavon::ReportFormat::Csv, "text/csv; charset=windows-1250"},
    {"xml", tavon::ReportFormat::Xml, "application/xml; charset=windows-1250"},
};

constexpr Refusal kUnknownParameter{400, "bad_query",
                                    "Neznámý parametr dotazu; služba zná jen format, warnings a name."};
constexpr Refusal kBadFormat{400, "bad_query",
                             "Neznámý formát protokolu; povolené jsou json, csv, txt, xml a htm."};
constexpr Refusal kBadWarnings{400, "bad_query", "Parametr warnings smí mít jen hodnotu 0 nebo 1."};
constexpr Refusal kBadName{
    400, "bad_query",
    "Název dokumentu (parametr name) musí mít 1 až 255 znaků a nesmí obsahovat řídicí znaky."};

// Blocks of this size reach the check: large enough that the check runs at full speed, however
// small the pieces the network delivers.
constexpr std::size_t kBlock = std::size_t{1} << 16;
// A body slower than this on average, once the read timeout has passed, holds a worker for no
// real upload (a modem line delivers more).
constexpr std::uint64_t kMinBytesPerSecond = 16 * 1024;

}  // namespace

std::optional<Refusal> read_check_query(const httplib::Request& req, CheckQuery& query) {
    for (const auto& [key, value] : req.params)
        if (key != "format" && key != "warnings" && key != "name") return kUnknownParameter;
    if (req.has_param("format")) {
        const std::string wanted = req.get_param_value("format");
        const auto* found = std::find_if(std::begin(kFormats), std::end(kFormats),
                                         [&](const FormatChoice& f) { return f.name == wanted; });
        if (found == std::end(kFormats)) return kBadFormat;
        query.format = found->format;
        query.content_type = found->content_type;
    }
    if (req.has_param("warnings")) {
        const std::string value = req.get_param_value("warnings");
        if (value != "0" && value != "1") return kBadWarnings;
        query.warnings = value == "1";
    }
    if (req.has_param("name")) {
        // As belun takes a file name: UTF-8 where it is valid UTF-8, else Windows-1250 bytes.
        query.name = req.get_param_value("name");
        if (query.name.empty() || tavon::character_count(query.name) > kMaxDocumentName ||
            has_control_character(query.name))
            return kBadName;
    }
    return {};
}

bool is_document_type(const std::string& content_type) {
    std::string type = content_type.substr(0, content_type.find(';'));
    type.erase(std::remove_if(type.begin(), type.end(), [](unsigned char c) { return std::isspace(c); }),
               type.end());
    std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::tolower(c); });
    for (std::string_view accepted : {"", "application/xml", "text/xml", "application/octet-stream",
                                      "text/plain", "application/x-www-form-urlencoded"})
        if (type == accepted) return true;
    return type.size() > 4 && type.ends_with("+xml");
}

BodyFeeder::BodyFeeder(tavon::Check& check, std::uint64_t max_body, std::chrono::seconds read_timeout)
    : check_(check),
      max_body_(max_body),
      read_timeout_(read_timeout),
      start_(std::chrono::steady_clock::now()),
      last_bytes_(start_) {
    block_.reserve(kBlock);
}

bool BodyFeeder::take(const char* data, std::size_t size) {
    received_ += size;
    if (received_ > max_body_) {
        problem_ = Problem::TooLarge;
        return false;
    }
    last_bytes_ = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(last_bytes_ - start_);
    if (elapsed > read_timeout_ &&
        received_ * 1000 < kMinBytesPerSecond * static_cast<std::uint64_t>(elapsed.count())) {
        problem_ = Problem::TooSlow;
        return false;
    }
    while (size > 0) {
        const std::size_t n = std::min(size, kBlock - block_.size());
        block_.insert(block_.end(), data, data + n);
        data += n;
        size -= n;
        if (block_.size() == kBlock) flush();
    }
    return true;
}

void BodyFeeder::flush() {
    check_.feed(block_.data(), block_.size());
    block_.clear();
}

Refusal BodyFeeder::failure() const {
    static constexpr Refusal kTooLarge{413, "too_large",
                                       "Dokument je větší, než služba přijímá (přepínač --max-body)."};
    static constexpr Refusal kTooSlow{
        408, "timeout", "Dokument přicházel příliš pomalu nebo přestal přicházet; spojení bylo ukončeno."};
    static constexpr Refusal kIncomplete{
        400, "incomplete_body",
        "Tělo požadavku nebylo úplné (spojení přerušeno nebo chybné kódování chunked)."};
    if (problem_ == Problem::TooLarge) return kTooLarge;
    // The reader gives up after the read timeout of silence (measured from a little later than here).
    const auto silence = std::chrono::steady_clock::now() - last_bytes_;
    if (problem_ == Problem::TooSlow || silence >= read_timeout_ * 9 / 10) return kTooSlow;
    return kIncomplete;
}

}  // namespace tavon::server
