#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Dictionary.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Layout.h"
#include "engine/db/LinetypeTableRecord.h"
#include "engine/db/Placeholder.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/TableStyle.h"
#include "engine/db/TextStyleTableRecord.h"
#include "engine/db/Viewport.h"
#include "engine/db/ViewportTableRecord.h"

namespace cad {

namespace {

template <class T>
T* objectAs(Database& db, ObjectId id) {
    return static_cast<T*>(db.objectAt(id));
}

ObjectId addBlock(Database& db, std::string_view name) {
    auto* table = objectAs<SymbolTable>(db, db.blockTableId());
    ObjectId id;
    table->add(std::make_unique<BlockTableRecord>(name), &id);
    auto* block = objectAs<BlockTableRecord>(db, id);
    ObjectId layer0 = db.recordId(TableKind::Layer, "0");
    auto begin = std::make_unique<BlockBegin>();
    begin->setLayer(layer0);
    auto end = std::make_unique<BlockEnd>();
    end->setLayer(layer0);
    ObjectId beginId, endId;
    db.addObject(std::move(begin), id, {}, &beginId);
    db.addObject(std::move(end), id, {}, &endId);
    block->setBlockBeginId(beginId);
    block->setBlockEndId(endId);
    return id;
}

ObjectId addDictionary(Dictionary& parent, std::string_view key,
                       const char* dxfName = "DICTIONARY") {
    ObjectId id;
    parent.setAt(key, std::make_unique<Dictionary>(dxfName), &id);
    return id;
}

ObjectId addLayout(Database& db, Dictionary& layouts, std::string_view name, int tabOrder, ObjectId blockId) {
    auto layout = std::make_unique<Layout>();
    layout->setLayoutName(std::string(name));
    layout->setTabOrder(tabOrder);
    layout->setBlockTableRecordId(blockId);
    if (tabOrder == 0) {
        layout->setLayoutFlags(1);
        layout->plotSettings().plotType = 0;  // display
        layout->plotSettings().layoutFlags = 1712;
        layout->limitsMax = {420, 297};
    }
    ObjectId id;
    layouts.setAt(name, std::move(layout), &id);
    objectAs<BlockTableRecord>(db, blockId)->setLayoutId(id);
    return id;
}

}  // namespace

std::unique_ptr<Database> Database::createDefault() {
    auto db = std::make_unique<Database>();
    Database& d = *db;

    auto nod = std::make_unique<Dictionary>();
    nod->setMergeStyle(1);
    ObjectId nodId;
    d.addObject(std::move(nod), {}, {}, &nodId);
    d.setNamedObjectsDictionaryId(nodId);

    for (TableKind kind : {TableKind::Viewport, TableKind::Linetype, TableKind::Layer, TableKind::TextStyle,
                           TableKind::View, TableKind::Ucs, TableKind::RegApp, TableKind::DimStyle,
                           TableKind::Block}) {
        ObjectId id;
        d.addObject(std::make_unique<SymbolTable>(kind), {}, {}, &id);
        d.setTableId(kind, id);
    }

    auto* vports = objectAs<SymbolTable>(d, d.tableId(TableKind::Viewport));
    auto active = std::make_unique<ViewportTableRecord>("*Active");
    active->setCenterPoint({210, 148.5});
    active->setHeight(297);
    active->setAspectRatio(420.0 / 297.0);
    // "*Active" is a reserved name that the naming rules for new records would refuse.
    vports->add(std::move(active), nullptr, {}, false);

    auto* linetypes = objectAs<SymbolTable>(d, d.linetypeTableId());
    linetypes->add(std::make_unique<LinetypeTableRecord>("ByBlock"));
    linetypes->add(std::make_unique<LinetypeTableRecord>("ByLayer"));
    auto continuous = std::make_unique<LinetypeTableRecord>("Continuous");
    continuous->setDescription("Solid line");
    ObjectId continuousId;
    linetypes->add(std::move(continuous), &continuousId);

    auto* layers = objectAs<SymbolTable>(d, d.layerTableId());
    auto layer0 = std::make_unique<LayerTableRecord>("0");
    layer0->setLinetypeId(continuousId);
    layers->add(std::move(layer0));
    auto defpoints = std::make_unique<LayerTableRecord>("Defpoints");
    defpoints->setLinetypeId(continuousId);
    defpoints->setPlottable(false);
    layers->add(std::move(defpoints));

    auto* styles = objectAs<SymbolTable>(d, d.textStyleTableId());
    ObjectId standardStyle;
    styles->add(std::make_unique<TextStyleTableRecord>("Standard"), &standardStyle);

    d.registerApplication("ACAD");
    objectAs<SymbolTable>(d, d.tableId(TableKind::DimStyle))
        ->add(std::make_unique<OtherTableRecord>(TableKind::DimStyle, "Standard"));

    ObjectId model = addBlock(d, "*Model_Space");
    ObjectId paper = addBlock(d, "*Paper_Space");

    auto* root = objectAs<Dictionary>(d, nodId);
    addDictionary(*root, "ACAD_COLOR");
    addDictionary(*root, "ACAD_GROUP");
    auto* layouts = objectAs<Dictionary>(d, addDictionary(*root, "ACAD_LAYOUT"));
    addDictionary(*root, "ACAD_MATERIAL");
    addDictionary(*root, "ACAD_MLEADERSTYLE");
    addDictionary(*root, "ACAD_MLINESTYLE");
    addDictionary(*root, "ACAD_PLOTSETTINGS");
    auto* plotStyles = objectAs<Dictionary>(d, addDictionary(*root, "ACAD_PLOTSTYLENAME", "ACDBDICTIONARYWDFLT"));
    ObjectId normal;
    plotStyles->setAt("Normal", std::make_unique<Placeholder>(), &normal);
    plotStyles->setDefaultId(normal);
    addDictionary(*root, "ACAD_SCALELIST");
    auto* tableStyles = objectAs<Dictionary>(d, addDictionary(*root, "ACAD_TABLESTYLE"));
    auto standardTable = std::make_unique<TableStyle>();
    standardTable->setDescription("Standard");
    for (auto row : {TableStyle::Data, TableStyle::Title, TableStyle::Header})
        standardTable->cellStyle(row).textStyle = standardStyle;
    tableStyles->setAt("Standard", std::move(standardTable));
    addDictionary(*root, "ACAD_VISUALSTYLE");

    addLayout(d, *layouts, "Model", 0, model);
    ObjectId sheetLayout = addLayout(d, *layouts, "Layout1", 1, paper);

    // The sheet itself, then one window onto model space.
    auto* paperBlock = objectAs<BlockTableRecord>(d, paper);
    const PlotSettings& plot = objectAs<Layout>(d, sheetLayout)->plotSettings();
    double w = plot.paperWidth, h = plot.paperHeight;
    auto sheet = std::make_unique<Viewport>();
    sheet->setNumber(1);
    sheet->setCenterPoint({w / 2, h / 2, 0});
    sheet->setWidth(w * 1.1);
    sheet->setHeight(h * 1.1);
    sheet->setViewCenter({w / 2, h / 2});
    sheet->setViewHeight(h * 1.1);
    ObjectId sheetId;
    paperBlock->appendEntity(std::move(sheet), &sheetId);
    auto window = std::make_unique<Viewport>();
    window->setNumber(2);
    window->setCenterPoint({w / 2, h / 2, 0});
    window->setWidth(w - 20);
    window->setHeight(h - 20);
    window->setViewCenter({w / 2, h / 2});
    window->setViewHeight(h - 20);
    paperBlock->appendEntity(std::move(window));
    objectAs<Layout>(d, sheetLayout)->setLastActiveViewportId(sheetId);

    HeaderVariables& hv = d.header();
    hv.setString("$ACADVER", 1, "AC1032");
    hv.setString("$DWGCODEPAGE", 3, "ANSI_1252");
    hv.setPoint("$INSBASE", {0, 0, 0});
    hv.setPoint("$EXTMIN", {1e20, 1e20, 1e20});
    hv.setPoint("$EXTMAX", {-1e20, -1e20, -1e20});
    hv.setPoint("$LIMMIN", {0, 0, 0}, false);
    hv.setPoint("$LIMMAX", {420, 297, 0}, false);
    hv.setDouble("$LTSCALE", 40, 1.0);
    hv.setDouble("$TEXTSIZE", 40, 2.5);
    hv.setString("$TEXTSTYLE", 7, "Standard");
    hv.setString("$CLAYER", 8, "0");
    hv.setString("$CELTYPE", 6, "ByLayer");
    hv.setInt("$CECOLOR", 62, 256);
    hv.setInt("$CELWEIGHT", 370, -1);
    hv.setString("$DIMSTYLE", 2, "Standard");
    hv.setInt("$LUNITS", 70, 2);
    hv.setInt("$LUPREC", 70, 4);
    hv.setInt("$AUNITS", 70, 0);
    hv.setInt("$AUPREC", 70, 0);
    hv.setPoint("$UCSORG", {0, 0, 0});
    hv.setPoint("$UCSXDIR", {1, 0, 0});
    hv.setPoint("$UCSYDIR", {0, 1, 0});
    hv.setInt("$TILEMODE", 70, 1);
    hv.setInt("$INSUNITS", 70, 4);
    hv.setInt("$MEASUREMENT", 70, 1);
    hv.setInt("$PSTYLEMODE", 290, 1);
    hv.setInt("$SORTENTS", 280, 127);
    hv.setString("$HYPERLINKBASE", 1, "");
    return db;
}

}  // namespace cad
