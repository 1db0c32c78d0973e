#pragma once

#include "server/score_store.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vastorim::server {

struct VerifierSettings {
    std::string gameData;  // the game's program folder
    std::string simulator; // vastorim-sim of the server's own build
    int workers = 2;
    std::chrono::seconds limit{120}; // per replay
    std::size_t queueLimit = 64;
};

// Plays uploaded replays again with the game's headless runner, a few at a time, each in a child
// process killed at the time limit, and stores the verdict: verified when the replay plays to
// its end, its game ends at the entry's time and its name entry submits the entry's name;
// rejected otherwise, also when the runner refuses it (another build, other content, a damaged
// file) or it runs out of time.
class ReplayVerifier {
  public:
    // `judged` runs on a worker after each verdict is stored.
    ReplayVerifier(ScoreStore& store, VerifierSettings settings, std::function<void()> judged);
    // Kills the plays in progress (their replays stay unplayed) and waits for the workers.
    ~ReplayVerifier();
    ReplayVerifier(const ReplayVerifier&) = delete;
    ReplayVerifier& operator=(const ReplayVerifier&) = delete;

    // Whether the queue takes one more replay.
    bool hasRoom();
    void enqueue(std::int64_t id);

  private:
    void work();
    void verify(std::int64_t id);

    ScoreStore& store_;
    const VerifierSettings settings_;
    const std::function<void()> judged_;
    const std::filesystem::path scratch_; // the replay files and pictures of the plays
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::int64_t> queue_;
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> workers_;
};

} // namespace vastorim::server
