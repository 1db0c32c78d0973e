#include "server/score_server.h"

#include "server/log_text.h"
#include "server/score_replies.h"
#include "server/submission.h"

#include <httplib.h>

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

namespace vastorim::server {

struct ScoreServer::Replies {
    std::string table;
    std::string json;
    std::string page;
};

namespace {

using Clock = std::chrono::steady_clock;

// Enough workers that a few slow or idle keep-alive clients never hold up the rest.
constexpr std::size_t kWorkerThreads = 16;
constexpr time_t kKeepAliveSeconds = 2;
constexpr std::size_t kFileChunk = 64 * 1024;
// A ten-minute game's replay takes well under 100 KB.
constexpr std::size_t kLargestReplay = 1024 * 1024;

// When this worker thread began the request it is answering; the log line measures from it.
thread_local std::optional<Clock::time_point> requestStart;

void answerText(httplib::Response& response, int status, const std::string& line) {
    response.status = status;
    response.set_content(line + "\n", "text/plain; charset=utf-8");
}

void logRequest(const std::string& address, const httplib::Request& request,
                const httplib::Response& response) {
    const double milliseconds =
        requestStart
            ? std::chrono::duration<double, std::milli>(Clock::now() - *requestStart).count()
            : 0.0;
    requestStart.reset();
    // A path decodes "%0A" to a line feed, hence printable(). One write per line, so that lines
    // from several workers never interleave.
    std::fprintf(stderr, "%s %s %s %d %.1f ms\n", printable(address).c_str(),
                 printable(request.method).c_str(), printable(request.path).c_str(),
                 response.status, milliseconds);
}

// The library reports only that binding failed; the system's error number is still set then.
std::string bindFailure(int reason) {
    switch (reason) {
    case EADDRINUSE:
        return "the port is in use";
    case EADDRNOTAVAIL:
        return "not an address of this machine";
    case EACCES:
        return "permission denied (ports below 1024 need privileges)";
    default:
        return "the address cannot be used (a name that does not resolve?)";
    }
}

} // namespace

ScoreServer::ScoreServer(const ServerOptions& options)
    : options_(options), store_(options.database), submissionLimit_(options.submissionsPerMinute),
      replayLimit_(options.submissionsPerMinute), http_(std::make_unique<httplib::Server>()) {
    if (!options.clientFolder.empty()) {
        try {
            clientFolder_.emplace(options.clientFolder);
        } catch (const std::runtime_error& error) {
            throw StartError(std::string("--client-dir ") + error.what());
        }
    }
    if (!options.gameData.empty()) {
        if (!std::filesystem::is_directory(options.gameData)) {
            throw StartError("--game-data " + options.gameData + ": not a folder");
        }
        if (access(options.simulator.c_str(), X_OK) != 0) {
            throw StartError("--game-data: no vastorim-sim beside the server (" +
                             options.simulator + ") to play replays with");
        }
        verifier_ = std::make_unique<ReplayVerifier>(
            store_,
            VerifierSettings{options.gameData, options.simulator, options.verifiers,
                             std::chrono::seconds(options.replaySeconds)},
            [this] { forgetReplies(); });
    }
    routeRequests();
}

ScoreServer::~ScoreServer() = default;

void ScoreServer::routeRequests() {
    httplib::Server& http = *http_;
    http.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
    http.set_keep_alive_timeout(kKeepAliveSeconds);
    // A reply goes out as headers then body: without this, Nagle's algorithm holds the body back
    // until the client's delayed acknowledgement, some 40 ms on a kept-alive connection.
    http.set_tcp_nodelay(true);
    http.set_payload_max_length(kLargestReplay);
    // The library's default also sets SO_REUSEPORT, which would let a second server share the
    // port unnoticed; reusing the address alone only allows a restart while old connections
    // linger.
    http.set_socket_options([](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    http.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        requestStart = Clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // Logged as the reply is about to leave, not after it has left: a client that waits for each
    // reply before its next request then finds its requests in the log in the order it made them.
    http.set_post_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            logRequest(clientAddress(request), request, response);
        });
    http.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) {
            answerText(response, response.status,
                       response.status == 404 ? "not found"
                                              : "refused: HTTP " + std::to_string(response.status));
        }
    });
    http.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr failure) {
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception& error) {
                std::fprintf(stderr, "vastorim-server: %s\n", error.what());
            } catch (...) {
                std::fprintf(stderr, "vastorim-server: an unknown failure\n");
            }
            answerText(response, 500, "the server failed to answer; see its log");
        });

    http.Get("/highscores.php",
             [this](const httplib::Request& request, httplib::Response& response) {
                 answerTable(request, response);
             });
    http.Get("/submit.php", [this](const httplib::Request& request, httplib::Response& response) {
        answerSubmission(request, response);
    });
    http.Get("/", [this](const httplib::Request&, httplib::Response& response) {
        response.set_header("Cache-Control", "no-cache");
        response.set_content(replies()->page, "text/html; charset=utf-8");
    });
    http.Get("/highscores.json", [this](const httplib::Request&, httplib::Response& response) {
        response.set_header("Cache-Control", "no-cache");
        response.set_content(replies()->json, "application/json");
    });
    http.Post("/replay", [this](const httplib::Request& request, httplib::Response& response) {
        answerReplayUpload(request, response);
    });
    http.Get(R"(/replays/(\d{1,18})(\.png)?)",
             [this](const httplib::Request& request, httplib::Response& response) {
                 answerReplayFile(request, response);
             });
    http.Get("/client/(.*)", [this](const httplib::Request& request, httplib::Response& response) {
        answerClientFile(request, response);
    });
}

std::shared_ptr<const ScoreServer::Replies> ScoreServer::replies() {
    const std::lock_guard lock(repliesMutex_);
    if (!replies_) {
        const std::vector<ScoreEntry> best = store_.best(kTablePlaces, options_.verifiedOnly);
        replies_ = std::make_shared<const Replies>(
            Replies{tableReply(best), tableJson(best), leaderboardPage(best)});
    }
    return replies_;
}

void ScoreServer::answerTable(const httplib::Request& request, httplib::Response& response) {
    if (request.get_param_value("query") != "score_list" ||
        request.get_param_value_count("query") != 1) {
        answerText(response, 400, "query: expected score_list");
        return;
    }
    response.set_header("Cache-Control", "no-cache");
    response.set_content(replies()->table, "text/plain; charset=utf-8");
}

std::optional<Submission> ScoreServer::admit(const httplib::Request& request,
                                             httplib::Response& response, RateLimiter& limit,
                                             const std::string& what) {
    // Counted before anything is checked, so that guessing keys costs the same as submitting.
    if (!limit.allow(clientAddress(request))) {
        answerText(response, 429,
                   "too many " + what + " from this address: at most " +
                       std::to_string(options_.submissionsPerMinute) + " a minute");
        return std::nullopt;
    }
    const CheckedSubmission checked = checkSubmission(request.params, options_.secret);
    if (!checked.problem.empty()) {
        answerText(response, 400, checked.problem);
        return std::nullopt;
    }
    return checked.submission;
}

void ScoreServer::answerSubmission(const httplib::Request& request, httplib::Response& response) {
    const std::optional<Submission> submission =
        admit(request, response, submissionLimit_, "submissions");
    if (!submission) {
        return;
    }
    try {
        store_.add(submission->name, submission->score);
    } catch (const StoreError& error) {
        std::fprintf(stderr, "vastorim-server: %s\n", error.what());
        answerText(response, 500, "the score could not be stored");
        return;
    }
    forgetReplies();
    answerText(response, 200, "OK");
}

void ScoreServer::answerReplayUpload(const httplib::Request& request, httplib::Response& response) {
    const std::optional<Submission> submission = admit(request, response, replayLimit_, "replays");
    if (!submission) {
        return;
    }
    if (request.body.empty()) {
        answerText(response, 400, "body: expected the game's replay");
        return;
    }
    if (verifier_ && !verifier_->hasRoom()) {
        answerText(response, 503, "too many replays wait to be played: try again later");
        return;
    }
    std::optional<std::int64_t> id;
    try {
        id = store_.attachReplay(submission->name, submission->score, request.body);
    } catch (const StoreError& error) {
        std::fprintf(stderr, "vastorim-server: %s\n", error.what());
        answerText(response, 500, "the replay could not be stored");
        return;
    }
    if (!id) {
        answerText(response, 409, "no submitted score of this name and time waits for a replay");
        return;
    }
    if (verifier_) {
        verifier_->enqueue(*id);
    }
    forgetReplies();
    answerText(response, 200, "OK /replays/" + std::to_string(*id));
}

void ScoreServer::answerReplayFile(const httplib::Request& request, httplib::Response& response) {
    const std::int64_t id = std::stoll(request.matches[1].str());
    const bool picture = request.matches[2].matched;
    std::optional<std::string> bytes;
    if (picture) {
        bytes = store_.picture(id);
    } else if (auto stored = store_.replay(id)) {
        bytes = std::move(stored->second);
    }
    if (!bytes) {
        answerText(response, 404, "not found");
        return;
    }
    if (!picture) {
        response.set_header("Content-Disposition",
                            "attachment; filename=\"vastorim-" + std::to_string(id) + ".replay\"");
    }
    response.set_content(std::move(*bytes), picture ? "image/png" : "application/octet-stream");
}

void ScoreServer::forgetReplies() {
    const std::lock_guard lock(repliesMutex_);
    replies_.reset();
}

void ScoreServer::answerClientFile(const httplib::Request& request, httplib::Response& response) {
    const std::optional<std::filesystem::path> file =
        clientFolder_ ? clientFolder_->find(request.matches[1].str()) : std::nullopt;
    auto stream = file ? std::make_shared<std::ifstream>(*file, std::ios::binary) : nullptr;
    std::error_code error;
    const std::uintmax_t size = file ? std::filesystem::file_size(*file, error) : 0;
    if (!stream || !*stream || error) {
        answerText(response, 404, "not found");
        return;
    }
    response.set_content_provider(
        size, contentTypeOf(*file),
        [stream](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            std::vector<char> chunk(std::min(length, kFileChunk));
            stream->clear();
            stream->seekg(static_cast<std::streamoff>(offset));
            stream->read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            const std::streamsize got = stream->gcount();
            return got > 0 && sink.write(chunk.data(), static_cast<std::size_t>(got));
        });
}

std::string ScoreServer::clientAddress(const httplib::Request& request) const {
    if (options_.trustProxy && request.has_header("X-Real-IP")) {
        return request.get_header_value("X-Real-IP");
    }
    return request.remote_addr;
}

int ScoreServer::bind() {
    errno = 0;
    const bool bound = options_.port == 0 ? (port_ = http_->bind_to_any_port(options_.host)) > 0
                                          : http_->bind_to_port(options_.host, options_.port);
    if (!bound) {
        throw StartError("cannot listen on " + options_.host + " port " +
                         std::to_string(options_.port) + ": " + bindFailure(errno));
    }
    if (options_.port != 0) {
        port_ = options_.port;
    }
    return port_;
}

std::string ScoreServer::address() const {
    const bool ipv6 = options_.host.find(':') != std::string::npos;
    return "http://" + (ipv6 ? "[" + options_.host + "]" : options_.host) + ":" +
           std::to_string(port_);
}

bool ScoreServer::run() {
    running_ = true;
    const bool listened = stopRequested_ || http_->listen_after_bind();
    running_ = false;
    return listened;
}

void ScoreServer::stop() {
    stopRequested_ = true;
    // The listening loop may be just about to start, when the library's stop does nothing yet:
    // keep asking until it has ended.
    while (running_) {
        http_->stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace vastorim::server
