#pragma once
#include <memory>
#include <string>

#include "data/Command.h"
#include "data/Recordset.h"
#include "data/SqlDialect.h"

// One connection to the property database through ODBC, open from construction to destruction.
// A connection that cannot be opened fails the constructor with the connection error
// ("An error occurred whilst connecting to <catalog>", the driver's messages chained inside).
//
// The data source is either an ODBC connection text without database and login
// ("Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=5432", "DSN=propdb") or a bare SQL Server
// name reached through FreeTDS ("sqlhost" or "sqlhost\\INSTANCE"). Every call commits on its own
// unless a transaction is open (CDataTransaction).
class CDataServices {
  public:
    CDataServices(std::string dataSource, std::string catalog, std::string userID, std::string password,
                  int timeout);
    virtual ~CDataServices();
    CDataServices(const CDataServices&) = delete;
    CDataServices& operator=(const CDataServices&) = delete;

    // The ODBC version of the driver manager as a number (3.52), 0.0 when not connected.
    double getADOVersion() const;
    bool isConnected() const { return connected_ != 0; }
    const CSqlDialect& getDialect() const { return dialect_; }
    const std::string& getCatalog() const { return catalog_; }

    // The connection text, values placed as they are (no escaping):
    // <data source>;Database=<catalog>;UID=<user>;PWD=<password>;<dialect options>
    static std::string buildConnectionString(const std::string& dataSource, const std::string& catalog,
                                             const std::string& userID, const std::string& password);

    // Calls made between begin and commit form one unit: rolled back together.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    bool inTransaction() const { return transactionDepth_ > 0; }

  protected:
    // Runs one text with its parameters, committing unless a transaction is open and rolling
    // back on failure. Throws COdbcFailure.
    std::unique_ptr<CRecordset> runText(const std::string& text, CCommandParameters* parameters, int timeout);

  private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    int connected_ = 0;
    CSqlDialect dialect_;
    std::string catalog_;
    std::string driverName_;
    int transactionDepth_ = 0;
};

// Keeps the calls of a scope in one transaction: committed by commit(), rolled back otherwise.
class CDataTransaction {
  public:
    explicit CDataTransaction(CDataServices& connection) : connection_(connection) {
        connection_.beginTransaction();
    }
    ~CDataTransaction() {
        if (!done_) {
            try {
                connection_.rollbackTransaction();
            } catch (...) {  // a lost connection has rolled back by itself
            }
        }
    }
    CDataTransaction(const CDataTransaction&) = delete;
    CDataTransaction& operator=(const CDataTransaction&) = delete;
    void commit() {
        done_ = true;
        connection_.commitTransaction();
    }

  private:
    CDataServices& connection_;
    bool done_ = false;
};
