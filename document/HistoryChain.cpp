#include "document/HistoryChain.h"

#include <QCryptographicHash>
#include <algorithm>
#include <set>

#include "document/CanonicalJson.h"

namespace {

const QString hashKey = QStringLiteral("hash");

}  // namespace

std::string HistoryChain::hashOf(const std::string& previousHash, const QJsonObject& entry) {
    QJsonObject content = entry;
    content.remove(hashKey);
    const std::string text = previousHash + '\n' + canonicalJson(content);
    return QCryptographicHash::hash(
               QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
               QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

void HistoryChain::append(Entries& history, QJsonObject entry) {
    const std::string previous = history.empty()
                                     ? std::string(64, '0')
                                     : history.back().value(hashKey).toString().toStdString();
    entry.insert(hashKey, QString::fromStdString(hashOf(previous, entry)));
    history.push_back(std::move(entry));
}

HistoryChain::Verification HistoryChain::verify(const Entries& history) {
    Verification v;
    if (history.empty()) return v;
    std::vector<int> mismatched;
    std::set<int> marked;
    std::string previous(64, '0');
    for (std::size_t i = 0; i < history.size(); ++i) {
        const QJsonObject& entry = history[i];
        const std::string stored = entry.value(hashKey).toString().toStdString();
        const int number = static_cast<int>(i) + 1;
        if (stored != hashOf(previous, entry)) {
            mismatched.push_back(number);
        } else if (entry.value(QStringLiteral("action")).toString() == QLatin1String("break")) {
            const int at = entry.value(QStringLiteral("brokenAt")).toInt();
            if (at >= 1 && at < number) marked.insert(at);
        }
        previous = stored;
    }
    for (const int n : mismatched) {
        if (!marked.count(n)) v.unmarked.push_back(n);
    }
    int first = mismatched.empty() ? 0 : mismatched.front();
    if (!marked.empty() && (first == 0 || *marked.begin() < first)) first = *marked.begin();
    v.state = first ? State::Broken : State::Ok;
    v.brokenAt = first;
    return v;
}

std::string HistoryChain::brokenText(int brokenAt) {
    return "修改记录已被改动，第 " + std::to_string(brokenAt) + " 条起无法验证。";
}

std::string HistoryChain::stateText(const Verification& v, std::size_t count) {
    switch (v.state) {
        case State::None:
            return "没有修改记录。";
        case State::Ok:
            return "修改记录完整，共 " + std::to_string(count) + " 条。";
        case State::Broken:
            break;
    }
    return brokenText(v.brokenAt);
}
