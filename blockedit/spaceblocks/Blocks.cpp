#include "spaceblocks/Blocks.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "data/AssetIndex.h"
#include "engine/api/Documents.h"
#include "engine/api/Drawing.h"
#include "engine/api/Selection.h"
#include "host/AcadUtilities.h"
#include "logging/XMLUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/DrawingView.h"
#include "reports/Hatch.h"

namespace {

constexpr const char* kFile = __FILE__;

// The "X" selection with the filters (0 "INSERT") and, when given, (2 blockName): every block
// reference of the drawing's layouts, model space first, each in drawing order.
int selectReferences(cad::Database& db, const char* blockName, std::vector<cad::ObjectId>& set) {
    set.clear();
    std::vector<cad::ObjectId> layouts;
    if (auto table = db.open<cad::SymbolTable>(db.blockTableId())) {
        for (cad::ObjectId id : table->liveRecordIds()) {
            auto block = db.open<cad::BlockTableRecord>(id);
            if (!block || !block->isLayout()) continue;
            if (block->isModelSpace())
                layouts.insert(layouts.begin(), id);
            else
                layouts.push_back(id);
        }
    }
    for (cad::ObjectId layout : layouts) {
        auto block = db.open<cad::BlockTableRecord>(layout);
        if (!block) continue;
        for (cad::ObjectId id : block->liveEntityIds()) {
            const cad::DbObject* object = db.objectAt(id);
            if (!object || !cad::wildcardMatch(object->dxfName(), "INSERT", true)) continue;
            if (blockName) {
                const auto* reference = dynamic_cast<const cad::BlockReference*>(object);
                if (!reference || !cad::wildcardMatch(reference->blockName(), blockName, true)) continue;
            }
            set.push_back(id);
        }
    }
    return set.empty() ? cad::RTERROR : cad::RTNORM;
}

std::string definitionName(cad::Database& db, const cad::BlockReference& reference) {
    auto definition = db.open<cad::BlockTableRecord>(reference.blockTableRecord());
    return definition ? definition->name() : std::string();
}

// The gathering frame: the whole drawing in view while selecting, the user's view afterwards.
class ZoomedToExtents {
public:
    explicit ZoomedToExtents(cad::Database& db) : db_(db), previous_(CDrawingView::current(db)) {
        CDrawingView::zoomExtents(db);
    }
    ~ZoomedToExtents() {
        try {
            CDrawingView::restore(db_, previous_);
        } catch (...) {  // the view is cosmetic; the gathering's own outcome matters
        }
    }
    ZoomedToExtents(const ZoomedToExtents&) = delete;
    ZoomedToExtents& operator=(const ZoomedToExtents&) = delete;

private:
    cad::Database& db_;
    CDrawingView::View previous_;
};

}  // namespace

CBlocks::~CBlocks() = default;

// ---- selections ----

int CBlocks::getKorvaBlockSS(cad::Database& db, std::vector<cad::ObjectId>& set) {
    return korvaWrap(kFile, "CBlocks::getKorvaBlockSS", [&] { return selectReferences(db, "ROOM-*", set); });
}

int CBlocks::getAcadBlockSS(cad::Database& db, std::vector<cad::ObjectId>& set) {
    return korvaWrap(kFile, "CBlocks::getAcadBlockSS", [&] { return selectReferences(db, nullptr, set); });
}

int CBlocks::getLegendBlockSS(cad::Database& db, std::vector<cad::ObjectId>& set) {
    return korvaWrap(kFile, "CBlocks::getLegendBlockSS", [&] { return selectReferences(db, kMarkerLegend, set); });
}

int CBlocks::getPieBlockSS(cad::Database& db, std::vector<cad::ObjectId>& set) {
    return korvaWrap(kFile, "CBlocks::getPieBlockSS", [&] { return selectReferences(db, kMarkerPie, set); });
}

// ---- gathering ----

std::string CBlocks::readNameFromXData(const cad::BlockReference& reference) {
    return korvaWrap(kFile, "CBlocks::readNameFromXData", [&] {
        for (const cad::XDataItem& item : reference.xData("AECXDATA")) {
            if (item.code() != 1000) continue;
            const std::string& text = item.asText();
            if (text.compare(0, 5, "NAME=") == 0) return CAcadUtilities::extractData(CAcadUtilities::kName, text);
        }
        return std::string();
    });
}

void CBlocks::gatherKorvaBlocks(cad::Database& db, const std::vector<cad::ObjectId>& candidates, bool withAssets,
                                const std::string& levelCode) {
    const bool floorPlan = levelCode == kLevelFloor;
    // One index of the drawing's references serves every room of the gathering.
    std::unique_ptr<CAssetIndex> assetIndex;
    for (cad::ObjectId id : candidates) {
        if (id.isNull()) continue;
        auto reference = db.open<cad::BlockReference>(id);
        if (!reference) continue;
        const std::string definition = definitionName(db, *reference);
        if (definition == kMarkerLegend) continue;
        std::unique_ptr<CBlock> record;
        if (definition == kGrossArea || readNameFromXData(*reference) == "GROSS AREA") {
            if (floorPlan)
                record = std::make_unique<CBlockDWGFloor>(*reference, db);
            else
                record = std::make_unique<CBlockDWGSite>(*reference, db);
        } else if (floorPlan) {
            if (withAssets && !assetIndex) assetIndex = std::make_unique<CAssetIndex>(db);
            record = std::make_unique<CBlockDWGRoom>(*reference, db, withAssets, assetIndex.get());
        } else {
            record = std::make_unique<CBlockDWGBuilding>(*reference, db);
        }
        list_.push_back(std::move(record));
        ++count_;
    }
}

void CBlocks::getKorvaDWGBlocks_SS(cad::Document& drawing, bool withAssets, const std::string& levelCode) {
    korvaWrap(kFile, "CBlocks::getKorvaDWGBlocks_SS", [&] {
        cad::AcAxDocLock lock(drawing);
        if (lock.lockStatus() != cad::ErrorStatus::eOk) return;
        cad::Database& db = drawing.database();
        ZoomedToExtents frame(db);
        std::vector<cad::ObjectId> set;
        if (getKorvaBlockSS(db, set) != cad::RTNORM) return;
        gatherKorvaBlocks(db, set, withAssets, levelCode);
    });
}

void CBlocks::getKorvaDWGBlocks_I(cad::Document& drawing, bool withAssets, const std::string& levelCode) {
    korvaWrap(kFile, "CBlocks::getKorvaDWGBlocks_I", [&] {
        cad::AcAxDocLock lock(drawing);
        if (lock.lockStatus() != cad::ErrorStatus::eOk) return;
        cad::Database& db = drawing.database();
        std::vector<cad::ObjectId> candidates;
        {
            auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId());
            if (!space) return;
            for (cad::ObjectId id : space->liveEntityIds()) {
                const auto* reference = dynamic_cast<const cad::BlockReference*>(db.objectAt(id));
                if (!reference) continue;
                const std::string definition = definitionName(db, *reference);
                if (definition == kMarkerLegend || definition == kMarkerPie) continue;
                candidates.push_back(id);
            }
        }
        gatherKorvaBlocks(db, candidates, withAssets, levelCode);
    });
}

void CBlocks::getAcadBlocks(cad::Document& drawing) {
    korvaWrap(kFile, "CBlocks::getAcadBlocks", [&] {
        cad::AcAxDocLock lock(drawing);
        KORVA_HOST_CHECK(lock.lockStatus(), drawing.fileName());
        cad::Database& db = drawing.database();
        std::vector<cad::ObjectId> set;
        if (getAcadBlockSS(db, set) != cad::RTNORM) return;
        for (cad::ObjectId id : set) {
            auto reference = db.open<cad::BlockReference>(id);
            if (!reference) continue;
            list_.push_back(std::make_unique<CBlockDWG>(*reference, db));
            ++count_;
        }
    });
}

void CBlocks::getMarkerBlocks_SS(cad::Document& drawing, Selector select, const std::string& markerName,
                                 const MarkerFactory& make) {
    korvaWrap(kFile, "CBlocks::getMarkerBlocks_SS", [&] {
        cad::AcAxDocLock lock(drawing);
        if (lock.lockStatus() != cad::ErrorStatus::eOk) return;
        cad::Database& db = drawing.database();
        ZoomedToExtents frame(db);
        std::vector<cad::ObjectId> set;
        if (select(db, set) != cad::RTNORM) return;
        for (cad::ObjectId id : set) {
            auto reference = db.open<cad::BlockReference>(id);
            if (!reference || definitionName(db, *reference) != markerName) continue;
            addBlock(make(*reference, db));
        }
    });
}

void CBlocks::getLegendBlock_SS(cad::Document& drawing, const MarkerFactory& make) {
    korvaWrap(kFile, "CBlocks::getLegendBlock_SS",
              [&] { getMarkerBlocks_SS(drawing, &getLegendBlockSS, kMarkerLegend, make); });
}

void CBlocks::getPieBlock_SS(cad::Document& drawing, const MarkerFactory& make) {
    korvaWrap(kFile, "CBlocks::getPieBlock_SS", [&] { getMarkerBlocks_SS(drawing, &getPieBlockSS, kMarkerPie, make); });
}

// ---- the list ----

void CBlocks::addBlock(std::unique_ptr<CBlock> record) {
    korvaWrap(kFile, "CBlocks::addBlock", [&] {
        if (!record) return;
        list_.push_back(std::move(record));
        ++count_;
    });
}

CBlock& CBlocks::getAt(std::size_t index) const {
    return korvaWrap(kFile, "CBlocks::getAt", [&]() -> CBlock& {
        if (index >= list_.size())
            throw std::invalid_argument("block index " + std::to_string(index) + " outside a collection of " +
                                        std::to_string(list_.size()));
        return *list_[index];
    });
}

CBlock* CBlocks::getAt(const std::string& handle) const {
    return korvaWrap(kFile, "CBlocks::getAt", [&]() -> CBlock* {
        for (const auto& record : list_)
            if (record->getHandle() == handle) return record.get();
        return nullptr;
    });
}

CBlock* CBlocks::getByCode(const std::string& code) const {
    return korvaWrap(kFile, "CBlocks::getByCode", [&]() -> CBlock* {
        for (const auto& record : list_)
            if (record->getCode() == code) return record.get();
        return nullptr;
    });
}

void CBlocks::replaceAt(std::size_t index, std::unique_ptr<CBlock> record) {
    korvaWrap(kFile, "CBlocks::replaceAt", [&] {
        if (index >= list_.size()) return;
        std::unique_ptr<CBlock> old = std::exchange(list_[index], std::move(record));
        deleteObject(std::move(old));
    });
}

void CBlocks::deleteObject(std::unique_ptr<CBlock> record) {
    korvaWrap(kFile, "CBlocks::deleteObject", [&] {
        if (!record) return;
        const int type = record->getBlockType();
        if (type < CBlock::kBlock || type > CBlock::kBlockDWGSite)
            throw std::invalid_argument("block record of unknown type " + std::to_string(type));
        record.reset();
    });
}

void CBlocks::deleteObjects() {
    korvaWrap(kFile, "CBlocks::deleteObjects", [&] {
        for (auto& record : list_) deleteObject(std::move(record));
        list_.clear();
        count_ = 0;
    });
}

void CBlocks::sortBlocksByHandle(bool ascending) {
    korvaWrap(kFile, "CBlocks::sortBlocksByHandle", [&] {
        const std::size_t n = list_.size();
        std::vector<int> values(n);
        for (std::size_t i = 0; i < n; ++i) values[i] = CUtilities::_httoi(list_[i]->getHandle());
        // The order of a selection sort that takes the first of equal handles on each pass is the
        // order of a stable sort: computed in n log n, which matters for drawings of thousands of
        // spaces (the selection sort's n^2 passes dominated listing and export there).
        std::vector<std::size_t> order(n);
        for (std::size_t i = 0; i < n; ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return ascending ? values[a] < values[b] : values[a] > values[b];
        });
        std::vector<std::unique_ptr<CBlock>> sorted;
        sorted.reserve(n);
        for (std::size_t i : order) sorted.push_back(std::move(list_[i]));
        list_ = std::move(sorted);
    });
}

void CBlocks::zoomToBlocks(cad::Document& drawing, double border) {
    korvaWrap(kFile, "CBlocks::zoomToBlocks", [&] {
        cad::AcAxDocLock lock(drawing);
        KORVA_HOST_CHECK(lock.lockStatus(), drawing.fileName());
        cad::Database& db = drawing.database();
        cad::Point3d low(1e30, 1e30, 1e30), high(1e-30, 1e-30, 1e-30);
        bool any = false;
        for (const auto& record : list_) {
            const auto* block = dynamic_cast<const CBlockDWG*>(record.get());
            if (!block) continue;
            auto reference = db.open<cad::Entity>(block->getObjectId());
            if (!reference) continue;
            cad::Point3d blockLow, blockHigh;
            CAcadUtilities::getBlockExtents(*reference, blockLow, blockHigh, border);
            if (blockHigh.x > high.x) high.x = blockHigh.x;
            if (blockHigh.y > high.y) high.y = blockHigh.y;
            if (blockLow.x < low.x) low.x = blockLow.x;
            if (blockLow.y < low.y) low.y = blockLow.y;
            any = true;
        }
        if (any) CDrawingView::zoomWindow(db, low, high);
    });
}

// ---- XML ----

pugi::xml_node CBlocks::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CBlocks::serialize", [&] {
        pugi::xml_node node = factory.createNode("korvaBlocks", namespaceURI);
        for (const auto& record : list_) {
            if (const auto* block = dynamic_cast<const CBlockDWG*>(record.get()))
                CXMLUtilities::appendChild(node, block->serialize(factory, namespaceURI));
        }
        return node;
    });
}

void CBlocks::deSerialize(const pugi::xml_node& node, const CHatch* hatch) {
    korvaWrap(kFile, "CBlocks::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "korvaBlock") continue;
            auto block = std::make_unique<CBlockDWG>();
            if (hatch) block->setHatchSettings(hatch->clone());
            block->deSerialize(child);
            addBlock(std::move(block));
        }
    });
}
