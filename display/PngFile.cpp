#include "display/PngFile.h"

#include <QBuffer>
#include <QImage>

#include "model/FileIo.h"

Result<QByteArray> PngFile::encode(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        return Error{"无法生成 PNG 图片（" + std::to_string(image.width()) + "×" +
                     std::to_string(image.height()) + " 像素）。"};
    }
    return bytes;
}

Status PngFile::save(const QImage& image, const std::filesystem::path& path) {
    Result<QByteArray> png = encode(image);
    if (!png) return Error{png.message()};
    return FileIo::writeAtomically(path, std::string_view(png->constData(), png->size()));
}
