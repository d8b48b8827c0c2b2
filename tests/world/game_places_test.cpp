// The game's caches of visited areas and travel maps on the sample chapter.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/data_file_path.h"
#include "engine/brain/brain_functions.h"
#include "support/counting_source.h"
#include "support/expect_drav.h"
#include "support/temp_dir.h"
#include "world/actor_test_support.h"
#include "world/area.h"

using namespace DRAV;
using WorldTest::SampleWithBrains;

TEST(GamePlaces, TheSampleMapLoadsOnceAndMarksRevealedAreas) {
    CGame game;
    CMap2* map = game.FindAndLoadTempMap("reedwater_map", SampleWithBrains());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetGame(), &game);
    EXPECT_TRUE(map->GetArea("reedwater_landing").IsKnown());
    EXPECT_FALSE(map->GetArea("reed_marsh").IsKnown());
    EXPECT_EQ(map->GetArea("smugglers_hide").GetEntryName(), "punt");

    game.RevealArea("smugglers_hide");
    EXPECT_EQ(game.FindAndLoadTempMap("reedwater_map", SampleWithBrains()), map);
    EXPECT_TRUE(map->GetArea("smugglers_hide").IsKnown());
    EXPECT_FALSE(map->GetArea("reed_marsh").IsKnown());
    EXPECT_EQ(game.GetMaps().size(), 1u);

    // The areas say where they lie on it.
    CArea* landing = game.FindAndLoadArea("", "reedwater_landing", SampleWithBrains());
    EXPECT_EQ(landing->GetWorldMapName(), "reedwater_map");
    EXPECT_NO_THROW(map->GetArea(landing->GetWorldMapLocation()));
}

TEST(GamePlaces, AMapLeadingToAnAreaTheModuleLacksIsCodeOneAndNotCached) {
    QuillmereTest::TempDir dir;
    std::filesystem::copy(QuillmereTest::SampleRoot(), dir / "module", std::filesystem::copy_options::recursive);
    dir.WriteFile("module/1/lost_map.drav",
                  "<map> lost_map \"lost.jpg\" \"lost_areas.png\" <areas>"
                  " <area> landing \"Landing\" 1 1 2 2 true reedwater_landing </area>"
                  " <area> isle \"Drowned Isle\" 5 5 2 2 false ( drowned_isle 0 ) </area> </areas> </map>");
    CModule module;
    module.SetBrainFunctions(GetBrainFunctions());
    module.Load(1, nullptr, std::make_shared<DRAVCommon::CDataFileFactoryPath>(dir / "module", 1));
    CGame game;
    const std::string message = DRAV_MESSAGE(game.FindAndLoadTempMap("lost_map", module));
    EXPECT_NE(message.find("lost_map.drav"), std::string::npos) << message;
    EXPECT_NE(message.find("drowned_isle"), std::string::npos) << message;
    EXPECT_DRAV_CODE(game.FindAndLoadTempMap("lost_map", module), 1);
    EXPECT_TRUE(game.GetMaps().empty());
    EXPECT_DRAV_CODE(game.FindAndLoadTempMap("no_such_map", module), 1);
}

// A map is checked each time a game loads it (every saved game on it does), but
// the areas it leads to are the module's: their entries are read once.
TEST(GamePlaces, TheAreasAMapLeadsToAreReadOncePerModule) {
    auto source = std::make_shared<QuillmereTest::CountingSource>(QuillmereTest::SampleFolderSource());
    CModule module;
    module.SetBrainFunctions(GetBrainFunctions());
    module.Load(1, nullptr, source);
    for (int load = 0; load < 3; ++load) {
        CGame game;
        ASSERT_NE(game.FindAndLoadTempMap("reedwater_map", module), nullptr);
    }
    EXPECT_EQ(source->Reads("reedwater_map.drav"), 3);
    EXPECT_EQ(source->Reads("reedwater_landing.drav"), 1);
    EXPECT_EQ(source->Reads("reed_marsh.drav"), 1);  // two places of the map lead there
}

TEST(GamePlaces, AreasAreReadOnceAndRebuiltFromTheCache) {
    CGame game;
    EXPECT_DRAV_CODE(game.FindAndLoadArea("", "drowned_isle", SampleWithBrains()), 1);
    EXPECT_TRUE(game.GetAreas().empty());
    EXPECT_EQ(game.GetCurrentArea(), nullptr);

    CArea* landing = game.FindAndLoadArea("", "reedwater_landing", SampleWithBrains());
    EXPECT_EQ(game.GetCurrentArea(), landing);
    for (const auto& encounter : landing->GetEncounters()) landing->ClearEncounter(encounter.name);
    landing->SpawnActor(SampleWithBrains(), "ferryman", 5, 5);
    ASSERT_EQ(landing->GetActors().size(), 1u);
    landing->MakeInactive();
    CArea* marsh = game.FindAndLoadArea("reedwater_landing", "reed_marsh", SampleWithBrains());
    EXPECT_NE(marsh, landing);
    marsh->MakeInactive();

    // Back at the landing: the same area, its actor kept, its grid read again.
    EXPECT_EQ(game.FindAndLoadArea("reed_marsh", "reedwater_landing", SampleWithBrains()), landing);
    EXPECT_EQ(landing->GetActors().size(), 1u);
    EXPECT_EQ(landing->GetColumns(), 16u);
    EXPECT_EQ(game.GetAreas().size(), 2u);

    landing->SetViewStale(false);
    game.FlagCurrentAreaEntered();
    EXPECT_TRUE(landing->IsViewStale());
    game.SetCurrentArea("reed_marsh");
    EXPECT_EQ(game.GetCurrentArea(), marsh);
    EXPECT_DRAV_CODE(game.SetCurrentArea("drowned_isle"), 1);
    game.SetCurrentArea("");
    EXPECT_EQ(game.GetCurrentArea(), nullptr);
    EXPECT_DRAV_CODE(game.AddArea(nullptr), 1);
}
