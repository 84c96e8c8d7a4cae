#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/db/RawTags.h"
#include "engine/geometry/Point3d.h"

namespace cad {

// The drawing's header variables in file order: each a name ("$LUNITS") and its value tags as
// read, so that unknown variables are kept verbatim. Names may be given with or without the '$'
// and in any case.
class HeaderVariables {
public:
    struct Variable {
        std::string name;  // with '$', upper case
        RawTagList tags;
    };

    const std::vector<Variable>& variables() const { return vars_; }
    bool contains(std::string_view name) const { return find(name) != nullptr; }
    const RawTagList* find(std::string_view name) const;
    // Replaces the value keeping the variable's place; a new variable goes to the end.
    void set(std::string_view name, RawTagList tags);
    bool remove(std::string_view name);
    void clear() { vars_.clear(); }

    // Typed reads: the first value tag, converted; the fallback when absent or unreadable.
    std::optional<std::string> getString(std::string_view name) const;
    std::optional<long long> getInt(std::string_view name) const;
    std::optional<double> getDouble(std::string_view name) const;
    // A point from its 10/20[/30] tags.
    std::optional<Point3d> getPoint(std::string_view name) const;

    void setString(std::string_view name, int code, std::string_view value);
    void setInt(std::string_view name, int code, long long value);
    void setDouble(std::string_view name, int code, double value);
    void setPoint(std::string_view name, const Point3d& p, bool withZ = true);

    // "$NAME" upper case.
    static std::string normalise(std::string_view name);

private:
    Variable* findMutable(std::string_view name);
    std::vector<Variable> vars_;
};

}  // namespace cad
