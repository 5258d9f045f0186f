// belun-server: the checking service. Loads the data set once, listens, serves until SIGTERM or
// SIGINT, then lets the requests in flight finish and ends with 0.
#include <httplib.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "server/connection_threads.h"
#include "server/options.h"
#include "server/service.h"
#include "server/text.h"
#include "tavon/data.h"
#include "tavon/text.h"

namespace {

constexpr int kWrongSwitch = 2;
constexpr int kCannotStart = 13;

// The page's folder when --web does not name one: share/belun/web of the prefix the program is
// installed in (/usr/bin/belun-server: /usr/share/belun/web).
std::string default_web_folder() {
    std::vector<char> path(4096);
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    std::string program(path.data(), static_cast<std::size_t>(n));
    const std::size_t slash = program.rfind('/');
    return program.substr(0, slash == std::string::npos ? 0 : slash) + "/../share/belun/web";
}

// A connection is a descriptor: allow as many as the system lets this process have.
void raise_descriptor_limit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

tavon::Result<tavon::DataSetPtr> load_data(const tavon::server::ServerOptions& options) {
    if (options.data_folder) return tavon::load_data_folder(*options.data_folder);
    return tavon::built_in_data();
}

void tell_data_problem(const tavon::Error& problem) {
    std::string text = "belun-server: Nelze použít data " + tavon::server::log_safe(problem.file, 4096);
    if (problem.line > 0) text += ", řádek " + std::to_string(problem.line);
    text += ": " + tavon::to_utf8(tavon::describe(problem)) + "\n";
    std::fputs(text.c_str(), stderr);
}

// The listening socket on the address and port of the switches; the port (0 when it failed).
int bind(httplib::Server& server, const tavon::server::ServerOptions& options) {
    int listening = -1;
    server.set_socket_options([&](int socket) {
        const int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = socket;
    });
    const int port = options.port == 0
                         ? server.bind_to_any_port(options.listen)
                         : (server.bind_to_port(options.listen, options.port) ? options.port : 0);
    // The library keeps a queue of 5 connections not yet accepted, which drops a burst of new
    // connections for a second; the system's largest queue takes them.
    if (port > 0 && listening >= 0) ::listen(listening, SOMAXCONN);
    return port;
}

// Waits for SIGTERM or SIGINT (blocked in every thread), lets the requests in flight finish and
// stops the server.
void stop_on_signal(httplib::Server& server, tavon::server::Service& service, const sigset_t& signals) {
    int signal = 0;
    sigwait(&signals, &signal);
    std::fputs("belun-server: ukončuji, rozpracované požadavky se dokončí\n", stderr);
    service.drain();
    server.stop();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const tavon::server::ParsedOptions parsed = tavon::server::parse_options(arguments);
    if (parsed.action == tavon::server::ParsedOptions::Action::Help) {
        tavon::server::print_help(std::cout);
        return 0;
    }
    if (parsed.action == tavon::server::ParsedOptions::Action::Refuse) {
        std::cerr << "belun-server: " << parsed.problem << "\n";
        return kWrongSwitch;
    }
    const tavon::server::ServerOptions& options = parsed.options;
    const tavon::Result<tavon::DataSetPtr> data = load_data(options);
    if (!data) {
        tell_data_problem(data.error());
        return kCannotStart;
    }
    raise_descriptor_limit();
    // Signals go to the one thread that waits for them; a client gone away is no signal.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const std::string web = options.web_folder.empty() ? default_web_folder() : options.web_folder;
    tavon::server::Service service(options, *data, web);
    httplib::Server server;
    server.new_task_queue = [&] { return new tavon::server::ConnectionThreads(options.max_connections); };
    service.install(server);
    const int port = bind(server, options);
    if (port <= 0) {
        std::cerr << "belun-server: Nelze naslouchat na " << tavon::server::log_safe(options.listen)
                  << " port " << options.port << " (adresa neplatná nebo port obsazený)\n";
        return kCannotStart;
    }
    std::cerr << "belun-server: naslouchám na http://" << tavon::server::log_safe(options.listen) << ":"
              << port << "/ kontrol současně: " << options.workers
              << ", data: " << tavon::to_utf8(tavon::describe_data_set(**data)) << "\n"
              << std::flush;
    std::thread(stop_on_signal, std::ref(server), std::ref(service), signals).detach();
    const bool served = server.listen_after_bind();
    return served ? 0 : kCannotStart;
}
