#pragma once
#include <string>
#include <string_view>

// The stylesheets that turn the XML logs into HTML pages. Their texts are errorLog.xsl and
// debugLog.xsl of this folder, compiled in so a new log can get its stylesheet beside it.
namespace logstyles {

inline constexpr const char* kErrorLogFileName = "errorLog.xsl";
inline constexpr const char* kDebugLogFileName = "debugLog.xsl";

std::string_view errorLogStylesheet();
std::string_view debugLogStylesheet();

// Writes the named stylesheet into the folder of logPath unless a file of that name is already
// there (a user's own stylesheet wins). Answers whether the stylesheet is there afterwards.
bool installBeside(const std::string& logPath, const std::string& stylesheetName);

}  // namespace logstyles
