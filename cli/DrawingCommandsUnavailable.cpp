#include "cli/Commands.h"

// report and chart in a build without Qt (the Windows core build).

namespace {

int unavailable(const char* command, std::ostream& err) {
    err << "此版本的 corvane-cli 不含 " << command << " 命令（需要 Qt 绘图）。\n";
    return 1;
}

}  // namespace

int reportCommand(const CliArguments&, std::ostream&, std::ostream& err) {
    return unavailable("report", err);
}

int chartCommand(const CliArguments&, std::ostream&, std::ostream& err) {
    return unavailable("chart", err);
}
