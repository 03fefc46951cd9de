#pragma once

#include "model/Status.h"

// The receiver of a report's events, connected with Report::connectEvents. Both are raised
// on the thread that prints, inside Report::generate, once per generation (a preview may
// generate again when its page setup changes). A failed status abandons the generation.
class ReportEvents {
public:
    virtual ~ReportEvents() = default;

    // A generation starts: bind the fields, set the page parameters.
    virtual Status beforeGeneration() { return {}; }

    // The detail rows are wanted. Asked again as long as the handler sets `askAgain`.
    virtual Status rowsWanted(bool& askAgain) {
        (void)askAgain;
        return {};
    }
};
