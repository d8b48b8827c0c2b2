#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/engine.h"
#include "rules/kinds/item_kinds.h"
#include "support/sample_game.h"
#include "support/sample_module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/item.h"

namespace {

using namespace DRAV;

// The second chapter is a real chapter of its own: its version, start and area.
TEST(SampleChapterTwo, LoadsAtItsOwnVersionAndANewGameEntersItsStartArea) {
    auto engine = std::make_shared<CEngine>();
    engine->LoadModule(2, CModuleVersionRange("Orvex", 5, 0), QuillmereTest::SampleFolderSource(2));
    const CModule& module = *engine->GetModule();
    EXPECT_EQ(module.GetChapter(), 2);
    EXPECT_EQ(module.GetVersion(), 5);
    EXPECT_EQ(module.GetSecondVersion(), 1);

    std::shared_ptr<CActor> main = engine->NewGame();
    main->SetName("Wren");
    engine->BeginNewGame(main);
    engine->EnterArea();
    CArea* area = engine->GetGame()->GetCurrentArea();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->GetName(), "ashcombe_weir");
    EXPECT_EQ(main->GetArea(), area);
}

// The potion, scroll or wand the module makes of one of its spells.
bool MadeFromASpell(const std::string& key, const CModule& module) {
    for (const auto& [spell, unused] : module.GetSpells())
        for (const ItemKind kind : {ITEM_POTION, ITEM_SCROLL, ITEM_WAND})
            if (key == "i_" + GetItemKindKey(kind) + "-" + spell) return true;
    return false;
}

// Whatever a hero carries off the ferry at Reedwater's end comes with her to
// Ashcombe: the knife and cap she wears, every other thing the chapter's item
// files define (the dock's kit, Tobin's pole, what is sold, hidden and dropped),
// and the spell the kit's scroll taught her. Worn things arrive in the pack.
TEST(SampleChapterTwo, EverythingAHeroCarriesOutOfReedwaterArrives) {
    auto reedwater = QuillmereTest::StartSampleGame();
    const CModule& first = reedwater.Module();
    CActor& wren = *reedwater.Main();
    const auto make = [&](const std::string& key) {
        return first.CreateItem(key, 1, reedwater.Game().NewThingId(THING_ITEM), 0);
    };
    wren.SetEquipment(SLOT_WEAPON, make("smugglers_knife"));
    wren.SetEquipment(SLOT_HELMET, make("boatmans_cap"));
    std::multiset<std::string> carried{"smugglers_knife", "boatmans_cap"};
    for (const auto& [key, item] : first.GetItemTemplates()) {
        // Coins are the party's gold, which goes on as a number.
        if (item->GetKind() == ITEM_MONEY || MadeFromASpell(key, first)) continue;
        wren.AddToBackpack(make(key), false);
        carried.insert(key);
    }
    wren.AddSpell(*first.GetSpells().at("lantern_light"));

    CEngine ashcombe;
    ashcombe.LoadModule(2, CModuleVersionRange("Orvex", 5, 0), QuillmereTest::SampleFolderSource(2));
    ashcombe.NewChapterGame(reedwater.EnginePtr()->GetGame());
    const auto hero = ashcombe.GetGame()->GetMainActor();
    std::multiset<std::string> arrived;
    for (const auto& item : hero->GetBackpack()) arrived.insert(item->GetTemplate().GetKey());
    EXPECT_EQ(arrived, carried);
    EXPECT_EQ(hero->GetEquipped(SLOT_WEAPON), nullptr);
    bool knowsLantern = false;
    for (const CSpell* spell : hero->GetSpells()) knowsLantern = knowsLantern || spell->GetKey() == "lantern_light";
    EXPECT_TRUE(knowsLantern);
}

}  // namespace
