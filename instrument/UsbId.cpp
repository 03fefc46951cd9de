#include "instrument/UsbId.h"

#include <charconv>
#include <optional>
#include <string>

namespace {

// One to four hexadecimal digits and nothing else: no sign, no "0x", no spaces, and no longer
// number cut to sixteen bits (which would turn 14348 into 4348 without a word).
std::optional<std::uint16_t> hexNumber(std::string_view text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

Result<UsbId> UsbId::parse(std::string_view text) {
    const auto colon = text.find(':');
    if (colon != std::string_view::npos) {
        const auto vendor = hexNumber(text.substr(0, colon));
        const auto product = hexNumber(text.substr(colon + 1));
        if (vendor && product) return UsbId{*vendor, *product};
    }
    return Error{"“" + std::string(text) +
                 "”不是有效的 USB 设备标识：应写作 VID:PID，各为1至4位十六进制数，例如 "
                 "4348:5537。"};
}
