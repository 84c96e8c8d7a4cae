#pragma once
#include <string>

#include "engine/api/Drawing.h"

// A failed host status, thrown by value by the code that calls the host. The next wrapper turns it
// into the host-error kind of CEXUnhandled with the source line of the call and the drawing name.
class CHostError {
public:
    CHostError(cad::ErrorStatus status, int line, std::string drawingName = {})
        : status_(status), line_(line), drawingName_(std::move(drawingName)) {}

    cad::ErrorStatus status() const { return status_; }
    int line() const { return line_; }
    const std::string& drawingName() const { return drawingName_; }

    // Throws unless the status is eOk.
    static void check(cad::ErrorStatus status, int line, const std::string& drawingName = {}) {
        if (status != cad::ErrorStatus::eOk) throw CHostError(status, line, drawingName);
    }

private:
    cad::ErrorStatus status_;
    int line_;
    std::string drawingName_;
};

// Checks a host call's status, naming the line of the call.
#define KORVA_HOST_CHECK(status, drawingName) CHostError::check((status), __LINE__, (drawingName))
