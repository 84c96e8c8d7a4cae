#pragma once
#include <functional>
#include <string>

class CStoredProcedure;
namespace cad {
class Document;
}

// One drawing's take-off: its rooms and gross area go to the export tables, then every room is
// registered under the drawing's floor (existing rooms found by handle keep their location id),
// each with its assets and their attributes, and the floor takes the gross area's measures.
// The drawing's file name (without folder) finds its drawing id and floor in the database.
// Everything one take-off writes is one transaction: a failure leaves the database as it was.
// The drawing is only read.
class CTakeoff {
  public:
    struct Result {
        int drawingID = 0;
        int floorID = 0;
        int rooms = 0;
        int assets = 0;
        int missingRooms = 0;  // registered rooms no longer in the drawing, marked as not existing
    };
    using Progress = std::function<void(const std::string& line)>;

    CTakeoff(CStoredProcedure& procedure, int timeout, Progress progress = {});

    Result run(cad::Document& drawing, const std::string& fileName);

  private:
    CStoredProcedure& procedure_;
    int timeout_;
    Progress progress_;
};
