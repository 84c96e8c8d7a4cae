#pragma once
#include <string>

#include "engine/db/DbObject.h"

namespace cad {

// Arbitrary tagged data (XRECORD).
class XRecord : public DbObject {
public:
    XRecord() : DbObject("XRECORD") {}
    ObjectKind kind() const override { return ObjectKind::XRecord; }
    std::string_view className() const override { return "AcDbXrecord"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<XRecord>(*this); }

    const RawTagList& data() const { return data_; }
    void setData(RawTagList data) { assign(data_, std::move(data)); }
    int cloning() const { return cloning_; }
    void setCloning(int value) { assign(cloning_, value); }

private:
    RawTagList data_;
    int cloning_ = 1;
};

}  // namespace cad
