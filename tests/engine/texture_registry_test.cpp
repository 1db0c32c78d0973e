#include "engine/surface_fixture.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/mod_game_load.h"
#include "engine/mod_res_textures.h"

namespace vastorim::test {
namespace {

using TextureRegistry = SurfaceTest;

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
    try {
        loadTexture(0, 0, folder.file("broken.png"));
        FAIL() << "no error";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file("broken.png"));
    }
    EXPECT_THROW(loadTexture(0, 0, folder.file("absent.png")), DataError);
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
    try {
        loadResourceList();
        FAIL() << "no error";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.path() + "/graphics/End");
    }
    EXPECT_EQ(lastTexture(), 0);
}

TEST_F(ResourceList, MissingListOrPictureOrEmptyLineNamesTheFile) {
    try {
        loadResourceList();
        FAIL() << "no error";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.path() + "/graphics/resource list.txt");
    }

    writeFile(folder.file("graphics/resource list.txt"), "gone.png\nEND\n");
    try {
        loadResourceList();
        FAIL() << "no error";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.path() + "/graphics/gone.png");
    }

    writeProgramFolder(folder.path(), {"a.png", "", "END"});
    try {
        loadResourceList();
        FAIL() << "no error";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.path() + "/graphics/resource list.txt");
        EXPECT_EQ(error.line(), 2);
    }
}

} // namespace
} // namespace vastorim::test
