#pragma once

#include <string>

#include "model/AcceptanceJudgement.h"

// The object `corvane-cli judge --json` prints, with its trailing newline:
// {"classes": {"beam": C, "slab": C}, "components": [R, …]}, keys in that order, a class
// without classed components absent, `first` only for a class with a second sample.
std::string acceptanceJson(const AcceptanceJudgement& judgement);
