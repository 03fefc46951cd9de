#pragma once

#include <string_view>

// The first letter of a component's code names its detection type; no other field does.
enum class DetectionType : char {
    Thickness = 'H',
    Diameter = 'Z',
    Grid = 'W',
    Profile = 'P',
    Unknown = '\0',
};

DetectionType detectionTypeOf(char codeLetter);

// "厚度", "直径", "网格", "剖面" (UTF-8); empty for Unknown.
std::string_view displayText(DetectionType type);
