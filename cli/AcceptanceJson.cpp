#include "cli/AcceptanceJson.h"

#include <optional>
#include <string_view>

#include "model/JsonText.h"

namespace {

std::string field(std::string_view key, int value) {
    return jsonString(key) + ":" + std::to_string(value);
}

std::string field(std::string_view key, std::string_view text) {
    return jsonString(key) + ":" + jsonString(text);
}

// Scripts read a number here: 0 where no point lies on that side of design, as always.
std::string field(std::string_view key, const std::optional<int>& deviation) {
    return field(key, deviation.value_or(0));
}

std::string classJson(const AcceptanceClassResult& c) {
    std::string out = "{" + field("components", c.components) + "," + field("points", c.points) +
                      "," + field("unmeasured", c.unmeasured) + "," + field("passing", c.passing) +
                      "," + field("rate", c.rate) + "," + field("maxOver", c.maxOver) + "," +
                      field("maxUnder", c.maxUnder) + "," + field("beyond", c.beyond) + "," +
                      field("verdict", verdictText(c.verdict)) + ",\"notices\":[";
    for (std::size_t i = 0; i < c.notices.size(); ++i) {
        out += (i ? "," : "") + jsonString(c.notices[i]);
    }
    out += "]";
    if (c.hasSecondSample) {
        out += ",\"first\":{" + field("components", c.first.components) + "," +
               field("points", c.first.points) + "," + field("passing", c.first.passing) + "," +
               field("rate", c.first.rate) + "}";
    }
    return out + "}";
}

std::string rowJson(const AcceptanceRow& r) {
    return "{" + field("code", r.code) + "," + field("occurrence", r.occurrence) + "," +
           field("class", acceptanceRule.of(r.mark.cls).key) + "," +
           field("sample", static_cast<int>(r.mark.sample)) + "," + field("points", r.points) +
           "," + field("unmeasured", r.unmeasured) + "," + field("passing", r.passing) + "," +
           field("maxOver", r.maxOver) + "," + field("maxUnder", r.maxUnder) + "}";
}

}  // namespace

std::string acceptanceJson(const AcceptanceJudgement& judgement) {
    std::string out = "{\"classes\":{";
    bool first = true;
    for (const auto& c : judgement.classes) {
        if (!c) continue;
        out += (first ? "" : ",") + jsonString(acceptanceRule.of(c->cls).key) + ":" + classJson(*c);
        first = false;
    }
    out += "},\"components\":[";
    for (std::size_t i = 0; i < judgement.rows.size(); ++i) {
        out += (i ? ",\n" : "\n") + rowJson(judgement.rows[i]);
    }
    return out + "]}\n";
}
