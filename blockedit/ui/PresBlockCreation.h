#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/api/Dialogs.h"
#include "engine/api/Drawing.h"
#include "host/AcadDrawing.h"
#include "module/Preferences.h"

class CBlockDWG;

// The creation dialog (modal): proposes the next space name and turns picked closed polylines into
// space blocks, one per round of a session, until the user cancels at the polyline prompt.
class CPresBlockCreation : public cad::Dialog {
public:
    static constexpr int IDD = 217;
    static constexpr int IDC_NAME = 311;
    static constexpr int IDC_TEXT_SIZE = 291;
    static constexpr int IDC_SCALE = 341;
    static constexpr int IDC_ROTATION = 342;
    static constexpr int IDC_START = 3;
    static constexpr int IDC_CLOSE = 2;
    static constexpr int IDC_SUB_AREA = 315;
    static constexpr int IDC_ADD_AREA = 335;

    static constexpr const char* kBlockPrefix = "ROOM-";

    CPresBlockCreation();

    // ---- naming ----
    // Splits a name into the prefix and the run of trailing digits ("B1.5" -> "B1.", "5").
    static std::string splitTrailingDigits(const std::string& name, std::string& prefix);
    // The next name after `name`: its trailing number plus the increment, zero-padded to the old
    // run's length; 1 when the name ends in no digit.
    static std::string incrementName(const std::string& name, int increment);
    void calcNextBlockIdentifier();
    std::string getHighestExistingBlockName();
    void calcNextBlockName();
    long nextBlockIdentifier() const { return nextIdentifier_; }
    const std::string& nextBlockName() const { return nextName_; }

    // Makes one space block of the polyline: asks for the attribute point, measures, and creates.
    void createBlock(cad::ObjectId polylineId, int units, double textHeight, double widthFactor, double rotation,
                     int precision);

    // ---- shared with the gross-area command ----
    // Asks for the point the attribute texts are laid out around; false when none was given.
    static bool askAttributePoint(cad::Point3d& point);
    // Opens the picked polyline for writing (printing why it cannot be used) and closes it; fills
    // area and perimeter texts. False when the polyline cannot be used.
    static bool measureOutline(cad::Database& db, cad::ObjectId polylineId, int units, int precision, double& area,
                               double& perimeter);
    // The record's attribute collection: name, area text with its unit, a blank auxiliary value.
    static void addSpaceAttributes(CBlockDWG& record, const std::string& areaText, double textHeight,
                                   double widthFactor, double rotation);
    // The block definition (the outline moved into it, the attribute definitions), its reference at
    // the point with attributes and the record's XData. The host's status: 0, or 95 when the
    // definition name is taken.
    static int createBlockFromRecord(CAcadDrawing& drawing, CBlockDWG& record, cad::ObjectId polylineId,
                                     const cad::Point3d& point);

protected:
    bool onInitDialog() override;

private:
    void onStart();
    void onNumberEdited(int id);
    // The edits into the preferences (and the name into nextName_).
    void readFields();
    void enableButtons(bool on);
    // One round: false when the user cancelled at the polyline prompt.
    bool sessionRound();

    CAcadDrawing drawing_;
    CPreferences preferences_;
    std::string nextName_;
    long nextIdentifier_ = 0;
    std::vector<std::string> existingNames_;
};
