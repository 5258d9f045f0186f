// The routes of belun-server on an httplib::Server: the check, the information endpoints, the
// browser edition's page, and the limits and the log line every request goes through.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "server/options.h"
#include "server/worker_gate.h"
#include "tavon/check.h"
#include "tavon/data.h"

namespace tavon::server {

class ReportBuffer;

class Service {
  public:
    Service(const ServerOptions& options, tavon::DataSetPtr data, std::string web_folder);
    // Routes, timeouts, limits and the log line on the server.
    void install(httplib::Server& server);
    // For a clean stop: from now on new requests are refused (503), and this returns once the
    // requests in flight have been answered. (The server's own stop would cut short the answers
    // it is still writing.)
    void drain();

  private:
    using BodyReader = std::function<bool(httplib::ContentReceiver)>;
    httplib::Server::HandlerResponse before_routing(const httplib::Request& req, httplib::Response& res);
    int expect_continue(const httplib::Request& req, httplib::Response& res);
    void check(const httplib::Request& req, httplib::Response& res, const BodyReader& read_body);
    void answer_report(httplib::Response& res, const std::string& content_type, const tavon::Totals& totals,
                       std::shared_ptr<ReportBuffer> report);
    bool begin_request(httplib::Response& res);
    void end_request();
    void version(httplib::Response& res) const;
    static void codes(httplib::Response& res);
    void web_file(const httplib::Request& req, httplib::Response& res) const;

    ServerOptions options_;
    tavon::DataSetPtr data_;
    std::string data_set_;  // describe_data_set(), Windows-1250 as the reports want it
    std::string web_folder_;
    WorkerGate workers_;
    std::mutex requests_mutex_;
    std::condition_variable requests_done_;
    long in_flight_ = 0;  // requests between their headers and the end of their answer
    bool draining_ = false;
};

}  // namespace tavon::server
