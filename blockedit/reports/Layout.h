#pragma once
#include <string>

#include "engine/api/Drawing.h"

class CStoredProcedure;

// One layout of a drawing: its name and the host's layout object.
class CLayout {
public:
    CLayout() = default;
    CLayout(std::string name, cad::ObjectId id) : name_(std::move(name)), id_(id) {}
    virtual ~CLayout() = default;

    const std::string& getName() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    cad::ObjectId getId() const { return id_; }
    void setId(cad::ObjectId id) { id_ = id; }

    // Records the layout for the drawing `attachID` ("__to_addDrawingLayout").
    void addLayoutToIPR(CStoredProcedure& procedure, int timeout, int attachID) const;

private:
    std::string name_;
    cad::ObjectId id_;
};
