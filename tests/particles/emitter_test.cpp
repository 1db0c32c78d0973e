#include "engine/errors.h"
#include "engine/mod_vbp_start.h"
#include "particles/clsEmitter.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace vastorim;

namespace {

// Writes the file into the folder and gives its path.
std::string put(const test::TempFolder& folder, const std::string& name, const std::string& text) {
    test::writeFile(folder.file(name), text);
    return folder.file(name);
}

std::string type(const std::string& name, int count, int lifetime, const std::string& x = "0") {
    return name + ",1:0|255,1:0|255,1:0|255,1:0|255,1:0|4,1:0|4,1:0|0,1:0|0,1:0|0,dot," +
           std::to_string(count) + ",0,0,0," + std::to_string(lifetime) + "," + x + ",0";
}

class EmitterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        globals = GlobalState();
        globals.frameTime = 0.1f;
        emitter.initialize();
    }
    void TearDown() override { emitter.initialize(); }

    void add(const std::string& name, const std::string& lines) {
        emitter.addEffect(put(folder, name, lines + "END\n"));
    }

    test::TempFolder folder;
};

} // namespace

TEST_F(EmitterTest, NothingLoadedSpawnsNothing) {
    EXPECT_EQ(emitter.getEffect(""), nullptr);
    EXPECT_EQ(emitter.getEffect("any"), nullptr);
    EXPECT_EQ(emitter.spawnEffect(1, 2, "any"), 0);
    EXPECT_EQ(emitter.getParticles(), 0);
}

TEST_F(EmitterTest, FindsEffectsIgnoringCaseAndFallsBackToTheFirst) {
    add("First.txt", type("a", 1, 5) + "\n");
    add("second.txt", type("b", 1, 5) + "\n");
    EXPECT_EQ(emitter.getEffect("SECOND.TXT")->sName, "second.txt");
    EXPECT_EQ(emitter.getEffect("first.txt")->sName, "First.txt");
    EXPECT_EQ(emitter.getEffect("nothing")->sName, "First.txt");
    EXPECT_EQ(emitter.getEffect("", 1)->sName, "second.txt");
    EXPECT_EQ(emitter.getEffect("", 2), nullptr);
    emitter.spawnEffect(0, 0, "unknown");
    EXPECT_EQ(emitter.getParticle(0)->sName, "a");
}

TEST_F(EmitterTest, SpawnsIntoConsecutiveSlotsAndReturnsTheLast) {
    add("three.txt", type("p", 2, 5) + "\n" + type("q", 1, 5) + "\n");
    add("none.txt", type("z", 0, 5) + "\n");
    EXPECT_EQ(emitter.spawnEffect(0, 0, "none.txt"), 0);
    EXPECT_EQ(emitter.getParticles(), 0);
    EXPECT_EQ(emitter.spawnEffect(100, 50, "three.txt"), 2);
    EXPECT_EQ(emitter.getParticles(), 3);
    EXPECT_EQ(emitter.getParticle(0)->sName, "p");
    EXPECT_EQ(emitter.getParticle(2)->sName, "q");
    EXPECT_EQ(emitter.getParticle(2)->dblX, 100);
    EXPECT_EQ(emitter.getParticle(2)->dblY, 50);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "three.txt"), 5);
}

TEST_F(EmitterTest, ReusesTheLowestDeadSlot) {
    add("one.txt", type("p", 1, 5) + "\n");
    for (int i = 0; i < 3; ++i) {
        emitter.spawnEffect(0, 0, "one.txt");
    }
    emitter.getParticle(1)->lngKillat = -1;
    EXPECT_EQ(emitter.spawnEffect(0, 0, "one.txt"), 1) << "killed by game code, reused at once";
    EXPECT_EQ(emitter.getParticles(), 3);
    EXPECT_EQ(emitter.getParticle(1)->lngKillat, 5);
}

TEST_F(EmitterTest, KilledParticlesAreNeitherUpdatedNorDrawn) {
    add("one.txt", type("p", 1, 5) + "\n");
    emitter.spawnEffect(0, 0, "one.txt");
    emitter.spawnEffect(0, 0, "one.txt");
    clsParticle* first = emitter.getParticle(0);
    first->lngKillat = -1;
    emitter.update();
    EXPECT_EQ(first->dblTime, 0);
    EXPECT_EQ(emitter.getParticle(1)->dblTime, static_cast<double>(0.1f));
}

TEST_F(EmitterTest, UsedCountShrinksOneSlotPerUpdateFromTheTop) {
    add("one.txt", type("p", 1, 5) + "\n");
    for (int i = 0; i < 5; ++i) {
        emitter.spawnEffect(0, 0, "one.txt");
    }
    for (int slot : {2, 3, 4}) {
        emitter.getParticle(static_cast<std::int16_t>(slot))->lngKillat = -1;
    }
    emitter.update();
    EXPECT_EQ(emitter.getParticles(), 4);
    emitter.update();
    EXPECT_EQ(emitter.getParticles(), 3);
    emitter.update();
    EXPECT_EQ(emitter.getParticles(), 2);
    emitter.update();
    EXPECT_EQ(emitter.getParticles(), 2);
}

TEST_F(EmitterTest, AgedOutParticlesDieAndTheirSlotsAreReused) {
    add("short.txt", type("s", 1, 0) + "\n");
    add("long.txt", type("l", 1, 9) + "\n");
    emitter.spawnEffect(0, 0, "short.txt");
    emitter.spawnEffect(0, 0, "long.txt");
    emitter.update();
    EXPECT_NE(emitter.getParticle(0)->lngKillat, -1);
    emitter.update();
    EXPECT_EQ(emitter.getParticle(0)->lngKillat, -1);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "long.txt"), 0);
}

TEST_F(EmitterTest, DeadOnArrivalTypesLeaveTheirSlotsFree) {
    add("dead.txt", type("d", 2, -1) + "\n");
    add("one.txt", type("p", 1, 5) + "\n");
    // The second particle already finds the first one's slot dead.
    EXPECT_EQ(emitter.spawnEffect(0, 0, "dead.txt"), 0);
    EXPECT_EQ(emitter.getParticles(), 1);
    EXPECT_EQ(emitter.getParticle(0)->lngKillat, -1);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "one.txt"), 0);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "one.txt"), 1);
}

TEST_F(EmitterTest, FullTableDropsTheRestAndReturnsTheLastCreated) {
    add("many.txt", type("m", 10000, 5) + "\n");
    add("three.txt", type("t", 3, 5) + "\n");
    EXPECT_EQ(emitter.spawnEffect(0, 0, "many.txt"), 9999);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "three.txt"), 10000) << "one slot left";
    EXPECT_EQ(emitter.getParticles(), clsEmitter::kSlots);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "three.txt"), 0) << "nothing created";
    emitter.getParticle(7)->lngKillat = -1;
    EXPECT_EQ(emitter.spawnEffect(0, 0, "three.txt"), 7);
    emitter.update();
    EXPECT_EQ(emitter.getParticles(), clsEmitter::kSlots);
}

TEST_F(EmitterTest, StartOffsetsAreRelativeToTheSpawnPoint) {
    add("offset.txt", type("o", 1, 5, "rnd(10&10)") + "\n");
    emitter.spawnEffect(5, 7, "offset.txt");
    EXPECT_EQ(emitter.getParticle(0)->dblX, 15);
    EXPECT_EQ(emitter.getParticle(0)->dblY, 7);
}

TEST_F(EmitterTest, SpawnedParticlesOwnTheirKeys) {
    add("one.txt", type("p", 1, 5) + "\n");
    emitter.spawnEffect(0, 0, "one.txt");
    clsParticle* live = emitter.getParticle(0);
    live->sizex.setKeyVal(0, 99);
    emitter.spawnEffect(0, 0, "one.txt");
    EXPECT_EQ(emitter.getParticle(1)->sizex.getValue(0), 4);
    EXPECT_EQ(emitter.getEffect("one.txt")->getParticle(0)->sizex.getValue(0), 0)
        << "types are never baked";
}

TEST_F(EmitterTest, EditedTypesChangeLaterSpawns) {
    add("one.txt", type("p", 1, 5) + "\n");
    emitter.getEffect("one.txt")->getParticle(0)->X = "3";
    emitter.spawnEffect(1, 0, "one.txt");
    EXPECT_EQ(emitter.getParticle(0)->dblX, 4);
}

TEST_F(EmitterTest, BrokenFilesAddNothingAndNameTheFile) {
    std::string path = put(folder, "broken.txt", "x,1:0|255\nEND\n");
    try {
        emitter.addEffect(path);
        ADD_FAILURE() << "a broken file was added";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), path);
        EXPECT_EQ(error.line(), 1);
    }
    EXPECT_EQ(emitter.getEffect(""), nullptr);
}

TEST_F(EmitterTest, EffectNameIsTheFileName) {
    std::string path = put(folder, "name.txt", "END\n");
    emitter.addEffect(path);
    EXPECT_EQ(emitter.getEffect("")->sName, "name.txt");
}
