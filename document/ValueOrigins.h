#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "model/ComponentList.h"
#include "model/EditMarks.h"
#include "model/PointRef.h"

// What stood in each value of a component before it was changed, per component by its address
// (as the acceptance marks are): the original, whether it is the instrument's (the component
// came from an upload data file while the history was kept) or only what the file held when
// the history began, the current value and who changed it last, when. A value set back to its
// original is no longer edited. The undo steps keep it in step with the components.
class ValueOrigins {
public:
    struct Stamp {
        QString time, user;
    };
    struct Value {
        QJsonValue original, current;
        Stamp last;
    };
    struct Point {
        bool addedByHand = false;
        Stamp added;
        std::map<QString, Value> fields;  // "thickness", "diameter", "position"
    };
    struct Component {
        std::map<QString, Value> fields;  // "name" and the names of ComponentFields
        std::vector<std::optional<Point>> points, pointsVert;
        bool empty() const;
    };

    void clear() {
        byComponent_.clear();
        fromInstrument_.clear();
    }

    void changed(const ::Component* c, const QString& field, const QJsonValue& before,
                 const QJsonValue& after, const Stamp& stamp);
    void pointChanged(const ::Component* c, PointRef point, const QString& field,
                      const QJsonValue& before, const QJsonValue& after, const Stamp& stamp);
    void pointAdded(const ::Component* c, PointRef point, const Stamp& stamp);
    // Takes the point's record out (the points after it move up); the step that removed it
    // carries it back on undo.
    std::optional<Point> pointRemoved(const ::Component* c, PointRef point);
    void pointRestored(const ::Component* c, PointRef point, std::optional<Point> record);

    // A component leaving the project takes its records with it, and brings them back.
    struct Taken {
        std::optional<Component> records;
        bool fromInstrument = false;
    };
    Taken take(const ::Component* c);
    void put(const ::Component* c, Taken taken);

    void setFromInstrument(const ::Component* c) { fromInstrument_[c] = true; }
    bool fromInstrument(const ::Component* c) const;
    const Component* of(const ::Component* c) const;

    // The values of `components` that stand edited, for the record tables' marks; a point
    // added by hand has all its values marked.
    EditMarks marks(const ComponentList& components) const;

    // "originals" of the sidecar: one object per component with an edited value, by code and
    // occurrence, in the project's order.
    QJsonArray encode(const ComponentList& components) const;
    // Applies each record only where the component still holds its recorded current value;
    // malformed ones are left out. `instrumentAdds` names the components (code, occurrence)
    // whose values came from an upload data file.
    void decode(const QJsonArray& originals, const ComponentList& components,
                const std::vector<std::pair<QString, int>>& instrumentAdds);

private:
    std::vector<std::optional<Point>>& list(const ::Component* c, bool vertical);
    std::map<const ::Component*, Component> byComponent_;
    std::map<const ::Component*, bool> fromInstrument_;
};
