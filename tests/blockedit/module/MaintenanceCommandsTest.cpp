// The maintenance and export commands run on the script-test drawings, checked where a transcript
// cannot look: the files they write and the drawing they leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "../TestFiles.h"
#include "engine/db/Attribute.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/dialogs/MessageBox.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "module/MaintenanceCommands.h"

namespace fs = std::filesystem;

namespace {

class CommandsOnDrawing : public ::testing::Test {
protected:
    void SetUp() override { fs::current_path(dir_); }  // no preferences file here: the defaults apply
    void TearDown() override { fs::current_path(previous_); }
    cad::Document& open(const std::string& fixture) {
        fs::copy_file(fs::path(BRINMO_SOURCE_DIR) / "tests/scripts/fixtures" / fixture, dir_ / fixture,
                      fs::copy_options::overwrite_existing);
        std::string error;
        cad::Document* document = host_.documentManager().openDocument((dir_ / fixture).string(), error);
        if (document == nullptr) throw std::runtime_error(error);
        return *document;
    }
    std::string fileText(const std::string& name) const { return testfiles::readText(folder_.file(name)); }
    // The attribute of the space block whose NAME attribute reads `name`.
    static std::string attribute(cad::Database& db, const std::string& name, const std::string& tag) {
        auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId());
        for (cad::ObjectId id : space->liveEntityIds()) {
            auto reference = db.open<cad::BlockReference>(id);
            if (!reference) continue;
            auto nameAttribute = db.open<cad::Attribute>(reference->attributeId("NAME"));
            if (!nameAttribute || nameAttribute->textString() != name) continue;
            auto wanted = db.open<cad::Attribute>(reference->attributeId(tag));
            return wanted ? wanted->textString() : "<none>";
        }
        return "<no space>";
    }

    cad::CapturedOutput out_;
    cad::RecordedMessageBoxes boxes_;
    cad::ScriptInput input_;
    cad::HostApplication host_{cad::HostProfile::AutoCAD, input_};
    testfiles::TempFolder folder_;
    const fs::path dir_ = folder_.path();
    const fs::path previous_ = fs::current_path();
};

}  // namespace

TEST_F(CommandsOnDrawing, ScheduleHoldsSpacesTotalsTwoEmptyLinesAndTheGrossArea) {
    open("schedule.dxf");
    createRoomAreaCSV();
    EXPECT_EQ(fileText("schedule.csv"),
              "Code,Area,Units,Perimeter,Units\n"
              "Office A,10.00,m\u00B2,14.00,m\n"
              "Office, B,20.00,m\u00B2,18.00,m\n"
              "Total,30.00,m\u00B2,32.00,m\n"
              "\n\n"
              "GROSS AREA,40.00,m\u00B2,26.00,m\n");
    EXPECT_NE(out_.text().find("csv data successfully saved to file (" + (dir_ / "schedule.csv").string() + ")\n"),
              std::string::npos)
        << out_.text();
    EXPECT_EQ(boxes_.boxes().size(), 0u) << (boxes_.boxes().empty() ? "" : boxes_.boxes()[0].text);
}

TEST_F(CommandsOnDrawing, UpdateKeepsHandEditedAttributesAndFollowsLinkedOnes) {
    cad::Document& document = open("spaces.dxf");
    updateSpaces();
    cad::Database& db = document.database();
    // Linked: the texts showed the record's values, so they follow the new ones.
    EXPECT_EQ(attribute(db, "L1-001", "AREA"), "12.50sq.m.");
    EXPECT_EQ(attribute(db, "L1-001", "AUX"), "15.00m.");
    // Typed by hand: left alone.
    EXPECT_EQ(attribute(db, "L1-002", "AREA"), "about 20 m2");
    EXPECT_EQ(attribute(db, "L1-002", "AUX"), "Aux");
    // The stale record of L1-002 is measured again: 4 m x 5 m.
    createRoomAreaCSV();
    EXPECT_NE(fileText("spaces.csv").find("\nL1-002,20.00,m\u00B2,18.00,m\n"), std::string::npos)
        << fileText("spaces.csv");
}

// What mus left modified in model space: the NAME text of each modified block reference or
// attribute (a reference marks itself "*"), sorted.
std::vector<std::string> modifiedSpaces(cad::Database& db) {
    std::vector<std::string> out;
    auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId());
    for (cad::ObjectId id : space->liveEntityIds()) {
        auto reference = db.open<cad::BlockReference>(id);
        if (!reference) continue;
        auto name = db.open<cad::Attribute>(reference->attributeId("NAME"));
        const std::string label = name ? name->textString() : reference->handle().toString();
        if (reference->isModified()) out.push_back(label + " *");
        for (cad::ObjectId a : reference->attributeIds()) {
            auto attribute = db.open<cad::Attribute>(a);
            if (attribute && attribute->isModified()) out.push_back(label + " " + attribute->tag());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(CommandsOnDrawing, UpdateLeavesCurrentSpacesUnmodifiedSoTheirTextIsCopied) {
    // Every space of this drawing is current: nothing of theirs may be regenerated on save.
    cad::Document& current = open("schedule.dxf");
    current.database().clearModifiedFlags();
    updateSpaces();
    EXPECT_EQ(modifiedSpaces(current.database()), std::vector<std::string>{});

    // Only what changes is marked: L1-002's record (on its reference) was stale; L1-001's texts
    // showed "12.5" and now show two decimals.
    cad::Document& stale = open("spaces.dxf");
    stale.database().clearModifiedFlags();
    updateSpaces();
    EXPECT_EQ(modifiedSpaces(stale.database()),
              (std::vector<std::string>{"L1-001 *", "L1-001 AREA", "L1-001 AUX", "L1-002 *"}));
}

TEST_F(CommandsOnDrawing, AuxilaratorAddsTheMissingAuxAttributeBelowTheArea) {
    cad::Document& document = open("noaux.dxf");
    korvaAuxilarator();
    cad::Database& db = document.database();
    EXPECT_EQ(attribute(db, "R-1", "AUX"), " ");
    EXPECT_EQ(attribute(db, "R-2", "AUX"), " ");
    // 250 high, no rotation: 375 below the area text, on the auxiliary layer, which is on.
    auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId());
    for (cad::ObjectId id : space->liveEntityIds()) {
        auto reference = db.open<cad::BlockReference>(id);
        if (!reference) continue;
        auto area = db.open<cad::Attribute>(reference->attributeId("AREA"));
        auto aux = db.open<cad::Attribute>(reference->attributeId("AUX"));
        ASSERT_TRUE(area && aux);
        EXPECT_DOUBLE_EQ(aux->position().x, area->position().x);
        EXPECT_DOUBLE_EQ(aux->position().y, area->position().y - 375.0);
        EXPECT_EQ(aux->layerId(), db.recordId(cad::TableKind::Layer, "ATT-AUX"));
    }
    auto layer = db.open<cad::LayerTableRecord>(db.recordId(cad::TableKind::Layer, "ATT-AUX"));
    ASSERT_TRUE(layer);
    EXPECT_FALSE(layer->isOff());
    // A second run finds the attribute and only realigns it.
    korvaAuxilarator();
    blankThirdAttribute();
    EXPECT_NE(out_.text().find("2 block(s) altered\n"), std::string::npos) << out_.text();
}

TEST_F(CommandsOnDrawing, AttributeLayersAreCorrectedAndLayerStatesPutBack) {
    cad::Document& document = open("spaces.dxf");
    cad::Database& db = document.database();
    {
        auto layer = db.open<cad::LayerTableRecord>(db.recordId(cad::TableKind::Layer, "SPACES"), cad::OpenMode::ForWrite);
        layer->setOff(true);
    }
    checkAttributeLayers();
    auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId());
    for (cad::ObjectId id : space->liveEntityIds()) {
        auto reference = db.open<cad::BlockReference>(id);
        if (!reference) continue;
        for (const char* tag : {"NAME", "AREA", "AUX"}) {
            auto attribute = db.open<cad::Attribute>(reference->attributeId(tag));
            if (!attribute || reference->attributeId("ASSET_TAG")) continue;
            EXPECT_EQ(attribute->layerId(), db.recordId(cad::TableKind::Layer, std::string("ATT-") + tag)) << tag;
        }
    }
    EXPECT_TRUE(db.open<cad::LayerTableRecord>(db.recordId(cad::TableKind::Layer, "SPACES"))->isOff());
    EXPECT_EQ(boxes_.boxes().size(), 0u) << (boxes_.boxes().empty() ? "" : boxes_.boxes()[0].text);
}

TEST_F(CommandsOnDrawing, HatchingOnlyAGrossAreaHatchesNothingAndPrintsZeroPerBlock) {
    open("grossonly.dxf");
    hatchAllSpaces();
    const std::regex report(R"(^\d\d:\d\d:\d\d\n\d\d:\d\d:\d\d\n0 block\(s\) hatched in \d+ seconds \(0\.00 s/b\)\n$)");
    EXPECT_TRUE(std::regex_match(out_.text(), report)) << out_.text();
}
