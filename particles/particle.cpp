#include "particles/particle.h"

#include "engine/errors.h"
#include "engine/startup.h"

#include <array>
#include <string_view>
#include <vector>

namespace vastorim {

namespace {

constexpr std::array<const char*, Particle::kFields> kFieldNames = {
    "name",      "colourR", "colourG", "colourB",  "colourA", "sizeX",
    "sizeY",     "speedX",  "speedY",  "rotation", "texture", "spawnCount",
    "blendType", "seed",    "angle",   "lifetime", "x",       "y"};

template <typename Int> Int readWhole(std::string_view text, Int (*convert)(double)) {
    auto value = textToNumber(text);
    if (!value) {
        throw FieldError("", "\"" + std::string(text) + "\" is not a number");
    }
    try {
        return convert(*value);
    } catch (const RangeError& error) {
        throw FieldError("", error.what());
    }
}

} // namespace

std::vector<std::string_view> Particle::splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        auto comma = line.find(',', start);
        fields.push_back(
            line.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::string Particle::fieldLabel(int field) {
    return "field " + std::to_string(field) + " (" + kFieldNames[static_cast<std::size_t>(field)] +
           ")";
}

void Particle::render() {
    sprite.render();
}

void Particle::updateParticle() {
    if (killAt >= age) {
        float dt = globals.frameTime;
        age = age + dt;
        double r = rotation.getValue(age);
        angle = angle + dt * r;
        double vx = speedX.getValue(age);
        x = x + dt * vx;
        double vy = speedY.getValue(age);
        y = y + dt * vy;
    } else {
        killAt = -1;
    }
}

void Particle::updateSprite() {
    sprite.angle = static_cast<float>(static_cast<double>(angle));
    sprite.sizeX = static_cast<float>(sizeX.getValue(age));
    sprite.sizeY = static_cast<float>(sizeY.getValue(age));
    sprite.x = static_cast<float>(x);
    sprite.y = static_cast<float>(y);
    sprite.setPoints(
        static_cast<float>(colourR.getValue(age)), static_cast<float>(colourG.getValue(age)),
        static_cast<float>(colourB.getValue(age)), static_cast<float>(colourA.getValue(age)));
}

std::string Particle::getParticleString() const {
    std::string line = name;
    for (const Track* track :
         {&colourR, &colourG, &colourB, &colourA, &sizeX, &sizeY, &speedX, &speedY, &rotation}) {
        line += ',' + track->getTrackString();
    }
    line += ',' + texture + ',' + numberToText(spawnCount) + ',' + numberToText(blendType) + ',' +
            seedExpression + ',' + angleExpression + ',' + numberToText(killAt) + ',' +
            xExpression + ',' + yExpression;
    return line;
}

void Particle::loadParticleString(const std::string& line) {
    auto fields = splitFields(line);
    if (fields.size() < kFields) {
        throw FieldError(fieldLabel(static_cast<int>(fields.size())),
                         "missing: the line has " + std::to_string(fields.size()) +
                             " fields separated by \",\", a particle type needs " +
                             std::to_string(kFields));
    }
    // Read into a fresh type first, so that a malformed line changes nothing here.
    Particle loaded;
    loaded.initialize();
    // Notes which field is being read, so that a fault names it.
    int field = 0;
    const auto at = [&](int index) {
        field = index;
        return fields[static_cast<std::size_t>(index)];
    };
    const auto readExpression = [&](int index, std::string& member) {
        member = at(index);
        compileExpression(member);
    };
    try {
        loaded.name = at(0);
        int index = 1;
        for (Track* track :
             {&loaded.colourR, &loaded.colourG, &loaded.colourB, &loaded.colourA, &loaded.sizeX,
              &loaded.sizeY, &loaded.speedX, &loaded.speedY, &loaded.rotation}) {
            track->loadTrackString(std::string(at(index++)));
        }
        loaded.texture = at(10);
        loaded.spawnCount = readWhole(at(11), toInteger);
        loaded.blendType = readWhole(at(12), toInteger);
        readExpression(13, loaded.seedExpression);
        readExpression(14, loaded.angleExpression);
        loaded.killAt = readWhole(at(15), toLong);
        readExpression(16, loaded.xExpression);
        readExpression(17, loaded.yExpression);
    } catch (const FieldError& error) {
        throw FieldError(fieldLabel(field), error.message());
    }
    loaded.sprite.texture = loaded.texture;
    loaded.sprite.blendType = loaded.blendType;
    *this = std::move(loaded);
}

void Particle::bakeKeys() {
    seed = evaluateExpression(seedExpression, 0, seedCompiled_);
    for (Track* track :
         {&colourR, &colourG, &colourB, &colourA, &speedX, &speedY, &sizeX, &sizeY, &rotation}) {
        track->bakeKeys(seed);
    }
    angle = evaluateExpression(angleExpression, seed, angleCompiled_);
    x = evaluateExpression(xExpression, seed, xCompiled_);
    y = evaluateExpression(yExpression, seed, yCompiled_);
}

void Particle::initialize() {
    *this = Particle();
    sprite.create(0, 0, 0, 0, 0, 0, "0");
    std::string colourDefault = "255";
    std::string otherDefault = "0";
    for (Track* track : {&colourR, &colourG, &colourB, &colourA}) {
        track->initialize(colourDefault);
    }
    for (Track* track : {&sizeX, &sizeY, &speedX, &speedY, &rotation}) {
        track->initialize(otherDefault);
    }
    texture = "0";
    spawnCount = 1;
    seedExpression = "0";
    blendType = 0;
    angleExpression = "0";
    xExpression = "0";
    yExpression = "0";
}

void Particle::spawnFrom(const Particle& type) {
    texture.clear();
    spawnCount = 0;
    seedExpression = type.seedExpression;
    seed = 0;
    name = type.name;
    angleExpression = type.angleExpression;
    angle = 0;
    blendType = type.blendType;
    for (auto member : {&Particle::colourA, &Particle::colourR, &Particle::colourG,
                        &Particle::colourB, &Particle::rotation, &Particle::sizeX, &Particle::sizeY,
                        &Particle::speedX, &Particle::speedY}) {
        (this->*member).copyKeysFrom(type.*member);
    }
    damage = type.damage;
    xExpression = type.xExpression;
    yExpression = type.yExpression;
    x = 0;
    y = 0;
    sprite.create(0, 0, 0, 0, 0, type.blendType, type.texture);
    sprite.setPoints(0, 0, 0, 0);
    killAt = type.killAt;
    age = 0;
    spawnedAt = 0;
    seedCompiled_ = type.seedCompiled_;
    angleCompiled_ = type.angleCompiled_;
    xCompiled_ = type.xCompiled_;
    yCompiled_ = type.yCompiled_;
}

} // namespace vastorim
