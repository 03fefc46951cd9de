#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "InstrumentSamples.h"
#include "instrument/DemoInspection.h"
#include "instrument/InstrumentMemory.h"
#include "instrument/SimulatedInstrument.h"
#include "support/TempDir.h"

using samples::withPoints;

namespace {

Result<MemoryImage> fromBytes(std::vector<std::uint8_t> bytes) {
    return MemoryImage::fromBytes(std::move(bytes));
}

}  // namespace

TEST(MemoryImage, RecordsSitAtZeroAndThePayloadAtElevenThousand) {
    const MemoryImage image =
        samples::imageOf({withPoints("H001", {{30, 0}, {41, 0}}), withPoints("Z001", {{25, 16}})});
    ASSERT_EQ(image.recordCount(), 2);
    const std::vector<std::uint8_t> memory = image.memory();
    ASSERT_EQ(memory.size(), 11000u + 4);
    EXPECT_TRUE(std::equal(image.bytes().begin(), image.bytes().begin() + 58, memory.begin()));
    EXPECT_TRUE(
        std::all_of(memory.begin() + 58, memory.begin() + 11000, [](auto b) { return b == 0; }));
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 11000, memory.end()),
              (std::vector<std::uint8_t>{30, 41, 25, 16}));
}

TEST(MemoryImage, RefusedExactlyPastTheLimitsOfTheInstrumentsMemory) {
    // A header announcing n records, zeros up to `length` bytes.
    auto image = [](int n, std::size_t length) {
        std::vector<std::uint8_t> bytes(length, 0);
        if (length >= 2) {
            bytes[0] = static_cast<std::uint8_t>(n / 255);
            bytes[1] = static_cast<std::uint8_t>(n % 255);
        }
        return bytes;
    };
    const std::size_t largestPayload = InstrumentMemory::size - 11000;
    const std::size_t largestImage = 32 + 13 * 843 + largestPayload;
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string refusal;  // empty: accepted
    };
    const std::vector<Case> cases{
        {image(0, 31), "至少应有32字节的头部，实际只有31字节"},
        {image(0, 32), ""},
        {image(2, 57), "应至少有58字节，实际只有57字节"},
        {image(843, 32 + 13 * 843), ""},
        {image(844, 32 + 13 * 844), "记录区将到达地址11004，超过了测量数据的起始地址11000"},
        {image(0, 32 + largestPayload), ""},
        {image(0, 33 + largestPayload), "测量数据有4183305字节，超出仪器内存"},
    };
    EXPECT_EQ(MemoryImage().bytes(), image(0, 32)) << "an empty instrument announces nothing";
    for (const Case& c : cases) {
        const Result<MemoryImage> r = fromBytes(c.bytes);
        ASSERT_EQ(r.ok(), c.refusal.empty()) << c.bytes.size() << " " << r.message();
        if (!r) {
            EXPECT_NE(r.message().find(c.refusal), std::string::npos) << r.message();
        }
    }

    // Files: the largest image loads; one byte more is refused before it is read.
    TempDir dir;
    const std::vector<std::uint8_t> largest = image(843, largestImage);
    TempDir::write(dir / "largest.img", std::string(largest.begin(), largest.end()));
    const Result<MemoryImage> loaded = MemoryImage::load(dir / "largest.img");
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    EXPECT_EQ(loaded->bytes(), largest);
    std::filesystem::resize_file(dir / "largest.img", largestImage + 1);
    EXPECT_NE(MemoryImage::load(dir / "largest.img")
                  .message()
                  .find("不是内存映像文件：文件有" + std::to_string(largestImage + 1) + "字节"),
              std::string::npos);
    EXPECT_NE(MemoryImage::load(dir / "missing.img").message().find("missing.img"),
              std::string::npos);
    // A device without end tells no size: its read stops one byte past the largest image.
    EXPECT_NE(MemoryImage::load("/dev/zero")
                  .message()
                  .find(std::to_string(largestImage) + " 字节的读取上限"),
              std::string::npos);

    const MemoryImage demo = DemoInspection::image();
    ASSERT_TRUE(demo.save(dir / "demo.img").ok());
    const Result<MemoryImage> again = MemoryImage::load(dir / "demo.img");
    ASSERT_TRUE(again.ok()) << again.message();
    EXPECT_EQ(again->bytes(), demo.bytes());
}

TEST(SimulatedInstrument, AnswersBlocksOfItsFlatMemory) {
    std::vector<std::uint8_t> memory(200);
    for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i);
    SimulatedInstrument sim(memory);
    ASSERT_TRUE(sim.openDevice(0));
    const auto h = sim.openHandle(*sim.deviceName(0));
    ASSERT_NE(h, UsbLink::invalidHandle);
    UsbLink::Block block{};

    EXPECT_FALSE(sim.readData(h, block)) << "a read with nothing asked must time out";
    const std::uint8_t block3[5] = {0, 3, 0, 0, 0};
    ASSERT_TRUE(sim.writeData(h, block3, 5));
    ASSERT_TRUE(sim.readData(h, block));
    EXPECT_EQ(block[0], 192);
    EXPECT_EQ(block[7], 199);
    EXPECT_EQ(block[8], 0) << "bytes beyond the memory read as zero";

    const std::uint8_t opening[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_TRUE(sim.writeData(h, opening, 4));
    ASSERT_TRUE(sim.readData(h, block));
    EXPECT_EQ(block[63], 63);

    const std::uint8_t farBlock[5] = {1, 0, 0, 0, 0};  // block 256, not block 0
    ASSERT_TRUE(sim.writeData(h, farBlock, 5));
    ASSERT_TRUE(sim.readData(h, block));
    EXPECT_EQ(block[1], 0);

    const std::uint8_t closing[6] = {};
    ASSERT_TRUE(sim.writeData(h, closing, 6));
    EXPECT_FALSE(sim.readData(h, block));
    EXPECT_FALSE(sim.writeData(h + 1, block3, 5)) << "unknown handle";
}

TEST(DemoInspection, IsARealisticSiteOfAllFourTypes) {
    const ComponentList demo = DemoInspection::components();
    EXPECT_EQ(demo.size(), 12u);
    std::set<char> types;
    const std::set<int> barSizes{8, 10, 12, 14, 16, 18, 20, 22, 25, 28, 32};
    int points = 0, coverFailures = 0, diameterFailures = 0, spacingFailures = 0;
    for (const Component& c : demo) {
        types.insert(c.code.front());
        EXPECT_TRUE(barSizes.count(c.designDiameter)) << c.code.str();
        for (const auto* list : {&c.points, &c.pointsVert}) {
            for (std::size_t i = 0; i < list->size(); ++i) {
                const MeasurePoint& p = (*list)[i];
                ++points;
                EXPECT_GE(p.thickness, 15);
                EXPECT_LE(p.thickness, 60);
                EXPECT_GE(p.position, 0);
                EXPECT_LE(p.position, 2000);
                if (c.code.front() == 'Z' && std::abs(p.diameter - c.designDiameter) > 1) {
                    ++diameterFailures;
                }
                if (i > 0 && p.position != 0) {
                    const int spacing = p.position - (*list)[i - 1].position;
                    const int design = (spacing + 25) / 50 * 50;  // 100, 150 or 200 mm
                    if (std::abs(spacing - design) > 3) {
                        ++spacingFailures;
                    }
                }
                if (c.code.front() == 'H' && c.designDiameter == 12 &&
                    std::abs(p.thickness - 50) > 1) {
                    ++coverFailures;
                }
            }
        }
    }
    EXPECT_EQ(types, (std::set<char>{'H', 'Z', 'W', 'P'}));
    EXPECT_GT(points, 100);
    // A few failures of each kind, far fewer than passes.
    for (int failures : {coverFailures, diameterFailures, spacingFailures}) {
        EXPECT_GE(failures, 1);
        EXPECT_LT(failures, points / 10);
    }
}
