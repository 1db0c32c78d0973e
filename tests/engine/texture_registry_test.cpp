#include "engine/surface_fixture.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/mod_game_load.h"
#include "engine/mod_res_textures.h"

namespace vastorim::test {
namespace {

using TextureRegistry = SurfaceTest;

// The file a failing load names, or a note that it did not fail.
template <typename Load> std::string fileOfError(Load load, int* line = nullptr) {
    try {
        load();
    } catch (const DataError& error) {
        if (line != nullptr) {
            *line = error.line();
        }
        return error.file();
    }
    return "(no error)";
}

TEST_F(TextureRegistry, LowerCasesOnlyTheQuery) {
    EXPECT_EQ(findTexture("ship.png"), -1);
    addTexture("ship.png", 0xffffffff);
    addTexture("Rock.png", 0xffffffff);
    EXPECT_EQ(findTexture("ship.png"), 0);
    EXPECT_EQ(findTexture("Ship.PNG"), 0);
    EXPECT_EQ(findTexture("ship"), -1);
    // Stored with a capital: no query can match it.
    EXPECT_EQ(findTexture("Rock.png"), -1);
    EXPECT_EQ(findTexture("rock.png"), -1);
    EXPECT_EQ(lastTexture(), 1);
}

TEST_F(TextureRegistry, AFileNameAlreadyRegisteredAddsNothingUnlessItHasCapitals) {
    addTexture("ship.png", 0xffffffff);
    writePicture(folder.file("other/ship.png"), 8, 0xff00ff00);
    unsigned generation = textureGeneration();
    loadTexture(0, 0, folder.file("other/ship.png"));
    loadTexture(0, 0, folder.path() + "\\other\\ship.png");
    EXPECT_EQ(lastTexture(), 0);
    EXPECT_EQ(textureGeneration(), generation);

    addTexture("Rock.png", 0xffffffff);
    loadTexture(0, 0, folder.file("Rock.png"));
    EXPECT_EQ(lastTexture(), 2);
    EXPECT_NE(textureGeneration(), generation);
}

TEST_F(TextureRegistry, ResetEmptiesTheRegistry) {
    addTexture("ship.png", 0xffffffff);
    unsigned generation = textureGeneration();
    resetTextureList();
    EXPECT_EQ(lastTexture(), -1);
    EXPECT_EQ(findTexture("ship.png"), -1);
    EXPECT_NE(textureGeneration(), generation);
}

TEST_F(TextureRegistry, UnreadablePictureIsAnErrorNamingTheFile) {
    writeFile(folder.file("broken.png"), "not a picture");
    EXPECT_EQ(fileOfError([&] { loadTexture(0, 0, folder.file("broken.png")); }),
              folder.file("broken.png"));
    EXPECT_EQ(fileOfError([&] { loadTexture(0, 0, folder.file("absent.png")); }),
              folder.file("absent.png"));
    EXPECT_EQ(lastTexture(), -1);
}

class ResourceList : public SurfaceTest {
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

TEST_F(ResourceList, StopsAtEndOrAtTheEndOfTheFile) {
    writeProgramFolder(folder.path(), {"a.png", "END", "b.png"});
    loadResourceList();
    EXPECT_EQ(lastTexture(), 0);
    EXPECT_EQ(findTexture("a.png"), 0);

    resetTextureList();
    writeProgramFolder(folder.path(), {"a.png", "b.png", "sub/c.png"});
    loadResourceList();
    EXPECT_EQ(lastTexture(), 2);
    EXPECT_EQ(findTexture("c.png"), 2);
}

TEST_F(ResourceList, OnlyAnExactEndLineEndsTheList) {
    writeProgramFolder(folder.path(), {"a.png"});
    writeFile(folder.file("graphics/resource list.txt"), "a.png\nEnd\nEND\n");
    EXPECT_EQ(fileOfError(loadResourceList), folder.path() + "/graphics/End");
    EXPECT_EQ(lastTexture(), 0);
}

TEST_F(ResourceList, MissingListOrPictureOrEmptyLineNamesTheFile) {
    std::string list = folder.path() + "/graphics/resource list.txt";
    EXPECT_EQ(fileOfError(loadResourceList), list);

    writeFile(list, "gone.png\nEND\n");
    EXPECT_EQ(fileOfError(loadResourceList), folder.path() + "/graphics/gone.png");

    writeProgramFolder(folder.path(), {"a.png", "", "END"});
    int line = 0;
    EXPECT_EQ(fileOfError(loadResourceList, &line), list);
    EXPECT_EQ(line, 2);
}

} // namespace
} // namespace vastorim::test
