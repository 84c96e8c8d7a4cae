#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/db/Database.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/SymbolTable.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "host/AcadDrawing.h"
#include "reports/AcadDrawingState.h"
#include "reports/Layer.h"
#include "reports/Layers.h"

namespace {

class LayerStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager().newDocument();
        drawing_.bindToActiveDocument();
    }
    cad::DocumentManager& manager() { return host_.documentManager(); }
    cad::Database& db() { return drawing_.database(); }

    void addLayer(const std::string& name, bool frozen, bool locked, bool off) {
        auto table = db().open<cad::SymbolTable>(db().layerTableId(), cad::OpenMode::ForWrite);
        auto record = std::make_unique<cad::LayerTableRecord>(name);
        record->setFrozen(frozen);
        record->setLocked(locked);
        record->setOff(off);
        ASSERT_EQ(table->add(std::move(record)), cad::ErrorStatus::eOk);
    }
    cad::ObjectPtr<cad::LayerTableRecord> layer(const std::string& name) {
        return db().open<cad::LayerTableRecord>(db().recordId(cad::TableKind::Layer, name));
    }

    cad::CapturedOutput out_;
    cad::ScriptInput input_;
    cad::HostApplication host_{cad::HostProfile::AutoCAD, input_};
    CAcadDrawing drawing_;
};

}  // namespace

TEST(Layer, NamesLoseTheCharactersLayersCannotHold) {
    EXPECT_EQ(CLayer::validateLayerName("A<B>C/D\\E\"F;G?H*I,J=K`L"), "ABCDEFGHIJKL");
    EXPECT_EQ(CLayer::validateLayerName("ROOMS:1|2 - east"), "ROOMS:1|2 - east");
    CLayer layer;
    EXPECT_FALSE(layer.isChanged());
    layer.setName("a=b");
    EXPECT_EQ(layer.getName(), "ab");
    EXPECT_TRUE(layer.isChanged());
}

TEST(Layers, NamesAreUniqueAddedCaseSensitivelyAndFoundIgnoringCase) {
    CLayers layers;
    auto first = std::make_unique<CLayer>();
    first->setName("Walls");
    EXPECT_TRUE(layers.add(std::move(first)));
    auto same = std::make_unique<CLayer>();
    same->setName("Walls");
    EXPECT_FALSE(layers.add(std::move(same)));
    auto otherCase = std::make_unique<CLayer>();
    otherCase->setName("WALLS");
    EXPECT_TRUE(layers.add(std::move(otherCase)));
    EXPECT_EQ(layers.getCount(), 2u);
    EXPECT_EQ(layers.getAtLayer("walls"), &layers.getAt(0));
    EXPECT_EQ(layers.getAtLayer("doors"), nullptr);
    EXPECT_THROW(layers.getAt(2), std::invalid_argument);
}

TEST(Layers, SwitchingAllOffKeepsTheHatchHyperlinkAndAttributeLayers) {
    CLayers layers;
    for (const char* name : {"WALLS", "##HATCH", "##HYPERLINKS", "ATT-NAME", "ATT-AREA", "ATT-AUX", "0"}) {
        auto layer = std::make_unique<CLayer>();
        layer->setName(name);
        layers.add(std::move(layer));
    }
    layers.setAllLayersOff(1);
    layers.setAllLayersFrozen(1);
    for (std::size_t i = 0; i < layers.getCount(); ++i) {
        const CLayer& layer = layers.getAt(i);
        const bool switched = layer.getName() == "WALLS" || layer.getName() == "0";
        EXPECT_EQ(layer.getOff(), switched ? 1 : 0) << layer.getName();
        EXPECT_EQ(layer.getFrozen(), switched ? 1 : 0) << layer.getName();
    }
}

TEST_F(LayerStateTest, LayersAreReadUpperCasedAndOnlyChangedOnesAreWritten) {
    addLayer("Walls", true, false, true);
    CLayers layers;
    layers.getDWGLayers(drawing_);
    CLayer* walls = layers.getAtLayer("walls");
    ASSERT_NE(walls, nullptr);
    EXPECT_EQ(walls->getName(), "WALLS");
    EXPECT_EQ(walls->getFrozen(), 1);
    EXPECT_EQ(walls->getOff(), 1);
    EXPECT_FALSE(walls->isChanged());

    // Writing an unchanged layer leaves the drawing alone, even when its fields differ.
    { auto record = db().open<cad::LayerTableRecord>(walls->getId(), cad::OpenMode::ForWrite); record->setOff(false); }
    layers.applyToDWG(drawing_);
    EXPECT_FALSE(layer("Walls")->isOff());
    walls->setFrozen(0);
    layers.applyToDWG(drawing_);
    EXPECT_FALSE(layer("Walls")->isFrozen());
    EXPECT_TRUE(layer("Walls")->isOff());  // the whole state is written, not only the changed field
    EXPECT_FALSE(drawing_.isLocked());
}

TEST_F(LayerStateTest, EnsuringALayerAddsItOnceUnderItsValidName) {
    EXPECT_TRUE(CLayer::ensureLayerExists(drawing_, "ATT-AUX"));
    EXPECT_TRUE(CLayer::ensureLayerExists(drawing_, "att-aux"));
    EXPECT_TRUE(CLayer::ensureLayerExists(drawing_, "A*B"));
    EXPECT_TRUE(layer("ATT-AUX"));
    EXPECT_TRUE(layer("AB"));
    EXPECT_FALSE(drawing_.isLocked());

    // The collection's form needs the caller's lock and hands back the valid name.
    std::string name = "HATCH?1";
    EXPECT_FALSE(CLayers::ensureLayerExists(drawing_, name, cad::Color::fromIndex(2)));
    EXPECT_FALSE(layer("HATCH1"));
    ASSERT_EQ(drawing_.lock(), cad::ErrorStatus::eOk);
    EXPECT_TRUE(CLayers::ensureLayerExists(drawing_, name, cad::Color::fromIndex(2)));
    drawing_.unlock();
    EXPECT_EQ(name, "HATCH1");
    ASSERT_TRUE(layer("HATCH1"));
    EXPECT_EQ(layer("HATCH1")->color().colorIndex(), 2);
}

TEST_F(LayerStateTest, TakeOffStateOpensEveryLayerAndTheSavedStatePutsThemBack) {
    addLayer("WALLS", true, true, true);
    addLayer("DOORS", false, false, true);
    CAcadDrawingState saved(drawing_);
    CAcadDrawingState takeOff(drawing_);
    takeOff.setStateForTakeOff(drawing_);
    EXPECT_EQ(takeOff.getLayoutName(), "Model");
    for (const char* name : {"WALLS", "DOORS", "0"}) {
        auto record = layer(name);
        ASSERT_TRUE(record) << name;
        EXPECT_FALSE(record->isFrozen() || record->isLocked() || record->isOff()) << name;
        EXPECT_TRUE(record->isPlottable()) << name;
    }
    CLayers& layers = saved.getLayers();
    for (std::size_t i = 0; i < layers.getCount(); ++i) layers.getAt(i).setChanged(true);
    saved.applyState(drawing_, false);
    EXPECT_TRUE(layer("WALLS")->isFrozen());
    EXPECT_TRUE(layer("WALLS")->isLocked());
    EXPECT_TRUE(layer("DOORS")->isOff());
    EXPECT_FALSE(layer("DOORS")->isFrozen());
}

TEST_F(LayerStateTest, AStateNamingAnUnknownLayerCreatesItWhenApplied) {
    addLayer("WALLS", false, false, false);
    CAcadDrawingState state(drawing_);
    const std::size_t known = state.getLayers().getCount();
    state.setLayerState("walls", 0, 0, 1, 1);  // lower case finds the upper-case layer
    state.setLayerState("Report Layer", 0, 0, 0, 1);
    state.setAllLayerLineWeights(0);
    EXPECT_EQ(state.getLayers().getCount(), known + 1);
    state.applyState(drawing_, true);  // Model: no viewport to change
    EXPECT_TRUE(layer("WALLS")->isOff());
    ASSERT_TRUE(layer("Report Layer"));
    EXPECT_EQ(layer("Report Layer")->lineWeight(), 0);
}
