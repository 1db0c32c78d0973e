#include "particles/clsEmitter.h"

#include "engine/platform_access.h"
#include "engine/text_case.h"
#include "engine/text_files.h"

#include <array>
#include <bit>
#include <iostream>

namespace vastorim {

clsEmitter emitter;

namespace {

constexpr int kWords = (clsEmitter::kSlots + 63) / 64;

using SlotBits = std::array<std::uint64_t, kWords>;

void setBit(SlotBits& bits, int slot) {
    bits[static_cast<std::size_t>(slot / 64)] |= std::uint64_t{1} << (slot % 64);
}

void clearBit(SlotBits& bits, int slot) {
    bits[static_cast<std::size_t>(slot / 64)] &= ~(std::uint64_t{1} << (slot % 64));
}

} // namespace

// The slot objects live as long as the emitter and are reused, so that spawning allocates
// nothing once their strings and key arrays have grown. Which slots may be dead is kept in two
// bitsets, so the lowest dead slot is found a word at a time: `dead` holds the slots seen dead,
// `watched` the slots handed out through getParticle, which game code may kill at any time.
// Every candidate is confirmed by its lngKillat before it is reused.
struct clsEmitter::Table {
    std::vector<clsParticle> slots = std::vector<clsParticle>(kSlots);
    SlotBits dead{};
    SlotBits watched{};
    int used = 0;
};

clsEmitter::clsEmitter() : table(std::make_unique<Table>()) {}

clsEmitter::~clsEmitter() = default;

std::int16_t clsEmitter::getParticles() const {
    return static_cast<std::int16_t>(table->used);
}

clsParticle* clsEmitter::getParticle(std::int16_t iIndex) {
    if (iIndex < 0 || iIndex >= kSlots) {
        return nullptr;
    }
    setBit(table->watched, iIndex);
    return &table->slots[static_cast<std::size_t>(iIndex)];
}

clsEffect* clsEmitter::getEffect(const std::string& sName, std::int16_t iIndex) {
    if (effects.empty()) {
        return nullptr;
    }
    std::int16_t index = sName.empty() ? iIndex : findEffect(sName);
    if (index < 0 || static_cast<std::size_t>(index) >= effects.size()) {
        return nullptr;
    }
    return effects[static_cast<std::size_t>(index)].get();
}

void clsEmitter::render() {
    for (int i = 0; i < table->used; ++i) {
        clsParticle& particle = table->slots[static_cast<std::size_t>(i)];
        if (particle.lngKillat != -1) {
            particle.render();
        }
    }
}

void clsEmitter::update() {
    if (table->used == 0) {
        return;
    }
    for (int i = 0; i < table->used; ++i) {
        clsParticle& particle = table->slots[static_cast<std::size_t>(i)];
        if (particle.lngKillat != -1) {
            particle.updateParticle();
            if (particle.lngKillat != -1) {
                particle.updateSprite();
                continue;
            }
        }
        setBit(table->dead, i);
    }
    int top = table->used - 1;
    if (table->slots[static_cast<std::size_t>(top)].lngKillat == -1) {
        clearBit(table->dead, top);
        clearBit(table->watched, top);
        table->used = top;
    }
}

void clsEmitter::initialize() {
    effects.clear();
    table->used = 0;
    table->dead.fill(0);
    table->watched.fill(0);
}

void clsEmitter::addEffect(const std::string& sPath) {
    auto effect = std::make_unique<clsEffect>();
    effect->loadEffect(sPath);
    effect->sName = fileNamePart(sPath);
    if (!effect->warning().empty()) {
        std::cerr << effect->warning() << '\n';
    }
    if (effects.size() < 32767) {
        effects.push_back(std::move(effect));
    }
}

std::int16_t clsEmitter::spawnEffect(double X, double Y, const std::string& sName,
                                     std::int16_t iIndex) {
    if (effects.empty()) {
        return 0;
    }
    std::int16_t e = sName.empty() ? iIndex : findEffect(sName);
    if (e < 0 || static_cast<std::size_t>(e) >= effects.size()) {
        return 0;
    }
    const clsEffect& effect = *effects[static_cast<std::size_t>(e)];
    std::int16_t last = 0;
    for (std::int16_t i = 0; i < effect.getParticles(); ++i) {
        int count = effect.getParticle(i)->spawnnumber;
        for (int k = 0; k < count; ++k) {
            std::int16_t slot = spawnParticle(e, i, X, Y);
            if (slot < 0) {
                return last; // the table is full: the rest of this spawn is dropped
            }
            last = slot;
        }
    }
    return last;
}

int clsEmitter::findFreeSlot() {
    Table& t = *table;
    const int words = (t.used + 63) / 64;
    for (int w = 0; w < words; ++w) {
        std::uint64_t candidates =
            t.dead[static_cast<std::size_t>(w)] | t.watched[static_cast<std::size_t>(w)];
        while (candidates != 0) {
            int slot = w * 64 + std::countr_zero(candidates);
            if (slot >= t.used) {
                break;
            }
            if (t.slots[static_cast<std::size_t>(slot)].lngKillat == -1) {
                return slot;
            }
            clearBit(t.dead, slot);
            candidates &= candidates - 1;
        }
    }
    return t.used < kSlots ? t.used++ : -1;
}

std::int16_t clsEmitter::spawnParticle(std::int16_t iEffect, std::int16_t iParticle, double X,
                                       double Y) {
    int slot = findFreeSlot();
    if (slot < 0) {
        return -1;
    }
    const clsParticle& type = *effects[static_cast<std::size_t>(iEffect)]->getParticle(iParticle);
    clsParticle& particle = table->slots[static_cast<std::size_t>(slot)];
    particle.spawnFrom(type);
    particle.lngSpawnedAt = currentTick();
    clearBit(table->watched, slot);
    clearBit(table->dead, slot);
    try {
        particle.bakeKeys();
    } catch (...) {
        // Game code edited a type's text into something malformed: the slot stays free.
        particle.lngKillat = -1;
        setBit(table->dead, slot);
        throw;
    }
    particle.dblX = particle.dblX + X;
    particle.dblY = particle.dblY + Y;
    if (particle.lngKillat == -1) {
        setBit(table->dead, slot);
    }
    return static_cast<std::int16_t>(slot);
}

std::int16_t clsEmitter::findEffect(const std::string& sName) const {
    for (std::size_t i = 0; i < effects.size(); ++i) {
        if (equalsIgnoringCase(effects[i]->sName, sName)) {
            return static_cast<std::int16_t>(i);
        }
    }
    return 0;
}

} // namespace vastorim
