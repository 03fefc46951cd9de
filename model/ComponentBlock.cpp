#include "model/ComponentBlock.h"

#include <algorithm>

#include "model/ComponentFields.h"

namespace {

constexpr std::size_t pointRecordSize = 8;

void writePoints(ArchiveWriter& out, const std::vector<MeasurePoint>& points) {
    for (const auto& p : points) {
        out.writeInt16(p.diameter);
        out.writeInt16(p.thickness);
        out.writeInt32(p.position);
    }
}

bool readPoints(ArchiveReader& in, std::int16_t count, std::vector<MeasurePoint>& points) {
    if (count <= 0) return true;
    // Reserve only what the remaining bytes can hold, never what the count claims.
    points.reserve(
        std::min<std::size_t>(static_cast<std::size_t>(count), in.remaining() / pointRecordSize));
    for (std::int16_t i = 0; i < count; ++i) {
        MeasurePoint p;
        if (!in.readInt16(p.diameter) || !in.readInt16(p.thickness) || !in.readInt32(p.position)) {
            return false;
        }
        points.push_back(p);
    }
    return true;
}

}  // namespace

void ComponentBlock::write(ArchiveWriter& out, const Component& c) {
    out.writeString(c.code.view());
    out.writeString(c.name.view());
    out.writeString(c.date.view());
    for (const ComponentFieldRow& f : componentFields) out.writeInt16(c.*f.member);
    writePoints(out, c.points);
    const DetectionTypeTraits* type = c.traits();
    if (type && type->verticalList && c.pointCountVert > 0) writePoints(out, c.pointsVert);
}

bool ComponentBlock::read(ArchiveReader& in, Component& c) {
    std::string_view text;
    if (!in.readString(text)) return false;
    c.code.assign(text);
    if (!in.readString(text)) return false;
    c.name.assign(text);
    if (!in.readString(text)) return false;
    c.date.assign(text);
    for (const ComponentFieldRow& f : componentFields) {
        if (!in.readInt16(c.*f.member)) return false;
    }
    // A code without a type letter stores no point records.
    const DetectionTypeTraits* type = c.traits();
    if (!type) return true;
    return readPoints(in, c.pointCount, c.points) &&
           (!type->verticalList || readPoints(in, c.pointCountVert, c.pointsVert));
}
