#include "engine/errors.h"
#include "engine/random.h"
#include "particles/clsTrack.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vastorim;

namespace {

clsTrack baked(const std::string& text, double seed = 0) {
    clsTrack track;
    track.loadTrackString(text);
    track.bakeKeys(seed);
    return track;
}

} // namespace

TEST(Keyframe, KeyStringsRoundTrip) {
    clsKeyframe key;
    EXPECT_TRUE(key.createKey("255", 0.5));
    EXPECT_EQ(key.getKeyString(), "0.5|255");
    key.dblValue = 7;
    EXPECT_TRUE(key.loadKeyString("1E-05|rnd(1&2)|dropped"));
    EXPECT_EQ(key.dblTime, 1e-5);
    EXPECT_EQ(key.strValue, "rnd(1&2)");
    EXPECT_EQ(key.dblValue, 7) << "loading leaves the baked value alone";
    EXPECT_EQ(key.getKeyString(), "1E-05|rnd(1&2)");
}

TEST(Keyframe, MalformedKeysAreErrorsAndChangeNothing) {
    clsKeyframe key;
    key.createKey("5", 2);
    EXPECT_THROW(key.loadKeyString("0.5"), FieldError);
    EXPECT_THROW(key.loadKeyString("abc|5"), FieldError);
    EXPECT_THROW(key.loadKeyString("1|abc"), FieldError);
    EXPECT_EQ(key.strValue, "5");
    EXPECT_EQ(key.dblTime, 2);
}

TEST(Track, OneKeyGivesItsValueAtEveryAge) {
    clsTrack track = baked("1:0|255");
    for (double age : {-3.0, 0.0, 0.5, 100.0}) {
        EXPECT_EQ(track.getValue(age), 255);
    }
    EXPECT_EQ(track.getTrackString(), "1:0|255");
}

TEST(Track, InterpolatesAndExtrapolates) {
    clsTrack two = baked("2:0|0:1|10");
    EXPECT_EQ(two.getValue(0), 0);
    EXPECT_EQ(two.getValue(0.25), 2.5);
    EXPECT_EQ(two.getValue(1), 10);
    EXPECT_EQ(two.getValue(1.5), 15);
    EXPECT_EQ(two.getValue(-1), -10) << "before the first key the first segment continues";

    clsTrack three = baked("3:0|0:1|10:2|0");
    EXPECT_EQ(three.getValue(0.5), 5);
    EXPECT_EQ(three.getValue(1), 10);
    EXPECT_EQ(three.getValue(1.5), 5);
    EXPECT_EQ(three.getValue(2), 0) << "at the last key the last segment continues";
    EXPECT_EQ(three.getValue(3), -10);
    EXPECT_EQ(three.getValue(-0.5), -5);
}

TEST(Track, FractionIsHeldInSinglePrecision) {
    clsTrack track = baked("2:0|0:3|1");
    double age = 1.0;
    float fraction = static_cast<float>((age - 0) / (0 - 3.0));
    EXPECT_EQ(track.getValue(age), (0 - 1) * static_cast<double>(fraction) + 0);
    EXPECT_NE(track.getValue(age), 1.0 / 3.0);
}

TEST(Track, WithoutKeysGivesZero) {
    clsTrack track;
    EXPECT_EQ(track.getValue(1), 0);
    track.loadTrackString("0");
    EXPECT_EQ(track.getKeys(), 0);
    EXPECT_EQ(track.getValue(1), 0);
    EXPECT_EQ(track.getTrackString(), "0");
}

TEST(Track, TrackStringsRoundTripAndCountRoundsHalfToEven) {
    clsTrack track;
    track.loadTrackString("2:0|255:1.5|0");
    EXPECT_EQ(track.getTrackString(), "2:0|255:1.5|0");
    // 2.5 - 1 = 1.5 rounds to 2: three keys; surplus key fields are ignored.
    track.loadTrackString("2.5:0|1:1|2:2|3:3|4");
    EXPECT_EQ(track.getKeys(), 3);
    EXPECT_EQ(track.getTrackString(), "3:0|1:1|2:2|3");
}

TEST(Track, MalformedTrackStringsAreErrorsAndKeepTheOldKeys) {
    clsTrack track;
    track.loadTrackString("1:0|7");
    for (const char* bad : {"3:0|1:1|2", "x:0|1", "2:0|1:1", "1:zero|1", "1:0|1)", "99999:0|1"}) {
        EXPECT_THROW(track.loadTrackString(bad), FieldError) << bad;
    }
    EXPECT_EQ(track.getTrackString(), "1:0|7");
}

TEST(Track, OrderKeysIsStable) {
    clsTrack track;
    track.loadTrackString("4:2|20:1|11:1|12:0|0");
    track.orderKeys();
    EXPECT_EQ(track.getTrackString(), "4:0|0:1|11:1|12:2|20");
}

TEST(Track, OrderKeysFullySortsReversedTracks) {
    clsTrack track;
    track.loadTrackString("5:4|4:3|3:2|2:1|1:0|0");
    track.orderKeys();
    EXPECT_EQ(track.getTrackString(), "5:0|0:1|1:2|2:3|3:4|4");
}

TEST(Track, InitializeAddsOneKeyAndFixesAnEmptyText) {
    clsTrack track;
    std::string text;
    EXPECT_TRUE(track.initialize(text));
    EXPECT_EQ(text, "0");
    EXPECT_EQ(track.getTrackString(), "1:0|0");
}

TEST(Track, KeyAccessorsAndOutOfRangeIndices) {
    clsTrack track;
    track.loadTrackString("2:0|1:2|rnd(3&4)");
    double time = -1;
    std::string value = "untouched";
    EXPECT_FALSE(track.getKey(2, time, value));
    EXPECT_FALSE(track.getKey(-1, time, value));
    EXPECT_EQ(time, -1);
    EXPECT_EQ(value, "untouched");
    EXPECT_TRUE(track.getKey(1, time, value));
    EXPECT_EQ(time, 2);
    EXPECT_EQ(value, "rnd(3&4)");
    EXPECT_EQ(track.getKeyString(1), "2|rnd(3&4)");

    track.bakeKeys(0);
    track.setKeyVal(0, 100);
    EXPECT_EQ(track.getValue(0), 100);
    track.setKeyStr(0, "seed*2");
    EXPECT_EQ(track.getValue(0), 100) << "a new expression takes effect at the next bake";
    track.bakeKeys(21);
    EXPECT_EQ(track.getValue(0), 42);
    track.setKeyVal(5, 1);
    track.setKeyStr(-1, "x");

    clsKeyframe key;
    key.createKey("9", 0);
    key.dblValue = 9;
    track.updateKey(1, key);
    EXPECT_EQ(track.getKeyString(1), "0|9");
}

TEST(Track, BakingDrawsKeyByKey) {
    clsTrack track;
    track.loadTrackString("2:0|rnd(0&1):1|rnd(10&11)");
    seedRandom(3);
    double first = rnd();
    double second = rnd();
    seedRandom(3);
    track.bakeKeys(0);
    EXPECT_EQ(track.getValue(0), first);
    EXPECT_EQ(track.getValue(1), 10 + second);
}

TEST(Track, CopiedKeysAreIndependent) {
    clsTrack type;
    type.loadTrackString("2:0|1:1|2");
    clsTrack live;
    live.loadTrackString("3:0|5:1|6:2|7");
    live.copyKeysFrom(type);
    live.bakeKeys(0);
    live.setKeyVal(0, 50);
    EXPECT_EQ(live.getTrackString(), "2:0|1:1|2");
    type.bakeKeys(0);
    EXPECT_EQ(type.getValue(0), 1);
    EXPECT_EQ(live.getValue(0), 50);
}
