#include "data/DataServices.h"

#include <sql.h>
#include <sqlext.h>

#include <vector>

#include "core/EXKinds.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "data/OdbcFailure.h"
#include "data/OdbcStatement.h"

struct CDataServices::Handles {
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    ~Handles() {
        if (connection != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, connection);
        if (environment != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, environment);
    }
};

namespace {
bool isConnectionText(const std::string& dataSource) { return dataSource.find('=') != std::string::npos; }
}  // namespace

std::string CDataServices::buildConnectionString(const std::string& dataSource, const std::string& catalog,
                                                 const std::string& userID, const std::string& password) {
    std::string text;
    CSqlDialect dialect(CSqlDialect::Kind::SQLServer);
    if (isConnectionText(dataSource)) {
        text = dataSource;
        if (!text.empty() && text.back() != ';') text += ';';
        dialect = CSqlDialect(CSqlDialect::fromConnectionText(dataSource));
    } else {
        text = "Driver={FreeTDS};Server=" + dataSource + ";TDS_Version=7.4;ClientCharset=UTF-8;";
    }
    text += "Database=" + catalog + ";UID=" + userID + ";PWD=" + password + ";";
    return text + dialect.connectionOptions();
}

CDataServices::CDataServices(std::string dataSource, std::string catalog, std::string userID, std::string password,
                             int timeout)
    : handles_(std::make_unique<Handles>()), catalog_(std::move(catalog)) {
    const std::string connectionString = buildConnectionString(dataSource, catalog_, userID, password);
    dialect_ = CSqlDialect(isConnectionText(dataSource) ? CSqlDialect::fromConnectionText(dataSource)
                                                        : CSqlDialect::Kind::SQLServer);
    // No driver manager: nothing can connect, and nothing is raised (calls then do nothing).
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handles_->environment))) return;
    SQLSetEnvAttr(handles_->environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, handles_->environment, &handles_->connection))) return;

    SQLHDBC dbc = handles_->connection;
    auto connectionError = [&](const COdbcFailure& failure) {
        // The driver's messages, the first outermost, under the connection error naming the catalog.
        std::unique_ptr<CEXKorva> inner;
        const auto& errors = failure.errors();
        for (auto it = errors.rbegin(); it != errors.rend(); ++it)
            inner = std::make_unique<CEXConnection>(*it, __FILE__, "CDataServices::CDataServices", std::move(inner));
        return CEXConnection(catalog_, __FILE__, "CDataServices::CDataServices", std::move(inner));
    };

    if (timeout > 0)
        SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeout)), 0);
    const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionString.c_str())),
                                          SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc))
        throw connectionError(COdbcFailure::fromHandle(SQL_HANDLE_DBC, dbc, "ODBC", "The connection failed."));

    SQLCHAR text[256] = {};
    SQLSMALLINT length = 0;
    if (SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DBMS_NAME, text, sizeof text, &length)))
        dialect_ = CSqlDialect(CSqlDialect::fromDbmsName(reinterpret_cast<const char*>(text)));
    text[0] = 0;
    if (SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DRIVER_NAME, text, sizeof text, &length)))
        driverName_ = reinterpret_cast<const char*>(text);
    if (driverName_.empty()) driverName_ = "ODBC";
    // Refcursor rows need a transaction around the call; the other servers simply commit per call too.
    if (!SQL_SUCCEEDED(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
        throw connectionError(COdbcFailure::fromHandle(SQL_HANDLE_DBC, dbc, driverName_, "The connection failed."));
    connected_ = 1;
}

CDataServices::~CDataServices() {
    if (connected_) {
        SQLEndTran(SQL_HANDLE_DBC, handles_->connection, SQL_ROLLBACK);
        SQLDisconnect(handles_->connection);
    }
}

double CDataServices::getADOVersion() const {
    if (!connected_) return 0.0;
    SQLCHAR text[64] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(handles_->connection, SQL_DM_VER, text, sizeof text, &length))) return 0.0;
    // "03.52.0002.0003": the leading number of the text.
    std::string version(reinterpret_cast<const char*>(text));
    const auto second = version.find('.', version.find('.') + 1);
    return std::strtod(version.substr(0, second).c_str(), nullptr);
}

void CDataServices::beginTransaction() { ++transactionDepth_; }

void CDataServices::commitTransaction() {
    if (transactionDepth_ > 0 && --transactionDepth_ == 0 && connected_) {
        if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, handles_->connection, SQL_COMMIT)))
            throw COdbcFailure::fromHandle(SQL_HANDLE_DBC, handles_->connection, driverName_, "The commit failed.");
    }
}

void CDataServices::rollbackTransaction() {
    if (transactionDepth_ > 0) {
        transactionDepth_ = 0;
        if (connected_) SQLEndTran(SQL_HANDLE_DBC, handles_->connection, SQL_ROLLBACK);
    }
}

std::unique_ptr<CRecordset> CDataServices::runText(const std::string& text, CCommandParameters* parameters,
                                                   int timeout) {
    try {
        std::unique_ptr<CRecordset> rows;
        {
            COdbcStatement statement(handles_->connection, dialect_, driverName_);
            rows = statement.run(text, parameters, timeout);
        }
        if (transactionDepth_ == 0 &&
            !SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, handles_->connection, SQL_COMMIT)))
            throw COdbcFailure::fromHandle(SQL_HANDLE_DBC, handles_->connection, driverName_, "The commit failed.");
        return rows;
    } catch (...) {
        // A failed call leaves nothing behind: what it (or the open transaction) wrote is undone.
        SQLEndTran(SQL_HANDLE_DBC, handles_->connection, SQL_ROLLBACK);
        if (transactionDepth_ > 0) transactionDepth_ = 0;
        throw;
    }
}
