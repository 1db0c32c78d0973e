// The text-file facility and the setup file read through it.
#include "engine/game_setup.h"
#include "engine/text_files.h"
#include "platform/replaced_files.h"
#include "support/engine_fixture.h"

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

TEST(TextFiles, ReadsLfAndCrLfLinesAndReportsReadingPastTheEnd) {
    TempFolder folder;
    EXPECT_EQ(readAll(folder.write("mixed.txt", "one\r\ntwo\nthree\r\n\r\nlast")),
              (std::vector<std::string>{"one", "two", "three", "", "last"}));
    EXPECT_TRUE(readAll(folder.write("empty.txt", "")).empty());

    TextReader reader(folder.write("short.txt", "first\r\nsecond\r\n"));
    EXPECT_EQ((std::tuple{reader.requireLine("a"), reader.requireLine("b")}),
              std::tuple("first", "second"));
    try {
        reader.requireLine("the player count");
        ADD_FAILURE() << "no error";
    } catch (const DataError& error) {
        EXPECT_EQ(std::tuple(error.file(), error.line()), std::tuple(folder.file("short.txt"), 3));
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

// Lines end in CR LF; a path may use either separator.
TEST(TextFiles, WritesCrLfAppendsOrReplacesAndPathsTakeBothSeparators) {
    TempFolder folder;
    const std::string path = folder.path() + "\\log.txt";
    using Mode = TextWriter::Mode;
    for (const auto& [mode, line, after] : {std::tuple{Mode::Replace, "alpha", "alpha\r\n"},
                                            {Mode::Append, "", "alpha\r\n\r\n"},
                                            {Mode::Replace, "gamma", "gamma\r\n"}}) {
        TextWriter writer(path, mode);
        writer.writeLine(line);
        writer.close();
        EXPECT_EQ(readFile(folder.file("log.txt")), after) << line;
    }
    EXPECT_EQ(parentFolder(folder.path() + "\\sub\\file.txt"), folder.path() + "/sub");
    EXPECT_EQ(
        std::tuple(fileNamePart("a/b\\c.png"), parentFolder("plain.png"), parentFolder("/top")),
        std::tuple("c.png", "", "/"));
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
        EXPECT_THROW(
            {
                TextWriter writer(path);
                writer.writeLine(std::string(1 << 20, 'x'));
                writer.close();
            },
            DataError);
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

TEST(TextFiles, FoldersAreMadeOneLevelAtATimeAndRemovedWithReadOnlyFilesInThem) {
    TempFolder folder;
    const std::string sub = folder.file("temp");
    EXPECT_TRUE(createFolder(folder.path() + "\\temp"));
    EXPECT_EQ(std::tuple(folderExists(sub), fileExists(sub)), std::tuple(true, false));
    EXPECT_FALSE(createFolder(folder.file("missing/child")));
    writeFile(sub + "/locked.txt", "x");
    std::filesystem::permissions(sub + "/locked.txt", std::filesystem::perms::owner_read);
    EXPECT_TRUE(deleteFile(sub + "/locked.txt"));
    EXPECT_EQ(std::tuple(fileExists(sub + "/locked.txt"), deleteFile(sub + "/locked.txt")),
              std::tuple(false, false));
    writeFile(sub + "/deep/inner.txt", "x");
    EXPECT_TRUE(deleteFolder(sub));
    EXPECT_FALSE(folderExists(sub));
}

using Keys = std::array<std::string, 5>;

class GameSetupTest : public EngineTest {
  protected:
    void SetUp() override { resetGameSetup(); }

    void writeSetup(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        folder.write("game setup.txt", text);
    }
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
    const std::pair<const char*, std::optional<bool>> forms[] = {
        {"True", true},       {"TRUE", true},       {"false", false},      {"fAlSe", false},
        {"0", false},         {"1", true},          {"-1", true},          {"2.5", true},
        {" true ", true},     {"0.0", false},       {"yes", std::nullopt}, {"", std::nullopt},
        {"on", std::nullopt}, {"nan", std::nullopt}};
    for (const auto& [text, value] : forms) {
        EXPECT_EQ(switchValue(text), value) << text;
    }
    writeSetup({"1", "False", "-1", "1", "up", "down", "left", "right", "space"});
    loadGameSetup();
    EXPECT_EQ(std::tuple(fullScreen, hitEffects, onlineEnabled), std::tuple(true, false, true));
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
    std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"true"}, ":2: "},
        {{"0", "0", "0"}, ":4: "},
        {{"1", "0", "yes", "1"}, ":3: onlineEnabled"}};
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
