#include "fx_commands.h"

#include "engine/numbers.h"
#include "particles/effect.h"

#include <iomanip>
#include <iostream>
#include <stdexcept>

namespace vastorim::fx {

namespace {

void showTrack(const char* name, const Track& track) {
    std::cout << "    " << std::left << std::setw(9) << name;
    std::string value;
    for (std::int16_t k = 0; k < track.getKeys(); ++k) {
        double time = 0;
        track.getKey(k, time, value);
        std::cout << (k == 0 ? "" : "   ") << "at " << numberToText(time) << " s: " << value;
    }
    std::cout << '\n';
}

} // namespace

int showCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        throw std::invalid_argument("show takes one effect file");
    }
    Effect effect;
    effect.loadEffect(args[0]);
    if (!effect.warning().empty()) {
        std::cerr << effect.warning() << '\n';
    }
    std::cout << args[0] << ": " << effect.getParticles() << " particle types\n";
    for (std::int16_t i = 0; i < effect.getParticles(); ++i) {
        const Particle& type = *effect.getParticle(i);
        std::cout << "\ntype " << i << ": \"" << type.name << "\"\n"
                  << "    texture \"" << type.texture << "\", blend " << type.blendType
                  << (type.blendType == 1 ? " (additive)" : " (alpha)") << ", " << type.spawnCount
                  << " per spawn, lives " << type.killAt << " s\n"
                  << "    seed " << type.seedExpression << "   angle " << type.angleExpression
                  << "   start x " << type.xExpression << "   start y " << type.yExpression << '\n';
        showTrack("red", type.colourR);
        showTrack("green", type.colourG);
        showTrack("blue", type.colourB);
        showTrack("opacity", type.colourA);
        showTrack("width", type.sizeX);
        showTrack("height", type.sizeY);
        showTrack("speed x", type.speedX);
        showTrack("speed y", type.speedY);
        showTrack("rotation", type.rotation);
    }
    return 0;
}

} // namespace vastorim::fx
