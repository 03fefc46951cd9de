#include <gtest/gtest.h>

#include "document/OriginText.h"

namespace {

const ValueOrigins::Stamp stamp{QStringLiteral("2026-12-07T10:41:05+08:00"),
                                QStringLiteral("zhang")};

ValueOrigins::Value value(QJsonValue original, QJsonValue current) {
    return {std::move(original), std::move(current), stamp};
}

}  // namespace

TEST(OriginTextTest, TellsWhatStoodThereAndWhoChangedIt) {
    ValueOrigins::Point twoEdited;
    twoEdited.fields = {{QStringLiteral("diameter"), value(16, 18)},
                        {QStringLiteral("thickness"), value(23, 25)}};
    ValueOrigins::Point byHand{true, stamp, {{QStringLiteral("thickness"), value(0, 30)}}};
    ValueOrigins::Point oneEdited;
    oneEdited.fields = {{QStringLiteral("thickness"), value(23, 25)}};
    const struct {
        QString text;
        QString expected;
    } cases[] = {
        {OriginText::ofValue(value(23, 25), true),
         QStringLiteral("仪器值 23 mm；2026-12-07 10:41 由 zhang 修改为 25 mm")},
        {OriginText::ofValue(value(23, 25), false),
         QStringLiteral("原值 23 mm；2026-12-07 10:41 由 zhang 修改为 25 mm")},
        {OriginText::ofValue(value(QStringLiteral("梁1"), QStringLiteral("梁2")), true),
         QStringLiteral("仪器值 “梁1”；2026-12-07 10:41 由 zhang 修改为 “梁2”")},
        {OriginText::ofValue(value(-5, 0), false),
         QStringLiteral("原值 -5 mm；2026-12-07 10:41 由 zhang 修改为 0 mm")},
        {OriginText::ofPoint(byHand, true, false),
         QStringLiteral("手工增加的测点（2026-12-07 10:41，zhang）")},
        {OriginText::ofPoint(oneEdited, true, false),
         QStringLiteral("仪器值 23 mm；2026-12-07 10:41 由 zhang 修改为 25 mm")},
        {OriginText::ofPoint(twoEdited, false, true),
         QStringLiteral("直径：原值 16 mm；2026-12-07 10:41 由 zhang 修改为 18 mm\n"
                        "厚度：原值 23 mm；2026-12-07 10:41 由 zhang 修改为 25 mm")},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, c.expected);
}
