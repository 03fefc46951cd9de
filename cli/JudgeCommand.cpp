#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "cli/AcceptanceJson.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/DataFile.h"
#include "cli/ReportOutput.h"
#include "document/SidecarFile.h"
#include "model/AcceptanceJudgement.h"
#include "model/FileIo.h"
#include "model/GbkCodec.h"
#include "report/AcceptanceRows.h"
#include "report/ReportTables.h"

namespace {

constexpr const char* classOptions[] = {"--beam", "--slab", "--none"};

// The codes each list option gave, by option.
using CodeLists = std::map<std::string, std::vector<std::string>, std::less<>>;

// The codes of one option, split at commas; nullopt when the list names no code or has an
// empty one ("A,,B"), which is a typo rather than a wish.
std::optional<std::vector<std::string>> codesOf(const std::string& list) {
    std::vector<std::string> codes;
    std::istringstream words(list + ",");
    for (std::string code; std::getline(words, code, ',');) {
        if (code.empty()) return std::nullopt;
        codes.push_back(code);
    }
    return codes;
}

// The classes the sidecar beside the project holds.
struct SidecarClasses {
    AcceptanceMarks marks;
    bool confirmed = true;  // false: written for other bytes of the project, not yet confirmed
};

// The classes of the sidecar beside `source`; nullopt (the reason on `err`) when one is there
// and cannot be read: judging without the classes it holds would report a verdict on other
// components than the inspector chose.
std::optional<SidecarClasses> sidecarClasses(const std::string& source,
                                             const ComponentList& components, std::ostream& err) {
    if (source == "-") return SidecarClasses{};  // standard input has nothing beside it
    const std::filesystem::path path = CommandLine::path(source);
    // A FIFO or device has no sidecar, and must not be read a second time.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::status(path, ec))) {
        return SidecarClasses{};
    }
    const Result<std::string> bytes = FileIo::readAll(path);
    const SidecarFile::Loaded loaded = SidecarFile::load(path, bytes ? *bytes : std::string());
    switch (loaded.state) {
        case SidecarFile::State::Missing:
            return SidecarClasses{};
        case SidecarFile::State::Loaded: {
            // A project changed elsewhere: the classes still apply by code and occurrence.
            if (!loaded.message.empty()) err << source << ": " << loaded.message << '\n';
            ProjectSidecar::Applied applied = loaded.sidecar.applyTo(components);
            if (!applied.unplaced.empty()) {
                err << source << ": " << SidecarFile::unplacedNotice(applied.unplaced.size())
                    << '\n';
            }
            return SidecarClasses{std::move(applied.marks),
                                  loaded.matchesProject && loaded.sidecar.classesConfirmed};
        }
        case SidecarFile::State::Damaged:
        case SidecarFile::State::Newer:
        case SidecarFile::State::Unreadable:
            break;
    }
    // The session's words speak of opening and saving the project; these speak of the run.
    const std::string shown =
        "附加信息文件“" + FileIo::displayName(SidecarFile::pathFor(path)) + "”";
    err << source << ": ";
    if (loaded.state == SidecarFile::State::Damaged) {
        err << shown << "已损坏（" << loaded.problem << "），";
    } else if (loaded.state == SidecarFile::State::Newer) {
        err << shown << "由较新版本的程序写入，本程序不能读取其中的构件验收类别，";
    } else {
        err << loaded.message;
    }
    err << "未作判定。\n";
    return std::nullopt;
}

// Lays the options on the sidecar's marks: a class option sets (or with --none clears) the
// class of every occurrence of its codes, --second marks classed components as the second
// sample. A wrong code is a failure named on `err`.
bool applyOptions(const CodeLists& lists, const std::string& source,
                  const ComponentList& components, AcceptanceMarks& marks, std::ostream& err) {
    std::map<std::string, std::string> classOf;  // code → the option that names it
    std::set<std::string> named;
    for (const char* option : classOptions) {
        const auto list = lists.find(option);
        if (list == lists.end()) continue;
        for (const std::string& code : list->second) {
            const auto [at, added] = classOf.emplace(code, option);
            if (!added && at->second != option) {
                err << source << ": 构件编号 " << code << " 同时出现在 " << at->second << " 和 "
                    << option << " 中\n";
                return false;
            }
            named.insert(code);
        }
    }
    std::set<std::string> second;
    if (const auto list = lists.find("--second"); list != lists.end()) {
        second.insert(list->second.begin(), list->second.end());
        named.insert(list->second.begin(), list->second.end());
    }

    std::set<std::string> found;
    for (const Component& c : components) found.insert(gbk::toUtf8(c.code.view()));
    std::string unknown;
    for (const std::string& code : named) {
        if (!found.count(code)) unknown += (unknown.empty() ? "" : ",") + code;
    }
    if (!unknown.empty()) {
        err << source << ": 工程中没有编号为 " << unknown << " 的构件\n";
        return false;
    }

    for (const Component& c : components) {
        const std::string code = gbk::toUtf8(c.code.view());
        const auto option = classOf.find(code);
        if (option == classOf.end()) continue;
        if (option->second == std::string_view("--none")) {
            marks.erase(&c);
            continue;
        }
        if (!takesPartInAcceptance(c)) {
            err << source << ": 构件 " << code << " 不是保护层厚度、网格或剖面构件，不能指定 "
                << option->second << '\n';
            return false;
        }
        marks[&c].cls = option->second == std::string_view("--beam") ? AcceptanceClass::Beam
                                                                     : AcceptanceClass::Slab;
    }
    for (const Component& c : components) {
        const std::string code = gbk::toUtf8(c.code.view());
        if (!second.count(code)) continue;
        const auto mark = marks.find(&c);
        if (mark == marks.end() || !takesPartInAcceptance(c)) {
            err << source << ": 构件 " << code
                << " 没有验收类别（梁类或板类），不能指定 --second\n";
            return false;
        }
        mark->second.sample = AcceptanceSample::Second;
    }
    return true;
}

// The codes of each list option given; nullopt when one names no code or has an empty one.
std::optional<CodeLists> codeLists(const CliArguments& a) {
    CodeLists lists;
    for (const char* option : {"--beam", "--slab", "--none", "--second"}) {
        if (!a.has(option)) continue;
        std::optional<std::vector<std::string>> codes = codesOf(*a.value(option));
        if (!codes) return std::nullopt;
        lists[option] = std::move(*codes);
    }
    return lists;
}

}  // namespace

std::string judgeCheck(const CliArguments& a) {
    if (!codeLists(a)) return "--beam、--slab、--second、--none 的值应为以逗号分隔的构件编号";
    if (a.positional().size() != 1 || a.has("--json") == a.value("-o").has_value()) {
        return "judge 需要一个工程文件和 --json、-o OUT.pdf 或 -o OUT.xlsx";
    }
    return outputFormatProblem(a);
}

int judgeCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    const CliArguments& a = input.args;
    const std::string& source = input.source;
    const DataFile& file = input.file;
    const CodeLists lists = *codeLists(a);
    std::optional<SidecarClasses> classes = sidecarClasses(source, file.components, err);
    if (!classes || !applyOptions(lists, source, file.components, classes->marks, err)) return 1;
    // A verdict on classes nobody confirmed would pass for the inspector's.
    if (!classes->confirmed && !a.has("--accept-unconfirmed")) {
        err << source << ": " << unconfirmedClassesNotice
            << "（在程序的“验收判定”中确认，或给出 --accept-unconfirmed）\n";
        return 1;
    }

    const AcceptanceJudgement judgement = judgeAcceptance(file.components, classes->marks);
    if (judgement.rows.empty()) {
        err << source << ": " << noJudgedComponents << '\n';
        return 1;
    }
    const auto output = a.value("-o");
    if (!output) {
        out << acceptanceJson(judgement);
        return 0;
    }

    const ReportTable& table = *reportTable(ReportKind::Acceptance);
    if (writesWorkbook(a)) {
        ReportWorkbook::Request request{{&table},
                                        *file.info,
                                        file.components,
                                        ReportWorkbook::judged(file.components, judgement)};
        request.judgement = judgement;
        request.classesUnconfirmed = !classes->confirmed;
        return runWorkbookOutput(request, *output, out, err);
    }
    ReportRun::Request request{table, *file.info, file.components};
    request.judgement = judgement;
    request.classesUnconfirmed = !classes->confirmed;
    return runReportOutput(request, output, {}, out, err);
}
