#include "logging/ErrorLogWriter.h"

#include "logging/Log.h"
#include "logging/PreferencesZerOda.h"

std::size_t CErrorLogWriter::serverCount() const {
    return static_cast<std::size_t>(settings_.getCount());
}

void CErrorLogWriter::writeError(std::size_t server, const CEXKorva& exception) {
    CLog().writeToXMLErrorLog(settings_.getAt(static_cast<int>(server)).getAcadErrorLogFilePath(), exception);
}
