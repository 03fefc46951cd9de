#include <gtest/gtest.h>

#include "InstrumentSamples.h"
#include "instrument/UploadDecoder.h"

using samples::codes;
using samples::record;
using samples::stream;

namespace {

UploadDecodeResult decode(const std::vector<std::uint8_t>& bytes, std::int32_t n) {
    // An exact-size copy, so that a read past the end is caught by the sanitizers.
    const std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
    return UploadDecoder::decode(exact, n);
}

}  // namespace

TEST(UploadDecoder, DigitTextCoversEverySignedRange) {
    const std::vector<std::pair<int, std::string>> cases{
        {0, "0"}, {9, "9"},  {10, "A"},     {17, "H"},    {35, "Z"},
        {36, ""}, {127, ""}, {128, "-128"}, {200, "-56"}, {255, "-1"}};
    for (const auto& [byte, text] : cases) {
        EXPECT_EQ(UploadDecoder::DigitText(static_cast<std::uint8_t>(byte)), text) << byte;
    }
    const std::array<std::uint8_t, 4> h012{17, 0, 1, 2};
    EXPECT_EQ(UploadDecoder::typeText(h012), "H012");
}

TEST(UploadDecoder, OddCodeBytesShapeCodeNameAndType) {
    // 36-127 give no text, so a later byte can supply the type letter.
    const auto bytes = stream(0, 4,
                              {record({17, 200, 36, 5}, 1, 0), record({40, 35, 1, 2}, 1, 1),
                               record({200, 17, 0, 1}, 1, 3), record({36, 40, 127, 90}, 0, 0)},
                              {31, 32, 16, 0});
    const UploadDecodeResult r = decode(bytes, 4);
    ASSERT_EQ(r.components.size(), 2u);
    const Component& h = r.components.front();
    EXPECT_EQ(h.code.str(), "H-56");
    EXPECT_EQ(h.name.str(), "H-565");
    ASSERT_EQ(h.points.size(), 1u);
    EXPECT_EQ(h.points[0].thickness, 31);

    const Component& z = r.components.back();
    EXPECT_EQ(z.code.str(), "Z12");
    EXPECT_EQ(z.name.str(), "Z12");
    ASSERT_EQ(z.points.size(), 1u);
    EXPECT_EQ(z.points[0].thickness, 32);
    EXPECT_EQ(z.points[0].diameter, 16);
    EXPECT_EQ(r.droppedRecords, 0);
}

TEST(UploadDecoder, FieldsAndPointsFollowTheTypeTables) {
    UploadRecord h = record({17, 0, 0, 1}, 2, 0, 9);
    h.designDiameter = 12;
    h.designDiameterVert = 77;  // ignored outside grids, like m
    UploadRecord z = record({35, 0, 0, 1}, 2, 2);
    z.designDiameter = 20;
    UploadRecord p = record({25, 0, 0, 1}, 2, 6);
    UploadRecord w = record({32, 0, 0, 1}, 2, 12, 1);
    w.designDiameter = 14;
    w.designDiameterVert = 10;
    // H: 30 41 | Z: 25 20, 26 22 | P: 33 34, 0x07D0, 0xFFFF | W: 40 41, 48, 0x0010 0x0100, 0x0002
    const std::vector<std::uint8_t> payload{30, 41,   25,   20,   26,   22,   33,
                                            34, 0x07, 0xD0, 0xFF, 0xFF, 40,   41,
                                            48, 0x00, 0x10, 0x01, 0x00, 0x00, 0x02};
    const UploadDecodeResult r = decode(stream(0, 4, {h, z, p, w}, payload), 4);
    ASSERT_EQ(r.components.size(), 4u);
    auto it = r.components.begin();

    const Component& ch = *it++;
    EXPECT_EQ(ch.date.str(), "25/3/12");
    EXPECT_EQ(std::vector<std::int16_t>({ch.designDiameter, ch.designDiameterVert, ch.designCover,
                                         ch.designCoverVert, ch.designSpacing, ch.designSpacingVert,
                                         ch.diameterTolerance, ch.thicknessTolerance,
                                         ch.spacingTolerance, ch.pointCount, ch.pointCountVert}),
              std::vector<std::int16_t>({12, 0, 50, 0, 0, 0, 1, 1, 3, 2, 0}));
    EXPECT_EQ(ch.points, (std::vector<MeasurePoint>{{0, 30, 0}, {0, 41, 0}}));
    EXPECT_TRUE(ch.pointsVert.empty());

    const Component& cz = *it++;
    EXPECT_EQ(cz.designSpacing, 0);
    EXPECT_EQ(cz.points, (std::vector<MeasurePoint>{{20, 25, 0}, {22, 26, 0}}));

    const Component& cp = *it++;
    EXPECT_EQ(cp.designSpacing, 100);
    EXPECT_EQ(cp.designSpacingVert, 0);
    EXPECT_EQ(cp.points, (std::vector<MeasurePoint>{{0, 33, 2000}, {0, 34, 65535}}));

    const Component& cw = *it++;
    EXPECT_EQ(std::vector<std::int16_t>({cw.designDiameter, cw.designDiameterVert, cw.designCover,
                                         cw.designCoverVert, cw.designSpacing, cw.designSpacingVert,
                                         cw.pointCount, cw.pointCountVert}),
              std::vector<std::int16_t>({14, 10, 50, 50, 100, 100, 2, 1}));
    EXPECT_EQ(cw.points, (std::vector<MeasurePoint>{{0, 40, 16}, {0, 41, 256}}));
    EXPECT_EQ(cw.pointsVert, (std::vector<MeasurePoint>{{0, 48, 2}}));
}

TEST(UploadDecoder, DatesHaveNoLeadingZeros) {
    const std::vector<std::pair<std::array<std::uint8_t, 3>, std::string>> cases{
        {{5, 12, 1}, "12/1/5"},
        {{25, 11, 3}, "11/3/25"},
        {{0, 0, 0}, "0/0/0"},
        {{255, 255, 255}, "255/255/255"}};
    for (const auto& [bytes, text] : cases) {
        UploadRecord r = record({17, 0, 0, 1}, 0, 0);
        r.dateThird = bytes[0];
        r.dateFirst = bytes[1];
        r.dateSecond = bytes[2];
        const UploadDecodeResult d = decode(stream(0, 1, {r}, {}), 1);
        ASSERT_EQ(d.components.size(), 1u);
        EXPECT_EQ(d.components.front().date.str(), text);
    }
}

TEST(UploadDecoder, SkippedRecordsLeaveLaterOnesAtTheirOwnOffsets) {
    // "0…" and "-…" codes are skipped; duplicates, n = 0 and a grid with m = 0 are kept.
    const auto bytes = stream(
        0, 6,
        {record({0, 0, 0, 1}, 5, 0), record({17, 0, 0, 1}, 2, 5), record({255, 0, 0, 1}, 3, 0),
         record({17, 0, 0, 1}, 1, 7), record({25, 0, 0, 2}, 0, 0), record({32, 0, 0, 3}, 1, 8, 0)},
        {9, 9, 9, 9, 9, 21, 22, 23, 44, 0x01, 0x02});
    const UploadDecodeResult r = decode(bytes, 6);
    EXPECT_EQ(codes(r.components), (std::vector<std::string>{"H001", "H001", "P002", "W003"}));
    auto it = r.components.begin();
    EXPECT_EQ(it->points, (std::vector<MeasurePoint>{{0, 21, 0}, {0, 22, 0}}));
    EXPECT_EQ((++it)->points, (std::vector<MeasurePoint>{{0, 23, 0}}));
    EXPECT_TRUE((++it)->points.empty());
    ++it;
    EXPECT_EQ(it->points, (std::vector<MeasurePoint>{{0, 44, 258}}));
    EXPECT_TRUE(it->pointsVert.empty());
    EXPECT_EQ(it->pointCountVert, 0);
}

TEST(UploadDecoder, RecordsBeyondTheReceivedBytesAreDroppedAndDecodingGoesOn) {
    // Record 0's values run one byte past the end, record 1 points far beyond it, record 2
    // fits.
    auto bytes = stream(
        0, 3,
        {record({17, 0, 0, 1}, 4, 0), record({35, 0, 0, 2}, 1, 60000), record({17, 0, 0, 3}, 2, 1)},
        {1, 2, 3});
    UploadDecodeResult r = decode(bytes, 3);
    EXPECT_EQ(codes(r.components), (std::vector<std::string>{"H003"}));
    EXPECT_EQ(r.components.front().points, (std::vector<MeasurePoint>{{0, 2, 0}, {0, 3, 0}}));
    EXPECT_EQ(r.droppedRecords, 2);

    // Two more records announced than arrived: all five are beyond the bytes.
    r = decode(bytes, 5);
    EXPECT_TRUE(r.components.empty());
    EXPECT_EQ(r.droppedRecords, 5);

    bytes.resize(UploadRecord::headerAreaSize + 5);  // cut inside the first record
    EXPECT_EQ(decode(bytes, 1).droppedRecords, 1);
    EXPECT_TRUE(decode(bytes, 0).components.empty());
    EXPECT_TRUE(decode(bytes, -3).components.empty());
    EXPECT_EQ(decode({}, 65280).droppedRecords, 65280);
}

TEST(UploadDecoder, PayloadEndComesFromTheLastRecordsTypeDigit) {
    const std::vector<std::pair<UploadRecord, std::int32_t>> cases{
        {record({17, 0, 0, 1}, 10, 300, 7), 310}, {record({35, 0, 0, 1}, 10, 300), 320},
        {record({25, 0, 0, 1}, 10, 300), 330},    {record({32, 0, 0, 1}, 10, 300, 7), 351},
        {record({0, 17, 0, 1}, 10, 300), 0},      {record({200, 0, 0, 1}, 10, 300), 0}};
    for (const auto& [r, end] : cases) EXPECT_EQ(r.payloadEnd(), end) << int{r.codeDigits[0]};

    EXPECT_EQ(UploadRecord::countFromHeader(1, 0), 255);
    EXPECT_EQ(UploadRecord::countFromHeader(0, 255), 255);
    EXPECT_EQ(UploadRecord::countFromHeader(3, 78), 843);
}
