#include "data/OdbcFailure.h"

#include <sql.h>
#include <sqlext.h>

namespace {
std::string joined(const std::vector<CComponentError>& errors) {
    return errors.empty() ? std::string("database error") : errors.front().description;
}
}  // namespace

COdbcFailure::COdbcFailure(std::vector<CComponentError> errors)
    : std::runtime_error(joined(errors)), errors_(std::move(errors)) {
    if (errors_.empty()) errors_.push_back({"database error", "ODBC", 0});
}

COdbcFailure COdbcFailure::fromHandle(short handleType, void* handle, const std::string& source,
                                      const std::string& fallback) {
    std::vector<CComponentError> errors;
    if (handle != nullptr) {
        for (SQLSMALLINT record = 1;; ++record) {
            SQLCHAR state[6] = {};
            SQLINTEGER native = 0;
            SQLCHAR message[2048] = {};
            SQLSMALLINT length = 0;
            const SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, state, &native, message,
                                               sizeof message, &length);
            if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) break;
            std::string text(reinterpret_cast<const char*>(message));
            // The driver ends some messages with a newline or a ";\n" before its own remark.
            while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
            CComponentError error;
            error.description = text + " (SQLSTATE " + reinterpret_cast<const char*>(state) + ")";
            error.source = source;
            error.code = static_cast<std::uint32_t>(native);
            errors.push_back(std::move(error));
        }
    }
    if (errors.empty()) errors.push_back({fallback, source, 0});
    return COdbcFailure(std::move(errors));
}
