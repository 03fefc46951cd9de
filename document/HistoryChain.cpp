#include "document/HistoryChain.h"

#include <algorithm>
#include <system_error>
#include <thread>

#include "document/CanonicalJson.h"
#include "document/Sha256.h"

namespace {

const QString hashKey = QStringLiteral("hash");
const QString actionKey = QStringLiteral("action");
const QString brokenAtKey = QStringLiteral("brokenAt");
const QJsonValue breakAction(QStringLiteral("break"));

}  // namespace

namespace {

// The entry's hash after `previous` (hex), as hex; `text` is scratch space kept between calls.
QByteArray chainHash(QByteArrayView previous, const QJsonObject& entry, std::string& text) {
    text.assign(previous.data(), static_cast<std::size_t>(previous.size()));
    text += '\n';
    appendCanonicalJson(text, entry, hashKey);
    return sha256Hex(text);
}

}  // namespace

std::string HistoryChain::hashOf(const std::string& previousHash, const QJsonObject& entry) {
    std::string text;
    return chainHash(
               QByteArrayView(previousHash.data(), static_cast<qsizetype>(previousHash.size())),
               entry, text)
        .toStdString();
}

void HistoryChain::append(Entries& history, QJsonObject entry) {
    const std::string previous = history.empty()
                                     ? std::string(64, '0')
                                     : history.back().value(hashKey).toString().toStdString();
    entry.insert(hashKey, QString::fromStdString(hashOf(previous, entry)));
    history.push_back(std::move(entry));
}

HistoryChain::Verification HistoryChain::verify(const Entries& history, const Visit& visit) {
    Verification v;
    if (history.empty()) return v;
    // Each entry is checked against the stored hash before it, so the entries can be checked
    // apart: the history is shared out between the processor's cores. A break's brokenAt is
    // noted on the way (0 for any other entry, as for a break without a usable one).
    std::vector<char> matches(history.size());
    std::vector<int> breaks(history.size());
    const auto check = [&](std::size_t from, std::size_t to) {
        std::string text;
        QByteArray previous = from == 0 ? QByteArray(64, '0')
                                        : history[from - 1].value(hashKey).toString().toLatin1();
        for (std::size_t i = from; i < to; ++i) {
            const QJsonObject& entry = history[i];
            const QByteArray stored = entry.value(hashKey).toString().toLatin1();
            matches[i] = stored == chainHash(previous, entry, text);
            previous = stored;
            if (entry.value(actionKey) == breakAction) {
                breaks[i] = entry.value(brokenAtKey).toInt();
            }
            if (visit) visit(i, entry);
        }
    };
    const std::size_t parts =
        history.size() < 4096 ? 1 : std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    {
        std::vector<std::jthread> helpers;
        for (std::size_t k = 1; k < parts; ++k) {
            const std::size_t from = history.size() * k / parts;
            const std::size_t to = history.size() * (k + 1) / parts;
            try {
                helpers.emplace_back(check, from, to);
            } catch (const std::system_error&) {
                check(from, to);  // no thread to be had: this one does it
            }
        }
        check(0, history.size() / parts);
    }

    std::vector<int> mismatched;
    std::vector<std::pair<int, int>> marked;  // [brokenAt, the break entry) of each break
    for (std::size_t i = 0; i < history.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (!matches[i]) {
            mismatched.push_back(number);
        } else if (breaks[i] >= 1 && breaks[i] < number) {
            marked.emplace_back(breaks[i], number);
        }
    }
    int first = 0;
    for (const int n : mismatched) {
        const bool covered = std::any_of(marked.begin(), marked.end(), [n](const auto& m) {
            return m.first <= n && n < m.second;
        });
        if (!covered) v.unmarked.push_back(n);
        if (!first) first = n;
    }
    for (const auto& m : marked) {
        if (!first || m.first < first) first = m.first;
    }
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
