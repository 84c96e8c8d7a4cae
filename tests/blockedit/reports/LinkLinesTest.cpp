#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <string>

#include "../TestFiles.h"
#include "../spaceblocks/PlanBuilder.h"
#include "engine/dxf/DxfDrawing.h"
#include "host/AcadDrawing.h"
#include "logging/XMLUtilities.h"
#include "reports/AcadDrawingState.h"
#include "reports/Layouts.h"
#include "reports/LinkLines.h"

using namespace plantest;

namespace {

class LinkLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing_.bindToActiveDocument();
        const cad::ObjectId desk = addDefinition(db(), "DESK", rectangle(-400, -200, 400, 200));
        first_ = handleOf(insertOn(desk, {1000, 1000, 0}, "DESKS"));
        second_ = handleOf(insertOn(desk, {4000, 5000, 0}, "PLANT"));
        above_ = handleOf(insertOn(desk, {1000, 7000, 0}, "DESKS"));
        // A line names no block reference: it gives the origin like a handle that names nothing.
        auto line = std::make_unique<cad::Line>(cad::Point3d(0, 0, 0), cad::Point3d(1, 1, 0));
        auto space = db().open<cad::BlockTableRecord>(db().modelSpaceId(), cad::OpenMode::ForWrite);
        cad::ObjectId lineId;
        space->appendEntity(std::move(line), &lineId);
        line_ = handleOf(lineId);
    }
    cad::Database& db() { return host_.db(); }
    std::string handleOf(cad::ObjectId id) { return db().handleOf(id).toString(); }
    cad::ObjectId insertOn(cad::ObjectId block, const cad::Point3d& at, const std::string& layer) {
        {
            auto table = db().open<cad::SymbolTable>(db().layerTableId(), cad::OpenMode::ForWrite);
            if (!table->has(layer)) {
                auto record = std::make_unique<cad::LayerTableRecord>(layer);
                record->setOff(true);
                record->setFrozen(layer == "PLANT");
                table->add(std::move(record));
            }
        }
        const cad::ObjectId id = insert(db(), block, at);
        auto reference = db().open<cad::BlockReference>(id, cad::OpenMode::ForWrite);
        reference->setLayer(db().recordId(cad::TableKind::Layer, layer));
        return id;
    }

    Host host_;
    CAcadDrawing drawing_;
    std::string first_, second_, above_, line_;
};

}  // namespace

TEST(LinkLine, LabelsFollowTheLineAndAVerticalOneStandsUp) {
    const double quarter = std::numbers::pi / 2;
    EXPECT_NEAR(CLinkLine::labelRotation({0, 0, 0}, {3, 4, 0}), std::atan(4.0 / 3.0), 1e-12);
    EXPECT_NEAR(CLinkLine::labelRotation({0, 0, 0}, {0, 5, 0}), quarter, 1e-12);
    EXPECT_NEAR(CLinkLine::labelRotation({0, 5, 0}, {0, 0, 0}), -quarter, 1e-12);
    // A line drawn right to left reads the same way as one drawn left to right.
    EXPECT_NEAR(CLinkLine::labelRotation({3, 4, 0}, {0, 0, 0}), std::atan(4.0 / 3.0), 1e-12);
    EXPECT_EQ(CLinkLine::labelRotation({2, 2, 0}, {2, 2, 0}), 0.0);
}

TEST(LinkLine, XmlFormRoundTrips) {
    CXMLUtilities factory;
    CLinkLines lines;
    lines.add(std::make_unique<CLinkLine>("1A", "2B", "LINKS", "moves <to>"));
    lines.add(std::make_unique<CLinkLine>("3C", "", "", ""));
    pugi::xml_node node = lines.serialize(factory, "urn:test");
    EXPECT_EQ(CXMLUtilities::localName(node), "linkLines");
    CLinkLines read;
    read.deSerialize(node);
    ASSERT_EQ(read.getCount(), 2u);
    EXPECT_EQ(read.getAt(0).getStartHandle(), "1A");
    EXPECT_EQ(read.getAt(0).getEndHandle(), "2B");
    EXPECT_EQ(read.getAt(0).getLayerName(), "LINKS");
    EXPECT_EQ(read.getAt(0).getLabelText(), "moves <to>");
    EXPECT_EQ(read.getAt(1).getEndHandle(), "");
    EXPECT_THROW(read.getAt(2), std::invalid_argument);
}

TEST_F(LinkLineTest, EndsAreTheReferencesInsertionPointsAndTheirLayersComeOn) {
    CAcadDrawingState state(drawing_);
    EXPECT_EQ(state.getLayers().getAtLayer("PLANT")->getFrozen(), 1);
    const cad::Point3d at = CLinkLine::getAssetCurrentCoord(drawing_, second_, state);
    EXPECT_EQ(at, cad::Point3d(4000, 5000, 0));
    const CLayer* plant = state.getLayers().getAtLayer("PLANT");
    EXPECT_EQ(plant->getFrozen(), 0);
    EXPECT_EQ(plant->getOff(), 0);
    EXPECT_EQ(plant->getPlottable(), 1);
    EXPECT_EQ(CLinkLine::getAssetCurrentCoord(drawing_, "FFFFF", state), cad::Point3d(0, 0, 0));
    EXPECT_EQ(CLinkLine::getAssetCurrentCoord(drawing_, "not a handle", state), cad::Point3d(0, 0, 0));
    EXPECT_EQ(CLinkLine::getAssetCurrentCoord(drawing_, line_, state), cad::Point3d(0, 0, 0));
    EXPECT_EQ(state.getLayers().getAtLayer("DESKS")->getOff(), 1);
}

// The lines as another reader sees them once the drawing is saved: the dashed red line on its
// layer between the references, the label centred at the middle along the line.
TEST_F(LinkLineTest, DrawnLinesAndLabelsReadBackWithAnotherReader) {
    CAcadDrawingState state(drawing_);
    CLinkLines lines;
    lines.add(std::make_unique<CLinkLine>(first_, second_, "LINKS", "moves to"));
    lines.add(std::make_unique<CLinkLine>(first_, above_, "", "up"));
    lines.add(std::make_unique<CLinkLine>("FFFFF", "ZZ", "", ""));
    lines.add(std::make_unique<CLinkLine>(second_, second_, "BAD;NAME", "same"));
    lines.applyToDrawing(drawing_, state);
    // Only the default layer is switched on by name; a named one is made but left as the state has it.
    ASSERT_NE(state.getLayers().getAtLayer("_KORVA"), nullptr);
    EXPECT_EQ(state.getLayers().getAtLayer("_KORVA")->getOff(), 0);
    EXPECT_EQ(state.getLayers().getAtLayer("LINKS"), nullptr);
    state.applyState(drawing_, false);
    EXPECT_FALSE(drawing_.isLocked());

    testfiles::TempFolder folder;
    const std::string dxf = folder.file("links.dxf");
    const std::string out = folder.file("links.txt");
    cad::saveDxfDrawing(db(), cad::DxfFileInfo{}, dxf);
    const std::string command = std::string(BRINMO_PYTHON) + " " + BRINMO_SOURCE_DIR +
                                "/tests/scripts/check_report.py " + dxf + " > " + out + " 2>&1";
    const int status = std::system(command.c_str());
    const std::string text = testfiles::readText(out);
    ASSERT_EQ(status, 0) << text;
    for (const char* expected : {
             "layer _KORVA on=1 frozen=0 locked=0 plot=1",
             "layer BADNAME on=1",
             "layer DESKS on=1 frozen=0",
             "layer PLANT on=1 frozen=0",
             "line T_E_S_T colour=FF0000 lineweight=-1 layer=LINKS 1000,1000 -> 4000,5000\n",
             "line T_E_S_T colour=FF0000 lineweight=-1 layer=_KORVA 1000,1000 -> 1000,7000\n",
             "line T_E_S_T colour=FF0000 lineweight=-1 layer=_KORVA 0,0 -> 0,0\n",
             "line T_E_S_T colour=FF0000 lineweight=-1 layer=BADNAME 4000,5000 -> 4000,5000\n",
             "label 'moves to' height=150 rotation=53.1301 align=1,1 colour=FF0000 layer=LINKS at 2500,3000\n",
             "label 'up' height=150 rotation=90 align=1,1 colour=FF0000 layer=_KORVA at 1000,4000\n",
             "label 'same' height=150 rotation=0 align=1,1 colour=FF0000 layer=BADNAME at 4000,5000\n",
             "linetype T_E_S_T [50.0, -50.0]\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // Three labels: the line whose ends name nothing has none.
    std::size_t labels = 0;
    for (std::size_t at = text.find("label "); at != std::string::npos; at = text.find("label ", at + 1)) ++labels;
    EXPECT_EQ(labels, 3u);
}

TEST_F(LinkLineTest, LayoutsAreListedAndOneIsMadeCurrent) {
    CLayouts layouts;
    layouts.getDWGLayouts(drawing_);
    ASSERT_EQ(layouts.getCount(), 2u);
    EXPECT_EQ(layouts.getAt(0).getName(), "Model");
    EXPECT_EQ(layouts.getAt(1).getName(), "Layout1");
    EXPECT_FALSE(layouts.add(std::make_unique<CLayout>("Model", cad::ObjectId())));
    EXPECT_THROW(layouts.getAt(2), std::invalid_argument);
    EXPECT_TRUE(CLayouts::setCurrentLayout(drawing_, "layout1"));
    EXPECT_EQ(db().currentLayout(), "Layout1");
    EXPECT_FALSE(CLayouts::setCurrentLayout(drawing_, "Sheet 9"));
    EXPECT_EQ(db().currentLayout(), "Layout1");
    EXPECT_FALSE(drawing_.isLocked());
}
