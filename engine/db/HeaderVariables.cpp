#include "engine/db/HeaderVariables.h"

#include <algorithm>

#include "engine/db/SymbolName.h"
#include "engine/db/TagValue.h"

namespace cad {

std::string HeaderVariables::normalise(std::string_view name) {
    std::string upper = symbolNameKey(name);
    if (upper.empty() || upper.front() != '$') upper.insert(upper.begin(), '$');
    return upper;
}

const RawTagList* HeaderVariables::find(std::string_view name) const {
    std::string key = normalise(name);
    for (const Variable& v : vars_)
        if (v.name == key) return &v.tags;
    return nullptr;
}

HeaderVariables::Variable* HeaderVariables::findMutable(std::string_view name) {
    std::string key = normalise(name);
    for (Variable& v : vars_)
        if (v.name == key) return &v;
    return nullptr;
}

void HeaderVariables::set(std::string_view name, RawTagList tags) {
    if (Variable* v = findMutable(name)) {
        v->tags = std::move(tags);
        return;
    }
    vars_.push_back({normalise(name), std::move(tags)});
}

bool HeaderVariables::remove(std::string_view name) {
    std::string key = normalise(name);
    auto it = std::find_if(vars_.begin(), vars_.end(), [&](const Variable& v) { return v.name == key; });
    if (it == vars_.end()) return false;
    vars_.erase(it);
    return true;
}

std::optional<std::string> HeaderVariables::getString(std::string_view name) const {
    const RawTagList* tags = find(name);
    if (!tags || tags->empty()) return std::nullopt;
    return tags->front().value;
}

std::optional<long long> HeaderVariables::getInt(std::string_view name) const {
    const RawTagList* tags = find(name);
    if (!tags || tags->empty()) return std::nullopt;
    auto v = parseInt(tags->front().value);
    if (!v) return std::nullopt;
    return static_cast<long long>(*v);
}

std::optional<double> HeaderVariables::getDouble(std::string_view name) const {
    const RawTagList* tags = find(name);
    if (!tags || tags->empty()) return std::nullopt;
    return parseDouble(tags->front().value);
}

std::optional<Point3d> HeaderVariables::getPoint(std::string_view name) const {
    const RawTagList* tags = find(name);
    if (!tags) return std::nullopt;
    std::optional<double> x, y, z;
    for (const RawTag& t : *tags) {
        if (t.code == 10) x = parseDouble(t.value);
        else if (t.code == 20) y = parseDouble(t.value);
        else if (t.code == 30) z = parseDouble(t.value);
    }
    if (!x || !y) return std::nullopt;
    return Point3d(*x, *y, z.value_or(0.0));
}

void HeaderVariables::setString(std::string_view name, int code, std::string_view value) {
    set(name, {{code, std::string(value)}});
}

void HeaderVariables::setInt(std::string_view name, int code, long long value) {
    set(name, {{code, formatInt(value)}});
}

void HeaderVariables::setDouble(std::string_view name, int code, double value) {
    set(name, {{code, formatDouble(value)}});
}

void HeaderVariables::setPoint(std::string_view name, const Point3d& p, bool withZ) {
    RawTagList tags{{10, formatDouble(p.x)}, {20, formatDouble(p.y)}};
    if (withZ) tags.push_back({30, formatDouble(p.z)});
    set(name, std::move(tags));
}

}  // namespace cad
