#pragma once

#include <cstdint>
#include <string_view>

#include "model/Result.h"

// The vendor and product id by which the instrument's interface chip is found on the bus.
// The program and the command-line tool read it from the same text form.
struct UsbId {
    std::uint16_t vendor = 0x4348;
    std::uint16_t product = 0x5537;

    // "VID:PID", each one to four hexadecimal digits, e.g. "4348:5537". Anything else is
    // refused with a message that shows this form.
    static Result<UsbId> parse(std::string_view text);

    friend bool operator==(const UsbId&, const UsbId&) = default;
};
