#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The command line as UTF-8 on every system, and the way back from a word to a path. Windows
// hands a program its words in the ANSI code page, where a name such as 教学楼.pro may not
// exist; the wide command line has every name.
class CommandLine {
public:
    // The words after the program's name; on Windows also makes the console show UTF-8.
    static std::vector<std::string> start(int argc, char** argv);

    // A path from a word of the command line (UTF-8).
    static std::filesystem::path path(const std::string& word);
};
