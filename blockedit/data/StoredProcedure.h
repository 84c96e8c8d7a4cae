#pragma once
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "core/EXKinds.h"
#include "core/KorvaWrap.h"
#include "data/DataServices.h"
#include "data/OdbcFailure.h"
#include "data/Parameters.h"
#include "data/Recordset.h"

class CXMLUtilities;

// Runs named stored procedures on its connection. Name, parameters and time-out may change between
// calls; each call builds its own statement. When the connection is not open, calls do nothing
// and the record-set calls return an empty record set.
class CStoredProcedure : public CDataServices {
  public:
    CStoredProcedure(std::string dataSource, std::string catalog, std::string userID, std::string password,
                     int timeout);

    void setName(std::string name) { name_ = std::move(name); }
    const std::string& getName() const { return name_; }
    // Not owned: the caller keeps the collection alive over the calls that use it.
    void setParameters(CParameters* parameters) { parameters_ = parameters; }
    CParameters* getParameters() const { return parameters_; }
    void setCommandTimeout(int seconds) { commandTimeout_ = seconds; }
    int getCommandTimeout() const { return commandTimeout_; }

    void execSPNoReturnNoParas();
    void execSPNoReturnParas();
    // Output and input-output parameters receive what the server returned.
    void execSPNoReturnParasReturn();
    std::unique_ptr<CRecordset> execSPReturnNoParas();
    std::unique_ptr<CRecordset> execSPReturnParas();

    // <storedProcedure> with name, date (errors namespace) and, when set, the parameters.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;

    // The call text the last execution sent.
    const std::string& getLastCallText() const { return lastCallText_; }

    // The module's debug log: when not empty, every call is written there before it runs.
    // Starts from $BRINMO_DB_DEBUG_LOG.
    static std::string& debugLogPath();

    // The stored-procedure error for a driver failure in a caller's own work around a call
    // (building the parameters, reading the rows): the driver's text and source, the call kept.
    CEXStoredProcedure procedureError(const CComponentError& error, const char* fileName, const char* procSig) const;

  private:
    std::unique_ptr<CRecordset> execute(const char* variant, bool withParameters, bool readOutputs);

    std::string name_;
    CParameters* parameters_ = nullptr;
    int commandTimeout_ = 0;
    std::string lastCallText_;
};

// Hands a collection to the procedure for the length of a scope; the procedure never keeps a
// pointer to a collection that is gone.
class CAttachedParameters {
  public:
    CAttachedParameters(CStoredProcedure& procedure, CParameters& list) : procedure_(procedure) {
        procedure_.setParameters(&list);
    }
    ~CAttachedParameters() { procedure_.setParameters(nullptr); }
    CAttachedParameters(const CAttachedParameters&) = delete;
    CAttachedParameters& operator=(const CAttachedParameters&) = delete;

  private:
    CStoredProcedure& procedure_;
};

// Runs the procedure with the list attached for this one call; its rows.
inline std::unique_ptr<CRecordset> callForRows(CStoredProcedure& procedure, CParameters& list) {
    CAttachedParameters attached(procedure, list);
    return procedure.execSPReturnParas();
}

// The wrapping rule of the operations that call procedures: a driver failure of the operation's
// own becomes the stored-procedure error carrying the call; errors of the module pass through as
// inner exceptions, as everywhere.
template <class F>
decltype(auto) procedureWrap(const CStoredProcedure& procedure, const char* fileName, const char* procSig,
                             F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (const COdbcFailure& failure) {
        throw procedure.procedureError(failure.first(), fileName, procSig);
    } catch (const CUserCancel&) {
        throw;
    } catch (...) {
        throw wrapCurrentException(fileName, procSig);
    }
}
