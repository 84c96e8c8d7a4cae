// The report batch: loading the reports of a status, and preparing them with a claim on each, so
// that several workers on different machines can share one database. A claim is a row lock held
// by the worker's open transaction; the report's status changes are committed with it, and a
// worker whose connection dies takes its claim and its status changes with it.
#include <string>

#include "core/EXKorva.h"
#include "core/SystemUtilities.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "reports/GraphicReports.h"

namespace {

std::string joinIDs(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids) text += (text.empty() ? "" : ",") + std::to_string(id);
    return text;
}

// Commits the report's work; when the commit fails the files it wrote go again.
void commitReport(CDataTransaction& transaction, CGraphicReport& report) {
    try {
        transaction.commit();
    } catch (...) {
        report.removePreparedFiles();
        throw;
    }
}

}  // namespace

void CGraphicReports::getGraphicReports(CStoredProcedure& procedure,
                                        const CServerPreferenceZerOda& serverPreference, int statusID,
                                        int timeout) {
    procedureWrap(procedure, "GraphicReports.cpp", "CGraphicReports::getGraphicReports", [&] {
        statusID_ = statusID;
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addTinyInt(list, "@statusID", static_cast<unsigned char>(statusID));
        procedure.setName("__gr_getGraphicReports");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        std::vector<int> ids;
        for (; !rows->isEOF(); rows->moveNext())
            if (!rows->isNull("grID")) ids.push_back(rows->getInt("grID"));
        if (rows->isOpen()) rows->close();
        for (int id : ids) {
            auto report = std::make_unique<CGraphicReport>();
            report->getGraphicReport(procedure, serverPreference, id, timeout);
            addGraphicReport(std::move(report));
        }
    });
}

int CGraphicReports::claimGraphicReport(CStoredProcedure& procedure, int timeout, int statusID,
                                        int graphicReportID, const std::vector<int>& exceptIDs) {
    return procedureWrap(procedure, "GraphicReports.cpp", "CGraphicReports::claimGraphicReport", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addTinyInt(list, "@statusID", static_cast<unsigned char>(statusID));
        params::addInt(list, "@graphicReportID", graphicReportID);
        params::addVarChar(list, "@exceptIDs", joinIDs(exceptIDs), 4000);
        // Nothing to claim comes back as null, which leaves the 0 sent.
        params::addInt(list, "@claimedID", 0, CParameter::kInputOutput);
        procedure.setName("__gr_claimGraphicReport");
        {
            CAttachedParameters attached(procedure, list);
            procedure.execSPNoReturnParasReturn();
        }
        const int claimed = static_cast<CParameterInt&>(*list.getParameter("@claimedID")).getInt();
        return claimed;
    });
}

int CGraphicReports::prepareReports(CStoredProcedure& procedure, int timeout) {
    return procedureWrap(procedure, "GraphicReports.cpp", "CGraphicReports::prepareReports", [&] {
        int prepared = 0;
        for (const auto& report : items_) {
            {
                CDataTransaction transaction(procedure);
                if (claimGraphicReport(procedure, timeout, statusID_, report->getID()) == report->getID()) {
                    report->prepareReport(procedure, timeout);
                    commitReport(transaction, *report);
                    ++prepared;
                }
            }
            CSystemUtilities::doEvents();
        }
        return prepared;
    });
}

CGraphicReports::Outcome CGraphicReports::prepareWaitingReports(
    CStoredProcedure& procedure, const CServerPreferenceZerOda& serverPreference, int statusID, int timeout,
    const Progress& progress) {
    return procedureWrap(procedure, "GraphicReports.cpp", "CGraphicReports::prepareWaitingReports", [&] {
        Outcome outcome;
        std::vector<int> given;  // failed in this run: left for a later one
        for (;;) {
            int id = 0;
            std::unique_ptr<CEXKorva> failure;
            {
                CDataTransaction transaction(procedure);
                id = claimGraphicReport(procedure, timeout, statusID, 0, given);
                if (id == 0) break;
                auto report = std::make_unique<CGraphicReport>();
                try {
                    report->getGraphicReport(procedure, serverPreference, id, timeout);
                    if (progress.started) progress.started(*report);
                    const int status = report->prepareReport(procedure, timeout);
                    commitReport(transaction, *report);
                    ++outcome.prepared;
                    if (progress.finished) progress.finished(*report, status);
                } catch (const CEXKorva& error) {
                    failure = error.clone();
                }
            }  // a failed report's transaction is rolled back here, before it is reported
            if (failure) {
                given.push_back(id);
                ++outcome.failed;
                if (progress.failed) progress.failed(id, *failure);
            }
            CSystemUtilities::doEvents();
        }
        return outcome;
    });
}
