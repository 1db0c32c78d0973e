// The content files the build lays out in the program folder.
#include "content_lists.h"
#include "platform/png_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

namespace vastorim::testing {
namespace {

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

TEST(EffectList, NamesEveryEffectTheGameSpawnsOnceAndEachFileExists) {
    bool ended = false;
    const auto listed = readList(programDir + "/effects/effect list.txt", &ended);
    EXPECT_TRUE(ended);
    const std::set<std::string> listedSet(listed.begin(), listed.end());
    EXPECT_EQ(listedSet.size(), listed.size()) << "an effect is listed twice";
    for (const auto& name : effectsTheGameNames()) {
        EXPECT_TRUE(listedSet.count(name)) << name << " is not in the effect list";
    }
    for (const auto& name : listed) {
        EXPECT_TRUE(std::filesystem::is_regular_file(programDir + "/effects/" + name)) << name;
    }
}

TEST(Pictures, AreListedInLowerCaseAndLoadWithShapeInTheirAlpha) {
    bool ended = false;
    const auto pictures = readList(programDir + "/graphics/resource list.txt", &ended);
    EXPECT_TRUE(ended);
    EXPECT_GE(pictures.size(), 10u);
    for (const auto& name : pictures) {
        EXPECT_TRUE(std::none_of(name.begin(), name.end(), ::isupper)) << name;
        platform::Picture image;
        std::string error;
        ASSERT_TRUE(platform::readPicture(programDir + "/graphics/" + name, image, error)) << error;
        EXPECT_EQ(image.width, image.height) << name;
        EXPECT_EQ(image.width & (image.width - 1), 0) << name << ": a power of two";
        EXPECT_EQ(image.pixels[0] >> 24, 0u) << name << ": the corner is transparent";
        EXPECT_TRUE(std::any_of(image.pixels.begin(), image.pixels.end(),
                                [](std::uint32_t pixel) { return (pixel >> 24) > 200; }))
            << name << ": visible shape";
    }
}

} // namespace
} // namespace vastorim::testing
