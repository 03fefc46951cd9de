#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "model/ComponentList.h"
#include "model/Result.h"

// The upload data file (.vexo): magic, the component count and blocks.
class UploadFile {
public:
    static constexpr std::string_view magic = "VexoProfile";
    static constexpr std::string_view wrongMagicMessage = "不是有效的钢筋位置上传数据文件!";

    // All the file's components, or a failure: the user adds a whole upload or none of it.
    // A count of 0 or less is a valid, empty file.
    // `bytesRead`, when given, receives the file's bytes (for its hash).
    static Result<ComponentList> read(const std::filesystem::path& path,
                                      std::string* bytesRead = nullptr);
    static Result<ComponentList> parse(std::span<const std::uint8_t> bytes);

    static std::string encode(const ComponentList& components);

    // Replaces `path` only once the whole file is safely written.
    static Status save(const std::filesystem::path& path, const ComponentList& components);
};
