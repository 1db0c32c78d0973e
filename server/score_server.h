#pragma once

#include "server/client_folder.h"
#include "server/rate_limiter.h"
#include "server/replay_verifier.h"
#include "server/score_store.h"
#include "server/server_options.h"
#include "server/submission.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace vastorim::server {

// A server that cannot start: a database it cannot use, a missing update folder, an address it
// cannot listen on. what() says which and why.
class StartError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The reference server of the online table: the table and score submission as the game speaks
// them, the replays uploaded after submissions and their verification, the leaderboard page and
// its JSON, and the update directory, over HTTP.
class ScoreServer {
  public:
    // Opens the database and the update folder, and starts verifying replays when given the
    // game's folder. Throws StoreError or StartError.
    explicit ScoreServer(const ServerOptions& options);
    ~ScoreServer();
    ScoreServer(const ScoreServer&) = delete;
    ScoreServer& operator=(const ScoreServer&) = delete;

    // Binds the listening socket; gives the port (the chosen one when the options ask for 0).
    // Throws StartError.
    int bind();
    // "http://HOST:PORT" once bound.
    std::string address() const;
    // Answers requests until stop(); false when listening failed.
    bool run();
    // From any thread; returns once run() has stopped answering (or will never start).
    void stop();

  private:
    // The replies that only change with a new score, made once per change.
    struct Replies;

    std::shared_ptr<const Replies> replies();
    void answerTable(const httplib::Request& request, httplib::Response& response);
    // The submission in the request's query, when its address is within its limit and the
    // query is sound; otherwise nothing, and the response says why.
    std::optional<Submission> admit(const httplib::Request& request, httplib::Response& response,
                                    RateLimiter& limit, const std::string& what);
    void answerSubmission(const httplib::Request& request, httplib::Response& response);
    void answerReplayUpload(const httplib::Request& request, httplib::Response& response);
    void answerReplayFile(const httplib::Request& request, httplib::Response& response);
    void forgetReplies();
    void answerClientFile(const httplib::Request& request, httplib::Response& response);
    std::string clientAddress(const httplib::Request& request) const;
    void routeRequests();

    ServerOptions options_;
    ScoreStore store_;
    std::optional<ClientFolder> clientFolder_;
    RateLimiter submissionLimit_;
    RateLimiter replayLimit_;
    std::mutex repliesMutex_;
    std::shared_ptr<const Replies> replies_;   // null after a new score or verdict
    std::unique_ptr<ReplayVerifier> verifier_; // null without the game's folder
    std::unique_ptr<httplib::Server> http_;
    int port_ = 0;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> running_{false};
};

} // namespace vastorim::server
