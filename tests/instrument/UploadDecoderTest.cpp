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

// Records written out byte by byte, as the instrument sends them, so that a field read from
// the wrong byte shows even where the encoder would make the same mistake.
TEST(UploadDecoder, FieldsAndPointsFollowTheTypeTables) {
    std::vector<std::uint8_t> bytes(UploadRecord::headerAreaSize, 0);
    bytes[1] = 4;
    // clang-format off
    const std::vector<std::uint8_t> records{
        // code          b4  n   b6  m   d3   d1  d2  off
        17, 0,  0,  1,   12, 2,  77, 9,  5,   12, 1,  0x00, 0x00,  // H001: b6 and m unused
        35, 0,  0,  2,   20, 2,  0,  0,  200, 11, 3,  0x00, 0x02,  // Z002
        25, 1,  2,  3,   14, 2,  0,  0,  25,  11, 3,  0x00, 0x06,  // P123
        32, 10, 11, 4,   16, 2,  10, 1,  25,  11, 3,  0x01, 0x02,  // WAB4, values at 258
    };
    const std::vector<std::uint8_t> values{
        30, 41,                          // H: thicknesses
        25, 20, 26, 22,                  // Z: thickness, diameter per point
        33, 34, 0x07, 0xD0, 0xFF, 0xFF,  // P: thicknesses, then positions
    };
    // clang-format on
    bytes.insert(bytes.end(), records.begin(), records.end());
    bytes.insert(bytes.end(), values.begin(), values.end());
    bytes.resize(bytes.size() + 258 - values.size(), 0xEE);
    // W: horizontal thicknesses, vertical ones, horizontal positions, vertical ones.
    const std::vector<std::uint8_t> grid{40, 41, 48, 0x00, 0x10, 0x01, 0x00, 0x00, 0x02};
    bytes.insert(bytes.end(), grid.begin(), grid.end());

    const UploadDecodeResult r = decode(bytes, 4);
    ASSERT_EQ(r.components.size(), 4u);
    EXPECT_EQ(r.droppedRecords, 0);
    auto it = r.components.begin();
    auto designs = [](const Component& c) {
        return std::vector<int>{c.designDiameter,    c.designDiameterVert, c.designCover,
                                c.designCoverVert,   c.designSpacing,      c.designSpacingVert,
                                c.diameterTolerance, c.thicknessTolerance, c.spacingTolerance,
                                c.pointCount,        c.pointCountVert};
    };

    const Component& h = *it++;
    EXPECT_EQ(h.code.str(), "H001");
    EXPECT_EQ(h.name.str(), "H001");
    EXPECT_EQ(h.date.str(), "12/1/5");  // bytes 9, 10, 8, without leading zeros
    EXPECT_EQ(designs(h), (std::vector<int>{12, 0, 50, 0, 0, 0, 1, 1, 3, 2, 0}));
    EXPECT_EQ(h.points, (std::vector<MeasurePoint>{{0, 30, 0}, {0, 41, 0}}));
    EXPECT_TRUE(h.pointsVert.empty());

    const Component& z = *it++;
    EXPECT_EQ(z.date.str(), "11/3/200");  // unsigned
    EXPECT_EQ(designs(z), (std::vector<int>{20, 0, 50, 0, 0, 0, 1, 1, 3, 2, 0}));
    EXPECT_EQ(z.points, (std::vector<MeasurePoint>{{20, 25, 0}, {22, 26, 0}}));

    const Component& p = *it++;
    EXPECT_EQ(p.code.str(), "P123");
    EXPECT_EQ(designs(p), (std::vector<int>{14, 0, 50, 0, 100, 0, 1, 1, 3, 2, 0}));
    EXPECT_EQ(p.points, (std::vector<MeasurePoint>{{0, 33, 2000}, {0, 34, 65535}}));

    const Component& w = *it++;
    EXPECT_EQ(w.code.str(), "WAB4");
    EXPECT_EQ(designs(w), (std::vector<int>{16, 10, 50, 50, 100, 100, 1, 1, 3, 2, 1}));
    EXPECT_EQ(w.points, (std::vector<MeasurePoint>{{0, 40, 16}, {0, 41, 256}}));
    EXPECT_EQ(w.pointsVert, (std::vector<MeasurePoint>{{0, 48, 2}}));
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
