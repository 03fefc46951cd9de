#include "document/CanonicalJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

void appendString(std::string& out, const QString& text) {
    out += '"';
    for (const char c : text.toStdString()) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (u < 0x20) {
                    static const char hex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[u >> 4];
                    out += hex[u & 0xf];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

// ECMAScript's Number::toString: the shortest digits that read back as the same double,
// placed by the value's decimal exponent.
void appendNumber(std::string& out, double v) {
    if (!std::isfinite(v)) {  // JSON has no such numbers; a QJsonValue cannot hold one either
        out += "null";
        return;
    }
    if (v == 0) {
        out += '0';  // also -0
        return;
    }
    if (v < 0) {
        out += '-';
        v = -v;
    }
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific).ptr;
    const std::string sci(buffer, end);  // d[.ddd]e±XX
    const std::size_t e = sci.find('e');
    std::string digits = sci.substr(0, e);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    const int k = static_cast<int>(digits.size());
    const int n = std::stoi(sci.substr(e + 1)) + 1;  // value = 0.digits × 10^n
    if (k <= n && n <= 21) {
        out += digits + std::string(static_cast<std::size_t>(n - k), '0');
    } else if (0 < n && n <= 21) {
        out += digits.substr(0, static_cast<std::size_t>(n)) + '.' +
               digits.substr(static_cast<std::size_t>(n));
    } else if (-6 < n && n <= 0) {
        out += "0." + std::string(static_cast<std::size_t>(-n), '0') + digits;
    } else {
        out += digits.substr(0, 1);
        if (k > 1) out += '.' + digits.substr(1);
        out += (n - 1 < 0 ? "e-" : "e+") + std::to_string(std::abs(n - 1));
    }
}

void append(std::string& out, const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            out += "null";
            break;
        case QJsonValue::Bool:
            out += value.toBool() ? "true" : "false";
            break;
        case QJsonValue::Double:
            appendNumber(out, value.toDouble());
            break;
        case QJsonValue::String:
            appendString(out, value.toString());
            break;
        case QJsonValue::Array: {
            out += '[';
            bool first = true;
            for (const QJsonValue& element : value.toArray()) {
                if (!first) out += ',';
                first = false;
                append(out, element);
            }
            out += ']';
            break;
        }
        case QJsonValue::Object: {
            const QJsonObject object = value.toObject();
            QStringList keys = object.keys();
            // QString's order is that of UTF-16 code units, as the scheme asks.
            std::sort(keys.begin(), keys.end());
            out += '{';
            bool first = true;
            for (const QString& key : keys) {
                if (!first) out += ',';
                first = false;
                appendString(out, key);
                out += ':';
                append(out, object.value(key));
            }
            out += '}';
            break;
        }
    }
}

}  // namespace

std::string canonicalJson(const QJsonValue& value) {
    std::string out;
    append(out, value);
    return out;
}
