// CGraphicReport::prepareReport: one report of the batch, from its drawing to its plot, the copy
// of the drawing and the report's XML, with the status it ends in.
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "core/FileUtilities.h"
#include "data/StoredProcedure.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "reports/GraphicReport.h"

namespace {

// A name in the same folder that no finished file has: plots, copies and XML files are written
// there and renamed, so that a worker that dies half-way leaves no file under the real name.
std::string partialName(const std::string& filename) {
    return ".partial-" + std::to_string(::getpid()) + "-" + filename;
}

// The file name with its extension (".dxf", ".dwg", ".pdf" ...) replaced by ".xml".
std::string withXMLExtension(const std::string& filename) {
    return std::filesystem::path(filename).replace_extension(".xml").string();
}

// The XML target as written: the folder check of the setter ends every target with a separator,
// which a target naming a file ("named.xml/", "/out/r.xml/") does not keep.
std::string xmlTarget(std::string target) {
    if (target.size() > 1 && target.back() == '/') {
        const std::string withoutSeparator = target.substr(0, target.size() - 1);
        const std::string last = withoutSeparator.substr(withoutSeparator.find_last_of('/') + 1);
        std::error_code ec;
        if (last.find('.') != std::string::npos && !std::filesystem::is_directory(withoutSeparator, ec))
            return withoutSeparator;
    }
    return target;
}

bool samePath(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

}  // namespace

void CGraphicReport::removePreparedFiles() {
    for (const std::string& file : preparedFiles_) CFileUtilities::deleteFile(file);
    preparedFiles_.clear();
}

int CGraphicReport::prepareReport(CStoredProcedure& procedure, int timeout) {
    return procedureWrap(procedure, "GraphicReport.cpp", "CGraphicReport::prepareReport", [&] {
        preparedFiles_.clear();
        try {
            setGraphicReportStatus(procedure, timeout, kStatusStarted);
            const std::string drawingFile = drawingPath_ + drawingFilename_;
            std::error_code ec;
            if (drawingFilename_.empty() || !std::filesystem::is_regular_file(drawingFile, ec)) {
                setGraphicReportStatus(procedure, timeout, kStatusDrawingMissing);
                return kStatusDrawingMissing;
            }

            CAcadDrawing drawing(drawingPath_, drawingFilename_);
            if (drawing.lock() != cad::ErrorStatus::eOk) return kStatusStarted;
            applyToDrawing(drawing);

            int result = kStatusPlotted;
            std::string plotFilename = outputFilename_;
            if (!CFileUtilities::directoryExists(outputPath_) ||
                !std::filesystem::is_directory(outputPath_, ec)) {
                result = kStatusOutputFolderMissing;
            } else if (plotFilename.empty() ||
                       CFileUtilities::checkFilenameSyntax(plotFilename, false) == 0) {
                result = kStatusOutputFilenameInvalid;
            } else {
                CAcadUtilities::checkPlotFileExtension(plotFilename, plotTypeID_);
                std::string partial = partialName(plotFilename);
                std::string layout = plotLayout_;
                const std::string before = layout;
                result = drawing.plot(layout, outputPath_, partial, plotTypeID_, usePlotSettings_,
                                      plotCentred_, plotScaleTypeID_, plotAreaTypeID_, plotMediaSizeID_, 1);
                if (result == kStatusPlotted) {
                    std::filesystem::rename(outputPath_ + partial, outputPath_ + plotFilename, ec);
                    if (ec) {
                        CFileUtilities::deleteFile(outputPath_ + partial);
                        throw std::runtime_error("the plot " + outputPath_ + plotFilename +
                                                 " could not be put in place: " + ec.message());
                    }
                    preparedFiles_.push_back(outputPath_ + plotFilename);
                } else {
                    CFileUtilities::deleteFile(outputPath_ + partial);
                }
                if (layout != before) setGraphicReportLayout(procedure, timeout, layout);
            }

            const std::string ownFile = drawing.fullName();
            if (result == kStatusPlotted && !saveCopyTo_.empty()) {
                std::string target = saveCopyTo_;
                const int kind = CFileUtilities::getPathType(target);
                std::string folder, name;
                if (kind == CFileUtilities::kBareFileName && target != drawing.getFilename()) {
                    folder = drawing.getPath();
                    name = target;
                } else if (kind == CFileUtilities::kFolderPath && CFileUtilities::directoryExists(target) &&
                           !samePath(target + drawingFilename_, ownFile)) {
                    folder = target;
                    name = drawingFilename_;
                } else if (kind == CFileUtilities::kFullFilePath && !samePath(target, ownFile)) {
                    const std::filesystem::path full(target);
                    folder = full.parent_path().string() + "/";
                    name = full.filename().string();
                }
                if (name.empty()) {
                    result = kStatusCopyNotSaved;
                } else {
                    const std::string partial = partialName(name);
                    drawing.saveAs(folder, partial);
                    std::filesystem::rename(folder + partial, folder + name, ec);
                    if (ec) {
                        CFileUtilities::deleteFile(folder + partial);
                        result = kStatusCopyNotSaved;
                    } else {
                        preparedFiles_.push_back(folder + name);
                    }
                }
            }

            if (result == kStatusPlotted) {
                std::string xmlFile;
                std::string target = xmlTarget(xmlOutputTo_);
                const int kind = target.empty() ? -1 : CFileUtilities::getPathType(target);
                if (kind == -1)
                    xmlFile = outputPath_ + withXMLExtension(plotFilename);
                else if (kind == CFileUtilities::kBareFileName)
                    xmlFile = outputPath_ + target;
                else if (kind == CFileUtilities::kFolderPath && CFileUtilities::directoryExists(target))
                    xmlFile = target + withXMLExtension(drawingFilename_);
                else if (kind == CFileUtilities::kFullFilePath)
                    xmlFile = target;
                if (xmlFile.empty() || samePath(xmlFile, ownFile)) {
                    result = kStatusXMLNotWritten;
                } else {
                    const std::filesystem::path final(xmlFile);
                    const std::string partial =
                        (final.parent_path() / partialName(final.filename().string())).string();
                    serialize(partial);
                    std::filesystem::rename(partial, xmlFile, ec);
                    if (ec) {
                        CFileUtilities::deleteFile(partial);
                        result = kStatusXMLNotWritten;
                    } else {
                        preparedFiles_.push_back(xmlFile);
                    }
                }
            }

            setGraphicReportStatus(procedure, timeout, result);
            drawing.unlock(true);
            return result;
        } catch (...) {
            // The database keeps the report as it was before (the caller rolls back), so nothing
            // this preparation wrote may stay behind.
            removePreparedFiles();
            throw;
        }
    });
}
