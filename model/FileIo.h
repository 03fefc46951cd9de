#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/Status.h"

// Whole-file reads and writes that never damage what is on disk.
class FileIo {
public:
    // Reads every byte of `path` into `bytes`.
    static Status readAll(const std::filesystem::path& path, std::string& bytes);

    // Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over
    // `path`. On any failure the temporary file is removed and an existing `path` keeps its
    // old bytes.
    static Status writeAtomically(const std::filesystem::path& path, std::string_view bytes);

    // The path as UTF-8, for messages.
    static std::string displayName(const std::filesystem::path& path);
};
