#include <gtest/gtest.h>

#include <cmath>

#include "SpaceDrawing.h"
#include "spaceblocks/Attributes.h"
#include "spaceblocks/KorvaAttribute.h"

using namespace spacetest;

namespace {

constexpr double kPi = 3.141592653589793;

cad::Point3d positionOf(cad::Database& db, cad::ObjectId reference, const std::string& tag) {
    auto ref = db.open<cad::BlockReference>(reference);
    auto attribute = db.open<cad::Attribute>(ref->attributeId(tag));
    return attribute->position();
}

std::string textOf(cad::Database& db, cad::ObjectId reference, const std::string& tag) {
    auto ref = db.open<cad::BlockReference>(reference);
    return db.open<cad::Attribute>(ref->attributeId(tag))->textString();
}

void expectAt(const cad::Point3d& actual, double x, double y) {
    EXPECT_NEAR(actual.x, x, 1e-9);
    EXPECT_NEAR(actual.y, y, 1e-9);
}

}  // namespace

TEST(SpaceAttributes, KindsSetTagsAndAddRefusesDuplicateTags) {
    CKorvaAttribute attribute(CKorvaAttribute::kArea, "12 sq.m.");
    EXPECT_EQ(attribute.getTag(), "AREA");
    attribute.setKind(7);
    EXPECT_EQ(attribute.getTag(), "AREA");
    attribute.setKind(CKorvaAttribute::kAux);
    EXPECT_EQ(attribute.getTag(), "AUX");

    CAttributes attributes;
    EXPECT_TRUE(attributes.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "first")));
    EXPECT_FALSE(attributes.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "second")));
    EXPECT_EQ(attributes.getCount(), 1u);
    EXPECT_TRUE(attributes.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "second"), true));
    EXPECT_EQ(attributes.getCount(), 2u);
    EXPECT_EQ(attributes.getAtAttribute(CKorvaAttribute::kName)->getValue(), "first");
    // Plain attributes have no kind; tags compare exactly.
    attributes.add(std::make_unique<CAttribute>("AUX", "plain"));
    EXPECT_EQ(attributes.getAtAttribute(CKorvaAttribute::kAux), nullptr);
    EXPECT_EQ(attributes.getAtAttribute(std::string("AUX"))->getValue(), "plain");
    EXPECT_EQ(attributes.getAtAttribute(std::string("aux")), nullptr);
    attributes.deleteObjects();
    EXPECT_EQ(attributes.getCount(), 0u);
    EXPECT_DOUBLE_EQ(attributes.getTextHeight(), 250.0);
    EXPECT_DOUBLE_EQ(attributes.getWidthFactor(), 1.0);
}

TEST(SpaceAttributes, ReadingTagsInAnyCaseAndTheFirstAttributesFormatting) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId id =
        addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10, 10),
                      {{"name", "Office"}, {"Area", "12 sq.m."}, {"OTHER", "x"}, {"aux", "A"}});
    {
        auto ref = db->open<cad::BlockReference>(id);
        auto first = db->open<cad::Attribute>(ref->attributeIds().front(), cad::OpenMode::ForWrite);
        first->setHeight(180);
        first->setWidthFactor(0.8);
        first->setRotation(kPi / 2);
    }
    auto ref = db->open<cad::BlockReference>(id);
    CAttributes attributes;
    attributes.extractSpaceBlockAttributeValues(*ref, cad::Matrix3d::identity());
    EXPECT_EQ(attributes.getCount(), 3u);
    EXPECT_EQ(attributes.getAtAttribute(CKorvaAttribute::kName)->getValue(), "Office");
    EXPECT_EQ(attributes.getAtAttribute(CKorvaAttribute::kName)->getLayer(), "ATT-name");
    EXPECT_EQ(attributes.getAtAttribute(CKorvaAttribute::kArea)->getValue(), "12 sq.m.");
    EXPECT_EQ(attributes.getAtAttribute(CKorvaAttribute::kAux)->getValue(), "A");
    EXPECT_EQ(attributes.getAtAttribute(std::string("AREA"))->getTag(), "AREA");
    EXPECT_DOUBLE_EQ(attributes.getTextHeight(), 180.0);
    EXPECT_DOUBLE_EQ(attributes.getWidthFactor(), 0.8);
    EXPECT_NEAR(attributes.getRotation(), 90.0, 1e-9);
    expectAt(attributes.getAreaPosition(), 1000, 2000);

    // Measured in a user coordinate system turned 90 degrees, the same text lies at 0 degrees.
    const cad::Matrix3d turned = cad::Matrix3d::rotation(kPi / 2, cad::Vector3d::zAxis());
    attributes.extractSpaceBlockAttributeValues(*ref, turned);
    EXPECT_NEAR(attributes.getRotation(), 0.0, 1e-9);

    CAttributes plain;
    plain.extractAttributeValues(*ref);
    ASSERT_EQ(plain.getCount(), 4u);
    EXPECT_EQ(plain.getAt(2).getTag(), "OTHER");
    EXPECT_EQ(plain.getAt(2).getExists(), 1);
    EXPECT_EQ(plain.getAt(2).getLayer(), "ATT-OTHER");
}

TEST(SpaceAttributes, LayoutAroundTheAreaTextForRotationZeroAndNinety) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId id = addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10, 10),
                                           standardAttributes("old", "old", "old"), {}, {1, 1, 1}, {0, 0, 0});
    CAttributes attributes;
    attributes.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "Office"));
    attributes.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kArea, "50.00 sq.m."));
    attributes.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kAux, "Dept"));
    const cad::Point3d anchor(1000, 2000, 0);
    attributes.applyToDWG(*db, id, cad::Matrix3d::identity(), &anchor);
    expectAt(positionOf(*db, id, "NAME"), 1000, 2375);
    expectAt(positionOf(*db, id, "AREA"), 1000, 2000);
    expectAt(positionOf(*db, id, "AUX"), 1000, 1625);
    EXPECT_EQ(textOf(*db, id, "NAME"), "Office");
    EXPECT_EQ(textOf(*db, id, "AUX"), "Dept");

    // Without an anchor the AREA text stays where it is.
    attributes.setRotation(90);
    attributes.setTextHeight(250);
    attributes.applyToDWG(*db, id, cad::Matrix3d::identity());
    expectAt(positionOf(*db, id, "NAME"), 1000 - 375, 2000);
    expectAt(positionOf(*db, id, "AREA"), 1000, 2000);
    expectAt(positionOf(*db, id, "AUX"), 1000 + 375, 2000);
    auto ref = db->open<cad::BlockReference>(id);
    auto aux = db->open<cad::Attribute>(ref->attributeId("AUX"));
    EXPECT_NEAR(aux->rotation(), kPi / 2, 1e-12);
    EXPECT_DOUBLE_EQ(aux->height(), 250.0);

    // Rotation 0 in a UCS turned 90 degrees is 90 degrees in the world.
    attributes.setRotation(0);
    attributes.applyToDWG(*db, id, cad::Matrix3d::rotation(kPi / 2, cad::Vector3d::zAxis()), &anchor);
    expectAt(positionOf(*db, id, "NAME"), 625, 2000);
}

TEST(SpaceAttributes, MissingKindsAreLeftAloneAndPlainValuesGoByTag) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId id =
        addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10, 10), {{"NAME", "n"}, {"AREA", "a"}});
    {
        auto ref = db->open<cad::BlockReference>(id);
        CAttributes read;
        read.extractSpaceBlockAttributeValues(*ref, cad::Matrix3d::identity());
        EXPECT_EQ(read.getCount(), 2u);
        EXPECT_EQ(read.getAtAttribute(CKorvaAttribute::kAux), nullptr);
    }
    CAttributes onlyName;
    onlyName.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "renamed"));
    EXPECT_NO_THROW(onlyName.applyToDWG(*db, id, cad::Matrix3d::identity()));
    EXPECT_EQ(textOf(*db, id, "NAME"), "renamed");
    EXPECT_EQ(textOf(*db, id, "AREA"), "a");

    ensureLayer(*db, "NEW-LAYER");
    CAttributes values;
    values.add(std::make_unique<CAttribute>("AREA", "by tag", "NEW-LAYER"));
    values.add(std::make_unique<CAttribute>("name", "not matched"));
    {
        auto ref = db->open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
        CAttributes::applyToDWG(*ref, values);
    }
    EXPECT_EQ(textOf(*db, id, "AREA"), "by tag");
    EXPECT_EQ(textOf(*db, id, "NAME"), "renamed");
    auto ref = db->open<cad::BlockReference>(id);
    EXPECT_EQ(db->open<cad::Attribute>(ref->attributeId("AREA"))->layerName(), "NEW-LAYER");
    EXPECT_EQ(db->open<cad::Attribute>(ref->attributeId("NAME"))->layerName(), "ATT-NAME");
}

TEST(SpaceAttributes, CopiesCarryValuesKindsAndFormattingButNotLayers) {
    CAttributes source;
    auto name = std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "Office", "ATT-NAME");
    name->setExists(1);
    source.add(std::move(name));
    source.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kAux, "Dept"));
    source.setTextHeight(100);
    source.setRotation(45);
    source.setWidthFactor(0.5);
    source.setAreaPosition({1, 2, 3});

    CAttributes korva;
    korva.add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, "kept"));
    source.copyKorvaAttributesTo(korva);
    EXPECT_EQ(korva.getCount(), 2u);
    EXPECT_EQ(korva.getAtAttribute(CKorvaAttribute::kName)->getValue(), "kept");
    EXPECT_EQ(korva.getAtAttribute(CKorvaAttribute::kAux)->getValue(), "Dept");
    EXPECT_DOUBLE_EQ(korva.getTextHeight(), 100);
    EXPECT_DOUBLE_EQ(korva.getRotation(), 45);
    EXPECT_DOUBLE_EQ(korva.getWidthFactor(), 0.5);
    EXPECT_EQ(korva.getAreaPosition(), cad::Point3d());

    CAttributes plain;
    source.copyAttributesTo(plain);
    ASSERT_EQ(plain.getCount(), 2u);
    EXPECT_EQ(plain.getAt(0).getTag(), "NAME");
    EXPECT_EQ(plain.getAt(0).getExists(), 1);
    EXPECT_EQ(plain.getAt(0).getLayer(), "");
    EXPECT_EQ(plain.getAtAttribute(CKorvaAttribute::kName), nullptr);
}

TEST(SpaceAttributes, HidingAndShowingAttributes) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId id = addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10, 10), standardAttributes());
    std::vector<cad::ObjectId> hidden;
    {
        auto ref = db->open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
        auto aux = db->open<cad::Attribute>(ref->attributeId("AUX"), cad::OpenMode::ForWrite);
        aux->setVisible(false);
        aux.close();
        hidden = CAttributes::setAttributesIDsInvisible(*ref);
    }
    EXPECT_EQ(hidden.size(), 2u);
    auto ref = db->open<cad::BlockReference>(id);
    EXPECT_FALSE(db->open<cad::Attribute>(ref->attributeId("NAME"))->isVisible());
    CAttributes::setAttributesIDsVisible(*db, hidden);
    EXPECT_TRUE(db->open<cad::Attribute>(ref->attributeId("NAME"))->isVisible());
    EXPECT_TRUE(db->open<cad::Attribute>(ref->attributeId("AREA"))->isVisible());
    EXPECT_FALSE(db->open<cad::Attribute>(ref->attributeId("AUX"))->isVisible());
}
