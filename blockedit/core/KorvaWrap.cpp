#include "core/KorvaWrap.h"

#include "core/ModuleInfo.h"

CEXUnhandled wrapCurrentException(const char* fileName, const char* procSig) {
    try {
        throw;
    } catch (CEXKorva& escaped) {
        return CEXUnhandled(kModuleDescription, fileName, procSig, 0, std::move(escaped).moveToHeap());
    } catch (const CHostError& status) {
        return CEXUnhandled(status.status(), kModuleDescription, fileName, procSig, status.line(),
                            status.drawingName());
    } catch (const std::exception& standard) {
        return CEXUnhandled(standard, kModuleDescription, fileName, procSig, 0);
    } catch (...) {
        return CEXUnhandled(kModuleDescription, fileName, procSig, 0);
    }
}
