#pragma once
// The sample chapter's definitions, loaded once, and areas built from it: the
// sample's own area files or area texts written by a test.

#include <memory>
#include <string>

#include "common/data_file_reader.h"
#include "rules/module.h"
#include "support/sample_brains.h"
#include "world/area.h"
#include "world/game.h"

namespace AreaTest {

inline const DRAV::CModule& SampleModule() { return QuillmereTest::SampleWithBrains(); }

// Reads `text` as the area file "test.drav" into `area`.
inline void ReadText(DRAV::CArea& area, const std::string& text, std::int32_t loadType = DRAV::AREA_LOAD_FRESH,
                     const std::string& fromArea = "") {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "test.drav");
    area.ReadAreaFile(reader, fromArea, "test", SampleModule(), loadType, false);
}

// An area file around `rows` (the rows block's inside) with no objects, one entry
// and no exits.
inline std::string AreaText(const std::string& rows, const std::string& objects = "",
                            const std::string& exits = "") {
    return "<area> \"Test\" false <rows> " + rows + " </rows> <objects> " + objects +
           " </objects> <entries> <entry> here \"Here\" ( 0 0 ) </entry> </entries> <exits> " + exits +
           " </exits> </area>";
}

// One row of `count` copies of `cell`.
inline std::string Row(const std::string& cell, int count) {
    std::string row = "<row>";
    for (int i = 0; i < count; ++i) row += " " + cell;
    return row + " </row>";
}

inline std::shared_ptr<DRAV::CActor> MakeActor(double x, double y, double radius,
                                               DRAV::ActionState state = DRAV::ACTION_IDLE) {
    static DRAV::ThingId next = 0x03000001;
    auto actor = std::make_shared<DRAV::CActor>(next++);
    actor->SetPosition(x, y);
    actor->SetRadius(radius);
    actor->SetActionState(state);
    return actor;
}

}  // namespace AreaTest
