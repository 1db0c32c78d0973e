#include "particles/emitter.h"

#include "engine/platform_access.h"
#include "engine/text_case.h"
#include "engine/text_files.h"

#include <array>
#include <bit>
#include <iostream>

namespace vastorim {

Emitter emitter;

namespace {

constexpr int kWords = (Emitter::kSlots + 63) / 64;

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
// Every candidate is confirmed by its killAt before it is reused.
struct Emitter::Table {
    std::vector<Particle> slots = std::vector<Particle>(kSlots);
    SlotBits dead{};
    SlotBits watched{};
    int used = 0;
};

Emitter::Emitter() : table(std::make_unique<Table>()) {}

Emitter::~Emitter() = default;

std::int16_t Emitter::getParticles() const {
    return static_cast<std::int16_t>(table->used);
}

Particle* Emitter::getParticle(std::int16_t slot) {
    if (slot < 0 || slot >= kSlots) {
        return nullptr;
    }
    setBit(table->watched, slot);
    return &table->slots[static_cast<std::size_t>(slot)];
}

Effect* Emitter::getEffect(const std::string& name, std::int16_t index) {
    if (effects.empty()) {
        return nullptr;
    }
    std::int16_t found = name.empty() ? index : findEffect(name);
    if (found < 0 || static_cast<std::size_t>(found) >= effects.size()) {
        return nullptr;
    }
    return effects[static_cast<std::size_t>(found)].get();
}

void Emitter::render() {
    for (int i = 0; i < table->used; ++i) {
        Particle& particle = table->slots[static_cast<std::size_t>(i)];
        if (particle.killAt != -1) {
            particle.render();
        }
    }
}

void Emitter::update() {
    if (table->used == 0) {
        return;
    }
    for (int i = 0; i < table->used; ++i) {
        Particle& particle = table->slots[static_cast<std::size_t>(i)];
        if (particle.killAt != -1) {
            particle.updateParticle();
            if (particle.killAt != -1) {
                particle.updateSprite();
                continue;
            }
        }
        setBit(table->dead, i);
    }
    int top = table->used - 1;
    if (table->slots[static_cast<std::size_t>(top)].killAt == -1) {
        clearBit(table->dead, top);
        clearBit(table->watched, top);
        table->used = top;
    }
}

void Emitter::initialize() {
    effects.clear();
    table->used = 0;
    table->dead.fill(0);
    table->watched.fill(0);
}

void Emitter::addEffect(const std::string& path) {
    auto effect = std::make_unique<Effect>();
    effect->loadEffect(path);
    effect->name = fileNamePart(path);
    if (!effect->warning().empty()) {
        std::cerr << effect->warning() << '\n';
    }
    if (effects.size() < 32767) {
        effects.push_back(std::move(effect));
    }
}

std::int16_t Emitter::spawnEffect(double x, double y, const std::string& name, std::int16_t index) {
    if (effects.empty()) {
        return 0;
    }
    std::int16_t e = name.empty() ? index : findEffect(name);
    if (e < 0 || static_cast<std::size_t>(e) >= effects.size()) {
        return 0;
    }
    const Effect& effect = *effects[static_cast<std::size_t>(e)];
    std::int16_t last = 0;
    for (std::int16_t i = 0; i < effect.getParticles(); ++i) {
        int count = effect.getParticle(i)->spawnCount;
        for (int k = 0; k < count; ++k) {
            std::int16_t slot = spawnParticle(e, i, x, y);
            if (slot < 0) {
                return last; // the table is full: the rest of this spawn is dropped
            }
            last = slot;
        }
    }
    return last;
}

int Emitter::findFreeSlot() {
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
            if (t.slots[static_cast<std::size_t>(slot)].killAt == -1) {
                return slot;
            }
            clearBit(t.dead, slot);
            candidates &= candidates - 1;
        }
    }
    return t.used < kSlots ? t.used++ : -1;
}

std::int16_t Emitter::spawnParticle(std::int16_t effectIndex, std::int16_t typeIndex, double x,
                                    double y) {
    int slot = findFreeSlot();
    if (slot < 0) {
        return -1;
    }
    const Particle& type = *effects[static_cast<std::size_t>(effectIndex)]->getParticle(typeIndex);
    Particle& particle = table->slots[static_cast<std::size_t>(slot)];
    particle.spawnFrom(type);
    particle.spawnedAt = currentTick();
    clearBit(table->watched, slot);
    clearBit(table->dead, slot);
    try {
        particle.bakeKeys();
    } catch (...) {
        // Game code edited a type's text into something malformed: the slot stays free.
        particle.killAt = -1;
        setBit(table->dead, slot);
        throw;
    }
    particle.x = particle.x + x;
    particle.y = particle.y + y;
    if (particle.killAt == -1) {
        setBit(table->dead, slot);
    }
    return static_cast<std::int16_t>(slot);
}

std::int16_t Emitter::findEffect(const std::string& name) const {
    for (std::size_t i = 0; i < effects.size(); ++i) {
        if (equalsIgnoringCase(effects[i]->name, name)) {
            return static_cast<std::int16_t>(i);
        }
    }
    return 0;
}

} // namespace vastorim
