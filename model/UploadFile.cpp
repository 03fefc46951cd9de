#include "model/UploadFile.h"

#include "model/ArchiveWriter.h"
#include "model/ComponentBlock.h"
#include "model/ComponentFileReader.h"
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

Result<ComponentList> UploadFile::read(const std::filesystem::path& path, std::string* bytesRead) {
    return ComponentFileReader::readFile(path, {magic}, wrongMagicMessage,
                                         [bytesRead](std::span<const std::uint8_t> bytes) {
                                             if (bytesRead) {
                                                 bytesRead->assign(bytes.begin(), bytes.end());
                                             }
                                             return UploadFile::parse(bytes);
                                         });
}

Result<ComponentList> UploadFile::parse(std::span<const std::uint8_t> bytes) {
    ComponentFileReader reader(bytes, "上传数据文件");
    if (Status s = reader.expectMagic(magic, wrongMagicMessage); !s.ok()) return Error{s.message()};
    ComponentFileReader::Blocks blocks = reader.readBlocks();
    if (!blocks.damage.empty()) return Error{std::move(blocks.damage)};
    return std::move(blocks.components);
}
