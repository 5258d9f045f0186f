#include "server/options.h"

#include <charconv>
#include <thread>

namespace tavon::server {
namespace {

// A whole number in [low, high], or nothing.
std::optional<std::uint64_t> number(std::string_view text, std::uint64_t low, std::uint64_t high) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return {};
    return value;
}

// Reads the value of one switch into `options`; false when the value is not acceptable.
bool take_value(std::string_view name, std::string_view value, ServerOptions& options) {
    constexpr std::uint64_t kMaxSeconds = 3600;
    std::optional<std::uint64_t> n;
    if (name == "--port" && (n = number(value, 0, 65535))) {
        options.port = static_cast<int>(*n);
    } else if (name == "--listen" && !value.empty()) {
        options.listen = value;
    } else if (name == "-d" && !value.empty()) {
        options.data_folder = std::string(value);
    } else if (name == "--max-body" && (n = number(value, 1, std::uint64_t{1} << 50))) {
        options.max_body = *n;
    } else if (name == "--workers" && (n = number(value, 1, 1024))) {
        options.workers = static_cast<unsigned>(*n);
    } else if (name == "--read-timeout" && (n = number(value, 1, kMaxSeconds))) {
        options.read_timeout = static_cast<int>(*n);
    } else if (name == "--idle-timeout" && (n = number(value, 1, kMaxSeconds))) {
        options.idle_timeout = static_cast<int>(*n);
    } else if (name == "--max-connections" && (n = number(value, 1, 65536))) {
        options.max_connections = static_cast<unsigned>(*n);
    } else if (name == "--web" && !value.empty()) {
        options.web_folder = value;
    } else {
        return false;
    }
    return true;
}

bool takes_value(std::string_view name) {
    for (std::string_view s : {"--port", "--listen", "-d", "--max-body", "--workers", "--read-timeout",
                               "--idle-timeout", "--max-connections", "--web"})
        if (name == s) return true;
    return false;
}

}  // namespace

ParsedOptions parse_options(std::span<const std::string_view> arguments) {
    ParsedOptions parsed;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string_view name = arguments[at];
        if (name == "-h" || name == "--help") {
            parsed.action = ParsedOptions::Action::Help;
            return parsed;
        }
        if (!takes_value(name)) {
            parsed.action = ParsedOptions::Action::Refuse;
            parsed.problem = "Neznámý přepínač " + std::string(name) + " (nápověda: belun-server -h)";
            return parsed;
        }
        if (at + 1 == arguments.size() || !take_value(name, arguments[at + 1], parsed.options)) {
            parsed.action = ParsedOptions::Action::Refuse;
            parsed.problem = "Chybná nebo chybějící hodnota přepínače " + std::string(name) +
                             " (nápověda: belun-server -h)";
            return parsed;
        }
        ++at;
    }
    if (parsed.options.workers == 0)
        parsed.options.workers = std::max(1u, std::thread::hardware_concurrency());
    return parsed;
}

void print_help(std::ostream& out) {
    out << "belun-server: služba HTTP, která kontroluje dokumenty DUV\n\n"
           "  belun-server [--port N] [--listen ADRESA] [-d SLOŽKA] [--max-body BAJTŮ]\n"
           "               [--workers N] [--read-timeout S] [--idle-timeout S]\n"
           "               [--max-connections N] [--web SLOŽKA] [-h]\n\n"
           "  --port N             port (výchozí 8080; 0: libovolný volný)\n"
           "  --listen ADRESA      adresa, na které služba naslouchá (výchozí 127.0.0.1)\n"
           "  -d SLOŽKA            data kampaně jako u belun (jinak vestavěná data)\n"
           "  --max-body BAJTŮ     největší přijatý dokument (výchozí 1073741824 = 1 GiB)\n"
           "  --workers N          nejvýše N kontrol současně (výchozí počet jader)\n"
           "  --read-timeout S     nejdelší prodleva při čtení požadavku a zápisu odpovědi (30 s)\n"
           "  --idle-timeout S     jak dlouho čeká nečinné spojení na další požadavek (5 s)\n"
           "  --max-connections N  nejvýše N obsluhovaných spojení současně (4096)\n"
           "  --web SLOŽKA         stránka pro kontrolu v prohlížeči (výchozí ../share/belun/web\n"
           "                       vedle programu)\n"
           "  -h                   tato nápověda\n\n"
           "  POST /v1/check?format=json|csv|txt|xml|htm&warnings=0|1&name=NÁZEV  tělo: dokument\n"
           "  GET /v1/health, /v1/version, /v1/codes, /\n";
}

}  // namespace tavon::server
