// The shipped effects through vastorim-fx: check passes them clean, and the gallery shows every
// listed effect on one sheet.
#include "platform/image_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

using namespace vastorim;

namespace {

const std::string kProgramDir = VASTORIM_PROGRAM_DIR;

std::vector<std::string> listedEffects() {
    std::ifstream file(kProgramDir + "/effects/effect list.txt");
    std::vector<std::string> names;
    for (std::string line; std::getline(file, line) && line != "END";) {
        names.push_back(line);
    }
    return names;
}

} // namespace

TEST(ShippedEffectsThroughFx, CheckReportsNoErrorAndNoWarning) {
    std::string files;
    for (const auto& name : listedEffects()) {
        files += " '" + kProgramDir + "/effects/" + name + "'";
    }
    const auto result =
        test::runCommand(kProgramDir + "/vastorim-fx check --data '" + kProgramDir + "'" + files);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.out.find("warning"), std::string::npos) << result.out;
    for (const auto& name : listedEffects()) {
        EXPECT_NE(result.out.find("/effects/" + name + ": ok ("), std::string::npos) << name;
    }
}

TEST(ShippedEffectsThroughFx, GalleryShowsEveryListedEffect) {
    test::TempFolder folder;
    const std::string sheetFile = folder.file("gallery.png");
    const auto result = test::runCommand(kProgramDir + "/vastorim-fx gallery --data '" +
                                         kProgramDir + "' --out '" + sheetFile + "'");
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    const auto names = listedEffects();
    for (const auto& name : names) {
        EXPECT_NE(result.out.find(name), std::string::npos) << "no legend line for " << name;
    }

    // Two effects to a row, each at three ages; a cell is a label strip over a picture of the
    // part of the surface the effect covers.
    constexpr int cellWidth = 320, cellHeight = 240, labelHeight = 18, gap = 4, agesShown = 3,
                  perRow = 2;
    platform::Picture sheet;
    std::string error;
    ASSERT_TRUE(platform::readPicture(sheetFile, sheet, error)) << error;
    const int rows = (static_cast<int>(names.size()) + perRow - 1) / perRow;
    ASSERT_EQ(sheet.width, perRow * agesShown * (cellWidth + gap) + gap);
    ASSERT_EQ(sheet.height, rows * (labelHeight + cellHeight + gap) + gap);

    const auto litPixels = [&sheet](int left, int top, int width, int height) {
        int lit = 0;
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                const std::uint32_t p = sheet.pixels[static_cast<std::size_t>(y) * sheet.width + x];
                lit += std::max({(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff}) > 32 ? 1 : 0;
            }
        }
        return lit;
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        int mostLit = 0;
        const int top = gap + static_cast<int>(i) / perRow * (labelHeight + cellHeight + gap);
        for (int age = 0; age < agesShown; ++age) {
            const int column = static_cast<int>(i) % perRow * agesShown + age;
            const int left = gap + column * (cellWidth + gap);
            EXPECT_GT(litPixels(left, top, cellWidth, labelHeight), 20)
                << names[i] << " has no label at age " << age;
            mostLit = std::max(mostLit, litPixels(left, top + labelHeight, cellWidth, cellHeight));
        }
        // Not a speck: at one age at least, the effect lights a few hundred pixels of its cell.
        EXPECT_GT(mostLit, 400) << names[i] << " does not show in the gallery";
    }
}

TEST(ShippedEffectsThroughFx, GalleryRefusesAMissingOutputOrDataFolder) {
    const auto noOut =
        test::runCommand(kProgramDir + "/vastorim-fx gallery --data '" + kProgramDir + "'");
    EXPECT_EQ(noOut.status, 2);
    EXPECT_NE(noOut.err.find("--out"), std::string::npos) << noOut.err;
    test::TempFolder folder;
    const auto noData = test::runCommand(kProgramDir + "/vastorim-fx gallery --data '" +
                                         folder.path() + "' --out '" + folder.file("g.png") + "'");
    EXPECT_EQ(noData.status, 1);
    EXPECT_NE(noData.err.find("effect list.txt"), std::string::npos) << noData.err;
}
