#include <QJsonDocument>
#include <filesystem>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "document/HistoryChain.h"
#include "document/HistoryText.h"
#include "document/SidecarFile.h"
#include "model/FileIo.h"

std::string historyCheck(const CliArguments& a) {
    if (a.positional().size() != 1) return "history 需要一个工程文件";
    if (a.positional()[0] == "-")
        return "history 需要工程文件的路径：标准输入上的工程旁没有附加信息文件";
    if (const auto code = a.value("--component"); code && code->empty()) {
        return "--component 需要构件编号";
    }
    return {};
}

int historyCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    const std::filesystem::path path = CommandLine::path(input.source);
    HistoryChain::Entries history;
    // A FIFO or device has no sidecar, and must not be read a second time.
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::status(path, ec))) {
        const Result<std::string> bytes = FileIo::readAll(path);
        if (!bytes) {
            err << input.source << ": " << bytes.message() << '\n';
            return 1;
        }
        SidecarFile::Loaded loaded = SidecarFile::load(path, *bytes);
        switch (loaded.state) {
            case SidecarFile::State::Missing:
                break;
            case SidecarFile::State::Loaded:
                history = std::move(loaded.sidecar.history);
                break;
            case SidecarFile::State::Damaged:
            case SidecarFile::State::Newer:
            case SidecarFile::State::Unreadable:
                err << input.source << ": "
                    << (loaded.message.empty() ? loaded.problem : loaded.message) << '\n';
                return 1;
        }
    }

    const HistoryChain::Verification state = HistoryChain::verify(history);
    const std::optional<std::string> code = input.args.value("--component");
    const auto shown = [&code](const QJsonObject& e) {
        return !code || e.value(QStringLiteral("component")).toString().toStdString() == *code;
    };
    if (input.args.has("--json")) {
        static constexpr const char* names[] = {"none", "ok", "broken"};
        out << "{\"chain\":\"" << names[static_cast<int>(state.state)] << '"';
        if (state.state == HistoryChain::State::Broken) out << ",\"brokenAt\":" << state.brokenAt;
        out << ",\"entries\":[";
        bool first = true;
        for (const QJsonObject& e : history) {
            if (!shown(e)) continue;
            out << (first ? "\n" : ",\n")
                << QJsonDocument(e).toJson(QJsonDocument::Compact).toStdString();
            first = false;
        }
        out << "]}\n";
    } else {
        for (const QJsonObject& e : history) {
            if (shown(e)) out << HistoryText::line(e) << '\n';
        }
        out << HistoryChain::stateText(state, history.size()) << '\n';
    }
    out.flush();
    return state.state == HistoryChain::State::Broken ? 1 : 0;
}
