#pragma once
// Synthetic floor plans for the demo and the benchmarks, built through the engine's database:
// rooms in a grid with walls, some outlines with an arc, furniture blocks with attributes as
// assets, a gross outline, and space blocks laid out as the creation command lays them out (the
// outline inside a "ROOM-" definition, the reference at the area text, the XData record on it).
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Circle.h"
#include "engine/db/Database.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Line.h"
#include "engine/db/Polyline.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/XData.h"

namespace floorplan {

struct Options {
    int columns = 6;              // rooms per row
    int rows = 6;                 // rows of rooms (a corridor after every second row)
    int assetsPerRoom = 3;        // furniture references inside each room
    int spaceEvery = 2;           // every n-th room already is a space block (1: all)
    int arcEvery = 5;             // every n-th room has an arc for its top wall (0: none)
    int handEditedEvery = 0;      // every n-th space's area attribute was typed by hand (0: none)
    bool grossArea = true;        // a ROOM-GROSS_AREA block round the whole floor
    std::string namePrefix = "L1-";
};

struct Counts {
    int rooms = 0;
    int spaces = 0;
    int assets = 0;
};

class Generator {
public:
    static constexpr double kCellWidth = 6000.0;   // millimetres
    static constexpr double kCellDepth = 5000.0;
    static constexpr double kCorridor = 2000.0;
    static constexpr double kWall = 100.0;
    static constexpr double kTextHeight = 250.0;

    Generator(cad::Database& db, Options options) : db_(db), options_(std::move(options)) {}

    Counts build() {
        for (const char* layer : {"WALLS", "SPACES", "FURNITURE", "ATT-NAME", "ATT-AREA", "ATT-AUX", "GROSS"})
            addLayer(layer);
        defineFurniture();
        Counts counts;
        for (int row = 0; row < options_.rows; ++row) {
            for (int column = 0; column < options_.columns; ++column) {
                const int index = row * options_.columns + column;
                const double x0 = column * kCellWidth;
                const double y0 = row * kCellDepth + (row / 2) * kCorridor;
                addRoom(index, x0, y0, counts);
            }
        }
        if (options_.grossArea) addGrossArea();
        return counts;
    }

private:
    static std::string number(int value, int width) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
        return buffer;
    }
    static std::string fixed(double value, int decimals) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        return buffer;
    }

    void addLayer(const std::string& name) {
        auto table = db_.open<cad::SymbolTable>(db_.layerTableId(), cad::OpenMode::ForWrite);
        if (!table->has(name)) table->add(std::make_unique<cad::LayerTableRecord>(name));
    }
    cad::ObjectId layer(const std::string& name) const { return db_.recordId(cad::TableKind::Layer, name); }

    cad::ObjectId addBlock(const std::string& name) {
        auto table = db_.open<cad::SymbolTable>(db_.blockTableId(), cad::OpenMode::ForWrite);
        cad::ObjectId id;
        table->add(std::make_unique<cad::BlockTableRecord>(name), &id);
        return id;
    }
    cad::ObjectId append(cad::ObjectId block, std::unique_ptr<cad::Entity> entity, const std::string& layerName) {
        entity->setLayer(layer(layerName));
        auto record = db_.open<cad::BlockTableRecord>(block, cad::OpenMode::ForWrite);
        cad::ObjectId id;
        record->appendEntity(std::move(entity), &id);
        return id;
    }

    static std::unique_ptr<cad::Polyline> polyline(const std::vector<cad::Point2d>& points,
                                                   const std::vector<double>& bulges = {}) {
        auto pl = std::make_unique<cad::Polyline>();
        for (std::size_t i = 0; i < points.size(); ++i)
            pl->addVertexAt(i, points[i], i < bulges.size() ? bulges[i] : 0.0);
        pl->setClosed(true);
        return pl;
    }

    template <class Text>
    static void styleText(Text& text, const cad::Point3d& at) {
        text.setPosition(at);
        text.setHeight(kTextHeight);
    }

    void addAttributeDefinition(cad::ObjectId block, const std::string& tag, const std::string& prompt,
                                const std::string& byDefault, const cad::Point3d& at, const std::string& layerName) {
        auto definition = std::make_unique<cad::AttributeDefinition>();
        styleText(*definition, at);
        definition->setTag(tag);
        definition->setPrompt(prompt);
        definition->setTextString(byDefault);
        definition->setFieldLength(25);
        append(block, std::move(definition), layerName);
    }

    void addAttribute(cad::BlockReference& reference, const std::string& tag, const std::string& value,
                      const cad::Point3d& at, const std::string& layerName) {
        auto attribute = std::make_unique<cad::Attribute>();
        styleText(*attribute, at);
        attribute->setTag(tag);
        attribute->setTextString(value);
        attribute->setLayer(layer(layerName));
        reference.appendAttribute(std::move(attribute));
    }

    void defineFurniture() {
        desk_ = addBlock("DESK");
        append(desk_, polyline({{-800, -400}, {800, -400}, {800, 400}, {-800, 400}}), "0");
        addAttributeDefinition(desk_, "ASSET_TAG", "Asset tag", "D-0000", {-700, -150, 0}, "0");
        addAttributeDefinition(desk_, "TYPE", "Type", "desk", {-700, 150, 0}, "0");
        chair_ = addBlock("CHAIR");
        append(chair_, std::make_unique<cad::Circle>(cad::Point3d(0, 0, 0), 250.0), "0");
        addAttributeDefinition(chair_, "ASSET_TAG", "Asset tag", "C-0000", {-200, -100, 0}, "0");
    }

    void addFurniture(int room, double x0, double y0, Counts& counts) {
        auto modelSpace = db_.modelSpaceId();
        for (int i = 0; i < options_.assetsPerRoom; ++i) {
            const bool isDesk = i % 2 == 0;
            // Desks along the lower part of the room, chairs in front of them.
            const double x = x0 + 1200.0 + (i / 2) * 1800.0;
            const double y = y0 + (isDesk ? 1000.0 : 1800.0);
            auto reference = std::make_unique<cad::BlockReference>(cad::Point3d(x, y, 0), isDesk ? desk_ : chair_);
            const cad::ObjectId id = append(modelSpace, std::move(reference), "FURNITURE");
            auto opened = db_.open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
            const std::string tag = (isDesk ? "D-" : "C-") + number(room * 16 + i, 6);
            addAttribute(*opened, "ASSET_TAG", tag, {x - (isDesk ? 700 : 200), y - (isDesk ? 150 : 100), 0}, "FURNITURE");
            if (isDesk) addAttribute(*opened, "TYPE", "desk", {x - 700, y + 150, 0}, "FURNITURE");
            ++counts.assets;
        }
    }

    static cad::XDataChain record(double area, double perimeter, const std::string& name) {
        cad::XDataChain chain = {cad::XDataItem::appName("ADE"), cad::XDataItem::open()};
        for (const std::string& item :
             {"AREA=" + fixed(area, 2) + "sq.m.", "PERIMETER=" + fixed(perimeter, 2) + "m.", "NAME=" + name,
              std::string("TAGTYPE=<Not Set>"), std::string("AREA_TYPE=Office"), std::string("COST_CENTRE=<Not Set>"),
              std::string("DATE=<Not Set>"), std::string("DATE_L_MOVE=<Not Set>"), std::string("DEPT_CHARGE=<Not Set>"),
              "ROOM_HEIGHT=" + fixed(2.7, 2) + "m.", std::string("SPECIAL_REQ=<Not Set>"),
              std::string("TOT_STAFF=<Not Set>"), std::string("TOT_WKSTNS=<Not Set>"),
              "VOLUME=" + fixed(2.7 * area, 2) + "cu.m.", std::string("HANDLESTOMINUS="), std::string("HANDLESTOADD=")})
            chain.push_back(cad::XDataItem::text(item));
        chain.push_back(cad::XDataItem::close());
        return chain;
    }

    // A space block over the outline: the definition holds the outline moved so that the
    // reference at `anchor` shows it where it was drawn, and the three attribute definitions.
    void addSpaceBlock(const std::string& blockName, const std::string& name, std::vector<cad::Point2d> outline,
                       const std::vector<double>& bulges, const cad::Point3d& anchor, double area, double perimeter,
                       bool handEdited) {
        db_.registerApplication("ADE");
        const cad::ObjectId block = addBlock(blockName);
        for (cad::Point2d& p : outline) p = cad::Point2d(p.x - anchor.x, p.y - anchor.y);
        append(block, polyline(outline, bulges), "SPACES");
        const double offset = kTextHeight * 1.5;
        addAttributeDefinition(block, "AREA", "Enter Area", "DEFAULT AREA", {0, 0, 0}, "ATT-AREA");
        addAttributeDefinition(block, "NAME", "Enter Name", "DEFAULT NAME", {0, offset, 0}, "ATT-NAME");
        addAttributeDefinition(block, "AUX", "Enter Auxillary Value", "DEFAULT AUX", {0, -offset, 0}, "ATT-AUX");
        const cad::ObjectId id =
            append(db_.modelSpaceId(), std::make_unique<cad::BlockReference>(anchor, block), "SPACES");
        auto reference = db_.open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
        const std::string areaText = handEdited ? "approx. " + fixed(area, 0) + " sq.m." : fixed(area, 2) + "sq.m.";
        addAttribute(*reference, "AREA", areaText, anchor, "ATT-AREA");
        addAttribute(*reference, "NAME", name, {anchor.x, anchor.y + offset, 0}, "ATT-NAME");
        addAttribute(*reference, "AUX", fixed(perimeter, 2) + "m.", {anchor.x, anchor.y - offset, 0}, "ATT-AUX");
        reference->setXData(record(area, perimeter, name));
    }

    void addRoom(int index, double x0, double y0, Counts& counts) {
        const double ix0 = x0 + kWall, iy0 = y0 + kWall;
        const double ix1 = x0 + kCellWidth - kWall, iy1 = y0 + kCellDepth - kWall;
        // Walls: the cell's bottom and left sides (the neighbours draw the others), closed at the
        // floor's right and top edges.
        const cad::ObjectId ms = db_.modelSpaceId();
        append(ms, std::make_unique<cad::Line>(cad::Point3d(x0, y0, 0), cad::Point3d(x0 + kCellWidth, y0, 0)), "WALLS");
        append(ms, std::make_unique<cad::Line>(cad::Point3d(x0, y0, 0), cad::Point3d(x0, y0 + kCellDepth, 0)), "WALLS");
        const int column = index % options_.columns;
        const int row = index / options_.columns;
        if (column == options_.columns - 1)
            append(ms, std::make_unique<cad::Line>(cad::Point3d(x0 + kCellWidth, y0, 0),
                                                   cad::Point3d(x0 + kCellWidth, y0 + kCellDepth, 0)), "WALLS");
        if (row % 2 == 1 || row == options_.rows - 1)
            append(ms, std::make_unique<cad::Line>(cad::Point3d(x0, y0 + kCellDepth, 0),
                                                   cad::Point3d(x0 + kCellWidth, y0 + kCellDepth, 0)), "WALLS");

        std::vector<cad::Point2d> outline = {{ix0, iy0}, {ix1, iy0}, {ix1, iy1}, {ix0, iy1}};
        std::vector<double> bulges = {0, 0, 0, 0};
        const double width = ix1 - ix0, depth = iy1 - iy0;
        double area = width * depth / 1e6;
        double perimeter = 2 * (width + depth) / 1e3;
        if (options_.arcEvery > 0 && index % options_.arcEvery == options_.arcEvery - 1) {
            // The top wall curves into the room: a shallow arc of bulge -0.1.
            const double bulge = -0.1;
            bulges[2] = bulge;
            const double theta = 4 * std::atan(std::fabs(bulge));
            const double radius = width / (2 * std::sin(theta / 2));
            const double segment = radius * radius / 2 * (theta - std::sin(theta));
            area -= segment / 1e6;
            perimeter += (radius * theta - width) / 1e3;
        }
        ++counts.rooms;
        addFurniture(index, ix0, iy0, counts);
        const std::string name = options_.namePrefix + number(index + 1, 3);
        const bool isSpace = options_.spaceEvery > 0 && index % options_.spaceEvery == 0;
        if (!isSpace) {
            append(ms, polyline(outline, bulges), "SPACES");
            return;
        }
        ++counts.spaces;
        const bool handEdited =
            options_.handEditedEvery > 0 && counts.spaces % options_.handEditedEvery == 0;
        const cad::Point3d anchor((ix0 + ix1) / 2, (iy0 + iy1) / 2, 0);
        // The record was measured before the arc rooms were redrawn: their stored area is the
        // rectangle's, which `mus` puts right.
        const double storedArea = std::round(width * depth / 1e4) / 100.0;
        addSpaceBlock("ROOM-" + std::to_string(index + 1), name, outline, bulges, anchor,
                      bulges[2] != 0 ? storedArea : area, perimeter, handEdited);
    }

    void addGrossArea() {
        const double width = options_.columns * kCellWidth;
        const double depth = options_.rows * kCellDepth + ((options_.rows - 1) / 2) * kCorridor;
        std::vector<cad::Point2d> outline = {{0, 0}, {width, 0}, {width, depth}, {0, depth}};
        addSpaceBlock("ROOM-GROSS_AREA", "GROSS AREA", outline, {}, {width / 2, -1000, 0}, width * depth / 1e6,
                      2 * (width + depth) / 1e3, false);
    }

    cad::Database& db_;
    Options options_;
    cad::ObjectId desk_;
    cad::ObjectId chair_;
};

}  // namespace floorplan
