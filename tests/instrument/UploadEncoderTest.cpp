#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "InstrumentSamples.h"
#include "instrument/DemoInspection.h"
#include "instrument/InstrumentMemory.h"
#include "instrument/UploadDecoder.h"
#include "instrument/UploadEncoder.h"

using samples::withPoints;

namespace {

// Decoding what was encoded must give the components back exactly.
void expectRoundTrip(const ComponentList& list) {
    const Result<std::vector<std::uint8_t>> encoded = UploadEncoder::encode(list);
    ASSERT_TRUE(encoded.ok()) << encoded.message();
    const std::vector<std::uint8_t>& image = encoded.value();
    const std::int32_t n = UploadRecord::countFromHeader(image[0], image[1]);
    EXPECT_EQ(n, static_cast<std::int32_t>(list.size()));
    const UploadDecodeResult back = UploadDecoder::decode(image, n);
    EXPECT_EQ(back.droppedRecords, 0);
    EXPECT_EQ(back.components, list);
    if (!list.empty()) {
        // The transfer finds the payload's end from the last record alone.
        const auto last = std::span(image).subspan(32 + 13 * (list.size() - 1)).first<13>();
        EXPECT_EQ(UploadRecord::parse(last).payloadEnd(), image.size() - 32 - 13 * list.size());
    }
}

ComponentList variedComponents(unsigned seed, int count) {
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const std::string letters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    ComponentList list;
    for (int i = 0; i < count; ++i) {
        std::string code(1, "HZWP"[pick(0, 3)]);
        for (int k = 0; k < 3; ++k) code += letters[static_cast<std::size_t>(pick(0, 35))];
        Component c =
            samples::uploaded(code,
                              std::to_string(pick(0, 255)) + "/" + std::to_string(pick(0, 255)) +
                                  "/" + std::to_string(pick(0, 255)),
                              pick(0, 255));
        samples::Pairs h(static_cast<std::size_t>(pick(0, 20))), v;
        for (auto& [t, second] : h) t = pick(0, 255), second = pick(0, 255);
        if (code[0] == 'W' || code[0] == 'P') {
            for (auto& pair : h) pair.second = pick(0, 65535);
        }
        if (code[0] == 'W') {
            c.designDiameterVert = static_cast<std::int16_t>(pick(0, 255));
            v.resize(static_cast<std::size_t>(pick(0, 20)));
            for (auto& [t, position] : v) t = pick(0, 255), position = pick(0, 65535);
        }
        samples::addPoints(c, h);
        samples::addPoints(c, v, true);
        list.push_back(std::move(c));
    }
    return list;
}

}  // namespace

TEST(UploadEncoder, DecoderInvertsItOnVariedSets) {
    expectRoundTrip({});
    expectRoundTrip(DemoInspection::components());
    expectRoundTrip({withPoints("H000", {}), withPoints("W001", {{0, 0}}),
                     withPoints("H001", {{255, 0}}), withPoints("H001", {{0, 0}, {1, 0}})});
    samples::Pairs full(255, {255, 65535});
    expectRoundTrip({withPoints("W0ZZ", full, full), withPoints("Z999", {{0, 255}, {255, 0}}),
                     withPoints("P000", full)});
    for (unsigned seed : {1u, 2u, 3u}) expectRoundTrip(variedComponents(seed, 200));
    expectRoundTrip(variedComponents(4, static_cast<int>(InstrumentMemory::maxRecords)));
}

TEST(UploadEncoder, HeaderCountsInTwoHundredFiftyFives) {
    for (auto [n, byte0, byte1] : {std::tuple{254, 0, 254}, {255, 1, 0}, {843, 3, 78}}) {
        const ComponentList list(static_cast<std::size_t>(n), withPoints("H001", {}));
        const Result<std::vector<std::uint8_t>> image = UploadEncoder::encode(list);
        ASSERT_TRUE(image.ok());
        EXPECT_EQ(image.value()[0], byte0) << n;
        EXPECT_EQ(image.value()[1], byte1) << n;
    }
}

TEST(UploadEncoder, RefusesWhatTheInstrumentCannotHold) {
    const std::vector<std::pair<std::string, std::function<void(Component&)>>> cases{
        {"编号必须是4个字符", [](Component& c) { c.code = "W01", c.name = "W01"; }},
        {"编号只能由0-9和A-Z组成", [](Component& c) { c.code = "W0a1", c.name = "W0a1"; }},
        {"编号必须以H、Z、W或P开头", [](Component& c) { c.code = "X001", c.name = "X001"; }},
        {"名称必须与编号相同", [](Component& c) { c.name = "梁1"; }},
        {"日期“05/1/1”", [](Component& c) { c.date = "05/1/1"; }},
        {"日期“1/2”", [](Component& c) { c.date = "1/2"; }},
        {"日期“256/1/1”", [](Component& c) { c.date = "256/1/1"; }},
        {"钢筋直径设计值300超出0-255", [](Component& c) { c.designDiameter = 300; }},
        {"保护层厚度设计值必须为50，而不是40", [](Component& c) { c.designCover = 40; }},
        {"间距偏差值必须为3", [](Component& c) { c.spacingTolerance = 2; }},
        {"测点厚度256超出0-255", [](Component& c) { c.points[0].thickness = 256; }},
        {"测点厚度-1超出0-255", [](Component& c) { c.pointsVert[0].thickness = -1; }},
        {"测点直径必须为0", [](Component& c) { c.points[1].diameter = 12; }},
        {"测点位置65536超出0-65535", [](Component& c) { c.points[1].position = 65536; }},
        {"垂直测点数与测点不符", [](Component& c) { c.pointCountVert = 3; }},
    };
    for (const auto& [expected, spoil] : cases) {
        Component c = withPoints("W001", {{30, 100}, {31, 200}}, {{40, 150}});
        spoil(c);
        const Result<std::vector<std::uint8_t>> s =
            UploadEncoder::encode({withPoints("H001", {}), c});
        ASSERT_FALSE(s.ok()) << expected;
        EXPECT_NE(s.message().find(expected), std::string::npos) << s.message();
    }

    Component h = withPoints("H001", {{30, 0}});
    h.points[0].position = 5;  // a thickness point has no position to send
    EXPECT_FALSE(UploadEncoder::encode({h}).ok());
    EXPECT_FALSE(UploadEncoder::encode({withPoints("H001", {}, {{30, 0}})}).ok());

    const ComponentList tooMany(InstrumentMemory::maxRecords + 1, withPoints("H001", {}));
    EXPECT_NE(UploadEncoder::encode(tooMany).message().find("最多保存843个"), std::string::npos);

    // 43 full grids put the next record's values past the largest offset, 65535.
    const samples::Pairs full(255, {30, 100});
    const ComponentList huge(44, withPoints("W001", full, full));
    EXPECT_NE(UploadEncoder::encode(huge).message().find("偏移范围"), std::string::npos);
}
