#pragma once
#include <functional>
#include <string>
#include <vector>

#include "engine/api/Drawing.h"

namespace cad {
class BlockReference;
class Database;
class Entity;
class Polyline;
}  // namespace cad

// The small operations through which the module talks to the editor's command line and drawing.
// Stateless.
class CAcadUtilities {
  public:
    // Codes of the XData items for extractData.
    static constexpr int kName = 0x11;
    static constexpr int kAreaMetric = 0x100;
    static constexpr int kAreaImperial = 0x101;
    static constexpr int kPerimeterMetric = 0x110;
    static constexpr int kPerimeterImperial = 0x111;
    static constexpr int kTagType = 0x1000;
    static constexpr int kAreaType = 0x1001;
    static constexpr int kCostCentre = 0x1010;
    static constexpr int kDate = 0x1011;
    static constexpr int kDateLastMove = 0x1100;
    static constexpr int kDeptCharge = 0x1101;
    static constexpr int kRoomHeight = 0x1110;
    static constexpr int kSpecialReq = 0x1111;
    static constexpr int kTotStaff = 0x10000;
    static constexpr int kTotWkStns = 0x10001;
    static constexpr int kVolume = 0x10010;
    static constexpr int kHandlesToMinus = 0x10011;
    static constexpr int kHandlesToAdd = 0x10100;

    // ---- prompts: each falls back to its default and echoes the value it settles on ----
    static void getInteger(const std::string& prompt, int defaultValue, int& value);
    static void getDouble(const std::string& prompt, double defaultValue, int decimals, double& value);
    static void getBoolean(const std::string& prompt, bool defaultValue, bool& value);
    // Asks until answered (an empty answer counts); no echo.
    static std::string getString(const std::string& prompt);
    // Asks until answered; an empty answer gives the default.
    static void getString(const std::string& prompt, const std::string& defaultValue, std::string& value);

    // ---- picking and selecting in the active drawing ----
    // Asks until an object of the class is picked: 0 with its id, or 16 when the user cancels.
    static int selectObjectId(cad::ObjectId& id, const std::string& prompt, const std::string& className);
    // One pick, any object: true with its id.
    static bool selectObjectId(const std::string& prompt, cad::ObjectId& id);
    // A selection set; every selected object that is not a block reference is appended. Returns 1.
    static int selectObjectIds(const std::string& prompt, std::vector<cad::ObjectId>& ids);
    // A picked block reference's handle and 0, or 13.
    static int selectSpaceHandle(cad::Handle& handle);
    // Asks for a block reference and reads it into the target (a space block record, built from
    // the reference and copied into it); false when the user cancels. Any block reference is
    // taken: whether it is a space is the caller's concern.
    template <class Record>
    static bool userSelectKorvaBlock(cad::Database& db, Record& target) {
        return pickBlockReference(db, [&](const cad::BlockReference& reference) {
            Record temporary(reference, db);
            temporary.copyInto(target);
        });
    }

    // ---- handles ----
    // The entity of the handle in the active drawing, or the null id.
    static cad::ObjectId convertHandleToObjectId(cad::Handle handle);
    // The live object with the handle in the database, or the null id.
    static cad::ObjectId convertHandleToObjectId(cad::Database& db, cad::Handle handle);
    // Each comma-terminated token as a handle, unchecked; text after the last comma is ignored.
    static void convertHandlesStringToArray(const std::string& text, std::vector<cad::Handle>& handles);
    // "2F1A,2F1B," form.
    static std::string convertHandleArrayToString(const std::vector<cad::Handle>& handles);

    // ---- coordinates and extents ----
    static cad::Point3d convertUCSToWCS(const cad::Point3d& point);
    static cad::Point3d convertWCSToUCS(const cad::Point3d& point);
    // The editor's current UCS -> WCS matrix; the identity when no editor runs.
    static cad::Matrix3d currentUcsMatrix();
    // The user z axis in world coordinates; the world's own when no editor runs.
    static cad::Vector3d userZAxis();
    // Extents of a block reference's outline (the first polyline of its definition), widened by
    // the border, placed by the reference's block transform.
    static void getBlockExtents(const cad::Entity& entity, cad::Point3d& minPoint, cad::Point3d& maxPoint,
                                double border);
    // Smallest x and largest y over the vertices (transformed by the matrix when given).
    static cad::Point3d getPolylineTopLeft(const cad::Polyline& polyline,
                                           const cad::Matrix3d* matrix = nullptr);
    // The first entity of the reference's block definition that is a polyline, or the null id.
    static cad::ObjectId getOutlineId(const cad::BlockReference& reference);

    // ---- area and perimeter ----
    // Drawing units per square metre / square foot (area) and per metre / foot (length). A
    // linear-units format of 3 or 4 means inches, anything else millimetres.
    static double areaDivisor(int linearUnits, bool imperial);
    static double lengthDivisor(int linearUnits, bool imperial);
    static double calculatePolylineArea(const cad::Polyline& curve, int linearUnits, bool imperial);
    static double getPolyPerimeter(const cad::Polyline& curve);
    static double calculatePolylinePerimeter(const cad::Polyline& curve, int linearUnits, bool imperial);
    static double recalculateBlockArea(const cad::BlockReference& reference, const cad::Polyline& outline,
                                       int linearUnits, bool imperial);
    // 0 when the reference is scaled differently in x and y.
    static double recalculateBlockPerimeter(const cad::BlockReference& reference,
                                            const cad::Polyline& outline, int linearUnits, bool imperial);

    // ---- draw order ----
    static void ensureSortentsEnabled();
    // The draw-order table of the entity's owner block, opened for write; empty on any failure.
    static cad::ObjectPtr<cad::SortentsTable> getSortentsTable(const cad::Entity& entity);
    static void moveEntityToBottom(const cad::Entity& entity);

    // ---- XData ----
    // The value of one XData item without its key (and unit); empty for an unknown code.
    static std::string extractData(int code, const std::string& text);

    // ---- plot codes: the program's codes, and the database's codes converted to them ----
    // Device 1 PDF, 2 JPG, 3 PNG; 0 and every other code the DWF configuration.
    static std::string convertPlotDevice(int plotTypeID);
    // ".pdf", ".jpg", ".png"; ".dwf" for 0 and every other code.
    static std::string plotExtension(int plotTypeID);
    // Gives the name the device's extension: an empty name raises CEXInvalidPlotFilename; a name
    // without a dot gets the extension appended; a different ending (compared with case) is
    // replaced after the last dot.
    static void checkPlotFileExtension(std::string& plotFilename, int plotTypeID);
    // The host's canonical media name of a media code (0 to 88); unknown codes give code 0's.
    static std::string plotMediaName(int plotMediaSizeID);
    // Database code -> program code, and back.
    static int plotDeviceFromDatabase(int code);
    static int plotDeviceToDatabase(int code);
    static int plotAreaFromDatabase(int code);
    static int plotAreaToDatabase(int code);
    static int plotScaleFromDatabase(int code);
    static int plotScaleToDatabase(int code);
    static int plotMediaSizeFromDatabase(int code);
    static int plotMediaSizeToDatabase(int code);

  private:
    static bool pickBlockReference(cad::Database& db, const std::function<void(const cad::BlockReference&)>& take);
};
