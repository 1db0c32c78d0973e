#include "particles/effect.h"

#include "engine/errors.h"
#include "engine/text_files.h"

#include <limits>

namespace vastorim {

std::int16_t Effect::getParticles() const {
    return static_cast<std::int16_t>(particles.size());
}

std::int16_t Effect::addParticleType() {
    if (particles.size() < static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        particles.push_back(std::make_unique<Particle>());
        particles.back()->initialize();
    }
    return getParticles();
}

void Effect::loadEffect(const std::string& path) {
    TextReader reader(path);
    loadFrom(reader);
}

void Effect::loadEffectText(const std::string& name, std::string text) {
    TextReader reader(name, std::move(text));
    loadFrom(reader);
}

void Effect::loadFrom(TextReader& reader) {
    std::vector<std::unique_ptr<Particle>> loaded;
    std::string warning;
    std::string line;
    while (true) {
        if (!reader.readLine(line)) {
            warning = reader.path() + ": warning: no \"END\" line; the file ends after line " +
                      std::to_string(reader.lineNumber());
            break;
        }
        if (line == "END") {
            break;
        }
        if (loaded.size() == static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
            throw DataError(reader.path(), reader.lineNumber(), "",
                            "an effect holds at most 32767 particle types");
        }
        auto type = std::make_unique<Particle>();
        try {
            type->loadParticleString(line);
        } catch (const FieldError& error) {
            throw DataError(reader.path(), reader.lineNumber(), error.field(), error.message());
        }
        loaded.push_back(std::move(type));
    }
    particles = std::move(loaded);
    warning_ = std::move(warning);
}

bool Effect::saveEffect(const std::string& path) const {
    if (particles.empty()) {
        return false;
    }
    TextWriter writer(path);
    for (const auto& type : particles) {
        writer.writeLine(type->getParticleString());
    }
    writer.writeLine("END");
    writer.close();
    return true;
}

Particle* Effect::getParticle(std::int16_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < particles.size()
               ? particles[static_cast<std::size_t>(index)].get()
               : nullptr;
}

const Particle* Effect::getParticle(std::int16_t index) const {
    return const_cast<Effect*>(this)->getParticle(index);
}

void Effect::initialize() {
    particles.clear();
    addParticleType();
}

} // namespace vastorim
