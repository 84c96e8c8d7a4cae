#pragma once
#include <string>

namespace cad {

// Result of a database or editor operation. The numbers are fixed: the module prints and
// compares them, so new codes may be added but existing ones never change.
enum class ErrorStatus : unsigned {
    eOk = 0,
    eNullObjectId = 2,             // an operation was given the null id
    eHatchTooSparse = 5,           // pattern leaves no line inside the boundary
    eInvalidInput = 3,
    eNotApplicable = 4,
    eKeyNotFound = 12,
    eWasErased = 13,               // unknown handle, or the object is erased
    eInvalidHandle = 14,
    eWrongObjectType = 43,
    eNotOpenForWrite = 51,
    eOnLockedLayer = 87,           // opening for write an entity on a locked layer
    eDuplicateRecordName = 95,     // symbol name already taken
    eDuplicateKey = 96,            // dictionary key already taken
    eCannotBeErasedByCaller = 102, // e.g. layer 0, model space, a table
    eInvalidSymbolTableName = 109, // name breaks the DXF naming rules
    eRegappIdNotFound = 130,       // extended data under an application not in the APPID table
    eInvalidXData = 131,           // unbalanced braces, item before its application name ...
    eHandleInUse = 140,            // adding an object under a handle that already names one
    eFileNotFound = 148,
    eFileAccessErr = 150,
    eLockViolation = 320,          // unlocking a document whose lock is still nested
    eHatchTooDense = 420,          // more pattern lines than the limit
    eNotInitialized = 500,
};

// The text the module prints for a status, e.g. "eWasErased".
std::string statusText(ErrorStatus status);

// Editor prompt results.
constexpr int RTNORM = 5100;   // answered normally
constexpr int RTNONE = 5000;   // empty answer (Enter)
constexpr int RTCAN = -5002;   // cancelled (^C or end of input)
constexpr int RTERROR = -5001; // the prompt failed
constexpr int RTREJ = -5003;   // the answer was refused
constexpr int RTKWORD = -5005; // a keyword was answered

}  // namespace cad
