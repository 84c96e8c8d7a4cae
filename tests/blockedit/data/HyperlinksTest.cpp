#include <gtest/gtest.h>

#include "../spaceblocks/SpaceDrawing.h"
#include "data/Hyperlinks.h"
#include "engine/db/Hyperlinks.h"
#include "logging/XMLUtilities.h"

using namespace spacetest;

TEST(Hyperlinks, ReadFromAnEntityOrFromItsBlockDefinition) {
    auto db = cad::Database::createDefault();
    const cad::ObjectId id = addSpaceBlock(*db, "ROOM-1", rectangle(0, 0, 10, 10), standardAttributes());
    {
        auto reference = db->open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
        ASSERT_EQ(cad::setHyperlinks(*reference, {{"http://a", "first", "", 0}, {"http://b", "", "", 0}}),
                  cad::ErrorStatus::eOk);
        auto definition = db->open<cad::BlockTableRecord>(reference->blockTableRecord());
        auto outline = db->open<cad::Entity>(definition->entityIds().front(), cad::OpenMode::ForWrite);
        ASSERT_EQ(cad::setHyperlinks(*outline, {{"http://inner", "outline", "", 0}}), cad::ErrorStatus::eOk);
    }
    auto reference = db->open<cad::BlockReference>(id);
    CHyperlinks links(*reference);
    ASSERT_EQ(links.getCount(), 2u);
    EXPECT_EQ(links.getAt(0).getHref(), "http://a");
    EXPECT_EQ(links.getAt(0).getDescription(), "first");
    EXPECT_EQ(links.getAt(1).getHref(), "http://b");
    EXPECT_EQ(links.getAt(1).getDescription(), "");

    CHyperlinks inner;
    inner.getBlockHyperlinks(*reference, true);
    ASSERT_EQ(inner.getCount(), 1u);
    EXPECT_EQ(inner.getAt(0).getHref(), "http://inner");
}

// The plain list ("x,y;z") is applied and checked in BlockHyperlinks.
TEST(Hyperlinks, ListTextsBecomePageAddresses) {
    CHyperlinks edge;
    edge.setHyperlinks(" a , b,c ;,only description; ;", 1);
    ASSERT_EQ(edge.getCount(), 2u);
    EXPECT_EQ(edge.getAt(0).getHref(), "a?pb=10&page=1&id=1");
    EXPECT_EQ(edge.getAt(0).getDescription(), "b,c");
    EXPECT_EQ(edge.getAt(1).getHref(), "only description?pb=10&page=1&id=1");
}

TEST(Hyperlinks, XmlFormLeavesOutEmptyDescriptions) {
    CXMLUtilities factory;
    CHyperlinks links;
    links.add(std::make_unique<CHyperlink>("http://a", "A"));
    links.add(std::make_unique<CHyperlink>("http://b", ""));
    pugi::xml_node node = links.serialize(factory, "urn:x");
    EXPECT_EQ(std::string(node.name()), "hyperlinks");
    pugi::xml_node second = node.first_child().next_sibling();
    EXPECT_EQ(std::string(second.name()), "hyperlink");
    EXPECT_TRUE(second.child("bhHref"));
    EXPECT_FALSE(second.child("bhDescription"));
    EXPECT_EQ(std::string(node.first_child().child("bhDescription").text().get()), "A");

    CHyperlinks back;
    back.deSerialize(node);
    ASSERT_EQ(back.getCount(), 2u);
    EXPECT_EQ(back.getAt(0).getDescription(), "A");
    EXPECT_EQ(back.getAt(1).getHref(), "http://b");
    EXPECT_EQ(back.getAt(1).getDescription(), "");
}
