#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The two member classes GB 50204-2015, Appendix E judges the cover of.
enum class AcceptanceClass : std::uint8_t { Beam, Slab };

// One class's limits: a point passes when minDeviation <= measured - design <= maxDeviation.
struct AcceptanceClassRule {
    AcceptanceClass cls;
    std::string_view key;   // "beam", "slab": the files' and the CLI's name
    std::string_view text;  // "梁类", "板类" (UTF-8)
    int minDeviation;       // mm, negative
    int maxDeviation;       // mm
};

// The numbers of GB 50204-2015, Appendix E, as we read them: a revision of the code is an edit
// of this table only. Percentages and the 1.5 factor stay whole numbers so that every
// comparison is exact.
struct AcceptanceRule {
    std::array<AcceptanceClassRule, 2> classes;
    int beyondFactorTenths;        // a point beyond this many tenths of its limit fails the class
    int passPercent;               // a sample at least this good passes
    int recheckPercent;            // below this the first sample fails; between, a second sample
    int fewFirstSampleComponents;  // notice when the first sample has fewer components
    int fewSlabPoints;             // notice when a slab component has fewer judged points

    const AcceptanceClassRule& of(AcceptanceClass cls) const {
        return classes[static_cast<std::size_t>(cls)];
    }
};

inline constexpr AcceptanceRule acceptanceRule{
    {{
        {AcceptanceClass::Beam, "beam", "梁类", -7, 10},
        {AcceptanceClass::Slab, "slab", "板类", -5, 8},
    }},
    15,
    90,
    80,
    5,
    6,
};
