#pragma once
// The graphics manager on the sample game: a running game at the landing, the device
// of a 1024 x 768 window, the game view's default camera, and frames drawn through
// RenderScene.

#include <cmath>
#include <memory>
#include <sstream>
#include <utility>

#include "common/data_file_reader.h"
#include "graphics/matrix.h"
#include "graphics/scene/graphics_manager.h"
#include "support/sample_game.h"
#include "support/sample_module.h"

namespace QuillmereTest {

// Marks every cell of the area seen, as if the party looked everywhere.
inline void SeeEverything(DRAV::CArea& area) {
    for (std::uint32_t column = 0; column < area.GetColumns(); ++column)
        for (std::uint32_t row = 0; row < area.GetRows(); ++row) area.GetSeenCells().Set(column, row, true);
}

// An area "room" of plank floor, indoors or out, becomes current with the party at (1, 1).
inline DRAV::CArea& EnterRoom(SampleGame& sample, std::uint32_t columns, std::uint32_t rows, bool outdoors) {
    std::ostringstream text;
    text << "<area> \"Room\" " << (outdoors ? "true" : "false") << " <rows> ( " << columns << ' ' << rows << " )";
    for (std::uint32_t row = 0; row < rows; ++row) {
        text << " <row>";
        for (std::uint32_t column = 0; column < columns; ++column) text << " ( plank_floor n )";
        text << " </row>\n";
    }
    text << " </rows> <objects> </objects> <entries> <entry> here \"Here\" ( 1 1 ) </entry> </entries>"
         << " <exits> </exits> </area>";
    DRAV::CGame& game = sample.Game();
    DRAV::CArea& left = sample.Area();
    for (const auto& member : game.GetParty())
        if (member->GetArea() == &left) game.AddNonLocatedActor(left.RemoveActor(*member));
    left.MakeInactive();
    auto area = std::make_shared<DRAV::CArea>(&game);
    DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text.str()), "room.drav");
    area->ReadAreaFile(reader, "", "room", sample.Module(), DRAV::AREA_LOAD_FRESH, false);
    game.AddArea(area);
    game.SetCurrentArea("room");
    sample.Engine().PlacePartyAtEntry("here");
    return *area;
}

// The pixel a world point lands on in the manager's last frame (viewport at 0, 0).
inline std::pair<int, int> PixelOf(const DRAVGraph::CGraphicsManager& manager, int width, int height, double x,
                                   double y, double z) {
    D3DMATRIX both;
    DRAVGraph::Mat4Multiply(both, manager.GetViewMatrix(), manager.GetProjectionMatrix());
    const double cx = x * both._11 + y * both._21 + z * both._31 + both._41;
    const double cy = x * both._12 + y * both._22 + z * both._32 + both._42;
    const double cw = x * both._14 + y * both._24 + z * both._34 + both._44;
    return {static_cast<int>(std::lround((cx / cw + 1.0) * 0.5 * width)),
            static_cast<int>(std::lround((1.0 - cy / cw) * 0.5 * height))};
}

}  // namespace QuillmereTest
