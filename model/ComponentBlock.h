#pragma once

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/Component.h"

// The component block shared by the project file and the upload data file.
class ComponentBlock {
public:
    static void write(ArchiveWriter& out, const Component& component);

    // Reads one block into `component` (texts cut to their fields). Point records are read
    // only for the letters that have them, as many as the stored counts say. False when the
    // bytes end first; `in.error()` says where.
    static bool read(ArchiveReader& in, Component& component);
};
