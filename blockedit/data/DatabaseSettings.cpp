#include "data/DatabaseSettings.h"

#include <cstdlib>

#include "core/Utilities.h"
#include "logging/ServerPreferenceZerOda.h"

CDatabaseSettings CDatabaseSettings::resolve(const CServerPreferenceZerOda* record) {
    CDatabaseSettings settings;
    if (record) {
        settings.dataSource = record->getDbDatasource();
        settings.userID = record->getDbUserID();
        settings.password = record->getDbPassword();
        settings.timeout = record->getDbTimeout();
    }
    if (const char* v = std::getenv("BRINMO_DB_DATASOURCE")) settings.dataSource = v;
    if (const char* v = std::getenv("BRINMO_DB_USER")) settings.userID = v;
    if (const char* v = std::getenv("BRINMO_DB_PASSWORD")) settings.password = v;
    if (const char* v = std::getenv("BRINMO_DB_TIMEOUT")) settings.timeout = CUtilities::CStringToInt(v);
    return settings;
}
