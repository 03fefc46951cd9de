#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "model/ComponentList.h"
#include "model/ReadOutcome.h"
#include "model/Status.h"

// What an upload data file read gives: all its components, or none at all.
struct UploadReadResult {
    ReadOutcome outcome = ReadOutcome::Complete;
    std::string message;  // for the user (UTF-8); empty when there is nothing to show
    ComponentList components;

    bool complete() const { return outcome == ReadOutcome::Complete; }
};

// The upload data file (.vexo): magic, the component count and blocks.
class UploadFile {
public:
    static constexpr std::string_view magic = "VexoProfile";
    static constexpr std::string_view wrongMagicMessage = "不是有效的钢筋位置上传数据文件!";

    // A count of 0 or less is a valid, empty file.
    static UploadReadResult read(const std::filesystem::path& path);
    static UploadReadResult parse(std::span<const std::uint8_t> bytes);

    static std::string encode(const ComponentList& components);

    // Replaces `path` only once the whole file is safely written.
    static Status save(const std::filesystem::path& path, const ComponentList& components);
};
