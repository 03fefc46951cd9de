#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"

// Whole-file reads and writes that never damage what is on disk.
class FileIo {
public:
    // Every byte of `path`.
    static Result<std::string> readAll(const std::filesystem::path& path);

    // Replaces `path` with `bytes` the way a careful editor saves: into a temporary file
    // ".<name>.corvane-save-XXXXXX" beside the file (a symbolic link is followed and stays a
    // link), flushed to disk, given the old file's permission bits, renamed over it, and the
    // folder flushed so the new name survives a power cut. On any failure the old file keeps
    // its bytes and the temporary file is removed. Leftovers of that pattern from an
    // interrupted save of the same target are removed first.
    static Status writeAtomically(const std::filesystem::path& path, std::string_view bytes);

    // The prefix of the temporary files of a save to `target` (file name only).
    static std::string temporaryPrefix(const std::filesystem::path& target);

    // A write beyond the process's file-size limit must fail with EFBIG and reach the user as
    // a message, not end the process: the programs call this once at start-up.
    static void reportOversizeWrites();

    // The path as UTF-8, for messages.
    static std::string displayName(const std::filesystem::path& path);
};
