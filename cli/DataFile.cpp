#include "cli/DataFile.h"

#include <cstdint>
#include <span>

#include "model/ArchiveReader.h"
#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"

DataFile DataFile::load(const std::filesystem::path& path) {
    DataFile file;
    Result<std::string> bytes = FileIo::readAll(path);
    if (!bytes.ok()) {
        file.error = bytes.message();
        return file;
    }
    const std::span data(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());

    ArchiveReader probe(data);
    std::string_view magic;
    if (!probe.readString(magic)) {
        file.error = "无法识别的文件。" + probe.error();
        return file;
    }
    if (magic == ProjectFile::magic) {
        ProjectReadResult r = ProjectFile::parse(data);
        file.kind = Kind::Project;
        file.info = std::move(r.info);
        file.components = std::move(r.components);
        file.complete = r.complete();
        file.error = r.message;
    } else if (magic == UploadFile::magic) {
        UploadReadResult r = UploadFile::parse(data);
        file.kind = Kind::Upload;
        file.components = std::move(r.components);
        file.complete = r.complete();
        file.error = r.message;
    } else {
        file.error = "不是有效的钢筋位置工程文件或上传数据文件!";
    }
    return file;
}
