#include "fx_commands.h"

#include "engine/text_files.h"
#include "platform/image_file.h"
#include "platform/video.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <streambuf>

namespace vastorim::fx {

namespace {

// Ages at which each effect is shown: just spawned, in full swing, and late (slow backdrops
// only reach their peak then).
const std::vector<std::string> kAges = {"0.05", "0.3", "1"};
constexpr int kEffectsPerRow = 2;
constexpr int kShrink = 3; // each cell is the whole surface at a third of its size
constexpr int kCellWidth = platform::surfaceWidth / kShrink;
constexpr int kCellHeight = platform::surfaceHeight / kShrink;
constexpr int kGap = 4;
constexpr std::uint32_t kGapColour = 0xff303038u;

// Where the game spawns an effect when that is not a point of the action: the background's
// offsets spread it over the screen from the corner.
const std::map<std::string, std::pair<std::string, std::string>> kSpawnPoints = {
    {"background.txt", {"0", "0"}}};

std::vector<std::string> listedEffects(const std::string& dataFolder) {
    TextReader reader(dataFolder + "/effects/effect list.txt");
    std::vector<std::string> names;
    for (std::string line; reader.readLine(line) && line != "END";) {
        names.push_back(line);
    }
    return names;
}

// Keeps the single renders' progress lines out of the gallery's own output.
class QuietOutput {
  public:
    QuietOutput() : saved_(std::cout.rdbuf(&sink_)) {}
    ~QuietOutput() { std::cout.rdbuf(saved_); }
    QuietOutput(const QuietOutput&) = delete;
    QuietOutput& operator=(const QuietOutput&) = delete;

  private:
    struct Sink : std::streambuf {
        int overflow(int c) override { return c; }
    } sink_;
    std::streambuf* saved_;
};

// Averages each kShrink x kShrink block of the frame into one pixel of the sheet.
void placeShrunk(const platform::Picture& frame, platform::Picture& sheet, int left, int top) {
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            unsigned sum[3] = {0, 0, 0};
            for (int dy = 0; dy < kShrink; ++dy) {
                for (int dx = 0; dx < kShrink; ++dx) {
                    const std::uint32_t p =
                        frame.pixels[static_cast<std::size_t>(y * kShrink + dy) * frame.width +
                                     static_cast<std::size_t>(x * kShrink + dx)];
                    sum[0] += (p >> 16) & 0xff;
                    sum[1] += (p >> 8) & 0xff;
                    sum[2] += p & 0xff;
                }
            }
            constexpr unsigned n = kShrink * kShrink;
            sheet.pixels[static_cast<std::size_t>(top + y) * sheet.width +
                         static_cast<std::size_t>(left + x)] =
                0xff000000u | (sum[0] / n) << 16 | (sum[1] / n) << 8 | (sum[2] / n);
        }
    }
}

} // namespace

int galleryCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::string dataFolder;
    std::string out;
    if (!takeOption(rest, "--data", dataFolder) || !takeOption(rest, "--out", out)) {
        throw std::invalid_argument("gallery needs --data and --out");
    }
    if (!rest.empty()) {
        throw std::invalid_argument("gallery takes no other words: " + rest[0]);
    }
    const std::vector<std::string> names = listedEffects(dataFolder);
    if (names.empty()) {
        throw std::runtime_error(dataFolder + "/effects/effect list.txt lists no effect");
    }

    const int columns = kEffectsPerRow * static_cast<int>(kAges.size());
    const int rows = (static_cast<int>(names.size()) + kEffectsPerRow - 1) / kEffectsPerRow;
    platform::Picture sheet;
    sheet.width = columns * kCellWidth + (columns + 1) * kGap;
    sheet.height = rows * kCellHeight + (rows + 1) * kGap;
    sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * sheet.height, kGapColour);

    const std::string frameFile = out + ".frame.png"; // one render at a time passes through it
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto spawn = kSpawnPoints.count(names[i]) ? kSpawnPoints.at(names[i])
                                                        : std::pair<std::string, std::string>{};
        const int row = static_cast<int>(i) / kEffectsPerRow;
        for (std::size_t a = 0; a < kAges.size(); ++a) {
            std::vector<std::string> renderArgs = {dataFolder + "/effects/" + names[i],
                                                   "--data",
                                                   dataFolder,
                                                   "--out",
                                                   frameFile,
                                                   "--at",
                                                   kAges[a]};
            if (!spawn.first.empty()) {
                renderArgs.insert(renderArgs.end(), {"--x", spawn.first, "--y", spawn.second});
            }
            {
                QuietOutput quiet;
                renderCommand(renderArgs);
            }
            platform::Picture frame;
            std::string error;
            if (!platform::readPicture(frameFile, frame, error)) {
                throw std::runtime_error(error);
            }
            const int column =
                static_cast<int>(i) % kEffectsPerRow * static_cast<int>(kAges.size()) +
                static_cast<int>(a);
            placeShrunk(frame, sheet, kGap + column * (kCellWidth + kGap),
                        kGap + row * (kCellHeight + kGap));
        }
        std::cout << "row " << row + 1 << (i % kEffectsPerRow == 0 ? ", left: " : ", right: ")
                  << names[i] << '\n';
    }
    std::filesystem::remove(frameFile);
    std::string error;
    if (!platform::writePicture(out, sheet, error)) {
        throw std::runtime_error(error);
    }
    std::cout << out << ": " << names.size() << " effects at " << kAges.front() << ", " << kAges[1]
              << " and " << kAges.back() << " s\n";
    return 0;
}

} // namespace vastorim::fx
