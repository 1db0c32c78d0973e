#pragma once

namespace vastorim::music {

// The track's timing, fixed by the game's beat clock: one beat is 37786 bytes of 16-bit mono,
// beat 0 leads in, beats 1 to 63 loop, and two beats of tail follow the loop end so that a
// player that overshoots the end before jumping back still hears the groove.
inline constexpr long kBeatFrames = 18893;
inline constexpr int kLoopBeats = 63;
inline constexpr int kBeatsPerBar = 3;
inline constexpr int kBarsPerPhrase = 7;
inline constexpr int kLeadInBeats = 1;
inline constexpr int kTailBeats = 2;
inline constexpr int kTrackBeats = kLeadInBeats + kLoopBeats + kTailBeats;
inline constexpr long kTrackFrames = kTrackBeats * kBeatFrames;

// Frame at which a fraction num/den of the way through a beat falls.
inline constexpr long frameAt(long beat, long num = 0, long den = 1) {
    return beat * kBeatFrames + (num * kBeatFrames * 2 + den) / (2 * den);
}

} // namespace vastorim::music
