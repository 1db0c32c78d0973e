// The shipped effects through vastorim-fx: check passes them clean, and the gallery shows each.
#include "content_lists.h"
#include "platform/image_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

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
    // Two effects to a row, each at three ages; a cell is the surface at a third of its size.
    constexpr int cellWidth = 341, cellHeight = 256, gap = 4, ages = 3, perRow = 2;
    platform::Picture sheet;
    std::string error;
    ASSERT_TRUE(platform::readPicture(folder.file("gallery.png"), sheet, error)) << error;
    ASSERT_EQ(sheet.width, perRow * ages * (cellWidth + gap) + gap);
    ASSERT_EQ(sheet.height,
              (static_cast<int>(names.size()) + 1) / perRow * (cellHeight + gap) + gap);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_NE(result.out.find(names[i]), std::string::npos) << "no legend line";
        const int top = gap + static_cast<int>(i) / perRow * (cellHeight + gap);
        const int left = gap + static_cast<int>(i) % perRow * ages * (cellWidth + gap);
        const int right = left + ages * (cellWidth + gap) - gap;
        int brightest = 0;
        for (int y = top; y < top + cellHeight; ++y) {
            for (int x = left; x < right; ++x) {
                const std::uint32_t p = sheet.pixels[static_cast<std::size_t>(y) * sheet.width + x];
                brightest = std::max({brightest, static_cast<int>(p >> 16 & 0xff),
                                      static_cast<int>(p >> 8 & 0xff), static_cast<int>(p & 0xff)});
            }
        }
        EXPECT_GT(brightest, 60) << names[i] << " does not show in the gallery";
    }
}

} // namespace
} // namespace vastorim::testing
