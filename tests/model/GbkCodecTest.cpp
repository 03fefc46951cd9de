#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "model/GbkCodec.h"

// One table for both converters (iconv's CP936, and code page 936 of Windows): the bytes are
// code page 936 as published, so the two agree with it and with each other.

namespace {

struct Text {
    std::string_view utf8;
    std::u16string_view utf16;
    std::string_view gbk;
};

constexpr Text roundTrips[] = {
    {"钢筋混凝土", u"钢筋混凝土", "\xB8\xD6\xBD\xEE\xBB\xEC\xC4\xFD\xCD\xC1"},
    {"检测教学楼", u"检测教学楼", "\xBC\xEC\xB2\xE2\xBD\xCC\xD1\xA7\xC2\xA5"},
    {"±5mm φ16", u"±5mm φ16",
     "\xA1\xC0"
     "5mm \xA6\xD5"
     "16"},
    {"①，。·—～", u"①，。·—～", "\xA2\xD9\xA3\xAC\xA1\xA3\xA1\xA4\xA1\xAA\xA1\xAB"},
    {"〇㎡é", u"〇㎡é", "\xA9\x96\xA9\x4F\xA8\xA6"},
    // Beyond GB2312: the GBK extension rows and the euro sign of code page 936.
    {"朱镕基喆€", u"朱镕基喆€", "\xD6\xEC\xE9\x46\xBB\xF9\x86\xB4\x80"},
};

TEST(GbkCodecTable, BothWaysAsCodePage936) {
    for (const Text& t : roundTrips) {
        EXPECT_EQ(gbk::fromUtf8(t.utf8), t.gbk) << t.utf8;
        EXPECT_EQ(gbk::fromUtf16(t.utf16), t.gbk) << t.utf8;
        EXPECT_EQ(gbk::toUtf8(t.gbk), t.utf8) << t.utf8;
    }
}

TEST(GbkCodecTable, WhatCannotBeConvertedIsReplacedAndTheRestKept) {
    const struct {
        std::string_view gbk, utf8;
    } toUtf8[] = {
        {"\xA2\xE3Z", "\xEF\xBF\xBD鉠"},  // an empty cell: its second byte starts a new pair
        {"\xFF\xFF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\x81", "\xEF\xBF\xBD"},
    };
    for (const auto& t : toUtf8) EXPECT_EQ(gbk::toUtf8(t.gbk), t.utf8) << t.utf8;

    const struct {
        std::string_view utf8, gbk;
    } fromUtf8[] = {
        {"Straße", "Stra?e"},
        {"\xC3(钢", "?(\xB8\xD6"},  // a sequence broken off takes only its own bytes
        {"\xFF钢", "?\xB8\xD6"},
        {"钢\xE9\x92", "\xB8\xD6?"},
    };
    for (const auto& t : fromUtf8) EXPECT_EQ(gbk::fromUtf8(t.utf8), t.gbk) << t.gbk;

    EXPECT_EQ(gbk::fromUtf16(u"钢\xDC00筋"), "\xB8\xD6?\xBD\xEE");
}

}  // namespace
