#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "document/HistoryChain.h"
#include "document/ProjectSidecar.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

using testing::HasSubstr;

namespace {

QJsonObject json(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

}  // namespace

// From the instrument to the history: one add per component with its upload file's hash, a
// save with the project's; then an entry changed by hand, and the refusals.
TEST(HistoryCommand, ShowsTheChainAndFindsAChangeByHand) {
    TempDir dir;
    const std::string vexo = (dir / "demo.vexo").string();
    const std::string pro = (dir / "p.pro").string();
    ASSERT_EQ(runCli({"transfer", "--demo", "-o", vexo}).status, 0);
    ASSERT_EQ(runCli({"new-project", pro, "--name", "A", "--add", vexo}).status, 0);

    ProgramRun r = runCli({"history", pro, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    QJsonObject shown = json(r.out);
    EXPECT_EQ(shown.value("chain").toString(), "ok");
    const QJsonArray entries = shown.value("entries").toArray();
    const std::string uploadSha = ProjectSidecar::sha256Hex(TempDir::read(vexo));
    int adds = 0;
    for (const QJsonValue& e : entries) {
        if (e["action"] != "add") continue;
        ++adds;
        EXPECT_EQ(e["source"]["sha256"].toString().toStdString(), uploadSha);
    }
    EXPECT_EQ(adds, 12);  // the demo inspection's components
    EXPECT_EQ(entries.last()["action"], "save");
    EXPECT_EQ(entries.last()["projectSha256"].toString().toStdString(),
              ProjectSidecar::sha256Hex(TempDir::read(pro)));

    r = runCli({"history", pro, "--component", "H002"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr(" H002#1 增加构件（来自 demo.vexo）\n"));
    EXPECT_THAT(r.out, testing::Not(HasSubstr("H001")));
    EXPECT_THAT(r.out, testing::EndsWith("修改记录完整，共 14 条。\n"));

    // The third entry (H002's add) changed by hand.
    const std::string sidecar = pro + ".corvane";
    std::string text = TempDir::read(sidecar);
    const auto at = text.find("\"size\":1840", text.find("\"H002\""));
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 11, "\"size\":1841");
    TempDir::write(sidecar, text);
    r = runCli({"history", pro, "--json", "--component", "H003"});
    EXPECT_EQ(r.status, 1);
    shown = json(r.out);
    EXPECT_EQ(shown.value("chain").toString(), "broken");
    EXPECT_EQ(shown.value("brokenAt").toInt(), 3);
    EXPECT_EQ(shown.value("entries").toArray().size(), 1);
    EXPECT_THAT(runCli({"history", pro}).out,
                testing::EndsWith(HistoryChain::brokenText(3) + "\n"));

    const struct {
        std::vector<std::string> words;
        int status;
        std::string out;
    } refusals[] = {
        {{"history", "-"}, 2, ""},
        {{"history", vexo}, 1, ""},
        {{"history", pro, "--component", ""}, 2, ""},
        {{"history", (dir / "none.pro").string()}, 1, ""},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(c.words[1]);
        r = runCli(c.words);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
    }
    TempDir::write(sidecar, "{\"format\": \"corvane-sidecar\", \"version\": 3}");
    r = runCli({"history", pro});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    std::filesystem::remove(sidecar);
    r = runCli({"history", pro, "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "{\"chain\":\"none\",\"entries\":[]}\n");
}
