#pragma once

// The two namespaces of the module's XML logs. The stylesheets errorLog.xsl and debugLog.xsl
// bind the same URIs; change them together.

// Root of the error log, every "error" entry (in both logs) with all its children, and the "date"
// of a stored-procedure call.
inline constexpr const char* kErrorsNamespaceURI = "urn:brinmo:errors";

// Root of the debug log and the "storedProcedure" element of a call with its name and parameters.
inline constexpr const char* kDebuggingNamespaceURI = "urn:brinmo:debugging";

// Every element of a graphic report file and of the report's parts (categories, blocks, assets,
// layers) as the report writes them.
inline constexpr const char* kDocumentMonitorNamespaceURI = "urn:brinmo:documentMonitor";
