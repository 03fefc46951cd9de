#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "model/ComponentList.h"
#include "model/ProjectInfo.h"
#include "model/Result.h"

// What a project file gives once its magic matched: the header and the components read. A
// damaged file (ended early, negative count) keeps what was complete before the damage, and
// `damage` says why the rest is missing.
struct ProjectContents {
    ProjectInfo info;
    ComponentList components;
    std::string damage;  // for the user (UTF-8); empty when the file was read whole

    bool complete() const { return damage.empty(); }
};

// The project file (.pro): magic, the four header texts, the component count and blocks.
class ProjectFile {
public:
    static constexpr std::string_view magic = "VexoProject";
    static constexpr std::string_view wrongMagicMessage = "不是有效的钢筋位置工程文件!";
    static constexpr std::string_view negativeCountMessage =
        "工程文件的构件数为负数，没有读取任何构件。";

    // A failure when nothing of the file could be taken (unreadable, wrong magic). The bytes
    // read go to `bytesRead` when given (the sidecar is matched against them).
    static Result<ProjectContents> read(const std::filesystem::path& path,
                                        std::string* bytesRead = nullptr);
    static Result<ProjectContents> parse(std::span<const std::uint8_t> bytes);

    static std::string encode(const ProjectInfo& info, const ComponentList& components);

    // Replaces `path` only once the whole file is safely written.
    static Status save(const std::filesystem::path& path, const ProjectInfo& info,
                       const ComponentList& components);
};
