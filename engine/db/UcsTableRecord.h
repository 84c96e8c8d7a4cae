#pragma once
#include "engine/db/SymbolTable.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

class UcsTableRecord : public SymbolTableRecord {
public:
    explicit UcsTableRecord(std::string_view name = {}) : SymbolTableRecord("UCS", name) {}
    ObjectKind kind() const override { return ObjectKind::UcsTableRecord; }
    std::string_view className() const override { return "AcDbUCSTableRecord"; }
    TableKind tableKind() const override { return TableKind::Ucs; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<UcsTableRecord>(*this); }

    const Point3d& origin() const { return origin_; }
    void setOrigin(const Point3d& p) { assign(origin_, p); }
    const Vector3d& xAxis() const { return xAxis_; }
    void setXAxis(const Vector3d& v) { assign(xAxis_, v); }
    const Vector3d& yAxis() const { return yAxis_; }
    void setYAxis(const Vector3d& v) { assign(yAxis_, v); }

private:
    Point3d origin_;
    Vector3d xAxis_ = Vector3d::xAxis(), yAxis_ = Vector3d::yAxis();
};

}  // namespace cad
