#pragma once
// Builds small floor plans in memory for the collection, asset and hatch tests.
#include <map>

#include "engine/db/XData.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/LineInput.h"
#include "SpaceDrawing.h"

namespace plantest {

// A running host with a new drawing open: the module's coordinate conversions, system variables
// and document locks need one.
struct Host {
    explicit Host(cad::HostProfile profile = cad::HostProfile::AutoCAD)
        : app(profile, input), drawing(app.documentManager().newDocument()) {}
    cad::Database& db() { return drawing.database(); }
    cad::ScriptInput input;
    cad::HostApplication app;
    cad::Document& drawing;
};

using spacetest::addPolyline;
using spacetest::rectangle;

// A block definition holding the outline (when given) and, for space blocks, NAME/AREA/AUX
// attribute definitions.
inline cad::ObjectId addDefinition(cad::Database& db, const std::string& name,
                                   const std::vector<cad::Point2d>& outline, bool spaceAttributes = false) {
    cad::ObjectId id;
    {
        auto table = db.open<cad::SymbolTable>(db.blockTableId(), cad::OpenMode::ForWrite);
        table->add(std::make_unique<cad::BlockTableRecord>(name), &id);
    }
    if (!outline.empty()) addPolyline(db, outline, id);
    if (spaceAttributes) {
        auto block = db.open<cad::BlockTableRecord>(id, cad::OpenMode::ForWrite);
        for (const char* tag : {"NAME", "AREA", "AUX"}) {
            auto definition = std::make_unique<cad::AttributeDefinition>();
            definition->setTag(tag);
            block->appendEntity(std::move(definition));
        }
    }
    return id;
}

inline cad::ObjectId insert(cad::Database& db, cad::ObjectId block, const cad::Point3d& at,
                            const cad::XDataChain& xdata = {},
                            const std::map<std::string, std::string>& attributes = {}) {
    auto reference = std::make_unique<cad::BlockReference>(at, block);
    cad::ObjectId id;
    {
        auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
        space->appendEntity(std::move(reference), &id);
    }
    auto opened = db.open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
    for (const auto& [tag, value] : attributes) {
        auto attribute = std::make_unique<cad::Attribute>();
        attribute->setTag(tag);
        attribute->setTextString(value);
        attribute->setPosition(at);
        opened->appendAttribute(std::move(attribute));
    }
    if (!xdata.empty()) {
        for (const cad::XDataItem& item : xdata)
            if (item.code() == 1001) db.registerApplication(item.asText());
        opened->setXData(xdata);
    }
    return id;
}

// A space block record's XData with the given application name and NAME= value.
inline cad::XDataChain spaceXData(const std::string& app, const std::string& name) {
    return {cad::XDataItem::appName(app), cad::XDataItem::open(),
            cad::XDataItem::text("AREA=12.50sq.m."), cad::XDataItem::text("NAME=" + name),
            cad::XDataItem::close()};
}

}  // namespace plantest
