#pragma once
#include <memory>
#include <string>
#include <vector>

#include "reports/Categories.h"
#include "reports/Layers.h"
#include "reports/LinkLines.h"

class CAcadDrawing;
class CServerPreferenceZerOda;
class CStoredProcedure;

// How one drawing is to be dressed for output: the categories of its space blocks and assets with
// their hatches, the layers left on, the link lines, the pie chart's labelling and the plot. Owns
// its categories, layer list and link lines.
class CGraphicReport {
public:
    static constexpr const char* kRootElement = "graphicReport";

    CGraphicReport() = default;
    virtual ~CGraphicReport() = default;
    CGraphicReport(const CGraphicReport&) = delete;
    CGraphicReport& operator=(const CGraphicReport&) = delete;

    // Fills the report from a report file. A file that cannot be read, that is no XML or whose
    // root is not <graphicReport> leaves the report as it is; the console is told which file and
    // what is wrong with it.
    void deSerialize(const std::string& path);
    // Replaces any file of that name with the report's XML form. Output paths and link lines are
    // not written.
    void serialize(const std::string& path) const;

    // Switches the layers, draws the link lines, restyles and hatches every category's blocks and
    // assets, and applies the working layer state with the plot layout current.
    void applyToDrawing(CAcadDrawing& drawing);
    // The legend table and pie chart at the drawing's first legend and pie markers; true when
    // either was drawn.
    bool drawLegendAndPie(CAcadDrawing& drawing) const;

    // ---- the property database ----
    // Report statuses written by prepareReport.
    static constexpr int kStatusWaiting = 1;
    static constexpr int kStatusStarted = 2;
    static constexpr int kStatusPlotted = 3;
    static constexpr int kStatusDrawingMissing = 4;
    static constexpr int kStatusOutputFolderMissing = 10;
    static constexpr int kStatusOutputFilenameInvalid = 11;
    static constexpr int kStatusCopyNotSaved = 12;
    static constexpr int kStatusXMLNotWritten = 13;

    // Loads the report `graphicReportID` ("__gr_getGraphicReport") with its categories, layers
    // and link lines. The database's plot codes become the program's; an empty or null output
    // path becomes the server record's graphic report folder. Categories, layers and link lines
    // are read with the record's database time-out.
    void getGraphicReport(CStoredProcedure& procedure, const CServerPreferenceZerOda& serverPreference,
                          int graphicReportID, int timeout);
    // Opens the report's drawing, applies the report, plots it, saves the copy and writes the
    // report's XML where asked, and records the outcome as the report's status (2 first, then
    // one of the statuses above or the plot's own). Files appear whole or not at all: the plot
    // and the XML are written under a temporary name and renamed. When the final status cannot
    // be written the files this preparation wrote are removed again. Answers the final status,
    // or kStatusStarted when the drawing could not be locked.
    int prepareReport(CStoredProcedure& procedure, int timeout);
    // The files the last prepareReport wrote (plot, copy, XML), for a caller whose commit fails.
    const std::vector<std::string>& getPreparedFiles() const { return preparedFiles_; }
    // Removes the files the last prepareReport wrote.
    void removePreparedFiles();
    void setGraphicReportStatus(CStoredProcedure& procedure, int timeout, int statusID);
    void setGraphicReportLayout(CStoredProcedure& procedure, int timeout, const std::string& layout);

    int getID() const { return id_; }
    void setID(int id) { id_ = id; }
    const std::string& getTitle() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const std::string& getDrawingPath() const { return drawingPath_; }
    // Checked (and repaired) as a folder; the check's refusal is thrown.
    void setDrawingPath(std::string path);
    const std::string& getDrawingFilename() const { return drawingFilename_; }
    // Checked as a file name; a name the check refuses is thrown.
    void setDrawingFilename(std::string name);
    const std::string& getOutputPath() const { return outputPath_; }
    void setOutputPath(std::string path);
    const std::string& getOutputFilename() const { return outputFilename_; }
    void setOutputFilename(std::string name);
    int getPlotTypeID() const { return plotTypeID_; }
    void setPlotTypeID(int code) { plotTypeID_ = code; }
    int getUsePlotSettings() const { return usePlotSettings_; }
    void setUsePlotSettings(int flag) { usePlotSettings_ = flag; }
    int getPlotCentred() const { return plotCentred_; }
    void setPlotCentred(int flag) { plotCentred_ = flag; }
    int getPlotAreaTypeID() const { return plotAreaTypeID_; }
    void setPlotAreaTypeID(int code) { plotAreaTypeID_ = code; }
    int getPlotScaleTypeID() const { return plotScaleTypeID_; }
    void setPlotScaleTypeID(int code) { plotScaleTypeID_ = code; }
    int getPlotMediaSizeID() const { return plotMediaSizeID_; }
    void setPlotMediaSizeID(int code) { plotMediaSizeID_ = code; }
    const std::string& getPlotLayout() const { return plotLayout_; }
    void setPlotLayout(std::string layout) { plotLayout_ = std::move(layout); }
    const std::string& getSaveCopyTo() const { return saveCopyTo_; }
    void setSaveCopyTo(std::string target) { saveCopyTo_ = std::move(target); }
    const std::string& getXMLOutputTo() const { return xmlOutputTo_; }
    void setXMLOutputTo(std::string path);
    double getTotalChildAreas() const { return totalChildAreas_; }
    void setTotalChildAreas(double area) { totalChildAreas_ = area; }
    double getPieXYOffset() const { return pieXYOffset_; }
    void setPieXYOffset(double offset) { pieXYOffset_ = offset; }
    bool getPieIgnoreEmptySegments() const { return pieIgnoreEmptySegments_; }
    void setPieIgnoreEmptySegments(bool flag) { pieIgnoreEmptySegments_ = flag; }
    bool getPieShowLabels() const { return pieShowLabels_; }
    void setPieShowLabels(bool flag) { pieShowLabels_ = flag; }
    bool getPieShowLabelSegmentLines() const { return pieShowLabelSegmentLines_; }
    void setPieShowLabelSegmentLines(bool flag) { pieShowLabelSegmentLines_ = flag; }

    CCategories* getCategories() const { return categories_.get(); }
    void setCategories(std::unique_ptr<CCategories> categories) { categories_ = std::move(categories); }
    CLayers* getLayersOn() const { return layersOn_.get(); }
    void setLayersOn(std::unique_ptr<CLayers> layers) { layersOn_ = std::move(layers); }
    CLinkLines* getLinkLines() const { return linkLines_.get(); }
    void setLinkLines(std::unique_ptr<CLinkLines> lines) { linkLines_ = std::move(lines); }

private:
    int id_ = 0;
    std::string title_;
    std::string drawingPath_;
    std::string drawingFilename_;
    std::string outputPath_;
    std::string outputFilename_;
    int plotTypeID_ = 0;
    int usePlotSettings_ = 1;
    int plotCentred_ = 1;
    int plotAreaTypeID_ = 0;
    int plotScaleTypeID_ = 0;
    int plotMediaSizeID_ = 0;
    std::string plotLayout_;
    std::string saveCopyTo_;
    std::string xmlOutputTo_;
    double totalChildAreas_ = 0.0;
    std::unique_ptr<CCategories> categories_;
    std::unique_ptr<CLayers> layersOn_;
    std::unique_ptr<CLinkLines> linkLines_;
    double pieXYOffset_ = 0.0;
    bool pieIgnoreEmptySegments_ = true;
    bool pieShowLabels_ = true;
    bool pieShowLabelSegmentLines_ = true;
    std::vector<std::string> preparedFiles_;
};
