#include "document/CanonicalJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace {

void appendString(std::string& out, QStringView text) {
    out += '"';
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end) {
        char32_t c = *p++;
        if (c >= 0xD800 && c <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // a lone surrogate, as Qt writes it in UTF-8
        }
        switch (c) {
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            case '\b':
                out += "\\b";
                continue;
            case '\f':
                out += "\\f";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (c < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xf];
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
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
    char buffer[32];
    // Whole numbers, which are nearly all a history holds, print as themselves.
    if (std::abs(v) < 9007199254740992.0 && v == std::trunc(v)) {
        out.append(buffer,
                   std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(v)).ptr);
        return;
    }
    if (v < 0) {
        out += '-';
        v = -v;
    }
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

void appendObject(std::string& out, const QJsonObject& object, QStringView skipped);
void appendSorted(std::string& out, const QJsonObject& object, QStringView skipped);

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
        case QJsonValue::Object:
            appendObject(out, value.toObject(), {});
            break;
    }
}

void appendObject(std::string& out, const QJsonObject& object, QStringView skipped) {
    // Qt keeps an object's keys sorted, and ASCII keys (all of ours) sort alike by its order
    // and by UTF-16 code units: they are written as they come. A key out of order starts again
    // with the members sorted.
    const std::size_t start = out.size();
    out += '{';
    QString previous;
    bool first = true;
    for (auto it = object.begin(); it != object.end(); ++it) {
        QString key = it.key();
        if (!skipped.isEmpty() && key == skipped) continue;
        if (!first && !(previous < key)) {
            out.resize(start);
            appendSorted(out, object, skipped);
            return;
        }
        if (!first) out += ',';
        first = false;
        appendString(out, key);
        out += ':';
        append(out, it.value());
        previous = std::move(key);
    }
    out += '}';
}

void appendSorted(std::string& out, const QJsonObject& object, QStringView skipped) {
    std::vector<std::pair<QString, QJsonValue>> members;
    for (auto it = object.begin(); it != object.end(); ++it) {
        QString key = it.key();
        if (skipped.isEmpty() || key != skipped) members.emplace_back(std::move(key), it.value());
    }
    std::sort(members.begin(), members.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    out += '{';
    bool first = true;
    for (const auto& [key, value] : members) {
        if (!first) out += ',';
        first = false;
        appendString(out, key);
        out += ':';
        append(out, value);
    }
    out += '}';
}

}  // namespace

std::string canonicalJson(const QJsonValue& value) {
    std::string out;
    append(out, value);
    return out;
}

void appendCanonicalJson(std::string& out, const QJsonObject& object, QStringView skipped) {
    appendObject(out, object, skipped);
}
