#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vastorim;

namespace {

std::string fx(const std::string& arguments) {
    return std::string(VASTORIM_PROGRAM_DIR) + "/vastorim-fx " + arguments;
}

const std::string kGood =
    "spark,1:0|255,1:0|255,1:0|255,2:0|255:1|0,1:0|4,1:0|4,1:0|rnd(-9&9),1:0|0,1:0|0,"
    "Dot.png,3,1,0,0,1,0,0\r\n"
    "ring,1:0|255,1:0|255,1:0|255,1:0|255,2:0|8:1|30,2:1|8:0|4,1:0|0,1:0|0,1:0|0,ring.png,1,0,"
    "0,0,1,0,0\r\nEND\r\nanything, after END\r\n";

} // namespace

TEST(FxCheck, GoodFileIsOkWithItsTypeCount) {
    test::TempFolder folder;
    test::writeFile(folder.file("good.txt"), kGood);
    auto result = test::runCommand(fx("check '" + folder.file("good.txt") + "'"));
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.out.find(folder.file("good.txt") + ": ok (2 particle types)"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(":2: field 6 (sizey): warning: keys out of time order"),
              std::string::npos)
        << result.out;
}

TEST(FxCheck, EveryBrokenLineIsReportedWithFieldAndStatusOne) {
    test::TempFolder folder;
    std::string good = folder.file("good.txt");
    std::string bad = folder.file("bad.txt");
    test::writeFile(good, kGood);
    test::writeFile(bad,
                    "a,1:0|255,1:0|255\n"
                    "b,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,t,x,0,0,0,1,0,0\n"
                    "c,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,1:0|1,t,1,0,0,0,1,0,q\n");
    auto result = test::runCommand(fx("check '" + good + "' '" + bad + "'"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find(good + ": ok (2 particle types)"), std::string::npos);
    EXPECT_NE(result.out.find(bad + ":1: field 3 (colourB): missing"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(bad + ":2: field 11 (spawnnumber): \"x\" is not a number"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(bad + ":3: field 17 (Y): "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(bad + ": warning: no \"END\" line"), std::string::npos);
    EXPECT_EQ(result.out.find(bad + ": ok"), std::string::npos);
}

TEST(FxCheck, MissingFileAndUnlistedTexturesAreReported) {
    test::TempFolder folder;
    auto missing = test::runCommand(fx("check '" + folder.file("nowhere.txt") + "'"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("nowhere.txt"), std::string::npos);

    std::filesystem::create_directories(folder.file("data/graphics"));
    test::writeFile(folder.file("data/graphics/resource list.txt"), "dot.png\r\nEND\r\n");
    test::writeFile(folder.file("good.txt"), kGood);
    auto result = test::runCommand(
        fx("check --data '" + folder.file("data") + "' '" + folder.file("good.txt") + "'"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.find("\"Dot.png\""), std::string::npos) << "found lower-cased";
    EXPECT_NE(result.out.find(":2: field 10 (texture): warning: the resource list has no "
                              "texture \"ring.png\""),
              std::string::npos)
        << result.out;
}

TEST(FxEval, PrintsValuesInTheStandardForm) {
    auto result = test::runCommand(
        fx("eval --seed 0.25 '1+2*3' '8/4/2' ' 2 * pi ' 'seed*10' '1/0' '-1/0' '0/0' '0.00001'"));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "9\n4\n6.28318530717958\n2.5\ninf\n-inf\nnan\n1E-05\n");
}

TEST(FxEval, SameGeneratorSeedGivesSameDraws) {
    auto first = test::runCommand(fx("eval --rng 42 'rnd(0&1)' 'rnd(5&6)'"));
    auto second = test::runCommand(fx("eval --rng 42 'rnd(0&1)' 'rnd(5&6)'"));
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, second.out);
    EXPECT_NE(first.out, test::runCommand(fx("eval --rng 43 'rnd(0&1)' 'rnd(5&6)'")).out);
}

TEST(FxEval, MalformedExpressionIsAnErrorOnStderr) {
    auto result = test::runCommand(fx("eval '1+1' 'sin(pi/2)'"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "2\n");
    EXPECT_EQ(result.err.rfind("error: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("sin(pi/2)"), std::string::npos);
}

TEST(FxShow, ListsTypesAndTracks) {
    test::TempFolder folder;
    test::writeFile(folder.file("good.txt"), kGood);
    auto result = test::runCommand(fx("show '" + folder.file("good.txt") + "'"));
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("type 0: \"spark\""), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("3 per spawn"), std::string::npos);
    EXPECT_NE(result.out.find("at 0 s: rnd(-9&9)"), std::string::npos);
    EXPECT_NE(result.out.find("type 1: \"ring\""), std::string::npos);
}

TEST(FxRender, WritesTheWholeSurface) {
    test::TempFolder folder;
    test::writeProgramFolder(folder.file("data"), {"dot.png", "END"});
    test::writeFile(folder.file("fx.txt"), kGood);
    auto result = test::runCommand(fx("render '" + folder.file("fx.txt") + "' --data '" +
                                      folder.file("data") + "' --out '" + folder.file("out.png") +
                                      "' --at 0.25 --rng 3"));
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    auto size = test::pngSize(folder.file("out.png"));
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 768);
}

TEST(FxRender, BrokenEffectFailsWithTheFileNamed) {
    test::TempFolder folder;
    test::writeProgramFolder(folder.file("data"), {"dot.png", "END"});
    test::writeFile(folder.file("fx.txt"), "x,1\nEND\n");
    auto result =
        test::runCommand(fx("render '" + folder.file("fx.txt") + "' --data '" +
                            folder.file("data") + "' --out '" + folder.file("out.png") + "'"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(folder.file("fx.txt") + ":1: field 2 (colourG)"), std::string::npos)
        << result.err;
}

TEST(FxPreview, NeedsTheProgramFolderAndOneFile) {
    auto noData = test::runCommand(fx("preview effect.txt"));
    EXPECT_EQ(noData.status, 2);
    EXPECT_NE(noData.err.find("--data is required"), std::string::npos) << noData.err;
    auto twoFiles = test::runCommand(fx("preview a.txt b.txt --data ."));
    EXPECT_EQ(twoFiles.status, 2);
    EXPECT_NE(twoFiles.err.find("preview takes one effect file"), std::string::npos)
        << twoFiles.err;
}
