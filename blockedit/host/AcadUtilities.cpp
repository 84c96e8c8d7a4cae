#include "host/AcadUtilities.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/UserCancel.h"
#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "engine/api/Drawing.h"
#include "engine/api/Editor.h"
#include "engine/api/Selection.h"

namespace {

constexpr const char* kFile = __FILE__;

// A prompt the platform would ask again forever cannot be answered once a script has run out, and
// a second cancel in a row ends the command: a script (or a person) can always get out.
void refuseEndlessRepeat(int status, bool& cancelledBefore) {
    if (cad::commandInputEnded()) throw std::runtime_error("the command input has ended");
    if (status == cad::RTCAN) {
        if (cancelledBefore) throw CUserCancel{};
        cancelledBefore = true;
    } else {
        cancelledBefore = false;
    }
}

bool inches(int linearUnits) {
    return linearUnits == 3 || linearUnits == 4;
}

}  // namespace

// ---- prompts ----

void CAcadUtilities::getInteger(const std::string& prompt, int defaultValue, int& value) {
    korvaWrap(kFile, "CAcadUtilities::getInteger", [&] {
        value = defaultValue;
        int answer = 0;
        if (cad::acedGetInt("\n" + prompt + " <" + CUtilities::IntToCString(defaultValue) + ">:", answer) ==
            cad::RTNORM)
            value = answer;
        cad::acutPrintf(" %i\n", value);
    });
}

void CAcadUtilities::getDouble(const std::string& prompt, double defaultValue, int decimals, double& value) {
    korvaWrap(kFile, "CAcadUtilities::getDouble", [&] {
        value = defaultValue;
        double answer = 0.0;
        if (cad::acedGetReal(
                "\n" + prompt + " <" + CUtilities::DoubleToCString(defaultValue, decimals) + ">:", answer) ==
            cad::RTNORM)
            value = answer;
        cad::acutPrintf(" %s\n", CUtilities::DoubleToCString(value, decimals));
    });
}

void CAcadUtilities::getBoolean(const std::string& prompt, bool defaultValue, bool& value) {
    korvaWrap(kFile, "CAcadUtilities::getBoolean", [&] {
        value = defaultValue;
        std::string answer;
        const int status = cad::acedGetString(
            1, "\n" + prompt + " <" + CUtilities::BoolToCString(defaultValue) + ">:", answer);
        if (status == cad::RTNORM && !answer.empty()) value = CUtilities::CStringToBOOL(answer);
        cad::acutPrintf(" %s\n", CUtilities::BoolToCString(value));
    });
}

std::string CAcadUtilities::getString(const std::string& prompt) {
    return korvaWrap(kFile, "CAcadUtilities::getString", [&] {
        std::string answer;
        int status = cad::acedGetString(1, "\n" + prompt + ":", answer);
        bool cancelledBefore = false;
        while (status != cad::RTNORM) {
            refuseEndlessRepeat(status, cancelledBefore);
            status = cad::acedGetString(1, "\nInvalid input! - " + prompt, answer);
        }
        return answer;
    });
}

void CAcadUtilities::getString(const std::string& prompt, const std::string& defaultValue,
                               std::string& value) {
    korvaWrap(kFile, "CAcadUtilities::getString", [&] {
        const std::string question = prompt + " <" + defaultValue + ">:";
        std::string answer;
        int status = cad::acedGetString(1, "\n" + question, answer);
        bool cancelledBefore = false;
        while (status != cad::RTNORM) {
            refuseEndlessRepeat(status, cancelledBefore);
            status = cad::acedGetString(1, "\nInvalid input! - " + question, answer);
        }
        value = answer.empty() ? defaultValue : answer;
        cad::acutPrintf(" %s\n", value);
    });
}

// ---- picking and selecting ----

namespace {

cad::Database& activeDatabase() {
    cad::Database* db = cad::workingDatabase();
    if (!db) throw std::runtime_error("no drawing is open");
    return *db;
}

}  // namespace

int CAcadUtilities::selectObjectId(cad::ObjectId& id, const std::string& prompt,
                                   const std::string& className) {
    return korvaWrap(kFile, "CAcadUtilities::selectObjectId", [&] {
        const std::string question =
            "\n" + (prompt.empty() ? std::string("Please select an object") : prompt);
        for (;;) {
            cad::ObjectId picked;
            cad::Point3d point;
            if (cad::acedEntSel(question, picked, point) != cad::RTNORM) {
                cad::acutPrintf("Cancelled by User.\n");
                return 16;
            }
            std::string pickedClass;
            {
                auto object = activeDatabase().open(picked);
                if (!object) continue;
                pickedClass = std::string(object->className());
            }
            if (pickedClass == className) {
                id = picked;
                return 0;
            }
            cad::acutPrintf("Invalid selection - %s.\n", pickedClass);
        }
    });
}

bool CAcadUtilities::selectObjectId(const std::string& prompt, cad::ObjectId& id) {
    return korvaWrap(kFile, "CAcadUtilities::selectObjectId", [&] {
        cad::ObjectId picked;
        cad::Point3d point;
        if (cad::acedEntSel(prompt, picked, point) != cad::RTNORM) return false;
        return cad::acdbGetObjectId(id, picked) == cad::ErrorStatus::eOk;
    });
}

int CAcadUtilities::selectObjectIds(const std::string& prompt, std::vector<cad::ObjectId>& ids) {
    return korvaWrap(kFile, "CAcadUtilities::selectObjectIds", [&] {
        cad::acutPrintf("%s", "\n" + prompt);
        cad::SelectionSet set;
        if (cad::acedSSGet("", {}, nullptr, set) == cad::RTNORM) {
            int length = 0;
            cad::acedSSLength(set, length);
            cad::Database& db = activeDatabase();
            for (int i = 0; i < length; ++i) {
                cad::ObjectId id;
                if (cad::acedSSName(set, i, id) != cad::RTNORM) continue;
                auto object = db.open(id);
                if (object && object->className() != "AcDbBlockReference") ids.push_back(id);
            }
        }
        cad::acedSSFree(set);
        return 1;
    });
}

int CAcadUtilities::selectSpaceHandle(cad::Handle& handle) {
    return korvaWrap(kFile, "CAcadUtilities::selectSpaceHandle", [&] {
        cad::ObjectId id;
        if (selectObjectId(id, "\nPlease select a space\n", "AcDbBlockReference") != 0) return 13;
        auto object = activeDatabase().open(id);
        if (!object) return 13;
        handle = object->handle();
        return 0;
    });
}

bool CAcadUtilities::pickBlockReference(cad::Database& db,
                                        const std::function<void(const cad::BlockReference&)>& take) {
    return korvaWrap(kFile, "CAcadUtilities::userSelectKorvaBlock", [&] {
        for (;;) {
            cad::ObjectId picked;
            cad::Point3d point;
            if (cad::acedEntSel("\nPlease select a Korva Space\n", picked, point) != cad::RTNORM) {
                cad::acutPrintf("Cancelled by User.\n");
                return false;
            }
            auto object = db.open(picked);
            if (!object) continue;
            const auto* reference = dynamic_cast<const cad::BlockReference*>(object.get());
            if (!reference) {
                object.close();
                cad::acutPrintf("Invalid selection.\n");
                continue;
            }
            take(*reference);
            return true;
        }
    });
}

// ---- handles ----

cad::ObjectId CAcadUtilities::convertHandleToObjectId(cad::Handle handle) {
    return korvaWrap(kFile, "CAcadUtilities::convertHandleToObjectId", [&] {
        cad::ObjectId entity;
        if (cad::acdbHandEnt(handle.toString(), entity) != cad::RTNORM) return cad::ObjectId();
        cad::ObjectId id;
        cad::acdbGetObjectId(id, entity);
        return id;
    });
}

cad::ObjectId CAcadUtilities::convertHandleToObjectId(cad::Database& db, cad::Handle handle) {
    return korvaWrap(kFile, "CAcadUtilities::convertHandleToObjectId", [&] {
        cad::ObjectId id;
        if (db.getObjectId(id, handle) != cad::ErrorStatus::eOk) return cad::ObjectId();
        return id;
    });
}

void CAcadUtilities::convertHandlesStringToArray(const std::string& text, std::vector<cad::Handle>& handles) {
    korvaWrap(kFile, "CAcadUtilities::convertHandlesStringToArray", [&] {
        std::size_t start = 0;
        for (std::size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', start)) {
            const std::string token = text.substr(start, comma - start);
            handles.push_back(cad::Handle(std::strtoull(token.c_str(), nullptr, 16)));
            start = comma + 1;
        }
    });
}

std::string CAcadUtilities::convertHandleArrayToString(const std::vector<cad::Handle>& handles) {
    return korvaWrap(kFile, "CAcadUtilities::convertHandleArrayToString", [&] {
        std::string text;
        for (const cad::Handle& handle : handles) text += handle.toString() + ",";
        return text;
    });
}

// ---- coordinates and extents ----

cad::Point3d CAcadUtilities::convertUCSToWCS(const cad::Point3d& point) {
    return korvaWrap(kFile, "CAcadUtilities::convertUCSToWCS", [&] {
        cad::Point3d result;
        cad::acedTrans(point, cad::kUserCoordinates, cad::kWorldCoordinates, false, result);
        return result;
    });
}

cad::Point3d CAcadUtilities::convertWCSToUCS(const cad::Point3d& point) {
    return korvaWrap(kFile, "CAcadUtilities::convertWCSToUCS", [&] {
        cad::Point3d result;
        cad::acedTrans(point, cad::kWorldCoordinates, cad::kUserCoordinates, false, result);
        return result;
    });
}

cad::Matrix3d CAcadUtilities::currentUcsMatrix() {
    return korvaWrap(kFile, "CAcadUtilities::currentUcsMatrix", [&] {
        return cad::ucsToWorldMatrix();
    });
}

cad::Vector3d CAcadUtilities::userZAxis() {
    cad::Point3d normal(0, 0, 1);
    if (cad::hostIsRunning())
        cad::acedTrans(cad::Point3d(0, 0, 1), cad::kUserCoordinates, cad::kWorldCoordinates, true, normal);
    return normal.asVector();
}

cad::ObjectId CAcadUtilities::getOutlineId(const cad::BlockReference& reference) {
    return korvaWrap(kFile, "CAcadUtilities::getOutlineId", [&] {
        cad::Database* db = reference.database();
        if (!db) return cad::ObjectId();
        auto definition = db->open<cad::BlockTableRecord>(reference.blockTableRecord());
        if (!definition) return cad::ObjectId();
        for (cad::ObjectId id : definition->liveEntityIds()) {
            auto entity = db->open(id);
            if (entity && entity->className() == "AcDbPolyline") return id;
        }
        return cad::ObjectId();
    });
}

void CAcadUtilities::getBlockExtents(const cad::Entity& entity, cad::Point3d& minPoint,
                                     cad::Point3d& maxPoint, double border) {
    korvaWrap(kFile, "CAcadUtilities::getBlockExtents", [&] {
        const auto* reference = dynamic_cast<const cad::BlockReference*>(&entity);
        if (!reference) return;
        cad::Point3d low, high;
        if (cad::ObjectId outlineId = getOutlineId(*reference); outlineId) {
            auto outline = reference->database()->open<cad::Polyline>(outlineId);
            cad::Extents3d extents;
            if (outline && outline->getGeomExtents(extents) == cad::ErrorStatus::eOk) {
                low = extents.minPoint();
                high = extents.maxPoint();
            }
        }
        if (border > 0) {
            low = {low.x - border, low.y - border, low.z};
            high = {high.x + border, high.y + border, high.z};
        }
        const cad::Matrix3d transform = reference->blockTransform();
        minPoint = transform * low;
        maxPoint = transform * high;
    });
}

cad::Point3d CAcadUtilities::getPolylineTopLeft(const cad::Polyline& polyline, const cad::Matrix3d* matrix) {
    return korvaWrap(kFile, "CAcadUtilities::getPolylineTopLeft", [&] {
        cad::Point3d topLeft(std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(), 0.0);
        for (std::size_t i = 0; i < polyline.numVerts(); ++i) {
            cad::Point3d p = polyline.pointAt3d(i);
            if (matrix) p = *matrix * p;
            topLeft.x = std::min(topLeft.x, p.x);
            topLeft.y = std::max(topLeft.y, p.y);
        }
        return topLeft;
    });
}

// ---- area and perimeter ----

double CAcadUtilities::areaDivisor(int linearUnits, bool imperial) {
    if (inches(linearUnits)) return imperial ? 144.0 : 1550.0031000062;
    return imperial ? 92903.04 : 1000000.0;
}

double CAcadUtilities::lengthDivisor(int linearUnits, bool imperial) {
    if (inches(linearUnits)) return imperial ? 12.0 : 39.37007874015748;
    return imperial ? 304.8 : 1000.0;
}

double CAcadUtilities::calculatePolylineArea(const cad::Polyline& curve, int linearUnits, bool imperial) {
    return korvaWrap(kFile, "CAcadUtilities::calculatePolylineArea",
                     [&] { return curve.area() / areaDivisor(linearUnits, imperial); });
}

double CAcadUtilities::getPolyPerimeter(const cad::Polyline& curve) {
    return korvaWrap(kFile, "CAcadUtilities::getPolyPerimeter", [&] {
        double length = 0.0;
        if (curve.numVerts() == 0) return length;
        KORVA_HOST_CHECK(curve.distAtParam(curve.endParam(), length), std::string());
        return length;
    });
}

double CAcadUtilities::calculatePolylinePerimeter(const cad::Polyline& curve, int linearUnits,
                                                  bool imperial) {
    return korvaWrap(kFile, "CAcadUtilities::calculatePolylinePerimeter",
                     [&] { return getPolyPerimeter(curve) / lengthDivisor(linearUnits, imperial); });
}

double CAcadUtilities::recalculateBlockArea(const cad::BlockReference& reference,
                                            const cad::Polyline& outline, int linearUnits, bool imperial) {
    return korvaWrap(kFile, "CAcadUtilities::recalculateBlockArea", [&] {
        const cad::Vector3d& scale = reference.scaleFactors();
        return std::fabs(scale.x) * std::fabs(scale.y) * outline.area() / areaDivisor(linearUnits, imperial);
    });
}

double CAcadUtilities::recalculateBlockPerimeter(const cad::BlockReference& reference,
                                                 const cad::Polyline& outline, int linearUnits,
                                                 bool imperial) {
    return korvaWrap(kFile, "CAcadUtilities::recalculateBlockPerimeter", [&] {
        const cad::Vector3d& scale = reference.scaleFactors();
        if (std::fabs(scale.x) != std::fabs(scale.y)) return 0.0;
        return getPolyPerimeter(outline) / lengthDivisor(linearUnits, imperial) * std::fabs(scale.x);
    });
}

// ---- draw order ----

void CAcadUtilities::ensureSortentsEnabled() {
    korvaWrap(kFile, "CAcadUtilities::ensureSortentsEnabled", [&] {
        int value = 0;
        if (cad::acedGetVar("SORTENTS", value) != cad::RTNORM) return;
        if ((value & 127) < 127) cad::acedSetVar("SORTENTS", value | 127);
    });
}

cad::ObjectPtr<cad::SortentsTable> CAcadUtilities::getSortentsTable(const cad::Entity& entity) {
    return korvaWrap(kFile, "CAcadUtilities::getSortentsTable", [&] {
        cad::ObjectPtr<cad::SortentsTable> table;
        cad::Database* db = entity.database();
        if (!db) return table;
        cad::ObjectId tableId;
        if (db->getSortentsTable(entity.ownerId(), tableId, true) != cad::ErrorStatus::eOk) return table;
        table.open(*db, tableId, cad::OpenMode::ForWrite);
        return table;
    });
}

void CAcadUtilities::moveEntityToBottom(const cad::Entity& entity) {
    korvaWrap(kFile, "CAcadUtilities::moveEntityToBottom", [&] {
        ensureSortentsEnabled();
        auto table = getSortentsTable(entity);
        if (table) table->moveToBottom({entity.objectId()});
    });
}

// ---- XData ----

std::string CAcadUtilities::extractData(int code, const std::string& text) {
    return korvaWrap(kFile, "CAcadUtilities::extractData", [&] {
        std::size_t lead = 0, trail = 0;
        switch (code) {
            case kName:
                lead = 5;
                break;
            case kAreaMetric:
                lead = 5;
                trail = 5;
                break;
            case kAreaImperial:
                lead = 5;
                trail = 6;
                break;
            case kPerimeterMetric:
                lead = 10;
                trail = 2;
                break;
            case kPerimeterImperial:
                lead = 10;
                trail = 3;
                break;
            case kTagType:
                lead = 8;
                break;
            case kAreaType:
                lead = 10;
                break;
            case kCostCentre:
                lead = 12;
                break;
            case kDate:
                lead = 5;
                break;
            case kDateLastMove:
                lead = 12;
                break;
            case kDeptCharge:
                lead = 12;
                break;
            case kRoomHeight:
                lead = 12;
                break;
            case kSpecialReq:
                lead = 12;
                break;
            case kTotStaff:
                lead = 10;
                break;
            case kTotWkStns:
                lead = 11;
                break;
            case kVolume:
                lead = 7;
                break;
            case kHandlesToMinus:
                lead = 15;
                break;
            case kHandlesToAdd:
                lead = 13;
                break;
            default:
                return std::string();
        }
        if (text.size() <= lead + trail) return std::string();
        return text.substr(lead, text.size() - lead - trail);
    });
}
