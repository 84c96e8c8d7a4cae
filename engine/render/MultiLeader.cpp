#include "engine/render/MultiLeader.h"

#include <cstdlib>

namespace cad {

namespace {

double number(const std::string& v) { return std::strtod(v.c_str(), nullptr); }

// Sets one coordinate of a point from a tag whose code is `xCode`, +10 or +20.
bool setCoordinate(Point3d& p, int code, int xCode, const std::string& v) {
    if (code == xCode) p.x = number(v);
    else if (code == xCode + 10) p.y = number(v);
    else if (code == xCode + 20) p.z = number(v);
    else return false;
    return true;
}

bool setCoordinate(Vector3d& p, int code, int xCode, const std::string& v) {
    Point3d q(p.x, p.y, p.z);
    if (!setCoordinate(q, code, xCode, v)) return false;
    p = q.asVector();
    return true;
}

}  // namespace

MultiLeader readMultiLeader(const RawTagList& tags) {
    MultiLeader m;
    enum class In { Entity, Context, Leader, Line } in = In::Entity;
    int context290 = 0;        // the first 290 of the context says "text", the second "block"
    double contextArrow = -1;  // the context's arrowhead size wins over the style's
    double entityArrow = -1;
    Point3d vertex;
    bool vertexOpen = false;
    auto closeVertex = [&] {
        if (vertexOpen && !m.leaders.empty() && !m.leaders.back().lines.empty())
            m.leaders.back().lines.back().push_back(vertex);
        vertexOpen = false;
    };
    for (const RawTag& t : tags) {
        const int code = t.code;
        const std::string& v = t.value;
        if (code == 300 && v.rfind("CONTEXT_DATA{", 0) == 0) { in = In::Context; continue; }
        if (code == 302 && v.rfind("LEADER{", 0) == 0 && in == In::Context) {
            in = In::Leader;
            m.leaders.emplace_back();
            continue;
        }
        if (code == 304 && v.rfind("LEADER_LINE{", 0) == 0 && in == In::Leader) {
            in = In::Line;
            m.leaders.back().lines.emplace_back();
            continue;
        }
        if (code == 305 && in == In::Line) { closeVertex(); in = In::Leader; continue; }
        if (code == 303 && in == In::Leader) { in = In::Context; continue; }
        if (code == 301 && in == In::Context) { in = In::Entity; continue; }
        switch (in) {
            case In::Line:
                if (code == 10) {
                    closeVertex();
                    vertex = Point3d(number(v), 0, 0);
                    vertexOpen = true;
                } else if (code == 20 || code == 30) {
                    setCoordinate(vertex, code, 10, v);
                }
                break;
            case In::Leader: {
                auto& leader = m.leaders.back();
                if (code == 10 || code == 20 || code == 30) {
                    if (!leader.landing) leader.landing = Point3d();
                    setCoordinate(*leader.landing, code, 10, v);
                } else if (!setCoordinate(leader.doglegDirection, code, 11, v) && code == 40) {
                    leader.doglegLength = number(v);
                }
                break;
            }
            case In::Context:
                if (code == 40) m.scale = number(v);
                else if (code == 41) m.textHeight = number(v);
                else if (code == 140) contextArrow = number(v);
                else if (code == 290) {
                    const bool on = std::atoi(v.c_str()) != 0;
                    (context290++ == 0 ? m.hasText : m.hasBlock) = on;
                } else if (code == 304) m.text = v;
                else if (code == 340) m.textStyle = v;
                else if (code == 43) m.textWidth = number(v);
                else if (code == 45) m.lineSpacing = number(v);
                else if (code == 171) m.attachment = std::atoi(v.c_str());
                else if (code == 341) m.block = v;
                else if (code == 46) m.blockRotation = number(v);
                else if (!setCoordinate(m.textLocation, code, 12, v) && !setCoordinate(m.textDirection, code, 13, v) &&
                         !setCoordinate(m.textNormal, code, 11, v) && !setCoordinate(m.blockPosition, code, 15, v))
                    setCoordinate(m.blockScale, code, 16, v);
                break;
            case In::Entity:
                if (code == 170) m.lineType = std::atoi(v.c_str());
                else if (code == 290) m.landingEnabled = std::atoi(v.c_str()) != 0;
                else if (code == 342) m.arrowBlock = v;
                else if (code == 42) entityArrow = number(v);
                break;
        }
    }
    closeVertex();
    m.arrowSize = contextArrow >= 0 ? contextArrow : entityArrow >= 0 ? entityArrow * m.scale : 0.0;
    if (m.arrowBlock == "0") m.arrowBlock.clear();
    std::erase_if(m.leaders, [](const MultiLeader::Leader& l) {
        for (const auto& line : l.lines)
            if (!line.empty()) return false;
        return !l.landing;
    });
    if (!(m.attachment >= 1 && m.attachment <= 9)) m.attachment = 1;
    return m;
}

}  // namespace cad
