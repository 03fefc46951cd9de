#include "document/Sha256.h"

#ifdef CORVANE_OPENSSL
#include <openssl/evp.h>

#include <memory>
#else
#include <QCryptographicHash>
#endif

QByteArray sha256Hex(std::string_view bytes) {
#ifdef CORVANE_OPENSSL
    // Fetched once and a context per thread: OpenSSL 3 spends more on each than on a short
    // digest.
    static EVP_MD* const md = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    thread_local const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(
        EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (md && context && EVP_DigestInit_ex2(context.get(), md, nullptr) == 1 &&
        EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) == 1 &&
        EVP_DigestFinal_ex(context.get(), digest, &size) == 1) {
        return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(size))
            .toHex();
    }
    return {};  // cannot happen with the built-in digest; an empty hash matches no entry
#else
    return QCryptographicHash::hash(
               QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
               QCryptographicHash::Sha256)
        .toHex();
#endif
}
