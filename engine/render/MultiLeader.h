#pragma once
#include <optional>
#include <string>
#include <vector>

#include "engine/db/RawTags.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// What a multileader draws, read from its tags: leader lines with their landings, an arrowhead
// size, and its content (a multi-line text or a block). Handles are kept as text.
struct MultiLeader {
    struct Leader {
        std::vector<std::vector<Point3d>> lines;  // from the arrowhead towards the landing
        std::optional<Point3d> landing;           // where the lines meet the content
        Vector3d doglegDirection;
        double doglegLength = 0.0;
    };
    std::vector<Leader> leaders;
    int lineType = 1;           // 0 none, 1 straight, 2 spline
    bool landingEnabled = true; // draws the dogleg
    double scale = 1.0;
    double arrowSize = 0.0;     // drawing units, scale applied
    std::string arrowBlock;     // handle of the arrowhead block; empty: closed filled

    bool hasText = false;
    std::string text;           // with its formatting codes
    Point3d textLocation;
    Vector3d textDirection{1, 0, 0};
    Vector3d textNormal{0, 0, 1};
    double textHeight = 0.0;
    double textWidth = 0.0;
    double lineSpacing = 1.0;
    int attachment = 1;
    std::string textStyle;      // handle

    bool hasBlock = false;
    std::string block;          // handle of the block record
    Point3d blockPosition;
    Vector3d blockScale{1, 1, 1};
    double blockRotation = 0.0;
};

// The multileader of MULTILEADER (MLEADER) tags; leaders without points are left out.
MultiLeader readMultiLeader(const RawTagList& tags);

}  // namespace cad
