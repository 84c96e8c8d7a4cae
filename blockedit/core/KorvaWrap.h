#pragma once
#include <utility>

#include "core/EXUnhandled.h"
#include "core/HostError.h"
#include "core/UserCancel.h"

// The wrapping rule. Called inside a catch handler, builds the exception a function throws in
// place of the one escaping it:
//   - a CEXKorva becomes the inner exception of a generic CEXUnhandled naming the function;
//   - a CHostError becomes the host-error kind with its line and drawing name;
//   - a std::exception becomes the standard-exception kind;
//   - anything else becomes a generic CEXUnhandled without inner exception.
// fileName is the function's source file (__FILE__), procSig its name ("CUtilities::roundDouble").
CEXUnhandled wrapCurrentException(const char* fileName, const char* procSig);

// Runs a function body under the wrapping rule: returns what the body returns, or throws the
// wrapper of whatever escaped it.
template <class F>
decltype(auto) korvaWrap(const char* fileName, const char* procSig, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (const CUserCancel&) {
        throw;
    } catch (...) {
        throw wrapCurrentException(fileName, procSig);
    }
}

// The top-level form for command handlers and dialog message handlers: a failure is wrapped the
// same way, shown in the error message box and dropped. Returns false when the body failed.
template <class F>
bool korvaTopLevel(const char* fileName, const char* procSig, F&& body) {
    try {
        std::forward<F>(body)();
        return true;
    } catch (const CUserCancel&) {
        return false;
    } catch (...) {
        wrapCurrentException(fileName, procSig).showErrorMessage();
        return false;
    }
}

// As korvaWrap, but an exception of kind Passed reaches the caller as it is.
template <class Passed, class F>
decltype(auto) korvaWrapPassing(const char* fileName, const char* procSig, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (Passed&) {
        throw;
    } catch (const CUserCancel&) {
        throw;
    } catch (...) {
        throw wrapCurrentException(fileName, procSig);
    }
}
