// The content files the build lays out in the program folder: every effect the game spawns is
// listed and well formed, the pictures they name exist and load, and the default setup.
#include "platform/image_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
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

// Fields of a particle type line that are not tracks.
enum Field { kTexture = 10, kSpawnNumber = 11, kBlend = 12, kLifetime = 15 };

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

TEST(Pictures, AreListedInLowerCaseAndLoadWithShapeInTheirAlpha) {
    bool ended = false;
    const auto pictures = readList(kProgramDir + "/graphics/resource list.txt", ended);
    EXPECT_TRUE(ended);
    EXPECT_GE(pictures.size(), 10u);
    for (const auto& name : pictures) {
        EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](unsigned char c) {
            return std::isupper(c);
        })) << name;
        vastorim::platform::Picture image;
        std::string error;
        ASSERT_TRUE(
            vastorim::platform::readPicture(kProgramDir + "/graphics/" + name, image, error))
            << name << ": " << error;
        EXPECT_EQ(image.width, image.height) << name;
        EXPECT_EQ(image.width & (image.width - 1), 0) << name << ": a power of two";
        int clear = 0;
        int solid = 0;
        for (std::uint32_t pixel : image.pixels) {
            clear += (pixel >> 24) == 0;
            solid += (pixel >> 24) > 200;
        }
        EXPECT_GT(clear, 0) << name << ": transparent border";
        EXPECT_GT(solid, 0) << name << ": visible shape";
        EXPECT_EQ(image.pixels[0] >> 24, 0u) << name << ": the corner is transparent";
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

TEST(ImageFile, WritesAndReadsThePixelsUnchangedAndReportsFailures) {
    const vastorim::platform::Picture picture{
        2, 2, {0xffff0000u, 0x8000ff00u, 0x000000ffu, 0x280a141eu}};
    const auto path = (std::filesystem::temp_directory_path() / "vastorim-image-test.png").string();
    std::string error;
    ASSERT_TRUE(vastorim::platform::writePicture(path, picture, error)) << error;
    vastorim::platform::Picture back;
    ASSERT_TRUE(vastorim::platform::readPicture(path, back, error)) << error;
    EXPECT_EQ(back.width, 2);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, picture.pixels);
    std::filesystem::remove(path);

    EXPECT_FALSE(vastorim::platform::readPicture("/nonexistent/none.png", back, error));
    EXPECT_NE(error.find("/nonexistent/none.png"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(vastorim::platform::writePicture("/nonexistent/folder/x.png", picture, error));
    EXPECT_NE(error.find("/nonexistent/folder/x.png"), std::string::npos) << error;
}

} // namespace
