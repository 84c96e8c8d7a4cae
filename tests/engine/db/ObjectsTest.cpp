#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "DbTestSupport.h"
#include "engine/db/Arc.h"
#include "engine/db/BlockReference.h"
#include "engine/db/Dictionary.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Layout.h"
#include "engine/db/Line.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/Text.h"
#include "engine/db/UnknownEntity.h"
#include "engine/db/UnknownObject.h"
#include "engine/db/Viewport.h"

using namespace cad;

TEST(Dictionary, EntriesOwnershipAndReplacement) {
    auto db = Database::createDefault();
    auto* groups = static_cast<Dictionary*>(db->objectAt(db->namedObject("ACAD_GROUP")));
    ObjectId first, second;
    ASSERT_EQ(groups->setAt("Desks", std::make_unique<UnknownObject>("GROUP"), &first), ErrorStatus::eOk);
    EXPECT_EQ(db->objectAt(first)->ownerId(), groups->objectId());
    EXPECT_EQ(db->objectAt(first)->reactors(), std::vector<ObjectId>{groups->objectId()});
    EXPECT_EQ(groups->keyOf(first), "Desks");

    // The same key (in any case) replaces the entry and erases the old object.
    ASSERT_EQ(groups->setAt("DESKS", std::make_unique<UnknownObject>("GROUP"), &second), ErrorStatus::eOk);
    EXPECT_EQ(groups->getAt("desks"), second);
    EXPECT_TRUE(db->objectAt(first)->isErased());
    EXPECT_EQ(groups->entries().size(), 1u);
    EXPECT_EQ(groups->setAt("", std::make_unique<UnknownObject>("GROUP")), ErrorStatus::eInvalidInput);

    EXPECT_TRUE(groups->remove("Desks"));
    EXPECT_FALSE(groups->remove("Desks"));
    EXPECT_TRUE(groups->getAt("Desks").isNull());
    EXPECT_FALSE(db->objectAt(second)->isErased());  // removing an entry keeps the object

    // Erasing a dictionary erases what it owns, not what it merely lists.
    ObjectId outsider = test::append(*db, std::make_unique<Line>());
    groups->addEntry("LISTED", outsider);
    ObjectId owned;
    groups->setAt("OWNED", std::make_unique<UnknownObject>("XRECORD"), &owned);
    ASSERT_EQ(db->erase(groups->objectId()), ErrorStatus::eOk);
    EXPECT_TRUE(db->objectAt(owned)->isErased());
    EXPECT_FALSE(db->objectAt(outsider)->isErased());
}

TEST(ExtensionDictionary, CreatedOnceWithItsOwnerAsReactor) {
    auto db = Database::createDefault();
    ObjectId line = test::append(*db, std::make_unique<Line>());
    auto* obj = db->objectAt(line);
    ASSERT_EQ(obj->createExtensionDictionary(), ErrorStatus::eOk);
    ObjectId xdict = obj->extensionDictionary();
    ASSERT_EQ(obj->createExtensionDictionary(), ErrorStatus::eOk);
    EXPECT_EQ(obj->extensionDictionary(), xdict);
    auto* dict = static_cast<Dictionary*>(db->objectAt(xdict));
    EXPECT_TRUE(dict->isHardOwner());
    EXPECT_EQ(dict->ownerId(), line);
    EXPECT_EQ(dict->reactors(), std::vector<ObjectId>{line});
    EXPECT_EQ(dict->ownerHandle(), db->handleOf(line));
}

TEST(Layers, FlagsAndEntityLayerNames) {
    auto db = Database::createDefault();
    auto* layers = static_cast<SymbolTable*>(db->objectAt(db->layerTableId()));
    auto owned = std::make_unique<LayerTableRecord>("##HATCH");
    owned->setFrozen(true);
    owned->setLocked(true);
    owned->setOff(true);
    ObjectId id;
    ASSERT_EQ(layers->add(std::move(owned), &id), ErrorStatus::eOk);
    auto* layer = static_cast<LayerTableRecord*>(db->objectAt(id));
    EXPECT_EQ(layer->flags(), 5);  // frozen + locked, as DXF stores them
    EXPECT_TRUE(layer->isOff());
    layer->setFrozen(false);
    EXPECT_EQ(layer->flags(), 4);

    auto line = std::make_unique<Line>();
    EXPECT_EQ(line->setLayer("##HATCH"), ErrorStatus::eNotApplicable);  // not in a database yet
    ObjectId lineId = test::append(*db, std::move(line));
    auto* entity = static_cast<Entity*>(db->objectAt(lineId));
    EXPECT_EQ(entity->layerName(), "0");
    EXPECT_EQ(entity->setLayer("##hatch"), ErrorStatus::eOk);
    EXPECT_EQ(entity->layerName(), "##HATCH");
    EXPECT_EQ(entity->setLayer("NOPE"), ErrorStatus::eKeyNotFound);
    EXPECT_EQ(entity->linetypeName(), "ByLayer");
    EXPECT_EQ(entity->setLinetype("continuous"), ErrorStatus::eOk);
    EXPECT_EQ(entity->linetypeName(), "Continuous");
}

TEST(Layouts, ViewportsFreezeLayersPerViewport) {
    auto db = Database::createDefault();
    ObjectId sheet = db->layoutId("Layout1");
    auto* layout = static_cast<Layout*>(db->objectAt(sheet));
    EXPECT_FALSE(layout->isModelLayout());
    ASSERT_EQ(layout->viewportIds().size(), 2u);
    auto* vp = static_cast<Viewport*>(db->objectAt(layout->viewportIds()[1]));
    ObjectId a = db->recordId(TableKind::Layer, "0"), b = db->recordId(TableKind::Layer, "Defpoints");
    vp->freezeLayers({a, b, a});
    EXPECT_EQ(vp->frozenLayers().size(), 2u);
    EXPECT_TRUE(vp->isLayerFrozen(b));
    vp->thawLayers({b});
    EXPECT_FALSE(vp->isLayerFrozen(b));
    EXPECT_TRUE(vp->isLayerFrozen(a));

    vp->setHeight(100);
    vp->setViewHeight(10000);
    EXPECT_DOUBLE_EQ(vp->customScale(), 0.01);
    Extents3d box;
    vp->setCenterPoint({50, 40, 0});
    vp->setWidth(20);
    ASSERT_EQ(vp->getGeomExtents(box), ErrorStatus::eOk);
    EXPECT_EQ(box.minPoint(), (Point3d{40, -10, 0}));
}

TEST(UnknownEntities, KeepTheirTagsAndTakeTheirChildrenAlong) {
    auto db = Database::createDefault();
    auto polyline = std::make_unique<UnknownEntity>("POLYLINE", "AcDb2dPolyline");
    polyline->tags = {{100, "AcDb2dPolyline"}, {70, "1"}};
    ObjectId polyId = test::append(*db, std::move(polyline));
    auto* poly = static_cast<UnknownEntity*>(db->objectAt(polyId));
    for (int i = 0; i < 2; ++i) {
        ObjectId vertex;
        db->addObject(std::make_unique<UnknownEntity>("VERTEX", "AcDb2dVertex"), polyId, {}, &vertex);
        poly->children.push_back(vertex);
    }
    EXPECT_EQ(poly->className(), "AcDb2dPolyline");
    EXPECT_EQ(poly->dxfName(), "POLYLINE");
    EXPECT_EQ(poly->getGeomExtents(*std::make_unique<Extents3d>()), ErrorStatus::eNotApplicable);

    IdMapping mapping;
    ASSERT_EQ(db->deepCloneObjects({polyId}, db->modelSpaceId(), mapping), ErrorStatus::eOk);
    auto* copy = static_cast<UnknownEntity*>(db->objectAt(mapping.find(polyId)));
    EXPECT_EQ(copy->tags, poly->tags);
    ASSERT_EQ(copy->children.size(), 2u);
    EXPECT_EQ(copy->children[0], mapping.find(poly->children[0]));
    EXPECT_EQ(db->objectAt(copy->children[1])->ownerId(), copy->objectId());

    db->erase(polyId);
    EXPECT_TRUE(db->objectAt(poly->children[1])->isErased());
    EXPECT_FALSE(db->objectAt(copy->children[1])->isErased());
}

TEST(Transforms, LinesArcsAndTexts) {
    Line line({0, 0, 0}, {1, 0, 0});
    ASSERT_EQ(line.transformBy(Matrix3d::translation({1, 2, 3})), ErrorStatus::eOk);
    EXPECT_EQ(line.endPoint(), (Point3d{2, 2, 3}));

    // A mirrored arc still runs counter-clockwise about its (turned) normal over the mirrored points.
    Arc arc({0, 0, 0}, 1, 0, std::numbers::pi / 2);
    Point3d start = arc.startPoint(), end = arc.endPoint();
    ASSERT_EQ(arc.transformBy(Matrix3d::scaling(-1, 1, 1)), ErrorStatus::eOk);
    EXPECT_NEAR(arc.normal().z, -1.0, 1e-12);
    EXPECT_NEAR(arc.totalAngle(), std::numbers::pi / 2, 1e-12);
    EXPECT_TRUE(arc.startPoint().isEqualTo({-start.x, start.y, 0}, 1e-12));
    EXPECT_TRUE(arc.endPoint().isEqualTo({-end.x, end.y, 0}, 1e-12));

    Text text;
    text.setTextString("Office");
    text.setHeight(2.5);
    text.setPosition({1, 0, 0});
    ASSERT_EQ(text.transformBy(Matrix3d::rotation(std::numbers::pi / 2, Vector3d::zAxis()) *
                                Matrix3d::scaling(2, 4, 1)),
              ErrorStatus::eOk);
    EXPECT_NEAR(text.rotation(), std::numbers::pi / 2, 1e-12);
    EXPECT_DOUBLE_EQ(text.height(), 10.0);
    EXPECT_DOUBLE_EQ(text.widthFactor(), 0.5);
    EXPECT_TRUE(text.position().isEqualTo({0, 2, 0}, 1e-12));

    // Extents follow the alignment: centred text spreads both ways from its alignment point.
    Text centred;
    centred.setTextString("ABCD");
    centred.setHeight(1);
    centred.setHorizontalMode(Text::HorizontalMode::Center);
    centred.setAlignmentPoint({10, 0, 0});
    Extents3d box;
    ASSERT_EQ(centred.getGeomExtents(box), ErrorStatus::eOk);
    EXPECT_NEAR(box.center().x, 10.0, 1e-12);
    EXPECT_NEAR(box.minPoint().y, 0.0, 1e-12);
}

TEST(XData, PackedFormKeepsEveryKindAndLongStrings) {
    XDataChain chain{XDataItem::appName("APP"),       XDataItem::text(std::string(300, 'x')),
                     XDataItem::text(""),             XDataItem::real(-2.5, 1041),
                     XDataItem::int16(-7),            XDataItem::int32(123456789),
                     XDataItem::point({1, -2, 3}, 1011), XDataItem::handle(Handle(0xABCDEF)),
                     XDataItem::text("layer", 1003)};
    XDataChain back = unpackXData(packXData(chain));
    EXPECT_EQ(back, chain);
    EXPECT_EQ(back[1].asText().size(), 300u);
    EXPECT_TRUE(unpackXData("").empty());
    EXPECT_TRUE(packedXDataHasHandles(packXData(chain)));
    chain.erase(chain.begin() + 7);
    EXPECT_FALSE(packedXDataHasHandles(packXData(chain)));
}

// Rarely set fields live apart from the objects; copies must take them along, and setting a
// default must neither allocate them nor mark the object modified.
TEST(CompactObjects, RareFieldsAreCopiedAndDefaultsLeaveObjectsUnmodified) {
    Text text;
    text.setModified(false);
    text.setNormal(Vector3d::zAxis());
    text.setOblique(0.0);
    text.setThickness(0.0);
    EXPECT_FALSE(text.isModified());
    text.setNormal({0, 0, -1});
    text.setOblique(0.25);
    EXPECT_TRUE(text.isModified());
    auto copy = std::unique_ptr<Text>(static_cast<Text*>(text.clone().release()));
    copy->setOblique(0.5);
    EXPECT_EQ(copy->normal(), (Vector3d{0, 0, -1}));
    EXPECT_EQ(text.oblique(), 0.25);
    EXPECT_EQ(copy->thickness(), 0.0);

    BlockReference ref;
    ref.setModified(false);
    ref.setGrid(1, 1, 0.0, 0.0);
    EXPECT_FALSE(ref.isModified());
    EXPECT_EQ(ref.className(), "AcDbBlockReference");
    ref.setGrid(2, 3, 10.0, 20.0);
    EXPECT_TRUE(ref.isModified());
    auto grid = std::unique_ptr<BlockReference>(static_cast<BlockReference*>(ref.clone().release()));
    EXPECT_EQ(grid->className(), "AcDbMInsertBlock");
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->rowSpacing(), 20.0);
}

// Record names point at a shared table or at the object's own copy, which must follow the object
// through copies and clean-ups.
TEST(CompactObjects, RecordNamesSurviveCopiesAndCompaction) {
    auto custom = std::make_unique<UnknownEntity>("ACME_WIDGET", "AcmeWidget");
    custom->compact();
    auto copy = custom->clone();
    custom.reset();
    EXPECT_EQ(copy->dxfName(), "ACME_WIDGET");
    copy->setDxfName("VERTEX");
    EXPECT_EQ(copy->dxfName(), "VERTEX");
    copy->setDxfName("");
    EXPECT_EQ(copy->dxfName(), "");
    copy->setDxfName("acme_widget");
    copy->compact();
    EXPECT_EQ(copy->dxfName(), "acme_widget");
    using namespace std::string_view_literals;
    copy->setDxfName("C \0\0IRCLE"sv);
    EXPECT_EQ(copy->dxfName(), "C \0\0IRCLE"sv);
    EXPECT_EQ(copy->clone()->dxfName(), "C \0\0IRCLE"sv);

    // A stretch the object cannot note is dropped rather than cut short.
    const SourceText text(std::string("  0\nLINE\n"));
    Line line;
    line.setSource(&text, 0, text.size());
    EXPECT_EQ(line.source().view(), "  0\nLINE\n");
    line.setSource(&text, 0, std::size_t{1} << 33);
    EXPECT_TRUE(line.source().empty());
}
