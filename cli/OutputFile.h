#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "model/Result.h"

// Where a command's -o sends its bytes: "-" is standard output (`out`), anything else a file
// written by FileIo's careful save.
class OutputFile {
public:
    static Status write(const std::string& target, std::string_view bytes, std::ostream& out);
};
