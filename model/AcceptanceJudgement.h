#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"

enum class AcceptanceVerdict { Pass, Recheck, Fail, Undecidable };

// "合格", "复检", "不合格", "无法判定" (UTF-8).
std::string_view verdictText(AcceptanceVerdict verdict);

// The figures of one classed component. A point is judged when both its cover and its list's
// design cover are not 0; the others are unmeasured. Deviations are measured − design, in mm.
struct AcceptanceRow {
    const Component* component = nullptr;
    std::string code;    // UTF-8
    int occurrence = 1;  // among the components of this code, in project order, from 1
    AcceptanceMark mark;
    int points = 0;  // judged points
    int unmeasured = 0;
    int passing = 0;
    int beyond = 0;  // beyond the class's limits times the rule's factor
    // The largest deviation of the judged points at or above design and the most negative
    // of those at or below; none without such a point, which 0 would misreport as one on
    // design.
    std::optional<int> maxOver;
    std::optional<int> maxUnder;
};

// Counts of the first sample alone.
struct AcceptanceSampleFigures {
    int components = 0;
    int points = 0;
    int passing = 0;
    std::string rate;  // FormatPassRate(points, points - passing), "" without points
};

// One class over both samples, with its verdict.
struct AcceptanceClassResult {
    AcceptanceClass cls = AcceptanceClass::Beam;
    int components = 0;  // every classed component of the class
    int points = 0;
    int unmeasured = 0;
    int passing = 0;
    std::string rate;
    std::optional<int> maxOver;  // as in AcceptanceRow, over every component of the class
    std::optional<int> maxUnder;
    int beyond = 0;
    AcceptanceVerdict verdict = AcceptanceVerdict::Undecidable;
    std::string reason;                // the verdict in words, citing the counts (UTF-8)
    std::vector<std::string> notices;  // advice beside the verdict (UTF-8)
    AcceptanceSampleFigures first;
    bool hasSecondSample = false;  // `first` is shown only then
};

struct AcceptanceJudgement {
    // By class (beam, slab); a class without a classed component is absent.
    std::array<std::optional<AcceptanceClassResult>, 2> classes;
    // Every classed component that takes part, in project order.
    std::vector<AcceptanceRow> rows;

    const std::optional<AcceptanceClassResult>& of(AcceptanceClass cls) const {
        return classes[static_cast<std::size_t>(cls)];
    }
};

// Judges the classed components of `components` by acceptanceRule. Marks of components that
// cannot take part (diameter, no type) are ignored. Pure; safe on any values.
AcceptanceJudgement judgeAcceptance(const ComponentList& components, const AcceptanceMarks& marks);
