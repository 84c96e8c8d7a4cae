// Feeds arbitrary bytes to the module settings reader as the settings file the module loads. A
// file it cannot use is reported and leaves the settings as they were; anything thrown, and any
// record whose values do not read back, is a bug.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/editor/HostOutput.h"
#include "logging/PreferencesZerOda.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/fuzz-settings-" + std::to_string(::getpid()) + ".xml";
    static const bool named = ::setenv("BRINMO_MODULE_SETTINGS", path.c_str(), 1) == 0;
    if (!named) std::abort();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    cad::CapturedOutput quiet;
    CPreferencesZerOda settings;
    loadDocumentMonitorSettings(settings);
    // Every record's values are there to be used by the error log and the database.
    std::size_t seen = 0;
    for (int i = 0; i < settings.getCount(); ++i) {
        const CServerPreferenceZerOda& record = settings.getAt(i);
        seen += record.getAcadErrorLogFilePath().size() + record.getZerOdaErrorLogFilePath().size() +
                record.getCacheOutPath().size() + static_cast<std::size_t>(record.getDeletePeriodSecs() != 0) +
                static_cast<std::size_t>(record.getCachePlotTypeID() != 0);
    }
    return seen == static_cast<std::size_t>(-1) ? 1 : 0;
}
