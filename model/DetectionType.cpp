#include "model/DetectionType.h"

#include <array>

namespace {

constexpr std::array<DetectionTypeTraits, 4> table{{
    {DetectionType::Thickness, 17, "厚度", false, false, false, 1, true},
    {DetectionType::Diameter, 35, "直径", true, false, false, 2, false},
    {DetectionType::Grid, 32, "网格", false, true, true, 3, true},
    {DetectionType::Profile, 25, "剖面", false, true, false, 3, true},
}};

}  // namespace

std::span<const DetectionTypeTraits> detectionTypes() {
    return table;
}

const DetectionTypeTraits* traitsOf(char codeLetter) {
    for (const DetectionTypeTraits& t : table) {
        if (t.letter() == codeLetter) return &t;
    }
    return nullptr;
}

const DetectionTypeTraits* traitsOf(DetectionType type) {
    return type == DetectionType::Unknown ? nullptr : traitsOf(static_cast<char>(type));
}

const DetectionTypeTraits* traitsOfRecordDigit(std::uint8_t digit) {
    for (const DetectionTypeTraits& t : table) {
        if (t.recordDigit == digit) return &t;
    }
    return nullptr;
}

DetectionType detectionTypeOf(char codeLetter) {
    const DetectionTypeTraits* t = traitsOf(codeLetter);
    return t ? t->type : DetectionType::Unknown;
}

std::string_view displayText(DetectionType type) {
    const DetectionTypeTraits* t = traitsOf(type);
    return t ? t->text : std::string_view();
}
