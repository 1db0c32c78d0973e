// The content the build lays out in the program folder: every effect the game spawns is listed
// and well formed, the bodies and weapons are shaped the way the game drives them, and the
// pictures they name exist and load.
#include "platform/image_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kProgramDir = VASTORIM_PROGRAM_DIR;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == separator) {
        parts.emplace_back();
    }
    return parts;
}

// The lines of a list-shaped file up to its "END" line; ended is false when there is none.
std::vector<std::string> readList(const std::string& path, bool& ended) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    ended = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == "END") {
            ended = true;
            break;
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> readList(const std::string& path) {
    bool ended = false;
    auto lines = readList(path, ended);
    EXPECT_TRUE(ended) << path << " has no END line";
    return lines;
}

// Every effect name the game and the menus spawn or load by name.
std::vector<std::string> effectsTheGameNames() {
    std::vector<std::string> names = {
        "player.txt",       "explode_large.txt", "explode_medium.txt", "explode_small.txt",
        "explode_ship.txt", "hit_small.txt",     "hit_medium.txt",     "pickup.txt",
        "pickup_over.txt",  "engine1.txt",       "background.txt",     "menuback.txt"};
    for (int size = 1; size <= 3; ++size) {
        for (int look = 1; look <= 2; ++look) {
            names.push_back("asteroid" + std::to_string(size) + "_" + std::to_string(look) +
                            ".txt");
        }
    }
    for (int weapon = 1; weapon <= 3; ++weapon) {
        for (int level = 1; level <= 4; ++level) {
            const std::string stem =
                "weapon" + std::to_string(weapon) + "_" + std::to_string(level);
            names.push_back(stem + ".txt");
            if (weapon == 3) {
                names.push_back(stem + "_trail.txt");
            }
        }
    }
    return names;
}

enum Field {
    kName = 0,
    kSizeX = 5,
    kSizeY = 6,
    kSpeedX = 7,
    kSpeedY = 8,
    kTexture = 10,
    kSpawnNumber = 11,
    kBlend = 12,
    kSeed = 13,
    kAngle = 14,
    kLifetime = 15
};

using ParticleType = std::vector<std::string>;

std::vector<ParticleType> readEffect(const std::string& name) {
    std::vector<ParticleType> types;
    for (const auto& line : readList(kProgramDir + "/effects/" + name)) {
        types.push_back(split(line, ','));
    }
    return types;
}

bool isInteger(const std::string& text) {
    return !text.empty() && std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(),
                                        [](unsigned char c) { return std::isdigit(c); });
}

// The value expressions of a track, after checking the track's shape.
std::vector<std::string> trackValues(const std::string& track, const std::string& where) {
    const auto keys = split(track, ':');
    std::vector<std::string> values;
    EXPECT_TRUE(isInteger(keys[0])) << where;
    EXPECT_EQ(std::stoi(keys[0]), static_cast<int>(keys.size()) - 1) << where << " key count";
    double previous = -1;
    for (std::size_t k = 1; k < keys.size(); ++k) {
        const auto parts = split(keys[k], '|');
        EXPECT_EQ(parts.size(), 2u) << where << " key " << k;
        const double time = std::stod(parts[0]);
        EXPECT_EQ(k == 1, time == 0.0) << where << ": the first key, and only it, sits at 0";
        EXPECT_GT(time, previous) << where << ": key times must rise";
        previous = time;
        values.push_back(parts.size() > 1 ? parts[1] : "");
    }
    return values;
}

TEST(EffectList, NamesEveryEffectTheGameSpawnsAndEachFileExists) {
    const auto listed = readList(kProgramDir + "/effects/effect list.txt");
    const std::set<std::string> listedSet(listed.begin(), listed.end());
    EXPECT_EQ(listedSet.size(), listed.size()) << "an effect is listed twice";
    for (const auto& name : effectsTheGameNames()) {
        EXPECT_TRUE(listedSet.count(name)) << name << " is not in the effect list";
    }
    for (const auto& name : listed) {
        EXPECT_TRUE(std::filesystem::is_regular_file(kProgramDir + "/effects/" + name)) << name;
    }
}

TEST(EffectFiles, AreWellFormedAndDrawWithListedPictures) {
    const auto pictures = readList(kProgramDir + "/graphics/resource list.txt");
    const std::set<std::string> pictureSet(pictures.begin(), pictures.end());
    for (const auto& name : readList(kProgramDir + "/effects/effect list.txt")) {
        const auto types = readEffect(name);
        EXPECT_FALSE(types.empty()) << name;
        for (std::size_t t = 0; t < types.size(); ++t) {
            const auto& type = types[t];
            const std::string where = name + " line " + std::to_string(t + 1);
            ASSERT_EQ(type.size(), 18u) << where;
            for (int track = 1; track <= 9; ++track) {
                trackValues(type[static_cast<std::size_t>(track)],
                            where + " field " + std::to_string(track));
            }
            EXPECT_TRUE(pictureSet.count(type[kTexture])) << where << ": " << type[kTexture];
            EXPECT_TRUE(isInteger(type[kSpawnNumber])) << where;
            EXPECT_TRUE(type[kBlend] == "0" || type[kBlend] == "1") << where;
            EXPECT_TRUE(isInteger(type[kLifetime]) && std::stoi(type[kLifetime]) >= 1) << where;
        }
    }
}

int projectileCount(const std::string& name) {
    return static_cast<int>(readEffect(name).size());
}

TEST(EffectFiles, WeaponsFireAlongTheHeadingAndGrowWithTheirLevel) {
    for (int weapon = 1; weapon <= 3; ++weapon) {
        int previous = 0;
        for (int level = 1; level <= 4; ++level) {
            const std::string name =
                "weapon" + std::to_string(weapon) + "_" + std::to_string(level) + ".txt";
            for (const auto& type : readEffect(name)) {
                EXPECT_EQ(type[kSpawnNumber], "1") << name << ": one projectile per type";
                const int life = std::stoi(type[kLifetime]);
                EXPECT_TRUE(life >= 1 && life <= 2) << name;
                EXPECT_NE(type[kSpeedX].find("cos(seed"), std::string::npos) << name;
                EXPECT_NE(type[kSpeedY].find("sin(seed"), std::string::npos) << name;
                EXPECT_EQ(type[kAngle].rfind("seed", 0), 0u) << name << ": faces its heading";
            }
            EXPECT_GE(projectileCount(name), previous) << name;
            previous = projectileCount(name);
        }
        EXPECT_GT(previous, projectileCount("weapon" + std::to_string(weapon) + "_1.txt"));
    }
    for (const std::string name : {"engine1.txt", "weapon3_1_trail.txt", "weapon3_4_trail.txt"}) {
        for (const auto& type : readEffect(name)) {
            EXPECT_NE(type[kSpeedX].find("cos(seed"), std::string::npos) << name;
            EXPECT_NE(type[kSpeedY].find("sin(seed"), std::string::npos) << name;
        }
    }
}

// The lower and upper bound of a size written as a number or, through the seed, as rnd(a&b).
std::pair<double, double> sizeRange(const ParticleType& type) {
    const auto values = trackValues(type[kSizeX], type[kName]);
    std::string text = values.at(0) == "seed" ? type[kSeed] : values.at(0);
    if (text.rfind("rnd(", 0) == 0) {
        const auto amp = text.find('&');
        return {std::stod(text.substr(4, amp - 4)), std::stod(text.substr(amp + 1))};
    }
    return {std::stod(text), std::stod(text)};
}

TEST(EffectFiles, BodiesFitWhatTheGameDoesWithThem) {
    // Rock pictures fill about four fifths of their square; the game hits at radius 30, 20, 10.
    const std::map<int, double> radius = {{1, 30}, {2, 20}, {3, 10}};
    for (const auto& [size, r] : radius) {
        for (int look = 1; look <= 2; ++look) {
            const std::string name =
                "asteroid" + std::to_string(size) + "_" + std::to_string(look) + ".txt";
            const auto body = readEffect(name).at(0);
            EXPECT_EQ(body[kSizeX], body[kSizeY]) << name;
            const auto [low, high] = sizeRange(body);
            EXPECT_GE(low * 0.8, 2 * r * 0.85) << name;
            EXPECT_LE(high * 0.8, 2 * r * 1.15) << name;
            EXPECT_EQ(trackValues(body[kSpeedX], name).size(), 1u) << name << ": velocity is key 0";
        }
    }
    const auto ship = readEffect("player.txt").at(0);
    EXPECT_EQ(ship[kTexture], "ship.png");

    const auto pickup = readEffect("pickup.txt");
    EXPECT_EQ(pickup.back()[kName], "pickup") << "the game tracks the last particle spawned";

    int backgroundParticles = 0;
    for (const auto& type : readEffect("background.txt")) {
        backgroundParticles += std::stoi(type[kSpawnNumber]);
        EXPECT_EQ(trackValues(type[1], "background red").size(), 1u) << "recoloured at key 0";
        EXPECT_EQ(trackValues(type[2], "background green").size(), 1u) << "recoloured at key 0";
    }
    EXPECT_EQ(backgroundParticles, 4);
}

TEST(Pictures, AreListedInLowerCaseAndLoadWithShapeInTheirAlpha) {
    bool ended = false;
    const auto pictures = readList(kProgramDir + "/graphics/resource list.txt", ended);
    EXPECT_TRUE(ended);
    EXPECT_GE(pictures.size(), 10u);
    for (const auto& name : pictures) {
        EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](unsigned char c) {
            return std::isupper(c);
        })) << name;
        vastorim::platform::RgbaImage image;
        std::string error;
        ASSERT_TRUE(vastorim::platform::loadPng(kProgramDir + "/graphics/" + name, image, error))
            << name << ": " << error;
        EXPECT_EQ(image.width, image.height) << name;
        EXPECT_EQ(image.width & (image.width - 1), 0) << name << ": a power of two";
        int clear = 0;
        int solid = 0;
        for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
            clear += image.pixels[i] == 0;
            solid += image.pixels[i] > 200;
        }
        EXPECT_GT(clear, 0) << name << ": transparent border";
        EXPECT_GT(solid, 0) << name << ": visible shape";
        EXPECT_EQ(image.pixels[3], 0) << name << ": the corner is transparent";
    }
}

TEST(GameSetup, DefaultIsWindowedWithHitEffectsOfflineAndOnePlayerOnTheArrows) {
    std::ifstream file(kProgramDir + "/game setup.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    const std::vector<std::string> expected = {"false", "true", "false", "1",    "up",
                                               "down",  "left", "right", "space"};
    EXPECT_EQ(lines, expected);
}

TEST(ImageFile, SavesAndLoadsThePixelsUnchangedAndReportsFailures) {
    vastorim::platform::RgbaImage image{
        2, 2, {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40}};
    const auto path = (std::filesystem::temp_directory_path() / "vastorim-image-test.png").string();
    std::string error;
    ASSERT_TRUE(vastorim::platform::savePng(path, image, error)) << error;
    vastorim::platform::RgbaImage back;
    ASSERT_TRUE(vastorim::platform::loadPng(path, back, error)) << error;
    EXPECT_EQ(back.width, 2);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, image.pixels);
    std::filesystem::remove(path);

    EXPECT_FALSE(vastorim::platform::loadPng("/nonexistent/none.png", back, error));
    EXPECT_FALSE(error.empty());
    image.pixels.pop_back();
    EXPECT_FALSE(vastorim::platform::savePng(path, image, error)) << "size and pixels disagree";
}

} // namespace
