#pragma once

#include <QString>
#include <cstdint>
#include <variant>

// What one field of a detail record holds: nothing (never set), a number or a text.
using ReportValue = std::variant<std::monostate, std::int32_t, QString>;

// The text a value prints as; empty when unset.
inline QString reportValueText(const ReportValue& value) {
    if (const auto* n = std::get_if<std::int32_t>(&value)) return QString::number(*n);
    if (const auto* t = std::get_if<QString>(&value)) return *t;
    return {};
}
