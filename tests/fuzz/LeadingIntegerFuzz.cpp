// The in-place editor's number parsing on arbitrary text and ranges. It must agree with a
// plain reference that works on the digits as a string (so no size of number can overflow it),
// read nothing past the text, refuse a text without digits as no number and any other it does
// not accept with the range message.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "model/IntegerEntry.h"

namespace {

// Blanks, an optional sign, then the longest run of ASCII digits.
struct LeadingNumber {
    bool negative = false;
    bool any = false;    // at least one digit
    std::string digits;  // without leading zeros; empty for 0
};

LeadingNumber referenceParse(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    LeadingNumber number;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) number.negative = text[i++] == '-';
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (!number.digits.empty() || text[i] != '0') number.digits += text[i];
        number.any = true;
        ++i;
    }
    return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    // The range comes from the input's last eight bytes (min last), the text is the rest.
    IntegerRange range;
    range.min = provider.ConsumeIntegral<std::int32_t>();
    range.max = provider.ConsumeIntegral<std::int32_t>();
    const std::string text = provider.ConsumeRemainingBytesAsString();

    // A buffer of exactly the text's size, so ASan sees a read one byte past it.
    const std::unique_ptr<char[]> exact(new char[text.size()]);
    if (!text.empty()) std::memcpy(exact.get(), text.data(), text.size());
    const Result<std::int32_t> parsed =
        parseLeadingInteger(std::string_view(exact.get(), text.size()), range);

    const LeadingNumber number = referenceParse(text);
    // Up to ten digits are taken exactly; more are beyond every 32-bit range.
    const bool fits = number.digits.size() <= 10;
    const std::int64_t magnitude = number.digits.empty() || !fits ? 0 : std::stoll(number.digits);
    const std::int64_t value = number.negative ? -magnitude : magnitude;
    const bool accepted = number.any && fits && value >= range.min && value <= range.max;

    FUZZ_CHECK(parsed.ok() == accepted);
    if (accepted) {
        FUZZ_CHECK(parsed.value() == value);
    } else if (!number.any) {
        FUZZ_CHECK(parsed.message() == "请输入一个整数。");
    } else {
        FUZZ_CHECK(parsed.message() == integerRangeMessage(range));
    }
    return 0;
}
