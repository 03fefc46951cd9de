#include "model/ProjectFile.h"

#include "model/ArchiveWriter.h"
#include "model/ComponentBlock.h"
#include "model/ComponentFileReader.h"
#include "model/FileIo.h"

namespace {

// Blocks are at least 25 bytes; a closer estimate saves re-allocations on large projects.
std::size_t estimatedSize(const ComponentList& components) {
    std::size_t size = 256;
    for (const auto& c : components) {
        size += 100 + 8 * (c.points.size() + c.pointsVert.size());
    }
    return size;
}

}  // namespace

std::string ProjectFile::encode(const ProjectInfo& info, const ComponentList& components) {
    std::string bytes;
    bytes.reserve(estimatedSize(components));
    ArchiveWriter out(bytes);
    out.writeString(magic);
    out.writeString(info.projectName.view());
    out.writeString(info.testBasis.view());
    out.writeString(info.testUnit.view());
    out.writeString(info.instrument.view());
    out.writeInt32(static_cast<std::int32_t>(components.size()));
    for (const auto& c : components) ComponentBlock::write(out, c);
    return bytes;
}

Status ProjectFile::save(const std::filesystem::path& path, const ProjectInfo& info,
                         const ComponentList& components) {
    return FileIo::writeAtomically(path, encode(info, components));
}

Result<ProjectContents> ProjectFile::read(const std::filesystem::path& path,
                                          std::string* bytesRead) {
    return ComponentFileReader::readFile(path, {magic}, wrongMagicMessage,
                                         [bytesRead](std::span<const std::uint8_t> bytes) {
                                             if (bytesRead)
                                                 bytesRead->assign(bytes.begin(), bytes.end());
                                             return ProjectFile::parse(bytes);
                                         });
}

Result<ProjectContents> ProjectFile::parse(std::span<const std::uint8_t> bytes) {
    ComponentFileReader reader(bytes, "工程文件");
    if (Status s = reader.expectMagic(magic, wrongMagicMessage); !s.ok()) return Error{s.message()};
    ProjectContents contents;
    ProjectInfo& info = contents.info;
    std::string_view text;
    for (auto* field : {&info.projectName, &info.testBasis, &info.testUnit}) {
        if (!reader.in().readString(text)) {
            contents.damage = reader.endedEarly();
            return contents;
        }
        field->assign(text);
    }
    if (!reader.in().readString(text)) {
        contents.damage = reader.endedEarly();
        return contents;
    }
    info.instrument.assign(text);
    ComponentFileReader::Blocks blocks = reader.readBlocks(negativeCountMessage);
    contents.components = std::move(blocks.components);
    contents.damage = std::move(blocks.damage);
    return contents;
}
