#include "protocol/score_key.h"
#include "protocol/update_lists.h"
#include "protocol/update_signing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <utility>

namespace vastorim {
namespace {

// Expected keys computed independently: printf 'NAME\nSCORE' | openssl dgst -sha256 -hmac SECRET
TEST(ScoreKey, IsTheHmacOfNameLineFeedAndScoreInLowerCaseHex) {
    EXPECT_EQ(scoreKey("AB CD", 1234, "Jefe"),
              "649f125366187b0897846f8ac34ef43bfca55a335710f70c5514e59a6cef03e9");
    EXPECT_EQ(scoreKey("PLAYER", 1235, "development secret"),
              "92125e3dbcbd0b14521d2e91b09d9a31a03cf5a2c796d4b35e231214a31fcad8");
    EXPECT_NE(scoreKey("PLAYER", 1235, "another secret"), scoreKey("PLAYER", 1235, "Jefe"));
}

TEST(UpdateSigning, DigestsAndBase64FollowTheirStandardsAndOnlyItsOwnKeyAndTextHoldASignature) {
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(base64Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(base64Decode("Zm8="), "fo");
    for (const char* text : {"Zm8", "Zm=8", "Z m8", "Zm8*"}) {
        EXPECT_EQ(base64Decode(text), std::nullopt) << text;
    }
    const SigningKey key = SigningKey::generate();
    const std::string signature = key.sign("11028\r\nEND\r\n");
    EXPECT_TRUE(signatureHolds(key.publicKey(), "11028\r\nEND\r\n", signature));
    EXPECT_FALSE(signatureHolds(key.publicKey(), "11029\r\nEND\r\n", signature));
    EXPECT_FALSE(signatureHolds(key.publicKey(), "11028\r\nEND\r\n", signature.substr(4)));
    EXPECT_EQ(SigningKey::fromPem(key.pem())->publicKey(), key.publicKey());
}

TEST(UpdateLists, AHashLineIsSha256HexSizeAndPathAndOnePathHasOneHash) {
    const std::string hex(64, 'a');
    std::string problem;
    const auto hashes = readHashLines(readListFile("END\nsha256 " + hex + " 3 a b\n"), problem);
    ASSERT_TRUE(hashes) << problem;
    EXPECT_EQ(hashes->at("a b").size, 3u);
    for (const std::string& line :
         {"sha256 " + hex.substr(1) + " 3 a", "sha256 " + hex + " -3 a", "sha256 " + hex + " 3",
          "sha256 " + std::string(64, 'A') + " 3 a",
          "sha256 " + hex + " 3 a\nsha256 " + hex + " 4 a"}) {
        EXPECT_FALSE(readHashLines(readListFile("a\nEND\n" + line + "\n"), problem)) << line;
    }
}

TEST(UpdateLists, APathIsRelativePlainAndNotTheUpdatersOwn) {
    for (const char* path : {"vastorim", "patch.dat", "graphics/resource list.txt", "temporary/x",
                             "graphics/client_inf.dat", "\xc3\xa9t\xc3\xa9.txt"}) {
        EXPECT_EQ(pathProblem(path), std::nullopt) << path;
    }
    EXPECT_EQ(pathProblem("a/"), "an empty, \".\" or \"..\" segment");
    EXPECT_EQ(pathProblem("GAME SETUP.TXT"), "a name the updater keeps for itself");
}

TEST(UpdateLists, AVersionIsASixteenBitWholeNumber) {
    const std::pair<const char*, std::optional<std::int16_t>> cases[] = {
        {"11026", 11026},        {" 7 ", 7},           {"-32768", -32768},
        {"32768", std::nullopt}, {"", std::nullopt},   {"1.5", std::nullopt},
        {"0x10", std::nullopt},  {"END", std::nullopt}};
    for (const auto& [line, version] : cases) {
        EXPECT_EQ(versionNumber(line), version) << line;
    }
}

} // namespace
} // namespace vastorim
