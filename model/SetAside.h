#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"

// Moving a file out of the way without deleting it: a sidecar that is damaged or was written
// for another project may be the only record of what an inspector chose.
class SetAside {
public:
    // Local time as YYYYMMDD-HHMMSS, for the names below.
    static std::string stampNow();

    // `file` renamed to NAME.REASON-STAMP beside it ("-2", "-3"… when that name is taken);
    // the new path, or why it could not be renamed (UTF-8, with the system's reason).
    static Result<std::filesystem::path> rename(const std::filesystem::path& file,
                                                std::string_view reason, std::string_view stamp);
};
