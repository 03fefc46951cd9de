#include <iostream>
#include <string>
#include <vector>

#include "CorvaneVersion.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
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
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << usageText();
        return 0;
    }
    return runCliCommand(command, args, std::cout, std::cerr);
}
