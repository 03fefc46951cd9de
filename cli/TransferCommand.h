#pragma once

#include <ostream>
#include <string>
#include <vector>

// corvane-cli transfer (--simulate IMAGE | --demo | --usb [VID:PID]) -o OUT.vexo
//                      [--save-image FILE]
// A whole instrument transfer without a window. `args` are the words after "transfer".
// Returns 0 when the upload data file was written, 1 when it was not, 2 for bad arguments.
int transferCommand(const std::vector<std::string>& args);
int transferCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

const char* transferUsage();
