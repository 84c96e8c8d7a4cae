#pragma once
#include <exception>

#include "core/ComponentError.h"
#include "core/EXKorva.h"
#include "engine/api/Drawing.h"

// The wrapper kind: what every function throws when something escapes its body, and the kind
// built from host statuses and standard-library exceptions.
class CEXUnhandled : public CEXKind<CEXUnhandled> {
public:
    // Generic: "unhandled error".
    CEXUnhandled(std::string source, const std::string& fileName, std::string procSig, std::uint32_t errorCode = 0,
                 std::unique_ptr<CEXKorva> innerException = nullptr);
    // A failed host status at `line`, optionally while processing `drawingName`.
    CEXUnhandled(cad::ErrorStatus status, std::string source, const std::string& fileName, std::string procSig,
                 int line, const std::string& drawingName, std::unique_ptr<CEXKorva> innerException = nullptr);
    // A standard-library exception: its what() text.
    CEXUnhandled(const std::exception& exception, std::string source, const std::string& fileName,
                 std::string procSig, std::uint32_t errorCode = 0, std::unique_ptr<CEXKorva> innerException = nullptr);
    // A message of the caller's own.
    CEXUnhandled(std::string message, std::string source, const std::string& fileName, std::string procSig,
                 std::uint32_t errorCode);
    // A component error: its description, its source and the given severity.
    CEXUnhandled(const CComponentError& error, const std::string& fileName, std::string procSig,
                 std::uint32_t severity);
};
