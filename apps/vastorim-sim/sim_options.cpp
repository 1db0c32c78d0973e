#include "sim_options.h"

#include <charconv>
#include <limits>

namespace vastorim::sim {

const char* const simUsage =
    "usage: vastorim-sim --data DIR --frames N [--frame-ms MS] [--seed S] [--out DIR]\n"
    "                    [--screenshot-at F ...] [--screenshot-every K]\n"
    "                    [--input FILE] [--trace FILE] [--demo] [--no-render] [--online]\n"
    "  Runs the game headless for N frames on a virtual clock of MS milliseconds per frame\n"
    "  (default 16) and writes frame-NNNNNN.png into --out (default .) for frame F (counted\n"
    "  from 0) and for every K-th frame from frame 0.\n"
    "  --input FILE   window events by frame: FRAME down|up|press KEY, FRAME unfocus,\n"
    "                 FRAME close, FRAME pad N button|axis NAME VALUE, # comments\n"
    "  --trace FILE   one JSON object per frame, written after the frame's update and drawing\n"
    "  --demo         a built-in pilot plays ship 0 with its bound keys\n"
    "  --no-render    draw nothing, for fast long runs\n"
    "  --online       online high scores on, against VASTORIM_SERVER or the built-in server;\n"
    "                 each request finishes before the next frame\n"
    "  --record FILE  writes the run's replay to FILE at its end\n"
    "usage: vastorim-sim --data DIR --replay FILE [--verify] [--final-picture PNG] [--window]\n"
    "                    [--out DIR] [--screenshot-at F ...] [--screenshot-every K]\n"
    "                    [--trace FILE] [--no-render] [--record FILE]\n"
    "  Plays a replay: its own seed, setup, clock, music and keys, for all its frames; a replay\n"
    "  of another build or other content is refused (exit status 3) before anything is played.\n"
    "  --verify       as fast as it goes (drawing only with --out) and prints one JSON line:\n"
    "                 build, contentHash, frames, ended, name, score, finalTime, seconds\n"
    "  --final-picture PNG  draws the last frame into PNG\n"
    "  --window       in a real window at its own pace: space pauses, right arrow held runs\n"
    "                 four times faster, Escape leaves";

namespace {

template <typename Number>
Number parseNumber(const std::string& option, const std::string& text, Number lowest) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest) {
        throw UsageError(option + ": expected a whole number from " + std::to_string(lowest) +
                         ", got \"" + text + "\"");
    }
    return value;
}

class ArgumentList {
  public:
    explicit ArgumentList(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool done() const { return next_ >= arguments_.size(); }
    const std::string& take() { return arguments_[next_++]; }
    bool nextIsValue() const { return !done() && arguments_[next_].rfind("--", 0) != 0; }

    const std::string& value(const std::string& option) {
        if (!nextIsValue()) {
            throw UsageError(option + ": a value is missing");
        }
        return take();
    }

  private:
    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
};

} // namespace

SimOptions parseSimOptions(const std::vector<std::string>& arguments) {
    SimOptions options;
    bool seedGiven = false;
    ArgumentList list(arguments);
    while (!list.done()) {
        const std::string& option = list.take();
        if (option == "--data") {
            options.dataFolder = list.value(option);
        } else if (option == "--frames") {
            options.frames = parseNumber<long>(option, list.value(option), 1);
        } else if (option == "--frame-ms") {
            options.frameMs = parseNumber<int>(option, list.value(option), 1);
        } else if (option == "--seed") {
            options.seed = parseNumber<std::uint64_t>(option, list.value(option), 0);
            seedGiven = true;
        } else if (option == "--out") {
            options.outFolder = list.value(option);
            options.outGiven = true;
        } else if (option == "--screenshot-at") {
            options.screenshotAt.insert(parseNumber<long>(option, list.value(option), 0));
            while (list.nextIsValue()) {
                options.screenshotAt.insert(parseNumber<long>(option, list.take(), 0));
            }
        } else if (option == "--screenshot-every") {
            options.screenshotEvery = parseNumber<long>(option, list.value(option), 1);
        } else if (option == "--input") {
            options.inputFile = list.value(option);
        } else if (option == "--trace") {
            options.traceFile = list.value(option);
        } else if (option == "--demo") {
            options.demo = true;
        } else if (option == "--no-render") {
            options.noRender = true;
        } else if (option == "--online") {
            options.online = true;
        } else if (option == "--record") {
            options.recordFile = list.value(option);
        } else if (option == "--replay") {
            options.replayFile = list.value(option);
        } else if (option == "--verify") {
            options.verify = true;
        } else if (option == "--final-picture") {
            options.finalPicture = list.value(option);
        } else if (option == "--window") {
            options.window = true;
        } else {
            throw UsageError("unknown option \"" + option + "\"");
        }
    }
    if (options.dataFolder.empty()) {
        throw UsageError("--data DIR is required");
    }
    if (options.replayFile.empty()) {
        if (options.verify || options.window || !options.finalPicture.empty()) {
            throw UsageError("--verify, --window and --final-picture play a replay: --replay FILE");
        }
        if (options.frames == 0) {
            throw UsageError("--frames N is required");
        }
        return options;
    }
    if (options.frames != 0 || !options.inputFile.empty() || options.demo || options.online ||
        seedGiven || !options.recordFile.empty()) {
        throw UsageError("--replay brings its own frames, keys, seed and online switch: "
                         "--frames, --input, --demo, --seed, --online and --record do not go "
                         "with it");
    }
    if (options.verify && !options.outGiven) {
        options.noRender = true;
    }
    return options;
}

} // namespace vastorim::sim
