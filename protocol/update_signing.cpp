#include "protocol/update_signing.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <array>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace vastorim {
namespace {

constexpr std::size_t kRawKeyBytes = 32;
constexpr std::size_t kSignatureBytes = 64;

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

struct ContextDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using DigestContext = std::unique_ptr<EVP_MD_CTX, ContextDeleter>;

struct KeyDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};

struct BioDeleter {
    void operator()(BIO* bio) const { BIO_free(bio); }
};

std::string hexOf(const unsigned char* bytes, unsigned int length) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[bytes[i] >> 4];
        hex += kHex[bytes[i] & 0x0f];
    }
    return hex;
}

bool isBase64Character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/';
}

// An encrypted key would make OpenSSL ask for a passphrase on the terminal: there is none.
int noPassphrase(char*, int, int, void*) {
    return 0;
}

} // namespace

std::string base64Encode(std::string_view bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                       bytesOf(bytes), static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::optional<std::string> base64Decode(std::string_view text) {
    // EVP_DecodeBlock forgives blanks and padding out of place; the lists allow neither.
    const std::size_t padding =
        text.ends_with("==") ? 2 : static_cast<std::size_t>(text.ends_with("="));
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i + padding < text.size(); ++i) {
        if (!isBase64Character(text[i])) {
            return std::nullopt;
        }
    }
    std::string bytes(text.size() / 4 * 3, '\0');
    const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                       bytesOf(text), static_cast<int>(text.size()));
    if (length < 0) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(length) - padding);
    return bytes;
}

std::string sha256Hex(std::string_view bytes) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) !=
        1) {
        throw std::runtime_error("SHA-256 is not available");
    }
    return hexOf(digest.data(), length);
}

std::optional<FileDigest> digestFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const DigestContext context(EVP_MD_CTX_new());
    if (!file || !context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
        return std::nullopt;
    }
    FileDigest result;
    std::vector<char> buffer(1 << 16);
    while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
           file.gcount() > 0) {
        const auto count = static_cast<std::size_t>(file.gcount());
        EVP_DigestUpdate(context.get(), buffer.data(), count);
        result.size += count;
    }
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (file.bad() || EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1) {
        return std::nullopt;
    }
    result.sha256 = hexOf(digest.data(), length);
    return result;
}

bool signatureHolds(std::string_view publicKey, std::string_view message,
                    std::string_view signature) {
    const std::optional<std::string> raw = base64Decode(publicKey);
    const std::optional<std::string> signatureBytes = base64Decode(signature);
    if (!raw || raw->size() != kRawKeyBytes || !signatureBytes ||
        signatureBytes->size() != kSignatureBytes) {
        return false;
    }
    const std::unique_ptr<EVP_PKEY, KeyDeleter> key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, bytesOf(*raw), raw->size()));
    const DigestContext context(EVP_MD_CTX_new());
    return key && context &&
           EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1 &&
           EVP_DigestVerify(context.get(), bytesOf(*signatureBytes), signatureBytes->size(),
                            bytesOf(message), message.size()) == 1;
}

void SigningKey::Deleter::operator()(evp_pkey_st* key) const {
    KeyDeleter()(key);
}

SigningKey SigningKey::generate() {
    EVP_PKEY* key = EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519");
    if (key == nullptr) {
        throw std::runtime_error("cannot make an Ed25519 key");
    }
    return SigningKey(key);
}

std::optional<SigningKey> SigningKey::fromPem(std::string_view pem) {
    const std::unique_ptr<BIO, BioDeleter> bio(
        BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    EVP_PKEY* key =
        bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, noPassphrase, nullptr) : nullptr;
    if (key == nullptr) {
        return std::nullopt;
    }
    SigningKey result(key);
    if (EVP_PKEY_get_id(key) != EVP_PKEY_ED25519) {
        return std::nullopt;
    }
    return result;
}

std::string SigningKey::pem() const {
    const std::unique_ptr<BIO, BioDeleter> bio(BIO_new(BIO_s_mem()));
    char* data = nullptr;
    if (!bio || PEM_write_bio_PrivateKey(bio.get(), key_.get(), nullptr, nullptr, 0, nullptr,
                                         nullptr) != 1) {
        throw std::runtime_error("cannot write the key");
    }
    const long length = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(length));
}

std::string SigningKey::publicKey() const {
    std::string raw(kRawKeyBytes, '\0');
    std::size_t length = raw.size();
    if (EVP_PKEY_get_raw_public_key(key_.get(), reinterpret_cast<unsigned char*>(raw.data()),
                                    &length) != 1) {
        throw std::runtime_error("cannot read the public key");
    }
    raw.resize(length);
    return base64Encode(raw);
}

std::string SigningKey::sign(std::string_view message) const {
    std::string signature(kSignatureBytes, '\0');
    std::size_t length = signature.size();
    const DigestContext context(EVP_MD_CTX_new());
    if (!context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key_.get()) != 1 ||
        EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                       bytesOf(message), message.size()) != 1) {
        throw std::runtime_error("cannot sign");
    }
    signature.resize(length);
    return base64Encode(signature);
}

} // namespace vastorim
