#pragma once
#include <utility>

#include "core/KorvaWrap.h"
#include "data/OdbcFailure.h"

// The wrapping rule for database code: a driver failure escaping the body becomes the component
// error kind naming the function (the driver's description and source, severity 2); everything
// else is wrapped as everywhere in the module.
template <class F>
decltype(auto) dataWrap(const char* fileName, const char* procSig, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (const COdbcFailure& failure) {
        throw CEXUnhandled(failure.first(), fileName, procSig, 2);
    } catch (const CUserCancel&) {
        throw;
    } catch (...) {
        throw wrapCurrentException(fileName, procSig);
    }
}
