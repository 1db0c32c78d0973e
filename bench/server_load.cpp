// The reference server under load on loopback: table requests and score submissions per second
// from several concurrent clients. The server runs in this process on a real socket (its own
// worker threads, a temporary SQLite database); each benchmark thread is one client. Clients
// either open a new connection per request, as the game does, or keep one open, as a browser
// does. The server's log lines go to stderr: run with 2>/dev/null.
#include "protocol/score_key.h"
#include "server/score_server.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <thread>

namespace {

using namespace vastorim;

constexpr const char* kSecret = "benchmark secret";

// One server for the whole run, stopped and its database removed at exit.
class LoadServer {
  public:
    LoadServer()
        : folder_(std::filesystem::temp_directory_path() /
                  ("vastorim-server-load-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_);
        server::ServerOptions options;
        options.port = 0;
        options.database = (folder_ / "scores.sqlite").string();
        options.secret = kSecret;
        options.submissionsPerMinute = 1'000'000'000;
        server_ = std::make_unique<server::ScoreServer>(options);
        port_ = server_->bind();
        thread_ = std::thread([this] { server_->run(); });
    }
    ~LoadServer() {
        server_->stop();
        thread_.join();
        server_.reset();
        std::filesystem::remove_all(folder_);
    }
    int port() const { return port_; }

  private:
    std::filesystem::path folder_;
    std::unique_ptr<server::ScoreServer> server_;
    std::thread thread_;
    int port_ = 0;
};

LoadServer& loadServer() {
    static LoadServer server;
    return server;
}

httplib::Client client(bool keepAlive) {
    httplib::Client client("127.0.0.1", loadServer().port());
    client.set_keep_alive(keepAlive);
    return client;
}

void countRequests(benchmark::State& state, std::int64_t failures) {
    state.SetItemsProcessed(state.iterations());
    state.counters["failures"] = static_cast<double>(failures);
}

void tableRequests(benchmark::State& state, bool keepAlive) {
    httplib::Client http = client(keepAlive);
    std::int64_t failures = 0;
    for (auto _ : state) {
        const httplib::Result reply = http.Get("/highscores.php?query=score_list");
        failures += !reply || reply->status != 200;
    }
    countRequests(state, failures);
}

void submissions(benchmark::State& state, bool keepAlive) {
    httplib::Client http = client(keepAlive);
    const std::string name = "LOAD " + std::to_string(state.thread_index() + 1);
    std::int32_t score = 1;
    std::int64_t failures = 0;
    for (auto _ : state) {
        const std::string target =
            "/submit.php?name=LOAD%20" + std::to_string(state.thread_index() + 1) +
            "&score=" + std::to_string(score) + "&key=" + scoreKey(name, score, kSecret);
        const httplib::Result reply = http.Get(target);
        failures += !reply || reply->status != 200;
        ++score;
    }
    countRequests(state, failures);
}

void tableRequestsNewConnection(benchmark::State& state) {
    tableRequests(state, false);
}
void tableRequestsKeepAlive(benchmark::State& state) {
    tableRequests(state, true);
}
void submissionsNewConnection(benchmark::State& state) {
    submissions(state, false);
}
void submissionsKeepAlive(benchmark::State& state) {
    submissions(state, true);
}

BENCHMARK(tableRequestsNewConnection)->Threads(8)->UseRealTime();
BENCHMARK(tableRequestsKeepAlive)->Threads(8)->UseRealTime();
BENCHMARK(submissionsNewConnection)->Threads(8)->UseRealTime();
BENCHMARK(submissionsKeepAlive)->Threads(8)->UseRealTime();

} // namespace
