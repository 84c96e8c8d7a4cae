#pragma once
#include <string>

#include "engine/api/Drawing.h"

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

private:
    std::string name_;
    cad::ObjectId id_;
};
