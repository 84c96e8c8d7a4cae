#include "engine/db/ErrorStatus.h"

#include <fmt/format.h>

namespace cad {

std::string statusText(ErrorStatus status) {
    switch (status) {
        case ErrorStatus::eOk: return "eOk";
        case ErrorStatus::eNullObjectId: return "eNullObjectId";
        case ErrorStatus::eDuplicateKey: return "eDuplicateKey";
        case ErrorStatus::eCannotBeErasedByCaller: return "eCannotBeErasedByCaller";
        case ErrorStatus::eRegappIdNotFound: return "eRegappIdNotFound";
        case ErrorStatus::eInvalidXData: return "eInvalidXData";
        case ErrorStatus::eHandleInUse: return "eHandleInUse";
        case ErrorStatus::eHatchTooSparse: return "eHatchTooSparse";
        case ErrorStatus::eInvalidInput: return "eInvalidInput";
        case ErrorStatus::eNotApplicable: return "eNotApplicable";
        case ErrorStatus::eKeyNotFound: return "eKeyNotFound";
        case ErrorStatus::eWasErased: return "eWasErased";
        case ErrorStatus::eInvalidHandle: return "eInvalidHandle";
        case ErrorStatus::eWrongObjectType: return "eWrongObjectType";
        case ErrorStatus::eNotOpenForWrite: return "eNotOpenForWrite";
        case ErrorStatus::eOnLockedLayer: return "eOnLockedLayer";
        case ErrorStatus::eDuplicateRecordName: return "eDuplicateRecordName";
        case ErrorStatus::eInvalidSymbolTableName: return "eInvalidSymbolTableName";
        case ErrorStatus::eFileNotFound: return "eFileNotFound";
        case ErrorStatus::eFileAccessErr: return "eFileAccessErr";
        case ErrorStatus::eLockViolation: return "eLockViolation";
        case ErrorStatus::eHatchTooDense: return "eHatchTooDense";
        case ErrorStatus::eNotInitialized: return "eNotInitialized";
    }
    return fmt::format("status {}", static_cast<unsigned>(status));
}

}  // namespace cad
