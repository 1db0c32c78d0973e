#include "fx_commands.h"

#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/text_files.h"
#include "particles/particle.h"

#include <iostream>
#include <set>

namespace vastorim::fx {

namespace {

// Names the resource list registers; a texture is found when its lower-cased name is one of
// them, as the registry looks names up.
std::set<std::string> listedTextures(const std::string& dataFolder) {
    TextReader reader(dataFolder + "/graphics/resource list.txt");
    std::set<std::string> names;
    std::string line;
    while (reader.readLine(line) && line != "END") {
        names.insert(fileNamePart(line));
    }
    return names;
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

struct FileCheck {
    const std::string& file;
    const std::set<std::string>* textures;
    int errors = 0;
    int types = 0;

    void report(int line, const std::string& field, const std::string& message) const {
        std::cout << file << ':' << line << ": " << (field.empty() ? "" : field + ": ") << message
                  << '\n';
    }

    void warnAboutType(int line, const Particle& type) const {
        const Track* tracks[] = {&type.colourR, &type.colourG, &type.colourB,
                                 &type.colourA, &type.sizeX,   &type.sizeY,
                                 &type.speedX,  &type.speedY,  &type.rotation};
        for (int i = 0; i < 9; ++i) {
            double previous = 0;
            std::string value;
            for (std::int16_t k = 0; k < tracks[i]->getKeys(); ++k) {
                double time = 0;
                tracks[i]->getKey(k, time, value);
                if (k > 0 && time < previous) {
                    report(line, Particle::fieldLabel(i + 1),
                           "warning: keys out of time order: key " + std::to_string(k + 1) +
                               " at " + numberToText(time) + " s follows one at " +
                               numberToText(previous) + " s");
                    break;
                }
                previous = time;
            }
        }
        if (textures != nullptr && textures->count(lowerCase(type.texture)) == 0) {
            report(line, Particle::fieldLabel(10),
                   "warning: the resource list has no texture \"" + type.texture + "\"");
        }
    }

    void run() {
        TextReader reader(file);
        std::string line;
        while (true) {
            if (!reader.readLine(line)) {
                std::cout << file << ": warning: no \"END\" line; the file ends after line "
                          << reader.lineNumber() << '\n';
                break;
            }
            if (line == "END") {
                break;
            }
            Particle type;
            try {
                type.loadParticleString(line);
            } catch (const FieldError& error) {
                report(reader.lineNumber(), error.field(), error.message());
                ++errors;
                continue;
            }
            ++types;
            warnAboutType(reader.lineNumber(), type);
        }
    }
};

} // namespace

int checkCommand(const std::vector<std::string>& args) {
    std::vector<std::string> files = args;
    std::string dataFolder;
    std::set<std::string> textures;
    bool withTextures = takeOption(files, "--data", dataFolder);
    if (withTextures) {
        textures = listedTextures(dataFolder);
    }
    if (files.empty()) {
        throw std::invalid_argument("no effect file given");
    }
    int status = 0;
    for (const std::string& file : files) {
        FileCheck check{file, withTextures ? &textures : nullptr};
        try {
            check.run();
        } catch (const DataError& error) {
            std::cout << error.what() << '\n';
            ++check.errors;
        }
        if (check.errors == 0) {
            std::cout << file << ": ok (" << check.types << " particle types)\n";
        } else {
            status = 1;
        }
    }
    return status;
}

} // namespace vastorim::fx
