#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine/db/ErrorStatus.h"
#include "engine/db/ObjectId.h"
#include "engine/geometry/Point3d.h"

// Picking and selection sets in the platform's style, for module code and host commands. Entity
// names are object ids of the active drawing.
namespace cad {

class Entity;

// One filter condition: group 0 the entity type ("INSERT", "LWPOLYLINE"), 2 the block name of a
// reference, 8 the layer; the values are wildcard patterns matched in any letter case. All
// conditions of a list must hold.
struct FilterItem {
    int code;
    std::string value;
};
using FilterList = std::vector<FilterItem>;

FilterList acutBuildList(std::initializer_list<FilterItem> items);
void acutRelRb(FilterList& list);
bool matchesFilter(const Entity& entity, const FilterList& filter);

class SelectionSet {
public:
    const std::vector<ObjectId>& ids() const { return ids_; }
    // Adds unless present; false for a duplicate.
    bool add(ObjectId id);
    void clear() { ids_.clear(); }

private:
    std::vector<ObjectId> ids_;
};

// mode "" builds the set interactively ("Select objects: " until an empty line; see
// parseSelectionLine for what may be typed); "X" takes every entity of the drawing's layouts;
// "W" and "C" take two corners, "WP" and "CP" a polygon (points in the current UCS). The filter,
// when given, keeps only the entities it matches. RTNORM when the set is not empty, RTERROR when
// it is (or no drawing is open), RTCAN when the user cancelled.
int acedSSGet(std::string_view mode, const std::vector<Point3d>& points, const FilterList* filter,
              SelectionSet& set);
int acedSSLength(const SelectionSet& set, int& length);
int acedSSName(const SelectionSet& set, int index, ObjectId& entity);
int acedSSFree(SelectionSet& set);

// Asks for one object: a handle ("#2F1A" or "2F1A") or a point picking the entity nearest to
// it. A handle nobody has or a point that picks nothing is explained and asked again. RTNORM with
// the entity and the point (the picked point, or the entity's first point for a handle), RTNONE
// for an empty line, RTCAN when cancelled, RTERROR when no drawing is open.
int acedEntSel(std::string_view prompt, ObjectId& entity, Point3d& point);

// The entity of a handle in the active drawing: RTNORM, or RTERROR when there is none.
int acdbHandEnt(std::string_view handle, ObjectId& entity);
ErrorStatus acdbGetObjectId(ObjectId& id, ObjectId entityName);

}  // namespace cad
