#include "engine/errors.h"
#include "engine/text_files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vastorim::test {
namespace {

std::vector<std::string> readAll(const std::string& path) {
    TextReader reader(path);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(TextFiles, ReadsLfAndCrLfLinesWithoutTheirEnds) {
    TempFolder folder;
    writeFile(folder.file("mixed.txt"), "one\r\ntwo\nthree\r\n\r\nlast");
    EXPECT_EQ(readAll(folder.file("mixed.txt")),
              (std::vector<std::string>{"one", "two", "three", "", "last"}));
    writeFile(folder.file("empty.txt"), "");
    EXPECT_TRUE(readAll(folder.file("empty.txt")).empty());
}

TEST(TextFiles, ReadingPastTheEndIsAnErrorNamingFileAndLine) {
    TempFolder folder;
    writeFile(folder.file("short.txt"), "first\r\nsecond\r\n");
    TextReader reader(folder.file("short.txt"));
    EXPECT_EQ(reader.requireLine("a name"), "first");
    EXPECT_EQ(reader.requireLine("a name"), "second");
    EXPECT_EQ(reader.lineNumber(), 2);
    try {
        reader.requireLine("the player count");
        FAIL() << "no error";
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), folder.file("short.txt"));
        EXPECT_EQ(error.line(), 3);
        EXPECT_NE(error.message().find("the player count"), std::string::npos);
    }
    std::string line = "left over";
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line, "");
}

TEST(TextFiles, OpeningAMissingFileOrAFolderIsAnError) {
    TempFolder folder;
    EXPECT_THROW(TextReader(folder.file("absent.txt")), DataError);
    EXPECT_THROW(TextReader(folder.path()), DataError);
    EXPECT_THROW(TextWriter(folder.file("no/such/folder.txt")), DataError);
}

TEST(TextFiles, WritesCrLfAndAppendsAfterTheEnd) {
    TempFolder folder;
    std::string path = folder.file("log.txt");
    {
        TextWriter writer(path);
        writer.writeLine("alpha");
        writer.writeLine("");
        writer.close();
    }
    EXPECT_EQ(readFile(path), "alpha\r\n\r\n");
    {
        TextWriter writer(path, TextWriter::Mode::Append);
        writer.writeLine("beta");
        writer.close();
    }
    EXPECT_EQ(readFile(path), "alpha\r\n\r\nbeta\r\n");
    {
        TextWriter writer(path);
        writer.writeLine("gamma");
        writer.close();
    }
    EXPECT_EQ(readAll(path), std::vector<std::string>{"gamma"});
}

TEST(TextFiles, BothSeparatorsWorkInPaths) {
    TempFolder folder;
    std::string windowsStyle = folder.path() + "\\sub\\file.txt";
    ASSERT_TRUE(createFolder(folder.path() + "\\sub"));
    {
        TextWriter writer(windowsStyle);
        writer.writeLine("x");
        writer.close();
    }
    EXPECT_TRUE(fileExists(folder.file("sub/file.txt")));
    EXPECT_TRUE(fileExists(windowsStyle));
    EXPECT_EQ(readAll(windowsStyle), std::vector<std::string>{"x"});
    EXPECT_EQ(parentFolder(windowsStyle), folder.path() + "/sub");
    EXPECT_EQ(fileNamePart(windowsStyle), "file.txt");
    EXPECT_EQ(fileNamePart("a/b\\c.png"), "c.png");
    EXPECT_EQ(fileNamePart("plain.png"), "plain.png");
    EXPECT_EQ(parentFolder("plain.png"), "");
    EXPECT_EQ(parentFolder("/top"), "/");
}

TEST(TextFiles, FolderOperations) {
    TempFolder folder;
    std::string sub = folder.file("temp");
    EXPECT_FALSE(folderExists(sub));
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

} // namespace
} // namespace vastorim::test
