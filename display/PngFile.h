#pragma once

#include <QByteArray>
#include <filesystem>

#include "model/Result.h"

class QImage;

// A picture as a PNG file, written by the same careful save as every other output, so the
// program and the command line report a failure in the same words.
class PngFile {
public:
    static Result<QByteArray> encode(const QImage& image);
    static Status save(const QImage& image, const std::filesystem::path& path);
};
