#include "cli/Commands.h"
#include "cli/NewProjectHistory.h"

// report, chart, judge, history and set in a build without Qt (the Windows core build).

namespace {

int unavailable(const char* command, std::ostream& err, const char* needs = "Qt 绘图") {
    err << "此版本的 corvane-cli 不含 " << command << " 命令（需要 " << needs << "）。\n";
    return 1;
}

}  // namespace

// Their words are taken as they come: the command says what it lacks after the file is read.
std::string reportCheck(const CliArguments&) {
    return {};
}
std::string chartCheck(const CliArguments&) {
    return {};
}
std::string judgeCheck(const CliArguments&) {
    return {};
}
std::string historyCheck(const CliArguments&) {
    return {};
}
std::string setCheck(const CliArguments&) {
    return {};
}

int reportCommand(CliInput&, std::ostream&, std::ostream& err) {
    return unavailable("report", err);
}

int chartCommand(CliInput&, std::ostream&, std::ostream& err) {
    return unavailable("chart", err);
}

int judgeCommand(CliInput&, std::ostream&, std::ostream& err) {
    return unavailable("judge", err, "Qt 和工程附加信息文件的读取");
}

int historyCommand(CliInput&, std::ostream&, std::ostream& err) {
    return unavailable("history", err, "Qt 和工程附加信息文件的读取");
}

int setCommand(CliInput&, std::ostream&, std::ostream& err) {
    return unavailable("set", err, "Qt 和工程附加信息文件的读写");
}

// Without the sidecar's code a new project gets no history.
NewProjectRecord recordNewProject(const std::filesystem::path&, const ProjectInfo&,
                                  const std::vector<NewProjectUpload>&) {
    return {};
}
