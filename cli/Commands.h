#pragma once

#include <ostream>
#include <string>
#include <vector>

// The sub-commands of corvane-cli. Each takes the words after its name, writes its results
// to `out` and its errors to `err`, and returns the exit status: 0 done, 1 failed, 2 bad
// arguments.
int showCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int newProjectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int exportCsvCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Needs no application object: it starts one (offscreen) when there is none.
int reportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The component panel as the program paints it, as a PNG; runs offscreen in any case.
int chartCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The whole usage text.
const char* usageText();
