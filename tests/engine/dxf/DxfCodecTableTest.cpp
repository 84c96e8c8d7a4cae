#include <gtest/gtest.h>

#include <string>

#include "engine/dxf/codecs/DxfCodec.h"

using cad::DxfCodecSection;
using cad::ObjectKind;

// The table is the one place a kind is added: names resolve only in their own section, to the
// kind they build, and a kind finds the codec that writes it.
TEST(DxfCodecTable, NamesResolveInTheirSectionToTheKindTheyBuild) {
    struct Case {
        DxfCodecSection section;
        const char* name;
        ObjectKind kind;
    };
    const Case cases[] = {
        {DxfCodecSection::Entity, "LINE", ObjectKind::Line},
        {DxfCodecSection::Entity, "ARC", ObjectKind::Arc},
        {DxfCodecSection::Entity, "ATTRIB", ObjectKind::Attribute},
        {DxfCodecSection::Entity, "HATCH", ObjectKind::Hatch},
        {DxfCodecSection::Object, "ACDBDICTIONARYWDFLT", ObjectKind::Dictionary},
        {DxfCodecSection::Object, "SORTENTSTABLE", ObjectKind::SortentsTable},
        {DxfCodecSection::TableRecord, "BLOCK_RECORD", ObjectKind::BlockTableRecord},
        {DxfCodecSection::TableRecord, "LAYER", ObjectKind::LayerTableRecord},
    };
    for (const Case& c : cases) {
        const cad::DxfCodec* codec = cad::dxfCodec(c.section, c.name);
        ASSERT_NE(codec, nullptr) << c.name;
        EXPECT_EQ(codec->kind, c.kind) << c.name;
        EXPECT_NE(cad::dxfCodec(c.kind), nullptr) << c.name;
        EXPECT_NE(cad::dxfCodec(c.kind)->write, nullptr) << c.name;
    }
    // A name of another section, a lower-case name, and kinds made here only are read whole.
    EXPECT_EQ(cad::dxfCodec(DxfCodecSection::Entity, "LAYER"), nullptr);
    EXPECT_EQ(cad::dxfCodec(DxfCodecSection::TableRecord, "LINE"), nullptr);
    EXPECT_EQ(cad::dxfCodec(DxfCodecSection::Entity, "line"), nullptr);
    EXPECT_EQ(cad::dxfCodec(DxfCodecSection::Entity, "VIEWPORT"), nullptr);
    EXPECT_EQ(cad::dxfCodec(DxfCodecSection::Object, "XRECORD"), nullptr);
    ASSERT_NE(cad::dxfCodec(ObjectKind::Viewport), nullptr);
    EXPECT_NE(cad::dxfCodec(ObjectKind::Viewport)->write, nullptr);
    EXPECT_EQ(cad::dxfCodec(ObjectKind::UnknownEntity), nullptr);
}
