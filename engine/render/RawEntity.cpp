#include "engine/render/RawEntity.h"

#include "engine/db/TagValue.h"

namespace cad {

std::optional<double> RawEntity::real(int code) const {
    for (const RawTag& tag : tags_)
        if (tag.code == code) return parseDouble(tag.value);
    return std::nullopt;
}

std::optional<long long> RawEntity::integer(int code) const {
    for (const RawTag& tag : tags_)
        if (tag.code == code) {
            if (auto v = parseInt(tag.value)) return *v;
            return std::nullopt;
        }
    return std::nullopt;
}

const std::string* RawEntity::text(int code) const {
    for (const RawTag& tag : tags_)
        if (tag.code == code) return &tag.value;
    return nullptr;
}

std::optional<Point3d> RawEntity::point(int xCode) const {
    auto x = real(xCode), y = real(xCode + 10);
    if (!x || !y) return std::nullopt;
    return Point3d(*x, *y, real(xCode + 20, 0.0));
}

Vector3d RawEntity::normal() const {
    auto p = point(210);
    if (!p || (p->x == 0 && p->y == 0 && p->z == 0)) return Vector3d::zAxis();
    return p->asVector();
}

std::vector<double> RawEntity::reals(int code) const {
    std::vector<double> out;
    for (const RawTag& tag : tags_)
        if (tag.code == code)
            if (auto v = parseDouble(tag.value)) out.push_back(*v);
    return out;
}

std::vector<Point3d> RawEntity::points(int xCode) const {
    std::vector<Point3d> out;
    std::optional<double> x, y;
    double z = 0.0;
    auto flush = [&] {
        if (x && y) out.emplace_back(*x, *y, z);
        x.reset();
        y.reset();
        z = 0.0;
    };
    for (const RawTag& tag : tags_) {
        if (tag.code == xCode) {
            flush();
            x = parseDouble(tag.value);
        } else if (tag.code == xCode + 10 && x) {
            y = parseDouble(tag.value);
        } else if (tag.code == xCode + 20 && x) {
            z = parseDouble(tag.value).value_or(0.0);
        }
    }
    flush();
    return out;
}

}  // namespace cad
