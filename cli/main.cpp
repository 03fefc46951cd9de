#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "model/FileIo.h"

int main(int argc, char** argv) {
    FileIo::reportOversizeWrites();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << usageText();
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << usageText();
        return 0;
    }
    return runCliCommand(command, args, std::cout, std::cerr);
}
