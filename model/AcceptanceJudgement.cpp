#include "model/AcceptanceJudgement.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "model/ComponentSummary.h"
#include "model/GbkCodec.h"

namespace {

const AcceptanceRule& rule = acceptanceRule;

// Whole-number comparison: passing / points >= percent / 100, without rounding.
bool atLeast(long long passing, long long points, int percent) {
    return 100 * passing >= percent * points;
}

std::string percent(int p) {
    return std::to_string(p) + "%";
}

// 15 tenths → "1.5", 20 → "2".
std::string factorText(int tenths) {
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
    return text;
}

std::string counted(int passing, int points) {
    return "合格 " + std::to_string(passing) + " 点 / 共 " + std::to_string(points) + " 点";
}

void judgeList(const std::vector<MeasurePoint>& list, int design, const AcceptanceClassRule& limits,
               AcceptanceRow& row) {
    for (const MeasurePoint& p : list) {
        if (design == 0 || p.thickness == 0) {
            ++row.unmeasured;
            continue;
        }
        const int d = p.thickness - design;
        ++row.points;
        if (d >= limits.minDeviation && d <= limits.maxDeviation) ++row.passing;
        if (10 * d > rule.beyondFactorTenths * limits.maxDeviation ||
            10 * d < rule.beyondFactorTenths * limits.minDeviation) {
            ++row.beyond;
        }
        if (d >= 0) row.maxOver = std::max(row.maxOver.value_or(d), d);
        if (d <= 0) row.maxUnder = std::min(row.maxUnder.value_or(d), d);
    }
}

// A list that has points but no design cover: nothing of it could be judged.
bool lacksDesignCover(const Component& c) {
    return (!c.points.empty() && c.designCover == 0) ||
           (c.hasVerticalList() && !c.pointsVert.empty() && c.designCoverVert == 0);
}

struct ClassNotes {
    std::vector<std::string> fewPoints;
    std::vector<std::string> noDesign;
};

void decide(AcceptanceClassResult& r) {
    const AcceptanceSampleFigures& f = r.first;
    const std::string firstPrefix = r.hasSecondSample ? "第一次抽样" : "";
    if (f.points == 0) {
        r.verdict = AcceptanceVerdict::Undecidable;
        r.reason = "第一次抽样 " + std::to_string(f.components) + " 个构件中没有可判定的测点";
    } else if (r.beyond > 0) {
        r.verdict = AcceptanceVerdict::Fail;
        r.reason = "有 " + std::to_string(r.beyond) + " 点超出允许偏差的 " +
                   factorText(rule.beyondFactorTenths) + " 倍";
    } else if (atLeast(f.passing, f.points, rule.passPercent)) {
        r.verdict = AcceptanceVerdict::Pass;
        r.reason =
            firstPrefix + counted(f.passing, f.points) + "，不低于 " + percent(rule.passPercent);
    } else if (!atLeast(f.passing, f.points, rule.recheckPercent)) {
        r.verdict = AcceptanceVerdict::Fail;
        r.reason =
            firstPrefix + counted(f.passing, f.points) + "，低于 " + percent(rule.recheckPercent);
    } else if (!r.hasSecondSample) {
        r.verdict = AcceptanceVerdict::Recheck;
        // The code asks for a second sample as large as the first.
        r.reason = counted(f.passing, f.points) + "，低于 " + percent(rule.passPercent) +
                   "、不低于 " + percent(rule.recheckPercent) + "：可再抽取 " +
                   std::to_string(f.components) + " 个构件作第二次抽样";
        return;
    } else {
        const bool pass = atLeast(r.passing, r.points, rule.passPercent);
        r.verdict = pass ? AcceptanceVerdict::Pass : AcceptanceVerdict::Fail;
        r.reason = "第一次抽样" + counted(f.passing, f.points) + "，低于 " +
                   percent(rule.passPercent) + "、不低于 " + percent(rule.recheckPercent) +
                   "；两次抽样合计" + counted(r.passing, r.points) + "，" +
                   (pass ? "不低于 " : "低于 ") + percent(rule.passPercent);
    }
    r.reason += "：" + std::string(verdictText(r.verdict));
}

}  // namespace

std::string_view verdictText(AcceptanceVerdict verdict) {
    switch (verdict) {
        case AcceptanceVerdict::Pass:
            return "合格";
        case AcceptanceVerdict::Recheck:
            return "复检";
        case AcceptanceVerdict::Fail:
            return "不合格";
        case AcceptanceVerdict::Undecidable:
            break;
    }
    return "无法判定";
}

AcceptanceJudgement judgeAcceptance(const ComponentList& components, const AcceptanceMarks& marks) {
    AcceptanceJudgement out;
    std::array<ClassNotes, 2> notes;
    std::unordered_map<std::string_view, int> seen;  // occurrences so far, by code
    for (const Component& c : components) {
        const int occurrence = ++seen[c.code.view()];
        const auto mark = marks.find(&c);
        if (mark == marks.end() || !takesPartInAcceptance(c)) continue;

        const AcceptanceClassRule& limits = rule.of(mark->second.cls);
        AcceptanceRow row;
        row.component = &c;
        row.code = gbk::toUtf8(c.code.view());
        row.occurrence = occurrence;
        row.mark = mark->second;
        judgeList(c.points, c.designCover, limits, row);
        if (c.hasVerticalList()) judgeList(c.pointsVert, c.designCoverVert, limits, row);

        const auto index = static_cast<std::size_t>(row.mark.cls);
        auto& result = out.classes[index];
        if (!result) {
            result.emplace();
            result->cls = row.mark.cls;
        }
        AcceptanceClassResult& r = *result;
        ++r.components;
        r.points += row.points;
        r.unmeasured += row.unmeasured;
        r.passing += row.passing;
        r.beyond += row.beyond;
        if (row.maxOver) r.maxOver = std::max(r.maxOver.value_or(*row.maxOver), *row.maxOver);
        if (row.maxUnder) {
            r.maxUnder = std::min(r.maxUnder.value_or(*row.maxUnder), *row.maxUnder);
        }
        if (row.mark.sample == AcceptanceSample::Second) {
            r.hasSecondSample = true;
        } else {
            ++r.first.components;
            r.first.points += row.points;
            r.first.passing += row.passing;
        }
        if (row.mark.cls == AcceptanceClass::Slab && row.points < rule.fewSlabPoints) {
            notes[index].fewPoints.push_back(std::string(limits.text) + "构件 " + row.code +
                                             " 的测点少于 " + std::to_string(rule.fewSlabPoints) +
                                             " 个（" + std::to_string(row.points) + " 个）。");
        }
        if (lacksDesignCover(c)) {
            notes[index].noDesign.push_back("构件 " + row.code +
                                            " 未填写保护层厚度设计值，未参与判定。");
        }
        out.rows.push_back(std::move(row));
    }

    for (std::size_t i = 0; i < out.classes.size(); ++i) {
        if (!out.classes[i]) continue;
        AcceptanceClassResult& r = *out.classes[i];
        r.rate = FormatPassRate(r.points, r.points - r.passing);
        r.first.rate = FormatPassRate(r.first.points, r.first.points - r.first.passing);
        decide(r);
        if (r.first.components < rule.fewFirstSampleComponents) {
            r.notices.push_back(std::string(rule.of(r.cls).text) + "第一次抽样构件少于 " +
                                std::to_string(rule.fewFirstSampleComponents) + " 个（" +
                                std::to_string(r.first.components) + " 个）。");
        }
        for (auto* list : {&notes[i].fewPoints, &notes[i].noDesign}) {
            r.notices.insert(r.notices.end(), list->begin(), list->end());
        }
    }
    return out;
}
