#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QStringView>
#include <string>

// The canonical form of a JSON value (RFC 8785, JSON Canonicalization Scheme): object keys
// sorted by their UTF-16 code units, no white space, strings with only the escapes JSON
// requires, numbers as ECMAScript prints them. Two programs that agree on a value agree on
// these bytes, which is what a hash over an entry needs.
std::string canonicalJson(const QJsonValue& value);
// The same for `object` without its member `skipped`, appended to `out`.
void appendCanonicalJson(std::string& out, const QJsonObject& object, QStringView skipped);
