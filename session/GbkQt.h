#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "model/GbkCodec.h"

// The widget boundary: stored GBK texts to QString and back.
inline QString fromGbk(std::string_view gbkText) {
    return QString::fromStdString(gbk::toUtf8(gbkText));
}

inline std::string toGbk(const QString& text) {
    return gbk::fromUtf8(text.toStdString());
}
