#include "data/OdbcStatement.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include <fmt/format.h>

#include "data/OdbcFailure.h"
#include "data/Parameter.h"

namespace {
// Storage for one bound parameter; it must stay in place until the outputs are read.
struct BoundValue {
    std::vector<char> text;
    SQLINTEGER integer = 0;
    unsigned char byte = 0;
    SQL_TIMESTAMP_STRUCT timestamp{};
    SQLLEN indicator = 0;
};

std::size_t textCapacity(const CCommandParameter& parameter, const std::string& text) {
    std::size_t capacity = std::max<std::size_t>(static_cast<std::size_t>(std::max(parameter.size, 0)), text.size());
    return std::max<std::size_t>(capacity, 256) + 1;
}

std::string valueAsText(const CCommandParameter& parameter) {
    if (parameter.type == CParameter::kNumeric) {
        double d = 0.0;
        if (auto* v = std::get_if<double>(&parameter.value)) d = *v;
        else if (auto* i = std::get_if<int>(&parameter.value)) d = *i;
        return parameter.precision ? fmt::format("{:.{}f}", d, static_cast<int>(parameter.numericScale))
                                   : fmt::format("{:.17g}", d);
    }
    return parameterValueText(parameter.value);
}
}  // namespace

COdbcStatement::COdbcStatement(void* connection, const CSqlDialect& dialect, std::string source)
    : dialect_(dialect), source_(std::move(source)) {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement)))
        throw COdbcFailure::fromHandle(SQL_HANDLE_DBC, connection, source_, "Cannot start a statement.");
    statement_ = statement;
}

COdbcStatement::~COdbcStatement() {
    if (statement_) SQLFreeHandle(SQL_HANDLE_STMT, statement_);
}

std::unique_ptr<CRecordset> COdbcStatement::run(const std::string& text, CCommandParameters* parameters,
                                                int timeoutSeconds) {
    SQLHSTMT st = statement_;
    auto fail = [&](const char* what) { return COdbcFailure::fromHandle(SQL_HANDLE_STMT, st, source_, what); };

    if (timeoutSeconds > 0)
        SQLSetStmtAttr(st, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeoutSeconds)),
                       0);

    std::vector<BoundValue> bound(parameters ? parameters->count() : 0);
    if (parameters) {
        SQLUSMALLINT marker = 0;
        for (std::size_t index : dialect_.bindingOrder(*parameters)) {
            const CCommandParameter& parameter = parameters->at(index);
            const CSqlDialect::Binding b = dialect_.binding(parameter);
            BoundValue& v = bound[index];
            SQLPOINTER buffer = nullptr;
            SQLLEN bufferLength = 0;
            const bool null = isNullValue(parameter.value);
            switch (b.cType) {
                case SQL_C_SLONG:
                    if (auto* i = std::get_if<int>(&parameter.value)) v.integer = *i;
                    buffer = &v.integer;
                    break;
                case SQL_C_BIT:
                case SQL_C_UTINYINT:
                    if (auto* f = std::get_if<bool>(&parameter.value)) v.byte = *f ? 1 : 0;
                    if (auto* c = std::get_if<unsigned char>(&parameter.value)) v.byte = *c;
                    if (auto* i = std::get_if<int>(&parameter.value)) v.byte = static_cast<unsigned char>(*i);
                    buffer = &v.byte;
                    break;
                case SQL_C_TYPE_TIMESTAMP:
                    if (auto* t = std::get_if<CDateTime>(&parameter.value)) {
                        v.timestamp.year = static_cast<SQLSMALLINT>(t->year());
                        v.timestamp.month = static_cast<SQLUSMALLINT>(t->month());
                        v.timestamp.day = static_cast<SQLUSMALLINT>(t->day());
                        v.timestamp.hour = static_cast<SQLUSMALLINT>(t->hour());
                        v.timestamp.minute = static_cast<SQLUSMALLINT>(t->minute());
                        v.timestamp.second = static_cast<SQLUSMALLINT>(t->second());
                    }
                    buffer = &v.timestamp;
                    bufferLength = sizeof v.timestamp;
                    break;
                default: {
                    const std::string value = null ? std::string() : valueAsText(parameter);
                    v.text.assign(textCapacity(parameter, value), '\0');
                    std::memcpy(v.text.data(), value.data(), value.size());
                    buffer = v.text.data();
                    bufferLength = static_cast<SQLLEN>(v.text.size());
                    v.indicator = static_cast<SQLLEN>(value.size());
                    break;
                }
            }
            if (null) v.indicator = SQL_NULL_DATA;
            else if (b.cType != SQL_C_CHAR) v.indicator = 0;
            const SQLRETURN rc = SQLBindParameter(st, ++marker, b.ioType, b.cType, b.sqlType, b.columnSize,
                                                  b.decimalDigits, buffer, bufferLength, &v.indicator);
            if (!SQL_SUCCEEDED(rc)) throw fail("Cannot bind a parameter.");
        }
    }

    SQLRETURN rc = SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())), SQL_NTS);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NO_DATA) throw fail("The call failed.");

    std::unique_ptr<CRecordset> rows;
    if (rc != SQL_NO_DATA) {
        do {
            SQLSMALLINT columnCount = 0;
            if (!SQL_SUCCEEDED(SQLNumResultCols(st, &columnCount))) throw fail("Cannot read the results.");
            if (columnCount <= 0) continue;
            std::vector<std::string> columns;
            for (SQLUSMALLINT c = 1; c <= columnCount; ++c) {
                SQLCHAR name[256] = {};
                SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
                SQLULEN size = 0;
                SQLDescribeCol(st, c, name, sizeof name, &nameLength, &type, &size, &digits, &nullable);
                columns.emplace_back(reinterpret_cast<const char*>(name));
            }
            std::vector<CRecordset::Row> data;
            for (;;) {
                rc = SQLFetch(st);
                if (rc == SQL_NO_DATA) break;
                if (!SQL_SUCCEEDED(rc)) throw fail("Cannot read a row.");
                CRecordset::Row row;
                for (SQLUSMALLINT c = 1; c <= columnCount; ++c) {
                    std::string value;
                    bool isNull = false;
                    char chunk[1024];
                    for (;;) {
                        SQLLEN indicator = 0;
                        rc = SQLGetData(st, c, SQL_C_CHAR, chunk, sizeof chunk, &indicator);
                        if (rc == SQL_NO_DATA) break;
                        if (!SQL_SUCCEEDED(rc)) throw fail("Cannot read a field.");
                        if (indicator == SQL_NULL_DATA) {
                            isNull = true;
                            break;
                        }
                        value += chunk;
                        if (rc == SQL_SUCCESS) break;  // SQL_SUCCESS_WITH_INFO: more to come
                    }
                    row.push_back(isNull ? std::nullopt : std::optional<std::string>(std::move(value)));
                }
                data.push_back(std::move(row));
            }
            // The first result with columns holds the procedure's rows; later ones (the output
            // values some drivers repeat as a row) are read past.
            if (!rows) rows = std::make_unique<CRecordset>(std::move(columns), std::move(data));
        } while ((rc = SQLMoreResults(st)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO);
        if (rc != SQL_NO_DATA) throw fail("Cannot read the results.");
    }

    if (parameters) {
        for (std::size_t index = 0; index < parameters->count(); ++index) {
            CCommandParameter& parameter = parameters->at(index);
            if (parameter.direction == CParameter::kInput) continue;
            const BoundValue& v = bound[index];
            if (v.indicator == SQL_NULL_DATA) {
                parameter.value = std::monostate{};
                continue;
            }
            switch (dialect_.binding(parameter).cType) {
                case SQL_C_SLONG: parameter.value = static_cast<int>(v.integer); break;
                case SQL_C_BIT: parameter.value = v.byte != 0; break;
                case SQL_C_UTINYINT: parameter.value = v.byte; break;
                case SQL_C_TYPE_TIMESTAMP:
                    parameter.value = CDateTime(v.timestamp.year, v.timestamp.month, v.timestamp.day,
                                                v.timestamp.hour, v.timestamp.minute, v.timestamp.second);
                    break;
                default: {
                    std::string answer(v.text.data());
                    if (parameter.type == CParameter::kNumeric)
                        parameter.value = std::strtod(answer.c_str(), nullptr);
                    else
                        parameter.value = std::move(answer);
                    break;
                }
            }
        }
    }
    return rows ? std::move(rows) : std::make_unique<CRecordset>(std::vector<std::string>{}, std::vector<CRecordset::Row>{});
}
