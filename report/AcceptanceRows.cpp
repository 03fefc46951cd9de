#include "report/AcceptanceRows.h"

#include <cstdlib>
#include <optional>

#include "model/AcceptanceRule.h"
#include "model/GbkCodec.h"

namespace {

const AcceptanceRule& rule = acceptanceRule;

// A length in tenths of a millimetre, signed, with its decimal only when it has one:
// "+10", "-10.5".
std::string tenths(int value, bool plusSign) {
    const int magnitude = std::abs(value);
    std::string text = value < 0 ? "-" : (plusSign && value > 0 ? "+" : "");
    text += std::to_string(magnitude / 10);
    if (magnitude % 10 != 0) text += "." + std::to_string(magnitude % 10);
    return text;
}

std::string factorText() {
    return tenths(rule.beyondFactorTenths, false);
}

std::string percent(int value) {
    return std::to_string(value) + "%";
}

// A deviation with its unit, or "—" where no point lies on that side of design.
std::string deviationText(const std::optional<int>& mm) {
    return mm ? tenths(*mm * 10, true) + " mm" : "—";
}

// The same in its column, whose caption carries the unit.
RowValue deviationValue(const std::optional<int>& mm) {
    return mm ? RowValue(*mm) : RowValue(std::string("—"));
}

std::string rateText(const std::string& rate) {
    return rate.empty() ? "无" : rate;
}

ReportRow note(std::string text) {
    return {{std::string(acceptanceNoteField), std::move(text)}};
}

void addRuleRows(std::vector<ReportRow>& rows) {
    for (const AcceptanceClassRule& c : rule.classes) {
        rows.push_back(note(std::string(c.text) + "：允许偏差 " +
                            tenths(c.minDeviation * 10, true) + " mm ～ " +
                            tenths(c.maxDeviation * 10, true) + " mm（含边界）；有测点偏差小于 " +
                            tenths(c.minDeviation * rule.beyondFactorTenths, true) + " mm 或大于 " +
                            tenths(c.maxDeviation * rule.beyondFactorTenths, true) +
                            " mm（允许偏差的 " + factorText() + " 倍）时判为不合格。"));
    }
    rows.push_back(note("第一次抽样合格点率不低于 " + percent(rule.passPercent) + " 为合格，低于 " +
                        percent(rule.recheckPercent) +
                        " 为不合格，其间可再抽取同样数量的构件作第二次抽样，两次抽样合计不低于 " +
                        percent(rule.passPercent) + " 为合格。"));
    rows.push_back(note("保护层厚度为 0 的测点及未填写设计值的测点为未测点，不参与判定。"));
}

void addClassRows(std::vector<ReportRow>& rows, const AcceptanceClassResult& r) {
    const std::string name(rule.of(r.cls).text);
    rows.push_back(note(name + "：构件 " + std::to_string(r.components) + " 个，测点 " +
                        std::to_string(r.points) + " 个，未测 " + std::to_string(r.unmeasured) +
                        " 个，合格 " + std::to_string(r.passing) + " 个，合格点率 " +
                        rateText(r.rate) + "；最大偏差 " + deviationText(r.maxOver) + " / " +
                        deviationText(r.maxUnder) + "，超过允许偏差 " + factorText() +
                        " 倍的测点 " + std::to_string(r.beyond) + " 个。"));
    if (r.hasSecondSample) {
        rows.push_back(note(name + "第一次抽样：构件 " + std::to_string(r.first.components) +
                            " 个，测点 " + std::to_string(r.first.points) + " 个，合格 " +
                            std::to_string(r.first.passing) + " 个，合格点率 " +
                            rateText(r.first.rate) + "。"));
    }
    rows.push_back(
        note(name + "判定结论：" + std::string(verdictText(r.verdict)) + "（" + r.reason + "）"));
    for (const std::string& notice : r.notices) rows.push_back(note("注：" + notice));
}

}  // namespace

std::vector<std::string> acceptanceFieldNames() {
    return {
        "ComponentNum", "ComponentName", "Class",   "Sample",   "Points",
        "Unmeasured",   "Passing",       "MaxOver", "MaxUnder", std::string(acceptanceNoteField)};
}

std::vector<ReportRow> buildAcceptanceRows(const AcceptanceJudgement& judgement,
                                           bool classesUnconfirmed) {
    std::vector<ReportRow> rows;
    for (const AcceptanceRow& r : judgement.rows) {
        rows.push_back({{"ComponentNum", r.code},
                        {"ComponentName", gbk::toUtf8(r.component->name.view())},
                        {"Class", std::string(rule.of(r.mark.cls).text)},
                        {"Sample", r.mark.sample == AcceptanceSample::Second ? "第二次" : "第一次"},
                        {"Points", r.points},
                        {"Unmeasured", r.unmeasured},
                        {"Passing", r.passing},
                        {"MaxOver", deviationValue(r.maxOver)},
                        {"MaxUnder", deviationValue(r.maxUnder)}});
    }
    if (rows.empty()) return rows;
    if (classesUnconfirmed) rows.push_back(note(std::string(unconfirmedClassesNotice)));
    addRuleRows(rows);
    for (const auto& result : judgement.classes) {
        if (result) addClassRows(rows, *result);
    }
    return rows;
}

std::string acceptanceTestDate(const AcceptanceJudgement& judgement) {
    if (judgement.rows.empty()) return {};
    return gbk::toUtf8(judgement.rows.front().component->date.view());
}
