#pragma once

#include <QByteArray>
#include <string_view>

// SHA-256 of `bytes` as lower-case hex. The history hashes every entry on opening: OpenSSL's
// digest (which uses the processor's SHA instructions) where the build has it, Qt's otherwise.
QByteArray sha256Hex(std::string_view bytes);
