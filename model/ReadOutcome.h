#pragma once

// How far a file reader got.
enum class ReadOutcome {
    Complete,       // every announced item was read
    CannotOpen,     // the file could not be read at all
    WrongMagic,     // the first string is not this kind's magic; nothing was taken
    NegativeCount,  // project files: the header was read, the component count is negative
    Truncated,      // the file ended early; what was complete before that is kept
};
