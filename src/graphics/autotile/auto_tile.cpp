#include "graphics/autotile/auto_tile.h"

#include <string_view>

#include "common/exception.h"
#include "graphics/autotile/auto_flat.h"
#include "graphics/autotile/auto_ground.h"
#include "graphics/autotile/auto_sphere.h"
#include "graphics/autotile/auto_wall.h"

namespace DRAVGraph {

using namespace AutoTile;

namespace {

struct KeywordRow {
    std::string_view keyword;
    AutoTileGeometry (*build)(const CSubModelInfo&);
};

const KeywordRow KEYWORDS[] = {
    {"auto-floor", BuildAutoFloor},
    {"auto-wall", [](const CSubModelInfo& i) { return BuildAutoWall(i, false); }},
    {"auto-twosidewall", [](const CSubModelInfo& i) { return BuildAutoWall(i, true); }},
    {"auto-pillar", [](const CSubModelInfo& i) { return BuildAutoPillar(i, false, false, false); }},
    {"auto-pillarrepeat",
     [](const CSubModelInfo& i) { return BuildAutoPillar(i, false, true, false); }},
    {"auto-pillarwrap", [](const CSubModelInfo& i) { return BuildAutoPillar(i, true, false, false); }},
    {"auto-post", [](const CSubModelInfo& i) { return BuildAutoPillar(i, true, false, true); }},
    {"auto-decal", BuildAutoDecal},
    {"auto-sphere", BuildAutoSphere},
    {"auto-down-edge", [](const CSubModelInfo& i) { return BuildAutoDownEdge(i, false); }},
    {"auto-down-edge2", [](const CSubModelInfo& i) { return BuildAutoDownEdge(i, true); }},
    {"auto-void-edge", BuildAutoVoidEdge},
    {"auto-void-corner", BuildAutoVoidCorner},
    {"auto-slope-down", BuildAutoSlopeDown},
    {"auto-slope-down-inner", BuildAutoSlopeDownInner},
    {"auto-slope-down-outer", BuildAutoSlopeDownOuter},
    {"auto-mural", BuildAutoMural},
};

}  // namespace

AutoTileGeometry BuildAutoTileGeometry(const CSubModelInfo& info) {
    for (const KeywordRow& row : KEYWORDS)
        if (row.keyword == info.name) return row.build(info);
    throw CDRAVException(DRAV_ERR_BAD_DATA);
}

}  // namespace DRAVGraph
