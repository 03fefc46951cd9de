#pragma once

#include <string>

// The reason behind a failed system call (an errno value), in the user interface's language:
// the system's own text would put English inside a Chinese sentence.
std::string systemErrorText(int errorNumber);
