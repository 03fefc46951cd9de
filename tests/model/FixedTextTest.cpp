#include <gtest/gtest.h>

#include "model/FixedText.h"
#include "model/GbkCodec.h"
#include "model/StoredText.h"

TEST(FixedText, KeepsAtMostWidthLessOneByteAndItsTerminator) {
    FixedText<50> name;
    name.assign(std::string(49, 'a'));
    EXPECT_EQ(name.view().size(), 49u);
    name.assign(std::string(60, 'b'));
    EXPECT_EQ(name.view(), std::string(49, 'b'));
    EXPECT_EQ(name.c_str()[49], '\0');

    FixedText<5> code("H0011");
    EXPECT_EQ(code.view(), "H001");
    code.assign("Z");
    EXPECT_EQ(code.view(), "Z");  // the old tail is gone
    EXPECT_EQ(code.front(), 'Z');
}

TEST(FixedText, CutsAtDoubleByteCharacterBoundary) {
    std::string chinese;
    for (int i = 0; i < 25; ++i) chinese += gbk::fromUtf8("钢");
    ASSERT_EQ(chinese.size(), 50u);

    FixedText<50> even(chinese);  // 24 characters fit, half of the 25th must not
    EXPECT_EQ(even.view().size(), 48u);

    FixedText<50> odd("A" + chinese);  // 1 + 24 × 2 = 49 bytes fill the field exactly
    EXPECT_EQ(odd.view().size(), 49u);
    EXPECT_EQ(gbk::toUtf8(odd.view()).substr(0, 4), "A钢");

    // 16 bytes of text, then double-byte characters: the 7th would need bytes 29 and 30.
    FixedText<30> mixed(gbk::fromUtf8("仪器型号ABC-1234钢筋保护层测定仪"));
    EXPECT_EQ(mixed.view().size(), 28u);
    EXPECT_EQ(gbk::toUtf8(mixed.view()), "仪器型号ABC-1234钢筋保护层测");
}

TEST(GbkCodec, ConvertsBothWaysAndReplacesWhatItCannotHold) {
    EXPECT_EQ(gbk::fromUtf8("保护层厚度"), "\xB1\xA3\xBB\xA4\xB2\xE3\xBA\xF1\xB6\xC8");
    EXPECT_EQ(gbk::toUtf8("\xB1\xA3\xBB\xA4\xB2\xE3"), "保护层");
    // A lone lead byte at the end, and a lead byte with an impossible trail byte.
    EXPECT_EQ(gbk::toUtf8("A\xB1"), "A\xEF\xBF\xBD");
    EXPECT_EQ(gbk::toUtf8("\xB1\x20Z"), "\xEF\xBF\xBD Z");
    // An emoji has no GBK form.
    EXPECT_EQ(gbk::fromUtf8("a😀b"), "a?b");
    EXPECT_EQ(gbk::fromUtf16(u"x\xD800y"), "x?y");
}

TEST(StoredText, NamesEachCharacterGbkCannotHoldOnceInOrder) {
    const std::pair<const char*, const char*> cases[] = {
        {"梁 A-1 €·", ""},  // € and · have GBK forms
        {"a?b", ""},        // a question mark typed is no lost character
        {"ñ?", "ñ"},       {"Añ€ß😀Zñ¥", "ñß😀¥"}, {"", ""},
    };
    for (const auto& [text, bad] : cases) {
        EXPECT_EQ(storedText::unstorableCharacters(text), bad) << text;
    }
}
