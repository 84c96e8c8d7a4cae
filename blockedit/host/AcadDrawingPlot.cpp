#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "engine/api/Editor.h"
#include "engine/api/Plotting.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "host/HostPlatform.h"

namespace {

constexpr char kFile[] = __FILE__;

// Page set-up flags (group 70 of a layout's plot settings).
constexpr int kPlotCentred = 4, kUseStandardScale = 16, kPlotPlotStyles = 32, kScaleLineweights = 64,
              kPrintLineweights = 128;

int hostKind() {
    try {
        return hostPlatform().hostKind();
    } catch (const std::logic_error&) {
        // Not loaded as a module (unit tests): the running host's product decides.
        return CHostPlatform::kindFromProductName(cad::hostProductName());
    }
}

void setFlag(int& flags, int flag, bool on) { flags = on ? flags | flag : flags & ~flag; }

// What both plot paths set from a report's codes: plot styles and line weights on, the area, a
// standard scale, the centring and the media.
void applyReportCodes(cad::PlotSettings& settings, int plotCentred, int plotScaleTypeID, int plotAreaTypeID,
                      int plotMediaSizeID) {
    setFlag(settings.layoutFlags, kPlotPlotStyles, true);
    setFlag(settings.layoutFlags, kPrintLineweights, true);
    setFlag(settings.layoutFlags, kScaleLineweights, true);
    settings.plotType = plotAreaTypeID;
    setFlag(settings.layoutFlags, kUseStandardScale, true);
    settings.standardScaleType = plotScaleTypeID;
    setFlag(settings.layoutFlags, kPlotCentred, plotCentred != 0);
    settings.canonicalMediaName = CAcadUtilities::plotMediaName(plotMediaSizeID);
}

// Prints why nothing was plotted and gives the status.
int refuse(int status, const std::string& message) {
    cad::acutPrintf("%s\n", message);
    return status;
}

}  // namespace

void CAcadDrawing::selectPlotLayout(std::string& layout, const char* procSig) {
    korvaWrap(kFile, procSig, [&] {
        cad::Database& db = database();
        if (layout.empty()) {
            layout = db.currentLayout();
            return;
        }
        CHostError::check(db.setCurrentLayout(layout), __LINE__, fullName());
    });
}

int CAcadDrawing::plot(std::string& layout, const std::string& outputPath, std::string& outputFilename,
                       int plotTypeID, int usePlotSettings, int plotCentred, int plotScaleTypeID, int plotAreaTypeID,
                       int plotMediaSizeID, int unrotated) {
    return korvaWrap(kFile, "CAcadDrawing::plot", [&] {
        if (!isOpen_) return 0;
        CAcadUtilities::checkPlotFileExtension(outputFilename, plotTypeID);
        std::error_code ec;
        if (!std::filesystem::is_directory(outputPath, ec)) return kPlotFolderMissing;
        const std::string configuration = CAcadUtilities::convertPlotDevice(plotTypeID);
        if (!cad::plotDeviceForConfiguration(configuration))
            return refuse(kPlotDeviceNotAvailable, "Plot device \"" + configuration +
                                                       "\" is not available on this host: nothing was plotted to " +
                                                       outputPath + outputFilename + ".");
        const std::string file = outputPath + outputFilename;
        if (hostKind() == CHostPlatform::kBricsCAD)
            return bricsCADPlotToFile(layout, file, plotTypeID, plotCentred, plotScaleTypeID, plotAreaTypeID,
                                      plotMediaSizeID);
        return autoCADPlotToFile(layout, file, plotTypeID, usePlotSettings, plotCentred, plotScaleTypeID,
                                 plotAreaTypeID, plotMediaSizeID, unrotated);
    });
}

int CAcadDrawing::autoCADPlotToFile(std::string& layout, const std::string& file, int plotTypeID,
                                    int usePlotSettings, int plotCentred, int plotScaleTypeID, int plotAreaTypeID,
                                    int plotMediaSizeID, int unrotated) {
    return korvaWrap(kFile, "CAcadDrawing::autoCADPlotToFile", [&] {
        selectPlotLayout(layout, "CAcadDrawing::autoCADPlotToFile");
        cad::Database& db = database();
        auto layoutObject = db.open<cad::Layout>(db.layoutId(layout), cad::OpenMode::ForWrite);
        CHostError::check(layoutObject.openStatus(), __LINE__, fullName());
        // The plot settings validator's part: the layout's page set-up takes the report's codes.
        cad::PlotSettings& settings = layoutObject->plotSettings();
        settings.plotConfigurationName = CAcadUtilities::convertPlotDevice(plotTypeID);
        if (usePlotSettings == 0) {
            settings.plotType = 1;
            setFlag(settings.layoutFlags, kUseStandardScale, true);
            settings.standardScaleType = 0;
        } else {
            applyReportCodes(settings, plotCentred, plotScaleTypeID, plotAreaTypeID, plotMediaSizeID);
            settings.rotation = unrotated ? 0 : 1;
        }
        const cad::PlotJob job = cad::plotJobFromSettings(settings, layout);
        layoutObject.close();
        cad::PlotProgressDialog progress;
        preparePlotProgress(progress, job.configuration);
        progress.setJobProgress(0);
        progress.setSheetProgress(0);
        const cad::PlotOutcome outcome = cad::plotToFile(db, job, file);
        progress.setSheetProgress(100);
        progress.setJobProgress(100);
        if (outcome.status == cad::PlotOutcome::Status::DeviceNotAvailable)
            return refuse(kPlotDeviceNotAvailable, outcome.message);
        if (outcome.status != cad::PlotOutcome::Status::Plotted) return refuse(kPlotFailed, "Plot failed: " + outcome.message);
        // What could not be drawn is missing from the sheet: the planner is told what.
        if (outcome.report.skippedCount() > 0) cad::acutPrintf("%s\n", "Plotted " + layout + ": " + outcome.report.summary() + ".");
        return kPlotted;
    });
}

void CAcadDrawing::preparePlotProgress(cad::PlotProgressDialog& dialog, const std::string& configuration) {
    using Text = cad::PlotProgressDialog::Text;
    dialog.setText(Text::DialogCaption, "Korva Graphic Report Engine - " + configuration);
    dialog.setText(Text::CancelJobButton, "Cancel Job");
    dialog.setText(Text::CancelSheetButton, "Cancel Sheet");
    dialog.setText(Text::JobProgressCaption, "Job Progress");
    dialog.setText(Text::SheetProgressCaption, "Sheet Progress");
    dialog.setProgressRange(0, 100);
}

int CAcadDrawing::bricsCADPlotToFile(std::string& layout, const std::string& file, int plotTypeID, int plotCentred,
                                     int plotScaleTypeID, int plotAreaTypeID, int plotMediaSizeID) {
    return korvaWrap(kFile, "CAcadDrawing::bricsCADPlotToFile", [&] {
        selectPlotLayout(layout, "CAcadDrawing::bricsCADPlotToFile");
        cad::Database& db = database();
        {
            auto layoutObject = db.open<cad::Layout>(db.layoutId(layout), cad::OpenMode::ForWrite);
            CHostError::check(layoutObject.openStatus(), __LINE__, fullName());
            cad::PlotSettings& settings = layoutObject->plotSettings();
            applyReportCodes(settings, plotCentred, plotScaleTypeID, plotAreaTypeID, plotMediaSizeID);
            settings.plotConfigurationName = CAcadUtilities::convertPlotDevice(plotTypeID);
        }
        cad::acedSetVar("FILEDIA", 0);
        cad::acutPrintf("%s\n\n", file);
        std::error_code ec;
        std::filesystem::remove(file, ec);
        cad::acedCommandS({"_EXPORT", file});
        cad::acedSetVar("FILEDIA", 1);
        // The export command says why when it could not write the file.
        if (!std::filesystem::exists(file, ec)) return kPlotFailed;
        return kPlotted;
    });
}
