#include "model/DetectionType.h"

DetectionType detectionTypeOf(char codeLetter) {
    switch (codeLetter) {
        case 'H':
            return DetectionType::Thickness;
        case 'Z':
            return DetectionType::Diameter;
        case 'W':
            return DetectionType::Grid;
        case 'P':
            return DetectionType::Profile;
        default:
            return DetectionType::Unknown;
    }
}

std::string_view displayText(DetectionType type) {
    switch (type) {
        case DetectionType::Thickness:
            return "厚度";
        case DetectionType::Diameter:
            return "直径";
        case DetectionType::Grid:
            return "网格";
        case DetectionType::Profile:
            return "剖面";
        case DetectionType::Unknown:
            break;
    }
    return {};
}
