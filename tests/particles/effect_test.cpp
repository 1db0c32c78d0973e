#include "engine/errors.h"
#include "particles/clsEffect.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace vastorim;

namespace {

// Writes the file into the folder and gives its path.
std::string put(const test::TempFolder& folder, const std::string& name, const std::string& text) {
    test::writeFile(folder.file(name), text);
    return folder.file(name);
}

const std::string kLineA =
    "a,1:0|255,1:0|255,1:0|255,1:0|255,1:0|8,1:0|8,1:0|0,1:0|0,1:0|0,dot,2,0,0,0,1,0,0";
const std::string kLineB =
    "b,1:0|9,1:0|255,1:0|255,2:0|255:1|0,1:0|8,1:0|8,1:0|rnd(-5&5),1:0|0,1:0|0,dot,1,1,0,0,1,0,0";

} // namespace

TEST(Effect, LoadsTypesUpToEndAndNeverReadsBeyond) {
    test::TempFolder folder;
    std::string path =
        put(folder, "fx.txt", kLineA + "\r\n" + kLineB + "\r\nEND\r\nthis is, not read\r\n");
    clsEffect effect;
    effect.loadEffect(path);
    ASSERT_EQ(effect.getParticles(), 2);
    EXPECT_EQ(effect.getParticle(0)->getParticleString(), kLineA);
    EXPECT_EQ(effect.getParticle(1)->getParticleString(), kLineB);
    EXPECT_EQ(effect.getParticle(2), nullptr);
    EXPECT_TRUE(effect.warning().empty());
}

TEST(Effect, OnlyEndGivesNoTypesAndLowerCaseEndIsAType) {
    test::TempFolder folder;
    clsEffect effect;
    effect.loadEffect(put(folder, "empty.txt", "END\n"));
    EXPECT_EQ(effect.getParticles(), 0);
    try {
        effect.loadEffect(put(folder, "lower.txt", "end\nEND\n"));
        ADD_FAILURE() << "\"end\" was taken as the end marker";
    } catch (const DataError& error) {
        EXPECT_EQ(error.line(), 1);
        EXPECT_EQ(error.field(), "field 1 (colourR)");
    }
}

TEST(Effect, MissingEndLoadsWithAWarningNamingTheFile) {
    test::TempFolder folder;
    std::string path = put(folder, "open.txt", kLineA + "\n");
    clsEffect effect;
    effect.loadEffect(path);
    EXPECT_EQ(effect.getParticles(), 1);
    EXPECT_NE(effect.warning().find("open.txt"), std::string::npos) << effect.warning();
    EXPECT_NE(effect.warning().find("END"), std::string::npos);
}

TEST(Effect, MalformedLineIsAnErrorWithFileLineAndFieldAndKeepsTheOldList) {
    test::TempFolder folder;
    clsEffect effect;
    effect.loadEffect(put(folder, "good.txt", kLineA + "\nEND\n"));
    std::string broken = kLineB;
    broken.replace(broken.find("rnd(-5&5)"), 9, "rnd(-5)");
    std::string path = put(folder, "bad.txt", kLineA + "\n" + broken + "\nEND\n");
    try {
        effect.loadEffect(path);
        ADD_FAILURE() << "the broken file loaded";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.line(), 2);
        EXPECT_EQ(error.field(), "field 7 (speedx)");
        EXPECT_NE(std::string(error.what()).find("rnd(-5)"), std::string::npos) << error.what();
    }
    ASSERT_EQ(effect.getParticles(), 1);
    EXPECT_EQ(effect.getParticle(0)->getParticleString(), kLineA);
    EXPECT_THROW(effect.loadEffect(folder.file("missing.txt")), DataError);
    EXPECT_EQ(effect.getParticles(), 1);
}

TEST(Effect, SaveAndLoadGiveTheSameLines) {
    test::TempFolder folder;
    clsEffect effect;
    effect.loadEffect(put(folder, "in.txt", kLineA + "\n" + kLineB + "\nEND\n"));
    std::string out = folder.file("out.txt");
    ASSERT_TRUE(effect.saveEffect(out));
    EXPECT_EQ(test::readFile(out), kLineA + "\r\n" + kLineB + "\r\nEND\r\n");
    clsEffect again;
    again.loadEffect(out);
    ASSERT_EQ(again.getParticles(), 2);
    EXPECT_EQ(again.getParticle(1)->getParticleString(), kLineB);
}

TEST(Effect, EmptyEffectSavesNothing) {
    test::TempFolder folder;
    clsEffect effect;
    std::string path = folder.file("never.txt");
    EXPECT_FALSE(effect.saveEffect(path));
    EXPECT_FALSE(std::ifstream(path).good());
}

TEST(Effect, InitializeAndAddParticleType) {
    clsEffect effect;
    effect.initialize();
    EXPECT_EQ(effect.getParticles(), 1);
    EXPECT_EQ(effect.addParticleType(), 2);
    EXPECT_EQ(effect.getParticle(1)->spawnnumber, 1);
    effect.initialize();
    EXPECT_EQ(effect.getParticles(), 1);
}
