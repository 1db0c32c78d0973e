#include "engine/errors.h"
#include "engine/random.h"
#include "particles/track.h"

#include <gtest/gtest.h>

using namespace vastorim;

namespace {

Track loaded(const std::string& text) {
    Track track;
    track.loadTrackString(text);
    return track;
}

Track baked(const std::string& text, double seed = 0) {
    Track track = loaded(text);
    track.bakeKeys(seed);
    return track;
}

TEST(Track, InterpolatesBetweenKeysAndExtrapolatesTheEndSegments) {
    struct Case {
        const char* track;
        double age;
        double value;
    };
    for (Case c :
         {Case{"0", 1, 0}, Case{"1:0|255", -3, 255}, Case{"1:0|255", 100, 255},
          Case{"2:0|0:1|10", 0.25, 2.5}, Case{"2:0|0:1|10", 1, 10}, Case{"2:0|0:1|10", 1.5, 15},
          Case{"2:0|0:1|10", -1, -10}, Case{"3:0|0:1|10:2|0", 0.5, 5},
          Case{"3:0|0:1|10:2|0", 1.5, 5}, Case{"3:0|0:1|10:2|0", 2, 0},
          Case{"3:0|0:1|10:2|0", 3, -10}, Case{"3:0|0:1|10:2|0", -0.5, -5}}) {
        EXPECT_EQ(baked(c.track).getValue(c.age), c.value) << c.track << " at " << c.age;
    }
    EXPECT_EQ(Track().getValue(1), 0);
    // The fraction is held in single precision.
    float fraction = static_cast<float>(1.0 / -3.0);
    EXPECT_EQ(baked("2:0|0:3|1").getValue(1), -static_cast<double>(fraction));
}

TEST(Track, TrackStringsRoundTripAndMalformedOnesKeepTheOldKeys) {
    for (const char* text : {"0", "1:0|255", "2:0|255:1.5|0"}) {
        EXPECT_EQ(loaded(text).getTrackString(), text);
    }
    // 2.5 - 1 = 1.5 rounds half to even: three keys; surplus key fields are ignored.
    Track track = loaded("2.5:0|1:1|2:2|3:3|4");
    EXPECT_EQ(track.getKeys(), 3);
    EXPECT_EQ(track.getTrackString(), "3:0|1:1|2:2|3");
    for (const char* bad : {"3:0|1:1|2", "x:0|1", "2:0|1:1", "1:zero|1", "1:0|1)", "99999:0|1"}) {
        EXPECT_THROW(track.loadTrackString(bad), FieldError) << bad;
    }
    EXPECT_EQ(track.getTrackString(), "3:0|1:1|2:2|3");
}

TEST(Track, BakingDrawsKeyByKeyAndCopiesAreIndependent) {
    Track type = loaded("2:0|rnd(0&1):1|rnd(10&11)");
    seedRandom(3);
    double first = rnd();
    double second = rnd();
    seedRandom(3);
    Track live = loaded("3:0|5:1|6:2|7");
    live.copyKeysFrom(type);
    live.bakeKeys(0);
    EXPECT_EQ(live.getValue(0), first);
    EXPECT_EQ(live.getValue(1), 10 + second);
    live.setKeyVal(0, 50);
    EXPECT_EQ(live.getTrackString(), type.getTrackString());
    type.bakeKeys(0);
    EXPECT_NE(type.getValue(0), 50);
}

} // namespace
