#include "data/SqlDialect.h"

#include <algorithm>
#include <cctype>
#include <sql.h>
#include <sqlext.h>

#include "data/OdbcFailure.h"
#include "data/Parameter.h"

namespace {
std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// "[idr]..[getLocationAssets]" -> {"idr", "", "getLocationAssets"}
std::vector<std::string> nameParts(const std::string& name) {
    std::vector<std::string> parts(1);
    bool bracket = false;
    for (char c : name) {
        if (c == '[' && !bracket) {
            bracket = true;
        } else if (c == ']' && bracket) {
            bracket = false;
        } else if (c == '.' && !bracket) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}
}  // namespace

CSqlDialect::Kind CSqlDialect::fromConnectionText(const std::string& text) {
    const std::string l = lower(text);
    return (l.find("postgresql") != std::string::npos || l.find("psqlodbc") != std::string::npos)
               ? Kind::PostgreSQL
               : Kind::SQLServer;
}

CSqlDialect::Kind CSqlDialect::fromDbmsName(const std::string& name) {
    return lower(name).find("postgres") != std::string::npos ? Kind::PostgreSQL : Kind::SQLServer;
}

std::string CSqlDialect::objectName(const std::string& procedure) const {
    if (kind_ == Kind::SQLServer) return procedure;
    std::string text;
    for (const std::string& part : nameParts(procedure)) {
        if (part.empty()) continue;  // the database part left out of [idr]..[name]
        std::string quoted = "\"";
        for (char c : part) quoted += (c == '"') ? std::string("\"\"") : std::string(1, c);
        quoted += '"';
        text += (text.empty() ? "" : ".") + quoted;
    }
    return text;
}

std::vector<std::size_t> CSqlDialect::bindingOrder(const CCommandParameters& parameters) const {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < parameters.count(); ++i)
        if (parameters.at(i).direction == CParameter::kReturnValue) order.push_back(i);
    for (std::size_t i = 0; i < parameters.count(); ++i)
        if (parameters.at(i).direction != CParameter::kReturnValue) order.push_back(i);
    return order;
}

std::string CSqlDialect::callText(const std::string& procedure, const CCommandParameters& parameters) const {
    std::size_t returns = 0;
    for (std::size_t i = 0; i < parameters.count(); ++i)
        if (parameters.at(i).direction == CParameter::kReturnValue) ++returns;
    if (returns > 1)
        throw COdbcFailure(CComponentError{"A call has at most one return value.", "ODBC", 0});
    std::string markers;
    for (std::size_t i = 0; i < parameters.count() - returns; ++i) markers += i ? ",?" : "?";
    if (kind_ == Kind::PostgreSQL) {
        if (returns)
            throw COdbcFailure(CComponentError{
                "Procedure " + procedure + ": PostgreSQL procedures have no return value.", "ODBC", 0});
        return "CALL " + objectName(procedure) + "(" + markers + ")";
    }
    return std::string(returns ? "{? = call " : "{call ") + objectName(procedure) + "(" + markers + ")}";
}

CSqlDialect::Binding CSqlDialect::binding(const CCommandParameter& parameter) const {
    Binding b{};
    switch (parameter.direction) {
        case CParameter::kOutput: b.ioType = SQL_PARAM_OUTPUT; break;
        case CParameter::kInputOutput: b.ioType = SQL_PARAM_INPUT_OUTPUT; break;
        case CParameter::kReturnValue: b.ioType = SQL_PARAM_OUTPUT; break;
        default: b.ioType = SQL_PARAM_INPUT; break;
    }
    switch (parameter.type) {
        case CParameter::kBoolean:
            b.cType = SQL_C_BIT, b.sqlType = SQL_BIT, b.columnSize = 1;
            break;
        case CParameter::kChar:
            b.cType = SQL_C_CHAR, b.sqlType = SQL_CHAR, b.columnSize = static_cast<unsigned long>(std::max(1, parameter.size));
            break;
        case CParameter::kDBTimeStamp:
            b.cType = SQL_C_TYPE_TIMESTAMP, b.sqlType = SQL_TYPE_TIMESTAMP, b.columnSize = 23, b.decimalDigits = 3;
            break;
        case CParameter::kNumeric:
            // Sent as text so that no binary rounding creeps in; a parameter without its own
            // precision (the float kind) gets room for a double's digits.
            b.cType = SQL_C_CHAR, b.sqlType = SQL_DECIMAL;
            b.columnSize = static_cast<unsigned long>(parameter.precision ? parameter.precision : 38);
            b.decimalDigits = static_cast<short>(parameter.precision ? parameter.numericScale : 17);
            break;
        case CParameter::kInteger:
            b.cType = SQL_C_SLONG, b.sqlType = SQL_INTEGER, b.columnSize = 10;
            break;
        case CParameter::kTinyInt:
            b.cType = SQL_C_UTINYINT, b.sqlType = SQL_TINYINT, b.columnSize = 3;
            break;
        case CParameter::kVarChar:
        default:
            b.cType = SQL_C_CHAR, b.sqlType = SQL_VARCHAR, b.columnSize = static_cast<unsigned long>(std::max(1, parameter.size));
            break;
    }
    return b;
}

std::string CSqlDialect::connectionOptions() const {
    return kind_ == Kind::PostgreSQL ? "FetchRefcursors=1;" : "";
}
