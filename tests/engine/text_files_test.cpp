#include "engine/error_place.h"
#include "engine/text_files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

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
        EXPECT_EQ(errorOf([&] { TextReader{unreadable}; }).file, unreadable);
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

} // namespace
} // namespace vastorim::test
