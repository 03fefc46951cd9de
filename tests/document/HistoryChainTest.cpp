#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "document/CanonicalJson.h"
#include "document/HistoryChain.h"

namespace {

QJsonValue parsed(const char* json) {
    return QJsonDocument::fromJson(QByteArray("[") + json + "]").array().at(0);
}

HistoryChain::Entries chainOf(int count) {
    HistoryChain::Entries history;
    for (int i = 1; i <= count; ++i) {
        HistoryChain::append(history, {{"action", "edit"}, {"old", i}, {"new", i + 1}});
    }
    return history;
}

}  // namespace

// RFC 8785's own examples of numbers and strings, and its key order.
TEST(HistoryChain, CanonicalJson) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"b": 1, "a": [true, null, "x"], "é": 0, "Z": {}})",
         R"({"Z":{},"a":[true,null,"x"],"b":1,"é":0})"},
        {R"("\u20ac$\u000f\nA'B\"\\\\\"/")", R"("€$\u000f\nA'B\"\\\\\"/")"},
        {"[333333333.33333329, 1E30, 4.50, 2e-3, 0.000000000000000000000000001, -0, 1e21, "
         "1e20, 1e-7, 1e-6, 25, -16]",
         "[333333333.3333333,1e+30,4.5,0.002,1e-27,0,1e+21,100000000000000000000,1e-7,0.000001,"
         "25,-16]"},
        {R"({"测点": "厚度", "time": "2026-12-07T10:41:05+08:00"})",
         R"({"time":"2026-12-07T10:41:05+08:00","测点":"厚度"})"},
    };
    for (const auto& [json, canonical] : cases) {
        EXPECT_EQ(canonicalJson(parsed(json)), canonical) << json;
    }
}

TEST(HistoryChain, FindsEveryChangeByHand) {
    using enum HistoryChain::State;
    EXPECT_EQ(HistoryChain::verify({}).state, None);
    const HistoryChain::Entries good = chainOf(5);
    EXPECT_EQ(good[0].value("hash").toString().toStdString(),
              HistoryChain::hashOf(std::string(64, '0'), good[0]));
    EXPECT_EQ(HistoryChain::verify(good).state, Ok);

    struct Case {
        const char* what;
        std::function<void(HistoryChain::Entries&)> change;
        HistoryChain::State state;
        int brokenAt;
    };
    const Case cases[] = {
        {"a value changed", [](auto& h) { h[2].insert("new", 99); }, Broken, 3},
        {"the first entry changed", [](auto& h) { h[0].insert("old", 0); }, Broken, 1},
        {"an entry removed from the middle", [](auto& h) { h.erase(h.begin() + 1); }, Broken, 2},
        {"two entries swapped", [](auto& h) { std::swap(h[3], h[4]); }, Broken, 4},
        {"an entry inserted", [](auto& h) { h.insert(h.begin() + 2, h[0]); }, Broken, 3},
        {"an entry changed and given its own new hash: the next one still names the old",
         [](auto& h) {
             h[1].insert("new", 99);
             h[1].insert("hash", QString::fromStdString(HistoryChain::hashOf(
                                     h[0].value("hash").toString().toStdString(), h[1])));
         },
         Broken, 3},
        // Nothing secret goes into a hash: whoever appends with the rule, verifies. The chain
        // proves that nothing was changed by hand, not that nobody rewrote it whole.
        {"an entry appended with a valid hash",
         [](auto& h) {
             HistoryChain::append(h, {{"action", "edit"}, {"new", 1}});
         },
         Ok, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HistoryChain::Entries history = good;
        c.change(history);
        const HistoryChain::Verification v = HistoryChain::verify(history);
        EXPECT_EQ(v.state, c.state);
        EXPECT_EQ(v.brokenAt, c.brokenAt);
        EXPECT_EQ(v.unmarked.empty() ? 0 : v.unmarked.front(), c.brokenAt);
    }
}

// A break entry marks N: the chain stays broken at N, but a later change is found again.
TEST(HistoryChain, ABreakMarksItsEntryOnce) {
    HistoryChain::Entries history = chainOf(3);
    history[1].insert("new", 99);
    HistoryChain::append(history, {{"action", "break"}, {"brokenAt", 2}});
    HistoryChain::Verification v = HistoryChain::verify(history);
    EXPECT_EQ(v.state, HistoryChain::State::Broken);
    EXPECT_EQ(v.brokenAt, 2);
    EXPECT_TRUE(v.unmarked.empty());
    EXPECT_EQ(HistoryChain::stateText(v, history.size()), "修改记录已被改动，第 2 条起无法验证。");

    HistoryChain::append(history, {{"action", "edit"}, {"new", 5}});
    history[4].insert("new", 6);
    v = HistoryChain::verify(history);
    EXPECT_EQ(v.brokenAt, 2);
    EXPECT_EQ(v.unmarked, std::vector<int>{5});
}

// A break stays, also when what it marked verifies again, and it may mark the first entry.
TEST(HistoryChain, ABreakOutlivesWhatItMarked) {
    HistoryChain::Entries history = chainOf(3);
    HistoryChain::append(history, {{"action", "break"}, {"brokenAt", 1}});
    const HistoryChain::Verification v = HistoryChain::verify(history);
    EXPECT_EQ(v.state, HistoryChain::State::Broken);
    EXPECT_EQ(v.brokenAt, 1);
    EXPECT_TRUE(v.unmarked.empty());
}
