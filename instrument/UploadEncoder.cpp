#include "instrument/UploadEncoder.h"

#include <charconv>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "instrument/InstrumentMemory.h"
#include "instrument/UploadRecord.h"
#include "model/GbkCodec.h"

namespace {

// Each check gives why a value cannot be sent, or nothing when it can.
using Problem = std::optional<std::string>;

std::optional<std::uint8_t> digitOf(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c - 'A' + 10);
    return std::nullopt;
}

// A decimal 0-255 written as the decoder writes it: no sign, no leading zeros.
std::optional<std::uint8_t> dateNumber(std::string_view text) {
    if (text.empty() || (text.size() > 1 && text.front() == '0')) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

Problem takeDate(std::string_view date, UploadRecord& r) {
    const auto first = date.find('/');
    const auto second = first == std::string_view::npos ? first : date.find('/', first + 1);
    if (second != std::string_view::npos) {
        const auto a = dateNumber(date.substr(0, first));
        const auto b = dateNumber(date.substr(first + 1, second - first - 1));
        const auto c = dateNumber(date.substr(second + 1));
        if (a && b && c) {
            r.dateFirst = *a;
            r.dateSecond = *b;
            r.dateThird = *c;
            return std::nullopt;
        }
    }
    return "日期“" + gbk::toUtf8(date) + "”不是以/分隔的三个0-255的数";
}

Problem takeByte(long value, std::string_view what, std::uint8_t& out) {
    if (value < 0 || value > 255) return std::string(what) + std::to_string(value) + "超出0-255";
    out = static_cast<std::uint8_t>(value);
    return std::nullopt;
}

Problem appendByte(long value, std::string_view what, std::vector<std::uint8_t>& payload) {
    std::uint8_t byte = 0;
    if (Problem p = takeByte(value, what, byte)) return p;
    payload.push_back(byte);
    return std::nullopt;
}

Problem appendPosition(long value, std::vector<std::uint8_t>& payload) {
    if (value < 0 || value > 0xFFFF) return "测点位置" + std::to_string(value) + "超出0-65535";
    payload.push_back(static_cast<std::uint8_t>(value >> 8));
    payload.push_back(static_cast<std::uint8_t>(value & 0xFF));
    return std::nullopt;
}

// Values the instrument does not send must be those the decoder fills in.
Problem expect(long value, long expected, std::string_view what) {
    if (value == expected) return std::nullopt;
    return std::string(what) + "必须为" + std::to_string(expected) + "，而不是" +
           std::to_string(value);
}

Problem takeCode(const Component& c, UploadRecord& r) {
    const std::string_view code = c.code.view();
    if (code.size() != 4) return "编号必须是4个字符";
    for (std::size_t i = 0; i < 4; ++i) {
        const auto d = digitOf(code[i]);
        if (!d) return "编号只能由0-9和A-Z组成";
        r.codeDigits[i] = *d;
    }
    if (!c.traits()) return "编号必须以H、Z、W或P开头";
    if (c.name.view() != code) return "名称必须与编号相同";
    return std::nullopt;
}

Problem takeDesignValues(const Component& c, UploadRecord& r) {
    const bool grid = c.traits()->verticalList;
    const bool spaced = c.traits()->positions;
    if (Problem p = takeByte(c.designDiameter, "钢筋直径设计值", r.designDiameter)) return p;
    if (Problem p = grid
                        ? takeByte(c.designDiameterVert, "垂直钢筋直径设计值", r.designDiameterVert)
                        : expect(c.designDiameterVert, 0, "垂直钢筋直径设计值")) {
        return p;
    }
    const std::pair<long, long> fixed[] = {{c.designCover, 50},
                                           {c.designCoverVert, grid ? 50 : 0},
                                           {c.designSpacing, spaced ? 100 : 0},
                                           {c.designSpacingVert, grid ? 100 : 0},
                                           {c.diameterTolerance, 1},
                                           {c.thicknessTolerance, 1},
                                           {c.spacingTolerance, 3}};
    const std::string_view names[] = {
        "保护层厚度设计值", "垂直保护层厚度设计值", "配筋间距设计值", "垂直配筋间距设计值",
        "直径偏差值",       "厚度偏差值",           "间距偏差值"};
    for (std::size_t i = 0; i < std::size(fixed); ++i) {
        if (Problem p = expect(fixed[i].first, fixed[i].second, names[i])) return p;
    }
    return std::nullopt;
}

Problem takeCounts(const Component& c, UploadRecord& r) {
    if (c.pointCount < 0 || static_cast<std::size_t>(c.pointCount) != c.points.size()) {
        return "测点数与测点不符";
    }
    if (Problem p = takeByte(c.pointCount, "测点数", r.pointCount)) return p;
    if (!c.traits()->verticalList) {
        if (c.pointCountVert != 0 || !c.pointsVert.empty()) return "只有网格构件有垂直测点";
        return std::nullopt;
    }
    if (c.pointCountVert < 0 || static_cast<std::size_t>(c.pointCountVert) != c.pointsVert.size()) {
        return "垂直测点数与测点不符";
    }
    return takeByte(c.pointCountVert, "垂直测点数", r.pointCountVert);
}

// The payload layout of each type; see UploadDecoder for the reverse.
Problem appendValues(const Component& c, std::vector<std::uint8_t>& payload) {
    const DetectionTypeTraits& type = *c.traits();
    const bool positioned = type.positions;
    for (const MeasurePoint& p : c.points) {
        if (Problem e = appendByte(p.thickness, "测点厚度", payload)) return e;
        if (Problem e = type.diameters ? appendByte(p.diameter, "测点直径", payload)
                                       : expect(p.diameter, 0, "测点直径")) {
            return e;
        }
        if (!positioned) {
            if (Problem e = expect(p.position, 0, "测点位置")) return e;
        }
    }
    for (const MeasurePoint& p : c.pointsVert) {
        if (Problem e = appendByte(p.thickness, "测点厚度", payload)) return e;
        if (Problem e = expect(p.diameter, 0, "测点直径")) return e;
    }
    if (!positioned) return std::nullopt;
    for (const auto* list : {&c.points, &c.pointsVert}) {
        for (const MeasurePoint& p : *list) {
            if (Problem e = appendPosition(p.position, payload)) return e;
        }
    }
    return std::nullopt;
}

Problem recordOf(const Component& c, std::vector<std::uint8_t>& payload, UploadRecord& r) {
    if (Problem p = takeCode(c, r)) return p;
    if (Problem p = takeDate(c.date.view(), r)) return p;
    if (Problem p = takeDesignValues(c, r)) return p;
    if (Problem p = takeCounts(c, r)) return p;
    if (payload.size() > 0xFFFF) return "测量数据总量超出仪器的偏移范围";
    r.offset = static_cast<std::uint16_t>(payload.size());
    return appendValues(c, payload);
}

}  // namespace

Result<std::vector<std::uint8_t>> UploadEncoder::encode(const ComponentList& components) {
    if (components.size() > InstrumentMemory::maxRecords) {
        return Error{"仪器最多保存" + std::to_string(InstrumentMemory::maxRecords) +
                     "个构件，而这里有" + std::to_string(components.size()) + "个。"};
    }
    const auto n = static_cast<int>(components.size());
    std::vector<std::uint8_t> bytes(UploadRecord::headerAreaSize, 0);
    bytes[0] = static_cast<std::uint8_t>(n / 255);
    bytes[1] = static_cast<std::uint8_t>(n % 255);
    std::vector<std::uint8_t> payload;
    for (const Component& c : components) {
        UploadRecord r;
        if (Problem p = recordOf(c, payload, r)) {
            return Error{"构件“" + gbk::toUtf8(c.code.view()) + "”无法写入仪器数据：" + *p + "。"};
        }
        const auto record = r.bytes();
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}
