#include "engine/errors.h"
#include "particles/emitter.h"
#include "support/engine_fixture.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocations{0};

} // namespace

// Counts every allocation of this test program, so a test can see that a stretch of code makes
// none.
void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

using namespace vastorim;

namespace {

std::string type(const std::string& name, int count, int lifetime) {
    return name + ",1:0|255,1:0|255,1:0|255,1:0|255,1:0|4,1:0|4,1:0|0,1:0|0,1:0|0,dot," +
           std::to_string(count) + ",0,0,0," + std::to_string(lifetime) + ",0,0\n";
}

class EmitterTest : public test::EngineTest {
  protected:
    void SetUp() override {
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
    static std::int16_t spawn(const std::string& name = "one.txt") {
        return emitter.spawnEffect(0, 0, name);
    }
};

TEST_F(EmitterTest, FindsEffectsByFileNameIgnoringCaseAndFallsBackToTheFirst) {
    EXPECT_EQ(emitter.getEffect("any"), nullptr);
    EXPECT_EQ((std::tuple{emitter.spawnEffect(1, 2, "any"), emitter.getParticles()}),
              std::tuple(0, 0))
        << "nothing loaded spawns nothing";
    EXPECT_THROW(emitter.addEffect(folder.write("broken.txt", "x,1:0|255\nEND\n")), DataError);
    EXPECT_EQ(emitter.getEffect(""), nullptr) << "a broken file is not added";

    add("First.txt", type("a", 1, 5));
    add("second.txt", type("b", 1, 5));
    EXPECT_EQ(emitter.getEffect("SECOND.TXT")->name, "second.txt");
    EXPECT_EQ(emitter.getEffect("first.txt")->name, "First.txt");
    EXPECT_EQ(emitter.getEffect("nothing")->name, "First.txt");
    EXPECT_EQ(emitter.getEffect("", 1)->name, "second.txt");
    EXPECT_EQ(emitter.getEffect("", 2), nullptr);
    spawn("unknown");
    EXPECT_EQ(emitter.getParticle(0)->name, "a");
}

TEST_F(EmitterTest, SpawnsIntoTheLowestFreeSlotsAndReturnsTheLast) {
    add("three.txt", type("p", 2, 5) + type("q", 1, 5));
    add("none.txt", type("z", 0, 5));
    add("one.txt", type("p", 1, 5));
    add("dead.txt", type("d", 2, -1));
    EXPECT_EQ((std::tuple{spawn("none.txt"), emitter.getParticles()}), std::tuple(0, 0));
    EXPECT_EQ(emitter.spawnEffect(100, 50, "three.txt"), 2);
    EXPECT_EQ(std::tuple(emitter.getParticle(0)->name, emitter.getParticle(2)->name),
              std::tuple("p", "q"));
    EXPECT_EQ(spawn("three.txt"), 5);

    kill(1);
    EXPECT_EQ(spawn(), 1) << "killed by game code, reused at once";
    EXPECT_EQ(emitter.getParticle(1)->killAt, 5);
    kill(3);
    EXPECT_EQ(spawn("dead.txt"), 3) << "the second finds the first's slot dead";
    EXPECT_EQ(emitter.getParticle(3)->killAt, -1);
    EXPECT_EQ((std::tuple{spawn(), emitter.getParticles()}), std::tuple(3, 6));
}

TEST_F(EmitterTest, AgedOutAndKilledParticlesStopAndTheBoundShrinksOneSlotPerUpdate) {
    add("one.txt", type("p", 1, 5));
    add("short.txt", type("s", 1, 0));
    spawn("short.txt");
    for (int i = 0; i < 4; ++i) {
        spawn();
    }
    kill(1);
    emitter.update();
    EXPECT_EQ(emitter.getParticle(1)->age, 0) << "a killed particle is not updated";
    EXPECT_EQ(emitter.getParticle(2)->age, static_cast<double>(0.1f));
    EXPECT_NE(emitter.getParticle(0)->killAt, -1);
    emitter.update();
    EXPECT_EQ(emitter.getParticle(0)->killAt, -1) << "a zero lifetime lives one frame";
    EXPECT_EQ((std::tuple{spawn(), spawn()}), std::tuple(0, 1));

    for (int slot : {2, 3, 4}) {
        kill(slot);
    }
    for (int expected : {4, 3, 2, 2}) {
        emitter.update();
        EXPECT_EQ(emitter.getParticles(), expected);
    }
}

// Eight particles per spawn, with keys, random expressions and seeds, so every kind of storage a
// live particle has is used; all of them die within two frames of three seconds.
TEST_F(EmitterTest, AFullTableDropsTheRestAndRefillingItAfterAllDiedAllocatesNothing) {
    add("fx.txt",
        "flame,2:0|255:2|255,2:0|rnd(128&255):2|64,1:0|0,2:0|255:2|0,2:0|16:2|4,2:0|16:2|4,"
        "1:0|rnd(-20&20),1:0|rnd(40&80),1:0|seed,flare,6,1,rnd(-3&3),0,1,rnd(-4&4),0\n"
        "smoke,1:0|96,1:0|96,1:0|96,3:0|0:0.5|rnd(60&120):3|0,2:0|8:3|seed*40,2:0|8:3|seed*40,"
        "1:0|0,1:0|-15,1:0|0,puff,2,0,rnd(0.5&1.5),0,2,0,0\n");
    // Spawns until every slot is taken; gives the slots the first and the last spawn returned.
    const auto fill = [] {
        const std::int16_t first = spawn("fx.txt");
        std::int16_t last = first;
        for (int i = 1; i < (Emitter::kSlots + 7) / 8; ++i) {
            last = spawn("fx.txt");
        }
        return std::pair(first, last);
    };
    using Slots = std::pair<std::int16_t, std::int16_t>;
    EXPECT_EQ(fill(), Slots(7, Emitter::kSlots - 1)) << "the last spawn fits one of its eight";
    EXPECT_EQ((std::tuple{emitter.getParticles(), spawn("fx.txt")}), std::tuple(Emitter::kSlots, 0))
        << "nothing created";
    kill(7);
    EXPECT_EQ(spawn("fx.txt"), 7);

    globals.frameTime = 3;
    emitter.update();
    emitter.update();
    ASSERT_GE(emitter.getParticles(), Emitter::kSlots - 2) << "the bound shrinks slowly";
    globals.frameTime = 0.016f;
    const long before = allocations.load();
    const Slots refilled = fill();
    emitter.update();
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_EQ(std::tuple(refilled, emitter.getParticles()),
              std::tuple(Slots(7, Emitter::kSlots - 1), Emitter::kSlots))
        << "all died: refilled from the bottom";
}

} // namespace
