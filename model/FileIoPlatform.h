#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "model/FileIo.h"

// What FileIo.cpp lends the file of the system the model is built for (FileIoPosix.cpp or
// FileIoWindows.cpp): the steps of a read and a save that every system takes alike.
namespace fileio {

// Bytes read into `into`, at most `n`; 0 at the end, negative with errno on failure.
using ReadSome = std::function<long long(char* into, std::size_t n)>;

// Reads through `readSome`: the head first, judged by `check`, then the rest up to `limit`
// bytes. `sizeHint` is the size the input says it has, 0 when it cannot say.
Result<std::string> readBounded(const std::string& shown, const ReadSome& readSome,
                                const FileIo::HeadCheck& check, std::size_t limit,
                                std::size_t sizeHint);

// The refusal of an input of a kind that is never read: "无法读取“NAME”：WHY。".
Error cannotRead(const std::string& shown, std::string_view why);
// WHY for a folder.
inline constexpr std::string_view folderReason = "这是一个文件夹";

// The file a save replaces and where its temporary files go.
struct SaveTarget {
    std::filesystem::path file;  // symbolic links followed
    std::filesystem::path folder;
    std::string prefix;  // of the temporary files
    bool exists = false;
};

// What a save to `path` replaces; refused when a folder stands in its place.
Result<SaveTarget> saveTarget(const std::filesystem::path& path, const std::string& shown);

// An earlier save of the same target that was killed half-way left its temporary file.
void removeLeftovers(const SaveTarget& save);

// The end of a temporary file's name; each call another.
std::string randomSuffix();

// The refusal when no temporary file could be created beside the target.
Error cannotCreateIn(const std::filesystem::path& folder, const std::string& why,
                     const std::string& untouched);

}  // namespace fileio
