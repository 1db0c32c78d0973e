#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace vastorim::server {

// How a child process ended.
struct ChildOutcome {
    bool started = false; // false: `problem` says why it could not start
    bool killed = false;  // killed at the time limit or when cancelled
    int exitStatus = -1;  // its exit code when it exited of itself, otherwise -1
    std::string out;      // the first 64 KiB of its standard output
    std::string err;      // and of its standard error
    std::string problem;
};

// Runs `program` with `arguments` (standard input empty, no other files of this process open in
// it) and waits for it; kills it, and whatever it started, once `limit` has passed or
// `cancelled` turns true.
ChildOutcome runChild(const std::string& program, const std::vector<std::string>& arguments,
                      std::chrono::milliseconds limit, const std::atomic<bool>& cancelled);

} // namespace vastorim::server
