#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ArchiveReader.h"
#include "model/ComponentList.h"
#include "model/FileIo.h"
#include "model/Result.h"

// The reading both file formats share: a magic string, a header of the format's own, an int32
// count, then the component blocks. It works on a bounded byte buffer and never allocates
// from a count read from the file.
class ComponentFileReader {
public:
    // `kind` names the format in messages: "工程文件", "上传数据文件".
    ComponentFileReader(std::span<const std::uint8_t> bytes, std::string_view kind);

    // The first string must be exactly `magic`; otherwise the failure says `wrongMagicMessage`.
    Status expectMagic(std::string_view magic, std::string_view wrongMagicMessage);

    ArchiveReader& in() { return in_; }
    // "读取<kind>失败。" and where the bytes ended, after a failed read.
    std::string endedEarly() const;

    // The count and the blocks. `damage` stays empty when every announced block was read; it
    // says why not otherwise (the blocks read completely are kept). A negative count reads no
    // block; it is damage only when `negativeCountMessage` is given.
    struct Blocks {
        ComponentList components;
        std::string damage;
    };
    Blocks readBlocks(std::string_view negativeCountMessage = {});

    // "“NAME”" and `wrongMagicMessage`: the refusal of the file NAME (as messages show it) of
    // another kind.
    static std::string wrongKind(std::string_view shown, std::string_view wrongMagicMessage);

    // Reads the file at `path` ("-" is standard input when `dashIsInput`) whole, within
    // FileIo's bound, and hands its bytes to `parse`. Its first string (either form) is judged
    // before the rest is read: unless it is one of `magics` the read ends with wrongKind(),
    // also when the file is too short to hold a string.
    template <class Parse>
    static auto readFile(const std::filesystem::path& path, std::vector<std::string_view> magics,
                         std::string_view wrongMagicMessage, Parse parse, bool dashIsInput = false)
        -> decltype(parse(std::span<const std::uint8_t>())) {
        const bool input = dashIsInput && path == "-";
        const FileIo::HeadCheck check = magicCheck(
            std::move(magics),
            wrongKind(input ? std::string(FileIo::standardInputName) : FileIo::displayName(path),
                      wrongMagicMessage));
        Result<std::string> bytes =
            input ? FileIo::readStandardInput(check) : FileIo::readAll(path, check);
        if (!bytes.ok()) return Error{bytes.message()};
        return parse(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    }

private:
    static FileIo::HeadCheck magicCheck(std::vector<std::string_view> magics, std::string refusal);

    ArchiveReader in_;
    std::string kind_;
};
