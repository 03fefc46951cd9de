#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/ComponentList.h"
#include "model/ProjectInfo.h"
#include "model/ReadOutcome.h"
#include "model/Status.h"

// What a project file read leaves: the header exists from the moment the magic matched; the
// components are those read completely.
struct ProjectReadResult {
    ReadOutcome outcome = ReadOutcome::Complete;
    std::string message;  // for the user (UTF-8); empty when there is nothing to show
    std::optional<ProjectInfo> info;
    ComponentList components;

    bool complete() const { return outcome == ReadOutcome::Complete; }
};

// The project file (.pro): magic, the four header texts, the component count and blocks.
class ProjectFile {
public:
    static constexpr std::string_view magic = "VexoProject";
    static constexpr std::string_view wrongMagicMessage = "不是有效的钢筋位置工程文件!";
    static constexpr std::string_view negativeCountMessage =
        "工程文件的构件数为负数，没有读取任何构件。";

    static ProjectReadResult read(const std::filesystem::path& path);
    static ProjectReadResult parse(std::span<const std::uint8_t> bytes);

    static std::string encode(const ProjectInfo& info, const ComponentList& components);

    // Replaces `path` only once the whole file is safely written.
    static Status save(const std::filesystem::path& path, const ProjectInfo& info,
                       const ComponentList& components);
};
