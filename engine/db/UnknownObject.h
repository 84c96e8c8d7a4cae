#pragma once
#include <string>

#include "engine/db/DbObject.h"

namespace cad {

// An object of a kind the engine does not model, kept as its full tag body so that it can be
// written back unchanged.
class UnknownObject : public DbObject {
public:
    explicit UnknownObject(std::string_view dxfName, std::string_view className = {})
        : DbObject(""), className_(className) {
        setDxfName(dxfName);
    }
    ObjectKind kind() const override { return ObjectKind::UnknownObject; }
    std::string_view className() const override { return className_; }
    void setClassName(std::string name) { assign(className_, std::move(name)); }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<UnknownObject>(*this); }

    RawTagList tags;

private:
    std::string className_;
};

}  // namespace cad
