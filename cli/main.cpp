#include <iostream>
#include <string>
#include <vector>

#include "CorvaneVersion.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/TransferCommand.h"
#include "model/FileIo.h"

int main(int argc, char** argv) {
    FileIo::reportOversizeWrites();
    std::vector<std::string> args = CommandLine::start(argc, argv);
    if (args.empty()) {
        std::cerr << usageText();
        return 2;
    }
    const std::string command = args.front();
    if (command == "--version") {
        std::cout << "corvane-cli " << corvaneVersion << '\n';
        return 0;
    }
    args.erase(args.begin());
    if (command == "show") return showCommand(args, std::cout, std::cerr);
    if (command == "new-project") return newProjectCommand(args, std::cout, std::cerr);
    if (command == "transfer") return transferCommand(args, std::cout, std::cerr);
    if (command == "export-csv") return exportCsvCommand(args, std::cout, std::cerr);
    if (command == "report") return reportCommand(args, std::cout, std::cerr);
    if (command == "chart") return chartCommand(args, std::cout, std::cerr);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << usageText();
        return 0;
    }
    std::cerr << "未知命令 " << command << '\n' << usageText();
    return 2;
}
