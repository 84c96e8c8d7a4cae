#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/GraphicReport.h"

class CEXKorva;

// Reports waiting for the same treatment, in order. Owns them.
class CGraphicReports {
public:
    CGraphicReports() = default;
    ~CGraphicReports() = default;
    CGraphicReports(const CGraphicReports&) = delete;
    CGraphicReports& operator=(const CGraphicReports&) = delete;

    void addGraphicReport(std::unique_ptr<CGraphicReport> report) { items_.push_back(std::move(report)); }
    std::size_t getCount() const { return items_.size(); }
    // std::invalid_argument outside the collection.
    CGraphicReport& getAt(std::size_t index) const;
    void deleteObjects() { items_.clear(); }

    // Appends every report of the status ("__gr_getGraphicReports"), each loaded in full.
    void getGraphicReports(CStoredProcedure& procedure, const CServerPreferenceZerOda& serverPreference,
                           int statusID, int timeout);
    // Prepares the reports in order, each in a transaction of its own that starts by claiming the
    // report: a report another worker holds, or that left its status meanwhile, is passed by.
    // Answers how many were prepared here.
    int prepareReports(CStoredProcedure& procedure, int timeout);
    // The status the reports were loaded with (0, any status, for a collection built by hand).
    int getStatusID() const { return statusID_; }

    // Claims a report of the status (0: any status) for this connection's open transaction:
    // `graphicReportID` that report, 0 the first one not in `exceptIDs`. The report claimed, 0 when
    // none was free ("__gr_claimGraphicReport").
    static int claimGraphicReport(CStoredProcedure& procedure, int timeout, int statusID, int graphicReportID,
                                  const std::vector<int>& exceptIDs = {});

    // What a worker tells its operator: the report it is on, and each report's outcome.
    struct Progress {
        std::function<void(const CGraphicReport& report)> started;
        std::function<void(const CGraphicReport& report, int status)> finished;
        // A report that failed with an error; it keeps its status and is left for a later run.
        std::function<void(int graphicReportID, const CEXKorva& error)> failed;
    };
    struct Outcome {
        int prepared = 0;
        int failed = 0;
    };
    // The worker: claims the waiting reports of the status one by one until none is left, loads
    // and prepares each in its own transaction, so that several workers may share one database.
    // A report that fails is rolled back (it keeps its status), reported to progress.failed and
    // not tried again in this run; a failure of the database itself (the connection lost) is
    // thrown.
    static Outcome prepareWaitingReports(CStoredProcedure& procedure, const CServerPreferenceZerOda& serverPreference,
                                         int statusID, int timeout, const Progress& progress = {});

private:
    std::vector<std::unique_ptr<CGraphicReport>> items_;
    int statusID_ = 0;
};
