#include "song.h"

#include "instruments.h"
#include "track_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>

namespace vastorim::music {

namespace {

// Rendering starts one whole loop early, so whatever rings over the loop's end (echo, crash,
// releases) is already sounding at the loop's start: the two ends then carry the same samples
// and the jump back is seamless.
constexpr int kHistoryBeats = kLoopBeats;
constexpr int kRenderBeats = kHistoryBeats + kTrackBeats;

struct Chord {
    int bass;
    std::array<int, 3> pad;
};

// A minor: i VI III VII i iv V, one chord per bar, seven bars to a phrase.
constexpr std::array<Chord, kBarsPerPhrase> kChords = {{
    {33, {57, 60, 64}}, // Am
    {29, {57, 60, 65}}, // F
    {36, {55, 60, 64}}, // C
    {31, {55, 59, 62}}, // G
    {33, {57, 60, 64}}, // Am
    {38, {57, 62, 65}}, // Dm
    {28, {56, 59, 64}}, // E
}};

// The lead, by bar of the second and third phrase: six half-beat slots per bar; "-" holds the
// previous note, "." rests.
constexpr std::array<const char*, 2 * kBarsPerPhrase> kMelody = {
    "E5 - - A5 G5 E5", "F5 - - E5 C5 A4", "G5 - - E5 - C5",  "D5 - B4 - G4 -",
    "E5 - A5 - C6 -",  "D6 C6 A5 - F5 -", "G#5 - B5 - E6 -",

    "A5 - C6 - E6 D6", "C6 - A5 - F5 A5", "G5 - C6 - E6 -",  "D6 - B5 - G5 B5",
    "C6 - E6 - A6 -",  "F6 E6 D6 - A5 -", "B5 - G#5 - E5 .",
};

int parseNote(const std::string& name) {
    static constexpr std::array<int, 7> kOffsets = {9, 11, 0, 2, 4, 5, 7}; // A..G from C
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') {
        throw std::invalid_argument("bad note name " + name);
    }
    int note = kOffsets[static_cast<std::size_t>(name[0] - 'A')];
    std::size_t at = 1;
    if (name[at] == '#') {
        ++note;
        ++at;
    }
    const int octave = name[at] - '0';
    return 12 * (octave + 1) + note;
}

struct Mix {
    Bus drums{kRenderBeats * kBeatFrames};
    Bus bass{kRenderBeats * kBeatFrames};
    Bus harmony{kRenderBeats * kBeatFrames};
    Bus lead{kRenderBeats * kBeatFrames};
    std::vector<long> kicks;
};

struct Position {
    int pattern;     // beat of the loop, 0..62
    int beatInBar;   // 0..2
    int barInPhrase; // 0..6
    int phrase;      // 0..2
    int render;      // beat index in the rendered span
};

// Seeds a drum hit's noise by its place in the loop.
unsigned noiseSeed(const Position& at, int step, unsigned drum) {
    return drum * 4099u + static_cast<unsigned>(at.pattern) * 16u + static_cast<unsigned>(step) +
           1u;
}

void playDrums(Mix& mix, const Position& at) {
    const bool fill = at.pattern == kLoopBeats - 1;
    auto frame = [&](int num, int den) { return frameAt(at.render, num, den); };

    mix.kicks.push_back(frame(0, 1));
    addKick(mix.drums, frame(0, 1), 0.95);
    if (at.phrase > 0 && at.beatInBar == kBeatsPerBar - 1 && !fill) {
        mix.kicks.push_back(frame(3, 4));
        addKick(mix.drums, frame(3, 4), 0.7);
    }
    if (at.beatInBar == 0 && at.barInPhrase == 0) {
        addCrash(mix.drums, frame(0, 1), 0.5, noiseSeed(at, 0, 0xc4a5));
    }

    if (fill) {
        for (int step = 0; step < 8; ++step) {
            addSnare(mix.drums, frame(step, 8), 0.25 + 0.05 * step, noiseSeed(at, step, 0x51a7));
        }
        return;
    }
    addSnare(mix.drums, frame(1, 2), 0.6, noiseSeed(at, 0, 0x51a7));

    const int hatSteps = at.phrase == 2 ? 8 : 4;
    for (int step = 0; step < hatSteps; ++step) {
        const bool offBeat = (step * 4 / hatSteps) % 2 == 1;
        const bool open = at.phrase > 0 && step == hatSteps - 1 && at.beatInBar == 1;
        const double gain = (step * 4) % hatSteps != 0 ? 0.18 : (offBeat ? 0.42 : 0.26);
        addHat(mix.drums, frame(step, hatSteps), gain, open, noiseSeed(at, step, 0x4a75));
    }
}

void playBass(Mix& mix, const Position& at) {
    const int root = kChords[static_cast<std::size_t>(at.barInPhrase)].bass;
    static constexpr std::array<int, 4> kOctaves = {0, 12, 0, 12};
    const long stepLength = kBeatFrames / 4;
    for (int step = 0; step < 4; ++step) {
        const int note = root + kOctaves[static_cast<std::size_t>(step)];
        const double gain = step % 2 == 0 ? 0.42 : 0.34;
        addBass(mix.bass, frameAt(at.render, step, 4), stepLength * 3 / 4, note, gain);
    }
}

void playHarmony(Mix& mix, const Position& at) {
    const Chord& chord = kChords[static_cast<std::size_t>(at.barInPhrase)];
    if (at.beatInBar == 0) {
        for (int note : chord.pad) {
            addPad(mix.harmony, frameAt(at.render), kBeatsPerBar * kBeatFrames - 2000, note, 0.085);
        }
    }
    // Chord tones climbing over two octaves, eight to a beat.
    const std::array<int, 6> climb = {chord.pad[0] + 12, chord.pad[1] + 12, chord.pad[2] + 12,
                                      chord.pad[0] + 24, chord.pad[2] + 12, chord.pad[1] + 12};
    const double gain = at.phrase == 0 ? 0.16 : 0.09;
    for (int step = 0; step < 8; ++step) {
        const int index = (at.beatInBar * 8 + step) % static_cast<int>(climb.size());
        addPluck(mix.harmony, frameAt(at.render, step, 8), climb[static_cast<std::size_t>(index)],
                 gain);
    }
}

void playMelody(Mix& mix, const Position& at) {
    if (at.phrase == 0 || at.beatInBar != 0) {
        return;
    }
    const std::size_t bar =
        static_cast<std::size_t>((at.phrase - 1) * kBarsPerPhrase + at.barInPhrase);
    std::istringstream tokens(kMelody[bar]);
    std::vector<std::string> slots;
    for (std::string token; tokens >> token;) {
        slots.push_back(token);
    }
    const long slotFrames = kBeatFrames / 2;
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
        if (slots[slot] == "-" || slots[slot] == ".") {
            continue;
        }
        std::size_t held = 1;
        while (slot + held < slots.size() && slots[slot + held] == "-") {
            ++held;
        }
        const long start = frameAt(at.render, static_cast<long>(slot), 2);
        const long length = static_cast<long>(held) * slotFrames - 1500;
        const int note = parseNote(slots[slot]);
        addLead(mix.lead, start, length, note, 0.26);
        if (at.phrase == 2) {
            addLead(mix.lead, start, length, note - 12, 0.12);
        }
    }
}

Position positionOf(int render) {
    const int beat = render - kHistoryBeats; // beat of the output track
    Position at{};
    at.render = render;
    at.pattern = ((beat - kLeadInBeats) % kLoopBeats + kLoopBeats) % kLoopBeats;
    at.beatInBar = at.pattern % kBeatsPerBar;
    const int bar = at.pattern / kBeatsPerBar;
    at.barInPhrase = bar % kBarsPerPhrase;
    at.phrase = bar / kBarsPerPhrase;
    return at;
}

// Pads and arpeggio dip under each kick, which makes the groove pump.
void applyDucking(Bus& bus, std::vector<long> kicks) {
    std::sort(kicks.begin(), kicks.end());
    const double recovery = expApprox(-1.0 / (0.11 * kSampleRate));
    double dip = 0.0;
    std::size_t next = 0;
    for (long i = 0; i < bus.size(); ++i) {
        while (next < kicks.size() && kicks[next] <= i) {
            dip = 0.6;
            ++next;
        }
        bus[i] *= 1.0 - dip;
        dip *= recovery;
    }
}

} // namespace

std::vector<std::int16_t> renderSong() {
    Mix mix;
    for (int render = 0; render < kRenderBeats; ++render) {
        const Position at = positionOf(render);
        playDrums(mix, at);
        playBass(mix, at);
        playHarmony(mix, at);
        playMelody(mix, at);
    }
    applyEcho(mix.lead, frameAt(0, 3, 4), 0.32, 0.3);
    applyDucking(mix.harmony, mix.kicks);

    const long first = kHistoryBeats * kBeatFrames;
    std::vector<double> master(static_cast<std::size_t>(kTrackFrames));
    double peak = 1e-9;
    // A DC blocker over the whole span (a 15 Hz high-pass): the kick's first half-wave would
    // otherwise push the mix off centre.
    const double pole = 1.0 - 2.0 * kPi * 15.0 / kSampleRate;
    double lastIn = 0.0;
    double lastOut = 0.0;
    for (long f = 0; f < first + kTrackFrames; ++f) {
        const double in = mix.drums[f] + mix.bass[f] + mix.harmony[f] + mix.lead[f];
        lastOut = in - lastIn + pole * lastOut;
        lastIn = in;
        if (f >= first) {
            master[static_cast<std::size_t>(f - first)] = lastOut;
            peak = std::max(peak, std::fabs(lastOut));
        }
    }
    // Peak at about -1 dBFS: loud, and never clipped.
    const double scale = 0.89 * 32767.0 / peak;
    std::vector<std::int16_t> samples(master.size());
    for (std::size_t i = 0; i < master.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(std::lround(master[i] * scale));
    }
    return samples;
}

} // namespace vastorim::music
