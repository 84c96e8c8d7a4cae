#pragma once
#include <string>

#include "engine/db/DbObject.h"

namespace cad {

// ACDBPLACEHOLDER: an object with no content, e.g. the "Normal" plot style.
class Placeholder : public DbObject {
public:
    Placeholder() : DbObject("ACDBPLACEHOLDER") {}
    ObjectKind kind() const override { return ObjectKind::Placeholder; }
    std::string_view className() const override { return "AcDbPlaceHolder"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Placeholder>(*this); }
};

}  // namespace cad
