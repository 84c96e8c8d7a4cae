#include "core/EXUnhandled.h"

#include <fmt/format.h>

CEXUnhandled::CEXUnhandled(std::string source, const std::string& fileName, std::string procSig,
                           std::uint32_t errorCode, std::unique_ptr<CEXKorva> innerException)
    : CEXKind(std::move(source), fileName, std::move(procSig), errorCode, std::move(innerException)) {
    setDescription("unhandled error");
}

CEXUnhandled::CEXUnhandled(cad::ErrorStatus status, std::string source, const std::string& fileName,
                           std::string procSig, int line, const std::string& drawingName,
                           std::unique_ptr<CEXKorva> innerException)
    : CEXKind(std::move(source), fileName, std::move(procSig), static_cast<std::uint32_t>(status),
              std::move(innerException)) {
    std::string text = fmt::format("The following AutoCAD error occurred on line#{}: {}", line,
                                   cad::statusText(status));
    if (!drawingName.empty()) text += ", whilst processing drawing " + drawingName;
    setDescription(text + ".");
}

CEXUnhandled::CEXUnhandled(const std::exception& exception, std::string source, const std::string& fileName,
                           std::string procSig, std::uint32_t errorCode, std::unique_ptr<CEXKorva> innerException)
    : CEXKind(std::move(source), fileName, std::move(procSig), errorCode, std::move(innerException)) {
    setDescription(exception.what());
}

CEXUnhandled::CEXUnhandled(std::string message, std::string source, const std::string& fileName,
                           std::string procSig, std::uint32_t errorCode)
    : CEXKind(std::move(source), fileName, std::move(procSig), errorCode) {
    setDescription(std::move(message));
}

CEXUnhandled::CEXUnhandled(const CComponentError& error, const std::string& fileName, std::string procSig,
                           std::uint32_t severity)
    : CEXKind(error.source, fileName, std::move(procSig), error.code) {
    setDescription(error.description);
    setSeverity(severity);
}
