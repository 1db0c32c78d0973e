#include "engine/errors.h"
#include "particles/effect.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vastorim;

namespace {

const std::string kLineA =
    "a,1:0|255,1:0|255,1:0|255,1:0|255,1:0|8,1:0|8,1:0|0,1:0|0,1:0|0,dot,2,0,0,0,1,0,0";
const std::string kLineB =
    "b,1:0|9,1:0|255,1:0|255,2:0|255:1|0,1:0|8,1:0|8,1:0|rnd(-5&5),1:0|0,1:0|0,dot,1,1,0,0,1,0,0";

class EffectTest : public ::testing::Test {
  protected:
    void expectLines(const std::vector<std::string>& lines) {
        auto count = static_cast<std::int16_t>(lines.size());
        ASSERT_EQ(effect.getParticles(), count);
        for (std::int16_t i = 0; i < count; ++i) {
            EXPECT_EQ(effect.getParticle(i)->getParticleString(), lines[i]);
        }
        EXPECT_EQ(effect.getParticle(count), nullptr);
    }

    test::TempFolder folder;
    Effect effect;
};

TEST_F(EffectTest, LoadsTypesUpToEndAndSavesTheSameLines) {
    effect.loadEffect(folder.write("fx.txt", kLineA + "\r\n" + kLineB + "\r\nEND\r\nnot, read\n"));
    expectLines({kLineA, kLineB});
    EXPECT_TRUE(effect.warning().empty());
    std::string out = folder.file("out.txt");
    ASSERT_TRUE(effect.saveEffect(out));
    EXPECT_EQ(test::readFile(out), kLineA + "\r\n" + kLineB + "\r\nEND\r\n");
    effect.loadEffect(out);
    expectLines({kLineA, kLineB});

    effect.loadEffect(folder.write("empty.txt", "END\n"));
    expectLines({});
    EXPECT_FALSE(effect.saveEffect(folder.file("never.txt")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("never.txt")));
}

TEST_F(EffectTest, MissingEndLoadsWithAWarningNamingTheFile) {
    effect.loadEffect(folder.write("open.txt", kLineA + "\n"));
    expectLines({kLineA});
    EXPECT_NE(effect.warning().find("open.txt"), std::string::npos) << effect.warning();
    EXPECT_NE(effect.warning().find("END"), std::string::npos);
}

TEST_F(EffectTest, MalformedFilesAreErrorsWithFileLineAndFieldAndKeepTheOldList) {
    effect.loadEffect(folder.write("good.txt", kLineA + "\nEND\n"));
    std::string broken = kLineB;
    broken.replace(broken.find("rnd(-5&5)"), 9, "rnd(-5)");
    struct Case {
        std::string path;
        int line;
        std::string field;
    };
    const Case cases[] = {
        {folder.write("bad.txt", kLineA + "\n" + broken + "\nEND\n"), 2, "field 7 (speedX)"},
        {folder.write("lower.txt", "end\nEND\n"), 1, "field 1 (colourR)"}};
    for (const Case& c : cases) {
        try {
            effect.loadEffect(c.path);
            ADD_FAILURE() << c.path << " loaded";
        } catch (const DataError& error) {
            EXPECT_EQ(error.file(), c.path);
            EXPECT_EQ(error.line(), c.line);
            EXPECT_EQ(error.field(), c.field);
        }
    }
    EXPECT_THROW(effect.loadEffect(folder.file("missing.txt")), DataError);
    expectLines({kLineA});
}

} // namespace
