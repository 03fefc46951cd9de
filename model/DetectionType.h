#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The first letter of a component's code names its detection type; no other field does.
enum class DetectionType : char {
    Thickness = 'H',
    Diameter = 'Z',
    Grid = 'W',
    Profile = 'P',
    Unknown = '\0',
};

// Everything that depends on a component's detection type, in one table that every layer
// reads: the block reader and writer, the list's order, the instrument's records, the
// summary, the table, the charts, the dialogs and the record tables.
struct DetectionTypeTraits {
    DetectionType type;
    std::uint8_t recordDigit;  // the first code byte of the instrument's records of this type
    std::string_view text;     // "厚度", "直径", "网格", "剖面" (UTF-8)
    bool diameters;            // its points carry a measured bar diameter
    bool positions;            // its points carry where the bar lies (配筋间距)
    bool verticalList;         // it has a second point list, along the vertical direction
    std::size_t payloadBytes;  // bytes each point takes in the instrument's payload
    bool acceptanceJudged;     // its covers take part in the acceptance judgement (GB 50204)

    char letter() const { return static_cast<char>(type); }
};

// H, Z, W, P: the order of the groups in a project's component list.
std::span<const DetectionTypeTraits> detectionTypes();

// The row of a code letter, a type or a record's first code byte; null when there is none.
const DetectionTypeTraits* traitsOf(char codeLetter);
const DetectionTypeTraits* traitsOf(DetectionType type);
const DetectionTypeTraits* traitsOfRecordDigit(std::uint8_t digit);

DetectionType detectionTypeOf(char codeLetter);

// "厚度", "直径", "网格", "剖面" (UTF-8); empty for Unknown.
std::string_view displayText(DetectionType type);
