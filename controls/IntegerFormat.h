#pragma once

#include <QString>
#include <cstdint>

// An integer item's value as its display format shows it ("%d mm" → "50 mm"). Only "%d" (the
// first one) and "%%" are understood: a display format never reaches printf. Empty means "%d".
QString formatInteger(const QString& format, std::int32_t value);
