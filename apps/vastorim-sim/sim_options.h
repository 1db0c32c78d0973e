#pragma once

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vastorim::sim {

// What one headless run does; filled from the command line.
struct SimOptions {
    std::string dataFolder;
    long frames = 0;
    int frameMs = 16;
    std::uint64_t seed = 1;
    std::string outFolder = ".";
    std::set<long> screenshotAt;
    long screenshotEvery = 0; // 0: none; otherwise frames 0, K, 2K, ...
    std::string inputFile;    // window events by frame; empty: none
    std::string traceFile;    // one JSON line per frame; empty: none
    bool demo = false;        // the built-in pilot plays ship 0
    bool noRender = false;    // nothing is drawn (and no screenshots are taken)
    bool online = false;      // online high scores, whatever the setup file says
    bool outGiven = false;    // --out was named
    std::string recordFile;   // the whole run's replay, written at its end; empty: none
    std::string replayFile;   // plays this replay (its seed, setup, clock, music and keys)
    bool verify = false;      // the replay as fast as it goes, then one JSON line of its verdict
    std::string finalPicture; // the replay's last frame as a PNG; empty: none
    bool window = false;      // the replay in a real window at its own pace
};

// A command line that cannot be run; what() says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

SimOptions parseSimOptions(const std::vector<std::string>& arguments);

extern const char* const simUsage;

} // namespace vastorim::sim
