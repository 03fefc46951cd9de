#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/ComponentList.h"
#include "model/ProjectInfo.h"
#include "model/Result.h"

// A project or upload data file, told apart by its magic, as the program holds it after the
// read.
struct DataFile {
    enum class Kind { None, Project, Upload };

    Kind kind = Kind::None;
    std::optional<ProjectInfo> info;  // project files only
    ComponentList components;
    std::string damage;  // UTF-8: why the rest of a damaged file is missing; empty when whole

    bool complete() const { return damage.empty(); }

    // Why a file is neither kind, after its name.
    static constexpr std::string_view eitherKindMessage =
        "不是有效的钢筋位置工程文件或上传数据文件!";

    // A failure when nothing of the file could be taken (unreadable, not one of the two kinds:
    // "“NAME”" and `wrongMagicMessage`); the same message the program shows for that file.
    // "-" is standard input.
    static Result<DataFile> load(const std::filesystem::path& path,
                                 std::string_view wrongMagicMessage = eitherKindMessage);
};
