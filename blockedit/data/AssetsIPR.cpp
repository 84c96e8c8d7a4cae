// The database side of assets: registering, exporting and reading them back.
#include "data/Asset.h"
#include "data/Assets.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "reports/Hatch.h"

void CAsset::applyToIPR(CStoredProcedure& procedure, int drawingID, int locationID, int timeout) {
    procedureWrap(procedure, "Asset.cpp", "CAsset::applyToIPR", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@locationID", locationID);
        params::addInt(list, "@drawingID", drawingID);
        params::addVarChar(list, "@handle", getHandleText());
        params::addVarChar(list, "@acadBlockIdentifier", getBlockIdentifier(), 100);
        params::addVarChar(list, "@acadBlockDescription", getBlockDescription());
        params::addVarChar(list, "@uniqueDescription", getUniqueDescription());
        params::addDecimal(list, "@pointX", getPointX());
        params::addDecimal(list, "@pointY", getPointY());
        params::addBoolean(list, "@assetExistsInLocation", getAssetExistsInLocation());
        // Nothing is sent: a null answer reads as not excluded.
        auto excluded = std::make_unique<CParameterBoolean>();
        excluded->setName("@excludedFromTakeoff");
        excluded->setDirection(CParameter::kOutput);
        list.add(std::move(excluded));
        procedure.setName("__to_applyAssetToIPR");
        {
            CAttachedParameters attached(procedure, list);
            procedure.execSPNoReturnParasReturn();
        }
        const bool isExcluded = static_cast<CParameterBoolean&>(*list.getParameter("@excludedFromTakeoff")).getInt() != 0;
        if (!isExcluded && getAssetExistsInLocation() == 1 && getAttributes())
            getAttributes()->applyToIPR(procedure, drawingID, getHandleText(), timeout);
    });
}

void CAsset::exportTP(CStoredProcedure& procedure, int timeout, const std::string& exportParameters) {
    procedureWrap(procedure, "Asset.cpp", "CAsset::exportTP", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@locationID", getLocationID());
        params::addVarChar(list, "@handle", getHandleText());
        params::addVarChar(list, "@acadBlockIdentifier", getBlockIdentifier(), 100);
        params::addVarChar(list, "@acadBlockDescription", getBlockDescription());
        params::addVarChar(list, "@uniqueDescription", getUniqueDescription());
        params::addDecimal(list, "@pointX", getPointX());
        params::addDecimal(list, "@pointY", getPointY());
        params::addBoolean(list, "@assetExistsInLocation", getAssetExistsInLocation());
        params::addVarChar(list, "@exportParameters", exportParameters);
        procedure.setName("__to_tp_exportAsset");
        CAttachedParameters attached(procedure, list);
        procedure.execSPNoReturnParas();
    });
}

void CAssets::applyToIPR(CStoredProcedure& procedure, int drawingID, int locationID, int timeout,
                         const std::string& exclusions) {
    procedureWrap(procedure, "Assets.cpp", "CAssets::applyToIPR", [&] {
        for (std::size_t i = 0; i < getCount(); ++i) {
            CAsset& asset = getAt(i);
            if (exclusions.find("," + asset.getBlockIdentifier() + ",") != std::string::npos) continue;
            asset.applyToIPR(procedure, drawingID, locationID, timeout);
        }
    });
}

void CAssets::exportTP(CStoredProcedure& procedure, int timeout, const std::string& exportParameters) {
    procedureWrap(procedure, "Assets.cpp", "CAssets::exportTP", [&] {
        for (std::size_t i = 0; i < getCount(); ++i) getAt(i).exportTP(procedure, timeout, exportParameters);
    });
}

void CAssets::getLocationAssets(CStoredProcedure& procedure, int locationID, int timeout) {
    procedureWrap(procedure, "Assets.cpp", "CAssets::getLocationAssets", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@locationID", locationID);
        procedure.setName("[idr]..[getLocationAssets]");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        for (; !rows->isEOF(); rows->moveNext()) {
            auto asset = std::make_unique<CAsset>();
            asset->setLocationID(locationID);
            asset->setDrawingID(rows->getInt("drawingID"));
            asset->setHandle(rows->getText("handle"));
            asset->setBlockIdentifier(rows->getText("acadBlockIdentifier"));
            asset->setBlockDescription(rows->getText("atDescription"));
            asset->setUniqueDescription(rows->getText("aDescription"));
            asset->setPointX(rows->getDouble("aX"));
            asset->setPointY(rows->getDouble("aY"));
            asset->setAssetExistsInLocation(rows->getText("status") == "0" ? 0 : 1);
            auto attributes = std::make_unique<CAttributes>();
            attributes->getAssetAttributes(procedure, asset->getDrawingID(), asset->getHandleText(), 0);
            asset->setAttributes(std::move(attributes));
            add(std::move(asset));
        }
        if (rows->isOpen()) rows->close();
    });
}

void CAssets::getCategoryAssets(CStoredProcedure& procedure, int timeout, int categoryID, const CHatch* hatch) {
    procedureWrap(procedure, "Assets.cpp", "CAssets::getCategoryAssets", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@categoryID", categoryID);
        procedure.setName("__gr_getCategoryAssets");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        for (; !rows->isEOF(); rows->moveNext()) {
            auto asset = std::make_unique<CAsset>();
            if (!rows->isNull("maHandle")) asset->setHandle(rows->getText("maHandle"));
            if (!rows->isNull("maDescription")) asset->setBlockDescription(rows->getText("maDescription"));
            if (!rows->isNull("maUniqueDescription"))
                asset->setUniqueDescription(rows->getText("maUniqueDescription"));
            auto hyperlinks = std::make_unique<CHyperlinks>();
            hyperlinks->getAssetHyperlinks(procedure, timeout, categoryID, asset->getHandleText());
            asset->setHyperlinks(std::move(hyperlinks));
            if (hatch) {
                auto copy = std::make_unique<CHatch>();
                hatch->copyTo(*copy);
                asset->setHatchSettings(std::move(copy));
            }
            add(std::move(asset));
        }
        if (rows->isOpen()) rows->close();
    });
}
