// The switches of belun-server and their defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace tavon::server {

struct ServerOptions {
    int port = 8080;
    std::string listen = "127.0.0.1";
    std::optional<std::string> data_folder;  // -d; none: the built-in data set
    // Far beyond any real delivery (the largest are a few hundred MB), small enough that a runaway
    // upload ends within seconds on a local network.
    std::uint64_t max_body = std::uint64_t{1} << 30;
    unsigned workers = 0;   // checks at once; 0: one per core
    int read_timeout = 30;  // seconds: the longest silence while a request arrives or a report leaves
    int idle_timeout = 5;   // seconds: how long a connection may wait for its next request
    unsigned max_connections = 4096;  // connections served at once; more wait for a thread
    std::string web_folder;           // the browser edition's page; empty: beside the program
};

// The outcome of reading the switches: run, print the help, or stop with a message.
struct ParsedOptions {
    enum class Action { Run, Help, Refuse } action = Action::Run;
    ServerOptions options;
    std::string problem;  // Refuse: why, in Czech (UTF-8)
};

ParsedOptions parse_options(std::span<const std::string_view> arguments);

// The help text, in Czech (UTF-8).
void print_help(std::ostream& out);

}  // namespace tavon::server
