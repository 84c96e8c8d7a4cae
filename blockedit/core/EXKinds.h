#pragma once
#include "core/ComponentError.h"
#include "core/EXKorva.h"

// The specific kinds that the module's functions raise themselves. Each one only sets its
// message and severity.

class CEXCustom : public CEXKind<CEXCustom> {
public:
    CEXCustom(std::string message, std::string source, const std::string& fileName, std::string procSig,
              std::uint32_t errorCode = 0, std::unique_ptr<CEXKorva> innerException = nullptr);
};

class CEXInvalidHandle : public CEXKind<CEXInvalidHandle> {
public:
    CEXInvalidHandle(const std::string& handle, std::string source, const std::string& fileName, std::string procSig);
};

class CEXInvalidHexColour : public CEXKind<CEXInvalidHexColour> {
public:
    CEXInvalidHexColour(const std::string& colour, std::string source, const std::string& fileName,
                        std::string procSig);
};

class CEXInvalidPlotFilename : public CEXKind<CEXInvalidPlotFilename> {
public:
    CEXInvalidPlotFilename(const std::string& plotFilename, std::string source, const std::string& fileName,
                           std::string procSig);
};

class CEXInvalidXMLFile : public CEXKind<CEXInvalidXMLFile> {
public:
    CEXInvalidXMLFile(const std::string& xmlFilename, std::string source, const std::string& fileName,
                      std::string procSig);
};

class CEXSegmentAreaOverTotal : public CEXKind<CEXSegmentAreaOverTotal> {
public:
    CEXSegmentAreaOverTotal(double segmentArea, double totalArea, std::string source, const std::string& fileName,
                            std::string procSig);
};

class CEXHatchAdditionalAreas : public CEXKind<CEXHatchAdditionalAreas> {
public:
    CEXHatchAdditionalAreas(const std::string& blockName, std::string source, const std::string& fileName,
                            std::string procSig);
};

class CEXHatchNoHatchAreas : public CEXKind<CEXHatchNoHatchAreas> {
public:
    CEXHatchNoHatchAreas(const std::string& blockName, std::string source, const std::string& fileName,
                         std::string procSig);
};

class CEXHatchBlock : public CEXKind<CEXHatchBlock> {
public:
    CEXHatchBlock(const std::string& blockName, const std::string& handle, std::string source,
                  const std::string& fileName, std::string procSig);
};

// objectText describes what was hatched, e.g. "korva block ROOM-12".
class CEXHatchTooSparse : public CEXKind<CEXHatchTooSparse> {
public:
    CEXHatchTooSparse(const std::string& objectText, const std::string& patternName, double scale,
                      std::string source, const std::string& fileName, std::string procSig);
};

class CEXHatchTooDense : public CEXKind<CEXHatchTooDense> {
public:
    CEXHatchTooDense(const std::string& objectText, const std::string& patternName, double scale, std::string source,
                     const std::string& fileName, std::string procSig);
};

// Kinds built from a component error: the message is the component's description and the
// source is the component's, not the module's.
class CEXStoredProcedure : public CEXKind<CEXStoredProcedure> {
public:
    CEXStoredProcedure(const CComponentError& error, std::string procedure, const std::string& fileName,
                       std::string procSig, std::uint32_t severity);
    // The stored procedure whose call failed.
    const std::string& getProcedure() const { return procedure_; }
    // The call as the storedProcedure element (errors namespace), when the raiser gave it.
    const std::string& getCallXml() const { return callXml_; }
    void setCallXml(std::string xml) { callXml_ = std::move(xml); }

private:
    std::string procedure_;
    std::string callXml_;
};

class CEXConnection : public CEXKind<CEXConnection> {
public:
    CEXConnection(const CComponentError& error, const std::string& fileName, std::string procSig,
                  std::unique_ptr<CEXKorva> innerException = nullptr);
    // A connection that could not be opened: "An error occurred whilst connecting to " and the
    // catalog; the driver's own errors are the inner chain.
    CEXConnection(const std::string& catalog, const std::string& fileName, std::string procSig,
                  std::unique_ptr<CEXKorva> driverErrors);
};

class CEXSQLStatement : public CEXKind<CEXSQLStatement> {
public:
    CEXSQLStatement(const CComponentError& error, const std::string& fileName, std::string procSig,
                    std::string statement = {});
    // The SQL text whose execution failed.
    const std::string& getStatement() const { return statement_; }

private:
    std::string statement_;
};
