// vastorim-server keygen and publish, run as whoever publishes a release runs them.
#include "protocol/update_lists.h"
#include "support/running_server.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace vastorim::test {
namespace {

TEST(Publishing, KeygenWritesAKeyForItsOwnerOnceAndPrintsThePublicHalfForTheBuild) {
    const TempFolder folder;
    const std::string keygen =
        "'" VASTORIM_SERVER_PATH "' keygen --out '" + folder.file("k.pem") + "'";
    const CommandResult made = runCommand(keygen);
    const std::optional<SigningKey> key = SigningKey::fromPem(readFile(folder.file("k.pem")));
    ASSERT_TRUE(key) << made.err;
    EXPECT_NE(made.out.find("-DVASTORIM_UPDATE_PUBLIC_KEY=" + key->publicKey() + "\n"),
              std::string::npos);
    EXPECT_EQ(fs::status(folder.file("k.pem")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(runCommand(keygen).status, 1);
    EXPECT_EQ(SigningKey::fromPem(readFile(folder.file("k.pem")))->publicKey(), key->publicKey());
}

TEST(Publishing, AReleaseThatCannotBePublishedIsRefusedWithItsReasonAndWritesNothing) {
    const TempFolder release, client;
    release.write("a.txt", "a");
    release.write("not a key.pem", "key");
    ASSERT_EQ(publishRelease(release.path(), client.path(), "--version 11027 a.txt").status, 0);
    const std::string versions = readFile(client.file("client_inf.dat"));
    // The options after --key and --client-dir, the exit status, a part of the message.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"--version 11027 a.txt", 1, "is not newer than 11027"},
        {"--version 11026 a.txt", 1, "is not newer than 11027"},
        {"--version 11028 ../a.txt", 1, "a list may not name it"},
        {"--version 11028 missing.txt", 1, "not a file that can be read"},
        {"--version 11028 --key 'not a key.pem' a.txt", 1, "not an Ed25519 private key"},
        {"--version 011028 a.txt", 2, "expected a whole number from 1 to 32767"},
        {"--version 11028", 2, "no files to publish"},
        {"--version 11028 --colour red a.txt", 2, "unknown option \"--colour\""},
    };
    for (const auto& [options, status, message] : cases) {
        const CommandResult refused = publishRelease(release.path(), client.path(), options);
        EXPECT_EQ(refused.status, status) << options;
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
        EXPECT_EQ(readFile(client.file("client_inf.dat")), versions);
        EXPECT_FALSE(fs::exists(client.file("list/list_11028.dat")));
    }
}

} // namespace
} // namespace vastorim::test
