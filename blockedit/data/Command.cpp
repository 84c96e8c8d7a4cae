#include "data/Command.h"

#include "data/OdbcFailure.h"

const CCommandParameter& CCommandParameters::item(const std::string& name) const {
    for (const CCommandParameter& parameter : items_)
        if (parameter.name == name) return parameter;
    throw COdbcFailure(CComponentError{"Parameter " + name + " is not part of the call.", "ODBC", 0});
}
