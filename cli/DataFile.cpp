#include "cli/DataFile.h"

#include <cstdint>
#include <span>

#include "cli/CommandLine.h"
#include "model/ArchiveReader.h"
#include "model/ComponentFileReader.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"

Result<DataFile> DataFile::load(const std::filesystem::path& path) {
    static constexpr std::string_view notOurs = "不是有效的钢筋位置工程文件或上传数据文件!";
    const auto check =
        ComponentFileReader::magicCheck({ProjectFile::magic, UploadFile::magic}, notOurs);
    return ComponentFileReader::readFile(
        path, check,
        [](std::span<const std::uint8_t> data) -> Result<DataFile> {
            ArchiveReader probe(data);
            std::string_view magic;
            if (!probe.readString(magic)) return Error{std::string(notOurs)};
            DataFile file;
            if (magic == ProjectFile::magic) {
                Result<ProjectContents> r = ProjectFile::parse(data);
                if (!r.ok()) return Error{r.message()};
                file.kind = Kind::Project;
                file.info = std::move(r->info);
                file.components = std::move(r->components);
                file.damage = std::move(r->damage);
                return file;
            }
            if (magic == UploadFile::magic) {
                // A damaged upload is still an upload: the kind is known from its magic.
                Result<ComponentList> r = UploadFile::parse(data);
                file.kind = Kind::Upload;
                if (r.ok()) {
                    file.components = std::move(*r);
                } else {
                    file.damage = r.message();
                }
                return file;
            }
            return Error{std::string(notOurs)};
        },
        true);
}

Result<DataFile> DataFile::loadWhole(const std::filesystem::path& path) {
    Result<DataFile> loaded = load(path);
    if (loaded.ok() && !loaded->complete()) return Error{loaded->damage};
    return loaded;
}

std::optional<DataFile> DataFile::loadWholeFor(const std::string& source, std::ostream& err) {
    Result<DataFile> loaded = loadWhole(CommandLine::path(source));
    if (!loaded.ok()) {
        err << source << ": " << loaded.message() << '\n';
        return std::nullopt;
    }
    return std::move(loaded).value();
}
