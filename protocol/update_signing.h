#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct evp_pkey_st; // OpenSSL's EVP_PKEY

// Signatures and digests of the update directory, on OpenSSL's libcrypto: Ed25519 signatures
// and SHA-256 digests, written as base64 (standard alphabet, padded) and lower-case hex.
namespace vastorim {

std::string base64Encode(std::string_view bytes);
// Nothing when the text is not padded base64.
std::optional<std::string> base64Decode(std::string_view text);

std::string sha256Hex(std::string_view bytes);

struct FileDigest {
    std::string sha256; // lower-case hex
    std::uint64_t size = 0;
};
// The digest of a file read in pieces; nothing when it cannot be read.
std::optional<FileDigest> digestFile(const std::string& path);

// True when `signature` (base64) is the Ed25519 signature of `message` by the key whose raw
// 32 bytes `publicKey` gives in base64. Any malformed input is simply not a valid signature.
bool signatureHolds(std::string_view publicKey, std::string_view message,
                    std::string_view signature);

// An Ed25519 private key: made anew or read from its PEM (PKCS #8) text. Only whoever publishes
// a release holds one; the game holds the public half alone.
class SigningKey {
  public:
    static SigningKey generate();
    // Nothing when the text is not an Ed25519 private key in PEM form.
    static std::optional<SigningKey> fromPem(std::string_view pem);

    std::string pem() const;
    std::string publicKey() const;                    // raw 32 bytes in base64
    std::string sign(std::string_view message) const; // base64

  private:
    struct Deleter {
        void operator()(evp_pkey_st* key) const;
    };
    explicit SigningKey(evp_pkey_st* key) : key_(key) {}
    std::unique_ptr<evp_pkey_st, Deleter> key_;
};

} // namespace vastorim
