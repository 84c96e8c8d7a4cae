// CGraphicReport: fields, and the report file read and written.
#include "reports/GraphicReport.h"

#include <filesystem>
#include <pugixml.hpp>

#include "core/EXKinds.h"
#include "core/FileUtilities.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadUtilities.h"
#include "logging/LogNamespaces.h"
#include "logging/XMLComponentFailure.h"
#include "logging/XMLUtilities.h"

namespace {

constexpr const char* kFile = "GraphicReport.cpp";

// Flags in a report file: only "1" and "true" are set.
bool flagText(const std::string& text) { return text == "1" || text == "true"; }

void checkedFilename(std::string& target, std::string name, const char* procSig) {
    if (CFileUtilities::checkFilenameSyntax(name, false) == 0)
        throw CEXCustom("invalid file name - " + name, kModuleDescription, kFile, procSig);
    target = std::move(name);
}

void checkedPath(std::string& target, std::string path) {
    CFileUtilities::checkPathSyntax(path);
    target = std::move(path);
}

}  // namespace

void CGraphicReport::setDrawingPath(std::string path) {
    korvaWrap(kFile, "CGraphicReport::setDrawingPath", [&] { checkedPath(drawingPath_, std::move(path)); });
}

void CGraphicReport::setDrawingFilename(std::string name) {
    korvaWrap(kFile, "CGraphicReport::setDrawingFilename",
              [&] { checkedFilename(drawingFilename_, std::move(name), "CGraphicReport::setDrawingFilename"); });
}

void CGraphicReport::setOutputPath(std::string path) {
    korvaWrap(kFile, "CGraphicReport::setOutputPath", [&] { checkedPath(outputPath_, std::move(path)); });
}

void CGraphicReport::setOutputFilename(std::string name) {
    korvaWrap(kFile, "CGraphicReport::setOutputFilename",
              [&] { checkedFilename(outputFilename_, std::move(name), "CGraphicReport::setOutputFilename"); });
}

void CGraphicReport::setXMLOutputTo(std::string path) {
    korvaWrap(kFile, "CGraphicReport::setXMLOutputTo", [&] { checkedPath(xmlOutputTo_, std::move(path)); });
}

void CGraphicReport::serialize(const std::string& path) const {
    korvaWrap(kFile, "CGraphicReport::serialize", [&] {
        const std::string ns = kDocumentMonitorNamespaceURI;
        CFileUtilities::deleteFile(path);
        pugi::xml_document document;
        CXMLUtilities::addProlog(document, std::string());
        pugi::xml_node root = document.append_child(kRootElement);
        if (!root) throw CXMLComponentFailure{};
        root.append_attribute("xmlns").set_value(ns.c_str());

        CXMLUtilities factory;
        auto child = [&](const char* name, const std::string& text) {
            CXMLUtilities::appendChild(root, factory.createNode(name, text, ns));
        };
        child("grID", CUtilities::IntToCString(id_));
        if (!title_.empty()) child("grTitle", title_);
        child("grDrawingPath", drawingPath_);
        child("grDrawingFilename", drawingFilename_);
        child("grPlotTypeID", CUtilities::IntToCString(plotTypeID_));
        child("grPlotAreaTypeID", CUtilities::IntToCString(plotAreaTypeID_));
        child("grPlotMediaSizeID", CUtilities::IntToCString(plotMediaSizeID_));
        child("grPlotScaleTypeID", CUtilities::IntToCString(plotScaleTypeID_));
        child("grPlotCentred", CUtilities::BoolToCString(plotCentred_ != 0));
        if (!saveCopyTo_.empty()) child("grSaveCopyTo", saveCopyTo_);
        if (!plotLayout_.empty()) child("grPlotLayout", plotLayout_);
        child("grTotalChildAreas", CUtilities::DoubleToCString(totalChildAreas_, -1));
        child("grPieXYOffset", CUtilities::DoubleToCString(pieXYOffset_, -1));
        child("grPieIgnoreEmptySegments", CUtilities::BoolToCString(pieIgnoreEmptySegments_));
        child("grPieShowLabels", CUtilities::BoolToCString(pieShowLabels_));
        child("grPieShowLabelSegmentLines", CUtilities::BoolToCString(pieShowLabelSegmentLines_));
        if (categories_) CXMLUtilities::appendChild(root, categories_->serialize(factory, ns));
        if (layersOn_) CXMLUtilities::appendChild(root, layersOn_->serialize(factory, ns));
        if (!CXMLUtilities::saveDocument(document, path)) throw CXMLComponentFailure{};
    });
}

void CGraphicReport::deSerialize(const std::string& path) {
    korvaWrap(kFile, "CGraphicReport::deSerialize", [&] {
        pugi::xml_document document;
        std::string problem;
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            cad::printf("Cannot read the graphic report %s: it is a folder\n", path);
            return;
        }
        if (!CXMLUtilities::loadDocument(document, path, &problem)) {
            cad::printf("Cannot read the graphic report %s: %s\n", path, problem);
            return;
        }
        const pugi::xml_node root = document.document_element();
        if (const std::string name = CXMLUtilities::localName(root); name != kRootElement) {
            cad::printf("Cannot read the graphic report %s: the root element is <%s>, not <%s>\n", path, name,
                        kRootElement);
            return;
        }
        for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = child.text().get();
            if (name == "grID") {
                id_ = static_cast<int>(CUtilities::CStringToLong(text));
            } else if (name == "grTitle") {
                title_ = text;
            } else if (name == "grDrawingPath") {
                drawingPath_ = text;
            } else if (name == "grDrawingFilename") {
                drawingFilename_ = text;
            } else if (name == "grPlotTypeID") {
                plotTypeID_ = CAcadUtilities::plotDeviceFromDatabase(CUtilities::CStringToInt(text));
            } else if (name == "grPlotAreaTypeID") {
                plotAreaTypeID_ = CAcadUtilities::plotAreaFromDatabase(CUtilities::CStringToInt(text));
            } else if (name == "grPlotMediaSizeID") {
                plotMediaSizeID_ = CAcadUtilities::plotMediaSizeFromDatabase(CUtilities::CStringToInt(text));
            } else if (name == "grPlotScaleTypeID") {
                plotScaleTypeID_ = CAcadUtilities::plotScaleFromDatabase(CUtilities::CStringToInt(text));
            } else if (name == "grPlotCentred") {
                plotCentred_ = flagText(text) ? 1 : 0;
            } else if (name == "grPlotLayout") {
                plotLayout_ = text;
            } else if (name == "grTotalChildAreas") {
                totalChildAreas_ = CUtilities::CStringToDouble(text);
            } else if (name == "grPieXYOffset") {
                pieXYOffset_ = CUtilities::CStringToDouble(text);
            } else if (name == "grPieIgnoreEmptySegments") {
                pieIgnoreEmptySegments_ = flagText(text);
            } else if (name == "grPieShowLabels") {
                pieShowLabels_ = flagText(text);
            } else if (name == "grPieShowLabelSegmentLines") {
                pieShowLabelSegmentLines_ = flagText(text);
            } else if (name == "categories") {
                categories_ = std::make_unique<CCategories>();
                categories_->deSerialize(child);
            } else if (name == "layersOn") {
                layersOn_ = std::make_unique<CLayers>();
                layersOn_->deSerialize(child);
            }
        }
    });
}
