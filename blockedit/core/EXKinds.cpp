#include "core/EXKinds.h"

#include "core/ModuleInfo.h"
#include "core/Utilities.h"

CEXCustom::CEXCustom(std::string message, std::string source, const std::string& fileName, std::string procSig,
                     std::uint32_t errorCode, std::unique_ptr<CEXKorva> innerException)
    : CEXKind(std::move(source), fileName, std::move(procSig), errorCode, std::move(innerException)) {
    setDescription(std::move(message));
}

CEXInvalidHandle::CEXInvalidHandle(const std::string& handle, std::string source, const std::string& fileName,
                                   std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription("Invalid Handle - " + handle);
    setSeverity(1);
}

CEXInvalidHexColour::CEXInvalidHexColour(const std::string& colour, std::string source, const std::string& fileName,
                                         std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription("Invalid Hex Colour - " + colour);
}

CEXInvalidPlotFilename::CEXInvalidPlotFilename(const std::string& plotFilename, std::string source,
                                               const std::string& fileName, std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription("Invalid Plot Filename - '" + plotFilename + "'");
}

CEXInvalidXMLFile::CEXInvalidXMLFile(const std::string& xmlFilename, std::string source, const std::string& fileName,
                                     std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription("Invalid XML file - " + xmlFilename);
}

CEXSegmentAreaOverTotal::CEXSegmentAreaOverTotal(double segmentArea, double totalArea, std::string source,
                                                 const std::string& fileName, std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription("Unable to calculate pie chart percentages the total segment area (" +
                   CUtilities::DoubleToCString(segmentArea, 2) + ") is greater than the specified total area (" +
                   CUtilities::DoubleToCString(totalArea, 2) + ").");
    setSeverity(1);
}

CEXHatchAdditionalAreas::CEXHatchAdditionalAreas(const std::string& blockName, std::string source,
                                                 const std::string& fileName, std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription("Unable to apply additional hatch areas to Korva Block: " + blockName + ".");
    setSeverity(1);
}

CEXHatchNoHatchAreas::CEXHatchNoHatchAreas(const std::string& blockName, std::string source,
                                           const std::string& fileName, std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription("Unable to apply no hatch areas to Korva Block: " + blockName + ".");
    setSeverity(1);
}

CEXHatchBlock::CEXHatchBlock(const std::string& blockName, const std::string& handle, std::string source,
                             const std::string& fileName, std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription("Unable to hatch Korva Block: " + blockName + ". Handle: " + handle +
                   ". Please check the polyline is closed.");
}

namespace {

std::string hatchDensityText(const std::string& objectText, const std::string& patternName, double scale,
                             const char* ending) {
    return "Unable to hatch " + objectText + ". " + patternName + " set at scale " +
           CUtilities::DoubleToCString(scale, 2) + " " + ending;
}

}  // namespace

CEXHatchTooSparse::CEXHatchTooSparse(const std::string& objectText, const std::string& patternName, double scale,
                                     std::string source, const std::string& fileName, std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription(hatchDensityText(objectText, patternName, scale, "is not dense enough to be displayed."));
    setSeverity(1);
}

CEXHatchTooDense::CEXHatchTooDense(const std::string& objectText, const std::string& patternName, double scale,
                                   std::string source, const std::string& fileName, std::string procSig)
    : CEXKind(std::move(source), fileName, std::move(procSig)) {
    setDescription(hatchDensityText(objectText, patternName, scale, "is too dense to be displayed."));
    setSeverity(1);
}

CEXStoredProcedure::CEXStoredProcedure(const CComponentError& error, std::string procedure,
                                       const std::string& fileName, std::string procSig, std::uint32_t severity)
    : CEXKind(error.source, fileName, std::move(procSig), error.code), procedure_(std::move(procedure)) {
    setDescription(error.description);
    setSeverity(severity);
}

CEXConnection::CEXConnection(const CComponentError& error, const std::string& fileName, std::string procSig,
                             std::unique_ptr<CEXKorva> innerException)
    : CEXKind(error.source, fileName, std::move(procSig), error.code, std::move(innerException)) {
    setDescription(error.description);
}

CEXConnection::CEXConnection(const std::string& catalog, const std::string& fileName, std::string procSig,
                             std::unique_ptr<CEXKorva> driverErrors)
    : CEXKind(kModuleDescription, fileName, std::move(procSig), 0, std::move(driverErrors)) {
    setDescription("An error occurred whilst connecting to " + catalog);
}

CEXSQLStatement::CEXSQLStatement(const CComponentError& error, const std::string& fileName, std::string procSig,
                                 std::string statement)
    : CEXKind(error.source, fileName, std::move(procSig), error.code), statement_(std::move(statement)) {
    setDescription(error.description);
}
