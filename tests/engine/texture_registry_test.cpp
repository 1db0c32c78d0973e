#include "engine/surface_fixture.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/textures.h"

namespace vastorim::test {
namespace {

// The file and line a failing load names, or "(no error)".
template <typename Load> std::pair<std::string, int> errorOf(Load load) {
    try {
        load();
    } catch (const DataError& error) {
        return {error.file(), error.line()};
    }
    return {"(no error)", 0};
}

class TextureRegistry : public SurfaceTest {
  protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        setAppPath(folder.path());
    }
    void TearDown() override {
        setAppPath(".");
        SurfaceTest::TearDown();
    }
};

TEST_F(TextureRegistry, QueriesAreLowerCasedAndKnownFileNamesAddNothing) {
    addTexture("ship.png", 0xffffffff);
    addTexture("Rock.png", 0xffffffff);
    const std::pair<const char*, int> queries[] = {
        {"ship.png", 0}, {"Ship.PNG", 0}, {"ship", -1}, {"Rock.png", -1}, {"rock.png", -1}};
    for (const auto& [name, index] : queries) {
        EXPECT_EQ(findTexture(name), index) << name;
    }

    writePicture(folder.file("other/ship.png"), 8, 0xff00ff00);
    unsigned generation = textureGeneration();
    loadTexture(0, 0, folder.file("other/ship.png"));
    loadTexture(0, 0, folder.path() + "\\other\\ship.png");
    EXPECT_EQ(lastTexture(), 1);
    EXPECT_EQ(textureGeneration(), generation);
    // A stored name with capitals never matches, so it is loaded again.
    loadTexture(0, 0, folder.file("Rock.png"));
    EXPECT_EQ(lastTexture(), 2);
    EXPECT_NE(textureGeneration(), generation);

    generation = textureGeneration();
    resetTextureList();
    EXPECT_EQ(lastTexture(), -1);
    EXPECT_EQ(findTexture("ship.png"), -1);
    EXPECT_NE(textureGeneration(), generation);
}

TEST_F(TextureRegistry, TheListEndsAtAnExactEndLineOrAtTheEndOfTheFile) {
    writeProgramFolder(folder.path(), {"a.png", "END", "b.png"});
    loadResourceList();
    EXPECT_EQ(lastTexture(), 0);

    resetTextureList();
    writeProgramFolder(folder.path(), {"a.png", "b.png", "sub/c.png"});
    loadResourceList();
    EXPECT_EQ(lastTexture(), 2);
    EXPECT_EQ(findTexture("c.png"), 2);
}

TEST_F(TextureRegistry, BadListsAndPicturesAreErrorsNamingTheFile) {
    const std::string graphics = folder.path() + "/graphics/";
    EXPECT_EQ(errorOf(loadResourceList).first, graphics + "resource list.txt");
    struct Case {
        const char* list;
        std::string file;
        int line; // 0: any
    };
    const Case cases[] = {{"gone.png\nEND\n", graphics + "gone.png", 0},
                          {"a.png\nEnd\nEND\n", graphics + "End", 0},
                          {"a.png\n\nEND\n", graphics + "resource list.txt", 2}};
    writePicture(graphics + "a.png", 8, 0xffffffff);
    for (const Case& c : cases) {
        resetTextureList();
        writeFile(graphics + "resource list.txt", c.list);
        auto [file, line] = errorOf(loadResourceList);
        EXPECT_EQ(file, c.file) << c.list;
        EXPECT_TRUE(c.line == 0 || line == c.line) << c.list;
    }
    writeFile(folder.file("broken.png"), "not a picture");
    for (const std::string& picture : {folder.file("broken.png"), folder.file("absent.png")}) {
        EXPECT_EQ(errorOf([&] { loadTexture(0, 0, picture); }).first, picture);
    }
}

} // namespace
} // namespace vastorim::test
