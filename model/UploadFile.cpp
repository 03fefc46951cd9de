#include "model/UploadFile.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/ComponentBlock.h"
#include "model/FileIo.h"

std::string UploadFile::encode(const ComponentList& components) {
    std::string bytes;
    ArchiveWriter out(bytes);
    out.writeString(magic);
    out.writeInt32(static_cast<std::int32_t>(components.size()));
    for (const auto& c : components) ComponentBlock::write(out, c);
    return bytes;
}

Status UploadFile::save(const std::filesystem::path& path, const ComponentList& components) {
    return FileIo::writeAtomically(path, encode(components));
}

UploadReadResult UploadFile::read(const std::filesystem::path& path) {
    Result<std::string> bytes = FileIo::readAll(path);
    if (!bytes.ok()) {
        UploadReadResult result;
        result.outcome = ReadOutcome::CannotOpen;
        result.message = bytes.message();
        return result;
    }
    return parse(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
}

UploadReadResult UploadFile::parse(std::span<const std::uint8_t> bytes) {
    UploadReadResult result;
    ArchiveReader in(bytes);
    // Nothing of a broken upload is kept: the user adds a whole upload or none of it.
    auto truncated = [&] {
        result.outcome = ReadOutcome::Truncated;
        result.message = "读取上传数据文件失败。" + in.error();
        result.components.clear();
        return std::move(result);
    };

    std::string_view text;
    if (!in.readString(text)) return truncated();
    if (text != magic) {
        result.outcome = ReadOutcome::WrongMagic;
        result.message = wrongMagicMessage;
        return result;
    }
    std::int32_t count = 0;
    if (!in.readInt32(count)) return truncated();
    for (std::int32_t i = 0; i < count; ++i) {
        Component c;
        if (!ComponentBlock::read(in, c)) return truncated();
        result.components.push_back(std::move(c));
    }
    return result;
}
