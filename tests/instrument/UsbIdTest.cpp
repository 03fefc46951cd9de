#include <gtest/gtest.h>

#include <optional>

#include "instrument/UsbId.h"

TEST(UsbId, ReadsVidColonPidInHexAndRefusesAllElse) {
    struct Case {
        const char* text;
        std::optional<UsbId> id;
    };
    const Case cases[] = {
        {"4348:5537", UsbId{0x4348, 0x5537}},
        {"1a86:E008", UsbId{0x1A86, 0xE008}},
        {"0:ffff", UsbId{0x0000, 0xFFFF}},
        {"14348:5537", std::nullopt},  // five digits: never cut to 4348
        {"4348:15537", std::nullopt},
        {"00001:1", std::nullopt},
        {"1:2:3", std::nullopt},
        {"x:y", std::nullopt},
        {"4348", std::nullopt},
        {"4348:", std::nullopt},
        {":5537", std::nullopt},
        {"", std::nullopt},
        {"0x43:55", std::nullopt},
        {"+43:55", std::nullopt},
        {"-1:55", std::nullopt},
        {" 43:55", std::nullopt},
        {"43:55 ", std::nullopt},
    };
    for (const Case& c : cases) {
        const Result<UsbId> parsed = UsbId::parse(c.text);
        ASSERT_EQ(parsed.ok(), c.id.has_value()) << c.text;
        if (parsed) {
            EXPECT_EQ(parsed.value(), *c.id) << c.text;
        } else {
            EXPECT_NE(parsed.message().find(std::string("“") + c.text + "”"), std::string::npos);
            EXPECT_NE(parsed.message().find("VID:PID"), std::string::npos) << c.text;
            EXPECT_NE(parsed.message().find("4348:5537"), std::string::npos) << c.text;
        }
    }
}
