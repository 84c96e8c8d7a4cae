#include "data/SQLStatement.h"

#include "core/EXKinds.h"
#include "core/KorvaWrap.h"
#include "data/OdbcFailure.h"

CSQLStatement::CSQLStatement(std::string dataSource, std::string catalog, std::string userID, std::string password,
                             int timeout)
    : CDataServices(std::move(dataSource), std::move(catalog), std::move(userID), std::move(password), timeout),
      timeout_(timeout) {}

namespace {
template <class F>
decltype(auto) statementWrap(const char* procSig, const std::string& sql, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (const COdbcFailure& failure) {
        throw CEXSQLStatement(failure.first(), __FILE__, procSig, sql);
    } catch (...) {
        throw wrapCurrentException(__FILE__, procSig);
    }
}
}  // namespace

bool CSQLStatement::execSQLNoReturn(const std::string& sql) {
    return statementWrap("CSQLStatement::execSQLNoReturn", sql, [&] {
        if (!isConnected()) return false;
        runText(sql, nullptr, timeout_);
        return true;
    });
}

std::unique_ptr<CRecordset> CSQLStatement::execSQLReturn(const std::string& sql) {
    return statementWrap("CSQLStatement::execSQLReturn", sql, [&] {
        if (!isConnected()) return std::make_unique<CRecordset>();
        return runText(sql, nullptr, timeout_);
    });
}
