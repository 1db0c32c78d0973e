#include "particles/clsParticle.h"

#include "engine/errors.h"
#include "engine/startup.h"

#include <array>
#include <string_view>
#include <vector>

namespace vastorim {

namespace {

constexpr std::array<const char*, clsParticle::kFields> kFieldNames = {
    "sName",     "colourR", "colourG", "colourB",   "colourA", "sizex",
    "sizey",     "speedx",  "speedy",  "Rotation",  "texture", "spawnnumber",
    "blendtype", "seed",    "Angle",   "lngKillat", "X",       "Y"};

std::vector<std::string_view> splitFields(std::string_view line) {
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

std::string clsParticle::fieldLabel(int field) {
    return "field " + std::to_string(field) + " (" + kFieldNames[static_cast<std::size_t>(field)] +
           ")";
}

void clsParticle::render() {
    sprite.render();
}

void clsParticle::updateParticle() {
    if (lngKillat >= dblTime) {
        float dt = globals.frameTime;
        dblTime = dblTime + dt;
        double r = Rotation.getValue(dblTime);
        dblAngle = dblAngle + dt * r;
        double vx = speedx.getValue(dblTime);
        dblX = dblX + dt * vx;
        double vy = speedy.getValue(dblTime);
        dblY = dblY + dt * vy;
    } else {
        lngKillat = -1;
    }
}

void clsParticle::updateSprite() {
    sprite.angle = static_cast<float>(static_cast<double>(dblAngle));
    sprite.sizeX = static_cast<float>(sizex.getValue(dblTime));
    sprite.sizeY = static_cast<float>(sizey.getValue(dblTime));
    sprite.x = static_cast<float>(dblX);
    sprite.y = static_cast<float>(dblY);
    sprite.setPoints(static_cast<float>(colourR.getValue(dblTime)),
                     static_cast<float>(colourG.getValue(dblTime)),
                     static_cast<float>(colourB.getValue(dblTime)),
                     static_cast<float>(colourA.getValue(dblTime)));
}

std::string clsParticle::getParticleString() const {
    std::string line = sName;
    for (const clsTrack* track :
         {&colourR, &colourG, &colourB, &colourA, &sizex, &sizey, &speedx, &speedy, &Rotation}) {
        line += ',' + track->getTrackString();
    }
    line += ',' + texture + ',' + numberToText(spawnnumber) + ',' + numberToText(blendtype) + ',' +
            seed + ',' + Angle + ',' + numberToText(lngKillat) + ',' + X + ',' + Y;
    return line;
}

void clsParticle::loadParticleString(const std::string& sString) {
    auto fields = splitFields(sString);
    if (fields.size() < kFields) {
        throw FieldError(fieldLabel(static_cast<int>(fields.size())),
                         "missing: the line has " + std::to_string(fields.size()) +
                             " fields separated by \",\", a particle type needs " +
                             std::to_string(kFields));
    }
    // Read into a fresh type first, so that a malformed line changes nothing here.
    clsParticle loaded;
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
        loaded.sName = at(0);
        int index = 1;
        for (clsTrack* track :
             {&loaded.colourR, &loaded.colourG, &loaded.colourB, &loaded.colourA, &loaded.sizex,
              &loaded.sizey, &loaded.speedx, &loaded.speedy, &loaded.Rotation}) {
            track->loadTrackString(std::string(at(index++)));
        }
        loaded.texture = at(10);
        loaded.spawnnumber = readWhole(at(11), toInteger);
        loaded.blendtype = readWhole(at(12), toInteger);
        readExpression(13, loaded.seed);
        readExpression(14, loaded.Angle);
        loaded.lngKillat = readWhole(at(15), toLong);
        readExpression(16, loaded.X);
        readExpression(17, loaded.Y);
    } catch (const FieldError& error) {
        throw FieldError(fieldLabel(field), error.message());
    }
    loaded.sprite.texture = loaded.texture;
    loaded.sprite.blendType = loaded.blendtype;
    *this = std::move(loaded);
}

void clsParticle::bakeKeys() {
    dblSeed = evaluateExpression(seed, 0, seedExpression_);
    for (clsTrack* track :
         {&colourR, &colourG, &colourB, &colourA, &speedx, &speedy, &sizex, &sizey, &Rotation}) {
        track->bakeKeys(dblSeed);
    }
    dblAngle = evaluateExpression(Angle, dblSeed, angleExpression_);
    dblX = evaluateExpression(X, dblSeed, xExpression_);
    dblY = evaluateExpression(Y, dblSeed, yExpression_);
}

void clsParticle::initialize() {
    *this = clsParticle();
    sprite.create(0, 0, 0, 0, 0, 0, "0");
    std::string colourDefault = "255";
    std::string otherDefault = "0";
    for (clsTrack* track : {&colourR, &colourG, &colourB, &colourA}) {
        track->initialize(colourDefault);
    }
    for (clsTrack* track : {&sizex, &sizey, &speedx, &speedy, &Rotation}) {
        track->initialize(otherDefault);
    }
    texture = "0";
    spawnnumber = 1;
    seed = "0";
    blendtype = 0;
    Angle = "0";
    X = "0";
    Y = "0";
}

void clsParticle::spawnFrom(const clsParticle& type) {
    texture.clear();
    spawnnumber = 0;
    seed = type.seed;
    dblSeed = 0;
    sName = type.sName;
    Angle = type.Angle;
    dblAngle = 0;
    blendtype = type.blendtype;
    for (auto member : {&clsParticle::colourA, &clsParticle::colourR, &clsParticle::colourG,
                        &clsParticle::colourB, &clsParticle::Rotation, &clsParticle::sizex,
                        &clsParticle::sizey, &clsParticle::speedx, &clsParticle::speedy}) {
        (this->*member).copyKeysFrom(type.*member);
    }
    damage = type.damage;
    X = type.X;
    Y = type.Y;
    dblX = 0;
    dblY = 0;
    sprite.create(0, 0, 0, 0, 0, type.blendtype, type.texture);
    sprite.setPoints(0, 0, 0, 0);
    lngKillat = type.lngKillat;
    dblTime = 0;
    lngSpawnedAt = 0;
    intParticleTextureIndex = 0;
    seedExpression_ = type.seedExpression_;
    angleExpression_ = type.angleExpression_;
    xExpression_ = type.xExpression_;
    yExpression_ = type.yExpression_;
}

} // namespace vastorim
