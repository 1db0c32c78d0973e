#include "engine/startup.h"
#include "particles/emitter.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

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

// Eight particles per spawn, with keys, random expressions and seeds, so every kind of storage a
// live particle has is used; all of them die within two frames of three seconds.
TEST(EmitterSpawning, RefillingAWarmedTableAfterItDiedAllocatesNothing) {
    test::TempFolder folder;
    std::string path = folder.write(
        "fx.txt",
        "flame,2:0|255:2|255,2:0|rnd(128&255):2|64,1:0|0,2:0|255:2|0,2:0|16:2|4,2:0|16:2|4,"
        "1:0|rnd(-20&20),1:0|rnd(40&80),1:0|seed,flare,6,1,rnd(-3&3),0,1,rnd(-4&4),0\n"
        "smoke,1:0|96,1:0|96,1:0|96,3:0|0:0.5|rnd(60&120):3|0,2:0|8:3|seed*40,2:0|8:3|seed*40,"
        "1:0|0,1:0|-15,1:0|0,puff,2,0,rnd(0.5&1.5),0,2,0,0\nEND\n");
    globals = GlobalState();
    emitter.initialize();
    emitter.addEffect(path);
    constexpr int kSpawnsToFill = (Emitter::kSlots + 7) / 8;
    std::int16_t last = 0;
    for (int i = 0; i < kSpawnsToFill; ++i) {
        last = emitter.spawnEffect(10, 10, "fx.txt");
    }
    ASSERT_EQ(emitter.getParticles(), Emitter::kSlots);
    ASSERT_EQ(last, Emitter::kSlots - 1);

    globals.frameTime = 3;
    emitter.update();
    emitter.update();
    ASSERT_GE(emitter.getParticles(), Emitter::kSlots - 2) << "the bound shrinks slowly";

    globals.frameTime = 0.016f;
    long before = allocations.load();
    EXPECT_EQ(emitter.spawnEffect(10, 10, "fx.txt"), 7) << "all died: refilled from the bottom";
    for (int i = 1; i < kSpawnsToFill; ++i) {
        last = emitter.spawnEffect(10, 10, "fx.txt");
    }
    emitter.update();
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_EQ(emitter.getParticles(), Emitter::kSlots);
    EXPECT_EQ(last, Emitter::kSlots - 1) << "every slot refilled, up to the top";
    emitter.initialize();
}

} // namespace
