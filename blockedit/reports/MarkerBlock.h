#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/api/Drawing.h"
#include "spaceblocks/BlockDWG.h"

class CAcadDrawing;

// A marker block: where, and how large, a report draws its legend or pie chart. Its settings are
// attributes of the reference; the units and precision are the record's own (CBlock).
class CMarkerBlock : public CBlockDWG {
public:
    // One attribute definition of a marker: tag, prompt and default text.
    struct AttributeRow {
        std::string tag;
        std::string prompt;
        std::string text;
    };

    CMarkerBlock() = default;
    // The common block data, the rotation in the user coordinate system and the insertion point
    // in user coordinates; the kinds read their attributes.
    CMarkerBlock(const cad::BlockReference& reference, cad::Database& db);

    double getTextSize() const { return textSize_; }
    void setTextSize(double size) { textSize_ = size; }
    double getRotation() const { return rotation_; }
    void setRotation(double radians) { rotation_ = radians; }
    const cad::Point3d& getPosition() const { return position_; }
    void setPosition(const cad::Point3d& p) { position_ = p; }
    // "sq.ft." for units 1, else "sq.m.".
    std::string unitsWord() const;

    // A marker's attribute definition: left and baseline, width factor 1, visible, not constant,
    // field length the default text's length + 1.
    static std::unique_ptr<cad::AttributeDefinition> defineAttribute(const cad::Point3d& position,
                                                                      const cad::Vector3d& normal, double height,
                                                                      double rotation, const std::string& tag,
                                                                      const std::string& prompt,
                                                                      const std::string& text, cad::ObjectId layer);
    // The attribute a reference shows for the definition.
    static std::unique_ptr<cad::Attribute> createAttribute(const cad::AttributeDefinition& definition,
                                                           const cad::BlockReference& reference);

    // Makes the marker block of the picked entity: moved into a new definition of that name with
    // the base point as origin, the attribute definitions below it one text height apart, a
    // reference at the base point with its attributes, all on the marker layer, which is then
    // switched off. The host's status (0 when made).
    static int createMarker(CAcadDrawing& drawing, cad::ObjectId entityId, const std::string& blockName,
                            const std::string& layer, const cad::Point3d& basePoint, double textSize,
                            double rotation, const std::vector<AttributeRow>& rows);

protected:
    // The value of the reference's attribute of that tag (any letter case), or empty.
    static std::string attributeValue(const cad::BlockReference& reference, cad::Database& db, const std::string& tag);

private:
    double textSize_ = 0.0;
    double rotation_ = 0.0;
    cad::Point3d position_;
};
