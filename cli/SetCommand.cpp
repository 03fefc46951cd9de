#include <QFile>
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "document/ProjectDocument.h"
#include "document/SidecarFile.h"
#include "model/GbkCodec.h"
#include "model/IntegerEntry.h"
#include "model/PanelRows.h"
#include "model/StoredText.h"

namespace {

// The values of a point the panel edits, by their `show --json` names.
enum class PointValue { Thickness, Diameter, Position };
struct PointValueRow {
    PointValue value;
    std::string_view name;
    IntegerRange range;
};
constexpr PointValueRow pointValues[] = {
    {PointValue::Thickness, "thickness", pointThicknessRange},
    {PointValue::Diameter, "diameter", pointDiameterRange},
    {PointValue::Position, "position", pointPositionRange},
};

// What one FIELD=VALUE names: the name, a component field or a point's value.
struct Target {
    enum class Kind { Name, Field, Point } kind = Kind::Name;
    ComponentField field = ComponentField::DesignCover;
    const PointValueRow* point = nullptr;
};

// The component fields the panel edits: the design values and tolerances, not the counts.
std::optional<Target> targetOf(std::string_view name, bool ofPoint) {
    if (ofPoint) {
        for (const PointValueRow& row : pointValues) {
            if (row.name == name) return Target{Target::Kind::Point, {}, &row};
        }
        return std::nullopt;
    }
    if (name == "name") return Target{};
    for (const ComponentFieldRow& row : componentFields) {
        if (row.name == name && row.field != ComponentField::PointCount &&
            row.field != ComponentField::PointCountVert) {
            return Target{Target::Kind::Field, row.field};
        }
    }
    return std::nullopt;
}

bool parsePositive(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() && value >= 1;
}

struct Pair {
    std::string word, name, value;
    Target target;
};

// The FIELD=VALUE words, or the problem with them (exit 2).
std::vector<Pair> pairsOf(const CliArguments& a, std::string& problem) {
    std::vector<Pair> pairs;
    const bool ofPoint = a.has("--point");
    for (std::size_t i = 1; i < a.positional().size(); ++i) {
        const std::string& word = a.positional()[i];
        const auto eq = word.find('=');
        Pair p{word,
               word.substr(0, std::min(eq, word.size())),
               eq == std::string::npos ? std::string() : word.substr(eq + 1),
               {}};
        const std::optional<Target> target = targetOf(p.name, ofPoint);
        if (eq == std::string::npos) {
            problem = "“" + word + "”应为 FIELD=VALUE";
        } else if (!target) {
            problem = ofPoint
                          ? "测点只能修改 thickness、diameter 或 position，不能修改“" + p.name + "”"
                          : "set 不能修改“" + p.name +
                                "”：只能修改 name、设计值和偏差值（名称同 show --json）";
        } else if (std::any_of(pairs.begin(), pairs.end(),
                               [&p](const Pair& q) { return q.name == p.name; })) {
            problem = "“" + p.name + "”给了两次";
        }
        if (!problem.empty()) return {};
        p.target = *target;
        pairs.push_back(std::move(p));
    }
    return pairs;
}

// The label the panel shows for a component field of this type; null when it shows none.
const char* panelLabel(const DetectionTypeTraits& type, std::optional<ComponentField> field) {
    for (const PanelRow& row : PanelRows::of(type).header) {
        if (row.field == field) return row.label;
    }
    return nullptr;
}

bool typeHas(const DetectionTypeTraits& type, PointValue value) {
    switch (value) {
        case PointValue::Thickness:
            return true;
        case PointValue::Diameter:
            return type.diameters;
        case PointValue::Position:
            return type.positions;
    }
    return false;
}

// The document names files by Qt's strings, which hold no name that is not UTF-8.
std::optional<QString> documentPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    const QString name = QFile::decodeName(QByteArray::fromStdString(path.native()));
    if (QFile::encodeName(name).toStdString() != path.native()) return std::nullopt;
    return name;
#endif
}

}  // namespace

std::string setCheck(const CliArguments& a) {
    std::string problem;
    int number = 0;
    if (a.positional().size() < 2 || !a.value("--component")) {
        problem = "set 需要一个工程文件、--component CODE 和至少一个 FIELD=VALUE";
    } else if (a.positional()[0] == "-") {
        problem = "set 需要工程文件的路径：标准输入上的工程无法保存";
    } else if (a.value("--component")->empty()) {
        problem = "--component 需要构件编号";
    } else if (a.has("--occurrence") && !parsePositive(*a.value("--occurrence"), number)) {
        problem = "--occurrence 应为正整数";
    } else if (a.has("--point") && !parsePositive(*a.value("--point"), number)) {
        problem = "--point 应为正整数（测点从 1 起编号）";
    } else if (a.has("--vertical") && !a.has("--point")) {
        problem = "--vertical 需要 --point";
    } else {
        pairsOf(a, problem);
    }
    return problem;
}

int setCommand(CliInput& input, std::ostream&, std::ostream& err) {
    const CliArguments& a = input.args;
    const std::string& source = input.source;
    const auto fail = [&err, &source](const std::string& message) {
        err << source << ": " << message << '\n';
        return 1;
    };
    std::string problem;
    const std::vector<Pair> pairs = pairsOf(a, problem);  // checked
    const std::filesystem::path path = CommandLine::path(source);
    const std::optional<QString> name = documentPath(path);
    if (!name) return fail("文件名不是有效的 UTF-8 编码，无法保存到这个名称；请先改名");

    ProjectDocument document;
    const Result<ProjectDocument::Opened> opened = document.open(*name);
    if (!opened) return fail(opened.message());
    // A save would drop what could not be read.
    if (!opened->damage.empty()) return fail(opened->damage);
    // The change could not be recorded: nothing is written.
    using Sidecar = SidecarFile::State;
    if (opened->sidecar == Sidecar::Damaged || opened->sidecar == Sidecar::Newer ||
        opened->sidecar == Sidecar::Unreadable) {
        return fail(opened->sidecarNote + "\n修改无法记录，未作任何修改。");
    }

    const std::string code = *a.value("--component");
    int occurrence = 1;
    if (a.has("--occurrence")) parsePositive(*a.value("--occurrence"), occurrence);
    int index = -1;
    for (int i = 0, seen = 0; document.component(i); ++i) {
        if (gbk::toUtf8(document.component(i)->code.view()) == code && ++seen == occurrence) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        return fail(occurrence == 1 ? "工程中没有编号为 " + code + " 的构件。"
                                    : "工程中没有第 " + std::to_string(occurrence) + " 个编号为 " +
                                          code + " 的构件。");
    }
    const Component& c = *document.component(index);
    const DetectionTypeTraits* type = c.traits();
    if (!type) return fail("构件 " + code + " 的检测类型未知，无法修改。");
    const std::string typeText(type->text);

    std::optional<PointRef> point;
    if (a.has("--point")) {
        int number = 0;
        parsePositive(*a.value("--point"), number);
        point = PointRef{a.has("--vertical"), number - 1};
        if (point->vertical && !type->verticalList) {
            return fail("构件 " + code + " 是" + typeText + "构件，没有垂直测点。");
        }
        const auto& list = point->vertical ? c.pointsVert : c.points;
        if (point->index >= static_cast<int>(list.size())) {
            return fail("构件 " + code + " 没有第 " + std::to_string(number) + " 个" +
                        (point->vertical ? "垂直" : "") + "测点。");
        }
    }

    // Every pair is checked before anything changes: one refused pair changes nothing.
    std::vector<std::string> refused, notices;
    std::optional<std::string> newName;
    std::vector<std::pair<ComponentField, std::int16_t>> fields;
    MeasurePoint pointValue =
        point ? (point->vertical ? c.pointsVert : c.points)[static_cast<std::size_t>(point->index)]
              : MeasurePoint{};
    for (const Pair& p : pairs) {
        const auto refuse = [&refused, &p](const std::string& why) {
            refused.push_back(p.word + ": " + why);
        };
        switch (p.target.kind) {
            case Target::Kind::Name: {
                const std::string label = panelLabel(*type, std::nullopt);
                if (!isValidUtf8(p.value)) {
                    refuse("“" + label + "”的文字不是有效的 UTF-8 编码");
                } else if (const Status s = storedText::checkStorable(label, p.value); !s) {
                    refuse(s.message());
                } else {
                    if (storedText::isCut(p.value, c.name.capacity)) {
                        notices.push_back(storedText::cutNotice(label, c.name.capacity));
                    }
                    newName = gbk::fromUtf8(p.value);
                }
                break;
            }
            case Target::Kind::Field: {
                if (!panelLabel(*type, p.target.field)) {
                    refuse(typeText + "构件没有这个值。");
                    break;
                }
                const Result<std::int32_t> v = parseWholeInteger(p.value, componentFieldRange);
                if (!v) refuse(v.message());
                if (v) fields.emplace_back(p.target.field, static_cast<std::int16_t>(*v));
                break;
            }
            case Target::Kind::Point: {
                if (!typeHas(*type, p.target.point->value)) {
                    refuse(typeText + "构件的测点没有这个值。");
                    break;
                }
                const Result<std::int32_t> v = parseWholeInteger(p.value, p.target.point->range);
                if (!v) {
                    refuse(v.message());
                    break;
                }
                switch (p.target.point->value) {
                    case PointValue::Thickness:
                        pointValue.thickness = static_cast<std::int16_t>(*v);
                        break;
                    case PointValue::Diameter:
                        pointValue.diameter = static_cast<std::int16_t>(*v);
                        break;
                    case PointValue::Position:
                        pointValue.position = *v;
                        break;
                }
                break;
            }
        }
    }
    if (!refused.empty()) {
        for (const std::string& r : refused) err << source << ": " << r << '\n';
        err << source << ": 未作任何修改。\n";
        return 1;
    }

    // As the panel stores them: the name, each field, the point's values at once.
    if (newName) document.setName(index, *newName);
    for (const auto& [field, value] : fields) document.setField(index, field, value);
    if (point) document.setPoint(index, *point, pointValue);
    for (const std::string& n : notices) err << n << '\n';
    if (document.undoStack().count() == 0) return 0;  // the values it has: nothing to record

    const Result<ProjectDocument::Saved> saved = document.save(*name);
    if (!saved) return fail(saved.message());
    if (!saved->sidecarFailure.empty()) return fail(saved->sidecarFailure);
    if (!saved->sidecarNote.empty()) err << saved->sidecarNote << '\n';
    return 0;
}
