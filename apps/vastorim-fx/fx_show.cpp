#include "fx_commands.h"

#include "engine/numbers.h"
#include "particles/clsEffect.h"

#include <iomanip>
#include <iostream>
#include <stdexcept>

namespace vastorim::fx {

namespace {

void showTrack(const char* name, const clsTrack& track) {
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
    clsEffect effect;
    effect.loadEffect(args[0]);
    if (!effect.warning().empty()) {
        std::cerr << effect.warning() << '\n';
    }
    std::cout << args[0] << ": " << effect.getParticles() << " particle types\n";
    for (std::int16_t i = 0; i < effect.getParticles(); ++i) {
        const clsParticle& type = *effect.getParticle(i);
        std::cout << "\ntype " << i << ": \"" << type.sName << "\"\n"
                  << "    texture \"" << type.texture << "\", blend " << type.blendtype
                  << (type.blendtype == 1 ? " (additive)" : " (alpha)") << ", " << type.spawnnumber
                  << " per spawn, lives " << type.lngKillat << " s\n"
                  << "    seed " << type.seed << "   angle " << type.Angle << "   start x "
                  << type.X << "   start y " << type.Y << '\n';
        showTrack("red", type.colourR);
        showTrack("green", type.colourG);
        showTrack("blue", type.colourB);
        showTrack("opacity", type.colourA);
        showTrack("width", type.sizex);
        showTrack("height", type.sizey);
        showTrack("speed x", type.speedx);
        showTrack("speed y", type.speedy);
        showTrack("rotation", type.Rotation);
    }
    return 0;
}

} // namespace vastorim::fx
