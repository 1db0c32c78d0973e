#include "particles/clsEffect.h"

#include "engine/errors.h"
#include "engine/text_files.h"

#include <limits>

namespace vastorim {

std::int16_t clsEffect::getParticles() const {
    return static_cast<std::int16_t>(particles.size());
}

std::int16_t clsEffect::addParticleType() {
    if (particles.size() < static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        particles.push_back(std::make_unique<clsParticle>());
        particles.back()->initialize();
    }
    return getParticles();
}

void clsEffect::loadEffect(const std::string& sName) {
    TextReader reader(sName);
    std::vector<std::unique_ptr<clsParticle>> loaded;
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
        auto type = std::make_unique<clsParticle>();
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

bool clsEffect::saveEffect(const std::string& sName) const {
    if (particles.empty()) {
        return false;
    }
    TextWriter writer(sName);
    for (const auto& type : particles) {
        writer.writeLine(type->getParticleString());
    }
    writer.writeLine("END");
    writer.close();
    return true;
}

clsParticle* clsEffect::getParticle(std::int16_t iParticle) {
    return iParticle >= 0 && static_cast<std::size_t>(iParticle) < particles.size()
               ? particles[static_cast<std::size_t>(iParticle)].get()
               : nullptr;
}

const clsParticle* clsEffect::getParticle(std::int16_t iParticle) const {
    return const_cast<clsEffect*>(this)->getParticle(iParticle);
}

void clsEffect::initialize() {
    particles.clear();
    addParticleType();
}

} // namespace vastorim
