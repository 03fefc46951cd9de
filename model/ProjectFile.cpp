#include "model/ProjectFile.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/ComponentBlock.h"
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

ProjectReadResult ProjectFile::read(const std::filesystem::path& path) {
    Result<std::string> bytes = FileIo::readAll(path);
    if (!bytes.ok()) {
        ProjectReadResult result;
        result.outcome = ReadOutcome::CannotOpen;
        result.message = bytes.message();
        return result;
    }
    return parse(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
}

ProjectReadResult ProjectFile::parse(std::span<const std::uint8_t> bytes) {
    ProjectReadResult result;
    ArchiveReader in(bytes);
    auto truncated = [&] {
        result.outcome = ReadOutcome::Truncated;
        result.message = "读取工程文件失败。" + in.error();
        return std::move(result);
    };

    std::string_view text;
    if (!in.readString(text)) return truncated();
    if (text != magic) {
        result.outcome = ReadOutcome::WrongMagic;
        result.message = wrongMagicMessage;
        return result;
    }

    ProjectInfo& info = result.info.emplace();
    for (auto* field : {&info.projectName, &info.testBasis, &info.testUnit}) {
        if (!in.readString(text)) return truncated();
        field->assign(text);
    }
    if (!in.readString(text)) return truncated();
    info.instrument.assign(text);

    std::int32_t count = 0;
    if (!in.readInt32(count)) return truncated();
    if (count < 0) {
        result.outcome = ReadOutcome::NegativeCount;
        result.message = negativeCountMessage;
        return result;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        Component c;
        if (!ComponentBlock::read(in, c)) return truncated();
        result.components.push_back(std::move(c));
    }
    return result;
}
