#include "data/Recordset.h"

#include <cstdlib>
#include <strings.h>

#include "data/OdbcFailure.h"

CRecordset::CRecordset(std::vector<std::string> columns, std::vector<Row> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)), open_(true) {}

bool CRecordset::hasField(const std::string& name) const {
    for (const std::string& column : columns_)
        if (strcasecmp(column.c_str(), name.c_str()) == 0) return true;
    return false;
}

const std::optional<std::string>& CRecordset::field(const std::string& name) const {
    if (!open_) throw COdbcFailure(CComponentError{"The record set is closed.", "ODBC", 0});
    if (isEOF()) throw COdbcFailure(CComponentError{"The record set is at its end.", "ODBC", 0});
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (strcasecmp(columns_[i].c_str(), name.c_str()) == 0) return rows_[position_][i];
    throw COdbcFailure(CComponentError{"Field " + name + " is not in the record set.", "ODBC", 0});
}

bool CRecordset::isNull(const std::string& name) const { return !field(name).has_value(); }

std::string CRecordset::getText(const std::string& name) const { return field(name).value_or(std::string()); }

int CRecordset::getInt(const std::string& name) const {
    const auto& value = field(name);
    if (!value) return 0;
    // Booleans arrive as "1"/"0", integers as digits; a decimal text keeps its integer part.
    return static_cast<int>(std::strtol(value->c_str(), nullptr, 10));
}

double CRecordset::getDouble(const std::string& name) const {
    const auto& value = field(name);
    return value ? std::strtod(value->c_str(), nullptr) : 0.0;
}
