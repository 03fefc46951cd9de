#include "cli/DataFile.h"

#include <cstdint>
#include <span>

#include "model/ArchiveReader.h"
#include "model/ComponentFileReader.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"

Result<DataFile> DataFile::load(const std::filesystem::path& path,
                                std::string_view wrongMagicMessage) {
    return ComponentFileReader::readFile(
        path, {ProjectFile::magic, UploadFile::magic}, wrongMagicMessage,
        [](std::span<const std::uint8_t> data) -> Result<DataFile> {
            // The head held one of the two magics: what is no project is an upload.
            ArchiveReader probe(data);
            std::string_view magic;
            DataFile file;
            if (probe.readString(magic) && magic == ProjectFile::magic) {
                Result<ProjectContents> r = ProjectFile::parse(data);
                if (!r.ok()) return Error{r.message()};
                file.kind = Kind::Project;
                file.info = std::move(r->info);
                file.components = std::move(r->components);
                file.damage = std::move(r->damage);
                return file;
            }
            // A damaged upload is still an upload: the kind is known from its magic.
            Result<ComponentList> r = UploadFile::parse(data);
            file.kind = Kind::Upload;
            if (r.ok()) {
                file.components = std::move(*r);
            } else {
                file.damage = r.message();
            }
            return file;
        },
        true);
}
