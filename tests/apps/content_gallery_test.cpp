// The shipped effects through vastorim-fx: check passes them clean, and the gallery shows each.
#include "content_lists.h"
#include "platform/png_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace vastorim::testing {
namespace {

const std::string fx = "'" + programDir + "/vastorim-fx' ";

TEST(ShippedEffectsThroughFx, CheckReportsNoErrorAndNoWarning) {
    std::string files;
    for (const auto& name : listedEffects()) {
        files += " '" + programDir + "/effects/" + name + "'";
    }
    const auto result = test::runCommand(fx + "check --data '" + programDir + "'" + files);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.out.find("warning"), std::string::npos) << result.out;
    for (const auto& name : listedEffects()) {
        EXPECT_NE(result.out.find("/effects/" + name + ": ok ("), std::string::npos) << name;
    }
}

TEST(ShippedEffectsThroughFx, GalleryShowsEveryListedEffect) {
    test::TempFolder folder;
    const auto result = test::runCommand(fx + "gallery --data '" + programDir + "' --out '" +
                                         folder.file("gallery.png") + "'");
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    const auto names = listedEffects();
    // Two effects to a row, each at three ages; a cell is a label strip over a picture of the
    // part of the surface the effect covers.
    constexpr int cellWidth = 320, cellHeight = 240, labelHeight = 18, gap = 4, ages = 3,
                  perRow = 2;
    platform::Picture sheet;
    std::string error;
    ASSERT_TRUE(platform::readPicture(folder.file("gallery.png"), sheet, error)) << error;
    const int rows = (static_cast<int>(names.size()) + perRow - 1) / perRow;
    ASSERT_EQ(sheet.width, perRow * ages * (cellWidth + gap) + gap);
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
        EXPECT_NE(result.out.find(names[i]), std::string::npos) << "no legend line";
        const int top = gap + static_cast<int>(i) / perRow * (labelHeight + cellHeight + gap);
        int mostLit = 0;
        for (int age = 0; age < ages; ++age) {
            const int left = gap + (static_cast<int>(i) % perRow * ages + age) * (cellWidth + gap);
            EXPECT_GT(litPixels(left, top, cellWidth, labelHeight), 20)
                << names[i] << " has no label at age " << age;
            mostLit = std::max(mostLit, litPixels(left, top + labelHeight, cellWidth, cellHeight));
        }
        // Not a speck: at one age at least, the effect lights a few hundred pixels of its cell.
        EXPECT_GT(mostLit, 400) << names[i] << " does not show in the gallery";
    }
}

} // namespace
} // namespace vastorim::testing
