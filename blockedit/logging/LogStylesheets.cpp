#include "logging/LogStylesheets.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "logging/debugLogStylesheet.h"
#include "logging/errorLogStylesheet.h"

namespace logstyles {

std::string_view errorLogStylesheet() {
    return kerrorLogStylesheet;
}

std::string_view debugLogStylesheet() {
    return kdebugLogStylesheet;
}

bool installBeside(const std::string& logPath, const std::string& stylesheetName) {
    std::string_view text;
    if (stylesheetName == kErrorLogFileName) {
        text = errorLogStylesheet();
    } else if (stylesheetName == kDebugLogFileName) {
        text = debugLogStylesheet();
    } else {
        return false;
    }
    const std::filesystem::path target = std::filesystem::path(logPath).parent_path() / stylesheetName;
    std::error_code error;
    if (std::filesystem::exists(target, error)) return true;
    std::ofstream out(target, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

}  // namespace logstyles
