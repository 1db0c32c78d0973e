#include "engine/errors.h"
#include "engine/startup.h"
#include "particles/emitter.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace vastorim;

namespace {

std::string type(const std::string& name, int count, int lifetime, const std::string& x = "0") {
    return name + ",1:0|255,1:0|255,1:0|255,1:0|255,1:0|4,1:0|4,1:0|0,1:0|0,1:0|0,dot," +
           std::to_string(count) + ",0,0,0," + std::to_string(lifetime) + "," + x + ",0\n";
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
        emitter.addEffect(folder.write(name, lines + "END\n"));
    }
    static void kill(int slot) {
        emitter.getParticle(static_cast<std::int16_t>(slot))->killAt = -1;
    }
    static std::int16_t spawnOne() { return emitter.spawnEffect(0, 0, "one.txt"); }

    test::TempFolder folder;
};

TEST_F(EmitterTest, FindsEffectsByFileNameIgnoringCaseAndFallsBackToTheFirst) {
    EXPECT_EQ(emitter.getEffect("any"), nullptr);
    EXPECT_EQ(emitter.spawnEffect(1, 2, "any"), 0);
    EXPECT_EQ(emitter.getParticles(), 0) << "nothing loaded spawns nothing";
    EXPECT_THROW(emitter.addEffect(folder.write("broken.txt", "x,1:0|255\nEND\n")), DataError);
    EXPECT_EQ(emitter.getEffect(""), nullptr) << "a broken file is not added";

    add("First.txt", type("a", 1, 5));
    add("second.txt", type("b", 1, 5));
    EXPECT_EQ(emitter.getEffect("SECOND.TXT")->name, "second.txt");
    EXPECT_EQ(emitter.getEffect("first.txt")->name, "First.txt");
    EXPECT_EQ(emitter.getEffect("nothing")->name, "First.txt");
    EXPECT_EQ(emitter.getEffect("", 1)->name, "second.txt");
    EXPECT_EQ(emitter.getEffect("", 2), nullptr);
    emitter.spawnEffect(0, 0, "unknown");
    EXPECT_EQ(emitter.getParticle(0)->name, "a");
}

TEST_F(EmitterTest, SpawnsIntoTheLowestFreeSlotsAndReturnsTheLast) {
    add("three.txt", type("p", 2, 5) + type("q", 1, 5));
    add("none.txt", type("z", 0, 5));
    add("one.txt", type("p", 1, 5));
    add("dead.txt", type("d", 2, -1));
    EXPECT_EQ(emitter.spawnEffect(0, 0, "none.txt"), 0);
    EXPECT_EQ(emitter.getParticles(), 0);
    EXPECT_EQ(emitter.spawnEffect(100, 50, "three.txt"), 2);
    EXPECT_EQ(emitter.getParticle(0)->name, "p");
    EXPECT_EQ(emitter.getParticle(2)->name, "q");
    EXPECT_EQ(emitter.getParticle(2)->x, 100);
    EXPECT_EQ(emitter.getParticle(2)->y, 50);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "three.txt"), 5);

    kill(1);
    EXPECT_EQ(spawnOne(), 1) << "killed by game code, reused at once";
    EXPECT_EQ(emitter.getParticle(1)->killAt, 5);
    kill(3);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "dead.txt"), 3) << "the second finds the first's slot dead";
    EXPECT_EQ(emitter.getParticle(3)->killAt, -1);
    EXPECT_EQ(spawnOne(), 3);
    EXPECT_EQ(emitter.getParticles(), 6);
}

TEST_F(EmitterTest, AgedOutAndKilledParticlesStopAndTheBoundShrinksOneSlotPerUpdate) {
    add("one.txt", type("p", 1, 5));
    add("short.txt", type("s", 1, 0));
    emitter.spawnEffect(0, 0, "short.txt");
    for (int i = 0; i < 4; ++i) {
        spawnOne();
    }
    kill(1);
    emitter.update();
    EXPECT_EQ(emitter.getParticle(1)->age, 0) << "a killed particle is not updated";
    EXPECT_EQ(emitter.getParticle(2)->age, static_cast<double>(0.1f));
    EXPECT_NE(emitter.getParticle(0)->killAt, -1);
    emitter.update();
    EXPECT_EQ(emitter.getParticle(0)->killAt, -1) << "a zero lifetime lives one frame";
    EXPECT_EQ(spawnOne(), 0);
    EXPECT_EQ(spawnOne(), 1);

    kill(2);
    kill(3);
    kill(4);
    for (int expected : {4, 3, 2, 2}) {
        emitter.update();
        EXPECT_EQ(emitter.getParticles(), expected);
    }
}

TEST_F(EmitterTest, FullTableDropsTheRestAndReturnsTheLastCreated) {
    add("many.txt", type("m", 10000, 5));
    add("three.txt", type("t", 3, 5));
    EXPECT_EQ(emitter.spawnEffect(0, 0, "many.txt"), 9999);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "three.txt"), 10000) << "one slot left";
    EXPECT_EQ(emitter.getParticles(), Emitter::kSlots);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "three.txt"), 0) << "nothing created";
    kill(7);
    EXPECT_EQ(emitter.spawnEffect(0, 0, "three.txt"), 7);
    emitter.update();
    EXPECT_EQ(emitter.getParticles(), Emitter::kSlots);
}

} // namespace
