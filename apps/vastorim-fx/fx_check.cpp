#include "fx_commands.h"

#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/text_case.h"
#include "engine/text_files.h"
#include "game/effect_names.h"
#include "particles/particle.h"
#include "platform/png_file.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <set>

namespace vastorim::fx {

namespace {

// Names the resource list registers, folded to lower case as the registry stores them; a
// texture is found when its lower-cased name is one of them.
std::set<std::string> listedTextures(const std::string& dataFolder) {
    TextReader reader(dataFolder + "/graphics/resource list.txt");
    std::set<std::string> names;
    std::string line;
    while (reader.readLine(line) && line != "END") {
        names.insert(asciiLower(fileNamePart(line)));
    }
    return names;
}

constexpr int maxTypes = std::numeric_limits<std::int16_t>::max(); // as the game loads effects

struct FileCheck {
    const std::string& file;
    const std::set<std::string>* textures;
    int errors = 0;
    int types = 0;

    void report(int line, const std::string& field, const std::string& message) const {
        std::cout << file << ':' << line << ": " << (field.empty() ? "" : field + ": ") << message
                  << '\n';
    }

    // Keys whose times the game reads otherwise than an author may expect.
    void warnAboutKeys(int line, int field, const Track& track) const {
        double previous = 0;
        std::string value;
        for (std::int16_t k = 0; k < track.getKeys(); ++k) {
            double time = 0;
            track.getKey(k, time, value);
            const std::string key = "key " + std::to_string(k + 1);
            if (!std::isfinite(time)) {
                report(line, Particle::fieldLabel(field),
                       "warning: " + key + " has the time " + numberToText(time) +
                           ", which is not a number of seconds");
            } else if (k > 0 && time == previous) {
                report(line, Particle::fieldLabel(field),
                       "warning: " + key + " shares the time " + numberToText(time) +
                           " s with the key before it: a step to its value");
            } else if (k > 0 && time < previous) {
                report(line, Particle::fieldLabel(field),
                       "warning: keys out of time order: " + key + " at " + numberToText(time) +
                           " s follows one at " + numberToText(previous) + " s");
                return;
            }
            previous = time;
        }
    }

    void warnAboutType(int line, const std::string& text, const Particle& type) const {
        const std::vector<std::string_view> fields = Particle::splitFields(text);
        if (fields.size() > Particle::kFields) {
            report(line, "field " + std::to_string(Particle::kFields),
                   "warning: the line has " + std::to_string(fields.size()) +
                       " fields; the game reads the first " + std::to_string(Particle::kFields) +
                       " and ignores the rest");
        }
        const Track* tracks[] = {&type.colourR, &type.colourG, &type.colourB,
                                 &type.colourA, &type.sizeX,   &type.sizeY,
                                 &type.speedX,  &type.speedY,  &type.rotation};
        for (int i = 0; i < 9; ++i) {
            const std::string_view track = fields[static_cast<std::size_t>(i + 1)];
            const auto given = std::count(track.begin(), track.end(), ':');
            if (given != tracks[i]->getKeys()) {
                report(line, Particle::fieldLabel(i + 1),
                       "warning: the key count says " + std::to_string(tracks[i]->getKeys()) +
                           " but " + std::to_string(given) + " keys are given; the game reads " +
                           std::to_string(tracks[i]->getKeys()));
            }
            warnAboutKeys(line, i + 1, *tracks[i]);
        }
        if (textures != nullptr && textures->count(asciiLower(type.texture)) == 0) {
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
            if (reader.lineNumber() > maxTypes) {
                report(reader.lineNumber(), "",
                       "an effect holds at most " + std::to_string(maxTypes) +
                           " particle types; the game refuses the file");
                ++errors;
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
            warnAboutType(reader.lineNumber(), line, type);
        }
    }
};

} // namespace

namespace {

// Checks one effect file and says "ok" when it has no error; gives the number of errors.
int checkEffectFile(const std::string& file, const std::set<std::string>* textures) {
    FileCheck check{file, textures};
    try {
        check.run();
    } catch (const DataError& error) {
        std::cout << error.what() << '\n';
        ++check.errors;
    }
    if (check.errors == 0) {
        std::cout << file << ": ok (" << check.types << " particle types)\n";
    }
    return check.errors;
}

// The whole content of a program folder: every listed picture loads, every listed effect checks
// out, and the effect list names every effect the game spawns. Gives the number of errors.
int checkContent(const std::string& dataFolder, const std::set<std::string>& textures) {
    int errors = 0;
    const std::string graphics = dataFolder + "/graphics/";
    const std::string effects = dataFolder + "/effects/";
    std::set<std::string> listedEffects;
    try {
        readFileList(graphics + "resource list.txt", "a picture file name",
                     [&](const std::string& name) {
                         platform::Picture picture;
                         std::string problem;
                         if (!platform::readPicture(graphics + name, picture, problem)) {
                             std::cout << problem << '\n';
                             ++errors;
                         }
                     });
        readFileList(effects + "effect list.txt", "an effect file name",
                     [&](const std::string& name) {
                         listedEffects.insert(asciiLower(name));
                         errors += checkEffectFile(effects + name, &textures);
                     });
    } catch (const DataError& error) {
        std::cout << error.what() << '\n';
        return errors + 1;
    }
    for (const std::string& name : spawnedEffectNames()) {
        if (listedEffects.count(name) == 0) {
            std::cout << effects << "effect list.txt: the game spawns \"" << name
                      << "\", which the list does not name\n";
            ++errors;
        }
    }
    return errors;
}

} // namespace

int checkCommand(const std::vector<std::string>& args) {
    std::vector<std::string> files = args;
    std::string dataFolder;
    std::set<std::string> textures;
    bool withTextures = takeOption(files, "--data", dataFolder);
    if (withTextures) {
        textures = listedTextures(dataFolder);
    }
    if (files.empty() && !withTextures) {
        throw std::invalid_argument("no effect file given, and no --data folder to check whole");
    }
    int errors = files.empty() ? checkContent(dataFolder, textures) : 0;
    for (const std::string& file : files) {
        errors += checkEffectFile(file, withTextures ? &textures : nullptr);
    }
    return errors == 0 ? 0 : 1;
}

} // namespace vastorim::fx
