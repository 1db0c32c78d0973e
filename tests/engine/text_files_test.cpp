// The text-file facility and the setup file read through it.
#include "engine/app_path.h"
#include "engine/game_setup.h"
#include "engine/text_files.h"
#include "platform/replaced_files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>

namespace vastorim::test {
namespace {

std::vector<std::string> readAll(const std::string& path) {
    TextReader reader(path);
    std::vector<std::string> lines;
    for (std::string line; reader.readLine(line);) {
        lines.push_back(line);
    }
    return lines;
}

void writeLines(const std::string& path, const std::vector<std::string>& lines,
                TextWriter::Mode mode = TextWriter::Mode::Replace) {
    TextWriter writer(path, mode);
    for (const std::string& line : lines) {
        writer.writeLine(line);
    }
    writer.close();
}

TEST(TextFiles, ReadsLfAndCrLfLinesAndReportsReadingPastTheEnd) {
    TempFolder folder;
    EXPECT_EQ(readAll(folder.write("mixed.txt", "one\r\ntwo\nthree\r\n\r\nlast")),
              (std::vector<std::string>{"one", "two", "three", "", "last"}));
    EXPECT_TRUE(readAll(folder.write("empty.txt", "")).empty());

    TextReader reader(folder.write("short.txt", "first\r\nsecond\r\n"));
    EXPECT_EQ(reader.requireLine("a name"), "first");
    EXPECT_EQ(reader.requireLine("a name"), "second");
    try {
        reader.requireLine("the player count");
        ADD_FAILURE() << "no error";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file("short.txt"));
        EXPECT_EQ(error.line(), 3);
        EXPECT_NE(error.message().find("the player count"), std::string::npos);
    }
    std::string line = "left over";
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line, "");
    for (const std::string& unreadable : {folder.file("absent.txt"), folder.path()}) {
        EXPECT_EQ(errorOf([&] { TextReader{unreadable}; }), unreadable + ":0: ");
    }
    EXPECT_THROW(TextWriter(folder.file("no/such/folder.txt")), DataError);
}

TEST(TextFiles, WritesCrLfAppendsOrReplaces) {
    TempFolder folder;
    std::string path = folder.file("log.txt");
    writeLines(path, {"alpha", ""});
    EXPECT_EQ(readFile(path), "alpha\r\n\r\n");
    writeLines(path, {"beta"}, TextWriter::Mode::Append);
    EXPECT_EQ(readFile(path), "alpha\r\n\r\nbeta\r\n");
    writeLines(path, {"gamma"});
    EXPECT_EQ(readFile(path), "gamma\r\n");
}

// Every way a replacement can fail leaves the old file and nothing beside it.
TEST(TextFiles, AFailedOrAbandonedWriteLeavesTheOldFileAndNoTemporary) {
    TempFolder folder;
    const std::string path = folder.file("game setup.txt");
    const auto outOfRoom = [&] {
        // A file-size limit stands in for a full disk: writes past it fail.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small{4096, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_THROW(writeLines(path, {std::string(1 << 20, 'x')}), DataError);
        setrlimit(RLIMIT_FSIZE, &old);
    };
    const std::function<void()> failures[] = {
        outOfRoom, [&] { TextWriter(path).writeLine("dropped before close"); },
        [&] { platform::ReplacementFile(path).write("abandoned"); }};
    for (const auto& fail : failures) {
        writeFile(path, "old\r\n");
        fail();
        EXPECT_EQ(readFile(path), "old\r\n");
        EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"game setup.txt"});
    }
}

TEST(TextFiles, PathsTakeBothSeparatorsAndFoldersCanBeMadeAndRemoved) {
    TempFolder folder;
    const std::string windowsStyle = folder.path() + "\\sub\\file.txt";
    ASSERT_TRUE(createFolder(folder.path() + "\\sub"));
    writeLines(windowsStyle, {"x"});
    EXPECT_EQ(readAll(folder.file("sub/file.txt")), std::vector<std::string>{"x"});
    EXPECT_EQ(parentFolder(windowsStyle), folder.path() + "/sub");
    EXPECT_EQ(fileNamePart("a/b\\c.png"), "c.png");
    EXPECT_EQ(parentFolder("plain.png"), "");
    EXPECT_EQ(parentFolder("/top"), "/");

    const std::string sub = folder.file("temp");
    EXPECT_TRUE(createFolder(sub));
    EXPECT_TRUE(folderExists(sub));
    EXPECT_FALSE(fileExists(sub));
    EXPECT_FALSE(createFolder(folder.file("missing/child")));
    writeFile(sub + "/locked.txt", "x");
    std::filesystem::permissions(sub + "/locked.txt", std::filesystem::perms::owner_read);
    EXPECT_TRUE(deleteFile(sub + "/locked.txt"));
    EXPECT_FALSE(fileExists(sub + "/locked.txt"));
    EXPECT_FALSE(deleteFile(sub + "/locked.txt"));
    writeFile(sub + "/deep/inner.txt", "x");
    EXPECT_TRUE(deleteFolder(sub));
    EXPECT_FALSE(folderExists(sub));
}

using Keys = std::array<std::string, 5>;

class GameSetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setAppPath(folder.path());
        resetGameSetup();
    }
    void TearDown() override { setAppPath("."); }

    void writeSetup(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        folder.write("game setup.txt", text);
    }

    TempFolder folder;
};

TEST_F(GameSetupTest, AFirstStartWritesTheDefaultSetupAndSaysSo) {
    ::testing::internal::CaptureStderr();
    loadGameSetup();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("game setup.txt"), std::string::npos);
    EXPECT_EQ(readFile(folder.file("game setup.txt")),
              "false\r\ntrue\r\nfalse\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
    EXPECT_EQ(std::tuple(fullScreen, hitEffects, onlineEnabled), std::tuple(false, true, false));
    ::testing::internal::CaptureStderr();
    loadGameSetup();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(GameSetupTest, SwitchesAreWordsInAnyCaseOrNumbers) {
    const std::pair<std::string, bool> forms[] = {
        {"True", true}, {"TRUE", true}, {"false", false}, {"fAlSe", false}, {"0", false},
        {"1", true},    {"-1", true},   {"2.5", true},    {" true ", true}, {"0.0", false}};
    for (const auto& [text, value] : forms) {
        writeSetup({text, text, "True", "1", "up", "down", "left", "right", "space"});
        loadGameSetup();
        EXPECT_EQ(fullScreen, value) << text;
        EXPECT_EQ(hitEffects, value) << text;
        EXPECT_TRUE(onlineEnabled);
    }
}

TEST_F(GameSetupTest, EachPlayerHasFiveKeyNamesAndMissingOnesAreUnbound) {
    writeSetup({"0", "0", "0", "2", "w", "s", "a", "d", "control", "up", "down", "left", "right",
                "space", "extra line"});
    const auto players = readPlayerKeyNames();
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].names, (Keys{"w", "s", "a", "d", "control"}));
    EXPECT_EQ(players[1].names, (Keys{"up", "down", "left", "right", "space"}));

    writeSetup({"0", "0", "0", "2", "w", "s", "a", "d", "control", "up", "down"});
    EXPECT_EQ(readPlayerKeyNames()[1].names, (Keys{"up", "down", "", "", ""}));
}

TEST_F(GameSetupTest, BadSwitchesAndPlayerCountsAreErrorsNamingLineAndField) {
    std::vector<std::pair<std::vector<std::string>, std::string>> cases{{{"true"}, ":2: "},
                                                                        {{"0", "0", "0"}, ":4: "}};
    for (const std::string bad : {"yes", "", "on", "nan"}) {
        cases.push_back({{"true", "false", bad, "1"}, ":3: onlineEnabled"});
    }
    for (const std::string bad : {"0", "-1", "1.5", "two", "", "1e9", "inf"}) {
        cases.push_back({{"0", "0", "0", bad, "up", "down", "left", "right", "space"},
                         ":4: number of players"});
    }
    const auto loadAll = [] {
        loadGameSetup();
        readPlayerKeyNames();
    };
    for (const auto& [lines, place] : cases) {
        writeSetup(lines);
        EXPECT_EQ(errorOf(loadAll), folder.file("game setup.txt") + place)
            << ::testing::PrintToString(lines);
    }
    writeSetup({"true\r", "tr\rue\x1b"}); // control characters are shown, not printed
    EXPECT_TRUE(messageOf(loadAll).ends_with("found \"tr\\rue\\x1b\"")) << messageOf(loadAll);
}

} // namespace
} // namespace vastorim::test
