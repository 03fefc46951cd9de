#include <gtest/gtest.h>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/GbkCodec.h"
#include "support/ModelSamples.h"

using samples::bytesOf;

namespace {

std::string encodeString(std::string_view text) {
    std::string out;
    ArchiveWriter(out).writeString(text);
    return out;
}

std::string prefixOf(const std::string& encoded, std::size_t textLength) {
    return encoded.substr(0, encoded.size() - textLength);
}

}  // namespace

TEST(Archive, IntegersAreLittleEndianAndSigned) {
    std::string out;
    ArchiveWriter w(out);
    w.writeInt16(-2);
    w.writeInt16(0x1234);
    w.writeInt32(-1);
    w.writeInt32(0x01020304);
    EXPECT_EQ(out, std::string("\xFE\xFF\x34\x12\xFF\xFF\xFF\xFF\x04\x03\x02\x01", 12));

    ArchiveReader r(bytesOf(out));
    std::int16_t a, b;
    std::int32_t c, d;
    ASSERT_TRUE(r.readInt16(a) && r.readInt16(b) && r.readInt32(c) && r.readInt32(d));
    EXPECT_EQ(a, -2);
    EXPECT_EQ(b, 0x1234);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(d, 0x01020304);
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(Archive, StringLengthFormsAtTheirBoundaries) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, std::string("\x00", 1)},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {0xFFFD, "\xFF\xFD\xFF"},
        {0xFFFE, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {0x10000, std::string("\xFF\xFF\xFF\x00\x00\x01\x00", 7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        const std::string encoded = encodeString(text);
        ASSERT_EQ(encoded.size(), c.prefix.size() + c.length);
        EXPECT_EQ(prefixOf(encoded, c.length), c.prefix);

        ArchiveReader r(bytesOf(encoded));
        std::string_view back;
        ASSERT_TRUE(r.readString(back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(r.remaining(), 0u);
    }
}

TEST(Archive, WideStringIsConvertedToGbk) {
    // 0xFF, tag 0xFFFE, then a one-byte length of 3 UTF-16 units: "A", "钢", "筋".
    const std::string wide(
        "\xFF\xFE\xFF\x03"
        "A\x00\xA2\x94\x4B\x7B",
        10);
    const std::string bytes = wide + "\x01Z";
    ArchiveReader r(bytesOf(bytes));
    std::string_view text;
    ASSERT_TRUE(r.readString(text));
    EXPECT_EQ(text, "A" + gbk::fromUtf8("钢筋"));
    EXPECT_EQ(gbk::toUtf8(text), "A钢筋");
    ASSERT_TRUE(r.readString(text));
    EXPECT_EQ(text, "Z");
}

TEST(Archive, WideStringWithTwoByteLength) {
    std::string wide("\xFF\xFE\xFF\xFF\x00\x01", 6);  // 256 units
    for (int i = 0; i < 256; ++i) wide += std::string("B\x00", 2);
    ArchiveReader r(bytesOf(wide));
    std::string_view text;
    ASSERT_TRUE(r.readString(text));
    EXPECT_EQ(text, std::string(256, 'B'));
}

TEST(Archive, ShortReadsFailWithoutMovingAndSayWhere) {
    const std::string cases[] = {
        std::string("\x05"
                    "abc"),                              // text shorter than its length
        std::string("\xFF\x10", 2),                      // 2-byte length cut
        std::string("\xFF\xFF\xFF\x00\x01", 5),          // 4-byte length cut
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7),  // 4 GiB announced, nothing there
        std::string("\xFF\xFE\xFF\x04"
                    "A\x00",
                    6),  // wide text cut
        std::string(),
    };
    for (const auto& bytes : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        ArchiveReader r(bytesOf(bytes));
        std::string_view text;
        EXPECT_FALSE(r.readString(text));
        EXPECT_EQ(r.position(), 0u);
        EXPECT_NE(r.error().find("文件不完整"), std::string::npos);
    }
    const std::string three("\x01\x02\x03", 3);
    ArchiveReader r(bytesOf(three));
    std::int16_t v16;
    std::int32_t v32;
    EXPECT_TRUE(r.readInt16(v16));
    EXPECT_FALSE(r.readInt32(v32));
    EXPECT_EQ(r.position(), 2u);
    EXPECT_EQ(r.error(), "文件不完整：在第 2 字节处需要 4 字节数据，只剩 1 字节。");
}
