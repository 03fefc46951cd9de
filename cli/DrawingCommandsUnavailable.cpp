#include "cli/Commands.h"

// report, chart and judge in a build without Qt (the Windows core build).

namespace {

int unavailable(const char* command, std::ostream& err, const char* needs = "Qt 绘图") {
    err << "此版本的 corvane-cli 不含 " << command << " 命令（需要 " << needs << "）。\n";
    return 1;
}

}  // namespace

int reportCommand(const CliArguments&, std::ostream&, std::ostream& err) {
    return unavailable("report", err);
}

int chartCommand(const CliArguments&, std::ostream&, std::ostream& err) {
    return unavailable("chart", err);
}

int judgeCommand(const CliArguments&, std::ostream&, std::ostream& err) {
    return unavailable("judge", err, "Qt 和工程附加信息文件的读取");
}
